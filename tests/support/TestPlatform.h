#pragma once

// Gives a test its own executable folder and settings folder, with the recording
// platform installed for the test's lifetime.

#include "common/MessageLoop.h"
#include "platform/fake/RecordingPlatform.h"

#include <QTemporaryDir>

namespace kwiklet::test {

class TestPlatform {
public:
    TestPlatform() {
        auto recorder = std::make_unique<RecordingPlatform>(
            PlatformLocations{exeDir_.path(), QStringLiteral("Kwiklet"), configDir_.path()});
        recorder_ = recorder.get();
        replaced_ = installPlatform(std::move(recorder));
    }
    ~TestPlatform() {
        installPlatform(std::move(replaced_));
        messageloop::setYieldInterval(messageloop::kDefaultYieldInterval);
    }
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    RecordingPlatform& recorder() { return *recorder_; }
    // The folder the program takes for its executable's: avs.dat goes here.
    QString executableFolder() const { return exeDir_.path(); }
    QString databasePath() const { return exeDir_.path() + QStringLiteral("/avs.dat"); }
    QString configFolder() const { return configDir_.path(); }
    // A scratch folder for the test's own files.
    QString scratchFolder() const { return scratchDir_.path(); }

private:
    QTemporaryDir exeDir_;
    QTemporaryDir configDir_;
    QTemporaryDir scratchDir_;
    RecordingPlatform* recorder_;
    std::unique_ptr<Platform> replaced_;
};

}  // namespace kwiklet::test
