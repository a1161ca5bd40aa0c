#pragma once

// Gives a test its own executable folder, settings folder and home, with the recording
// platform installed for the test's lifetime. The home has no folders in it: the user's
// folders (XDG) all lead into it, so that nothing outside it is ever indexed.

#include "common/MessageLoop.h"
#include "platform/fake/RecordingPlatform.h"
#include "platform/posix/PosixPlatform.h"
#include "support/ScopedEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

namespace kwiklet::test {

class TestPlatform {
public:
    TestPlatform() {
        environment_.set("HOME", homeDir_.path());
        environment_.set("XDG_CONFIG_HOME", homeDir_.path() + QStringLiteral("/.config"));
        environment_.set("XDG_DATA_HOME", homeDir_.path() + QStringLiteral("/.local/share"));
        environment_.set("XDG_DATA_DIRS", homeDir_.path() + QStringLiteral("/system"));
        // The launchers shared by all users: an empty folder, so that none of this
        // machine's are found.
        QDir(homeDir_.path()).mkpath(QStringLiteral("system/applications"));
        auto recorder = std::make_unique<RecordingPlatform>(std::make_unique<PosixPlatform>(
            PlatformLocations{exeDir_.path(), QStringLiteral("Kwiklet"), configDir_.path(),
                              installedDir_.path() + QStringLiteral("/share/kwiklet")}));
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
    // Where an installation's data would be (the folder does not exist until a test
    // makes it).
    QString installedDataFolder() const {
        return installedDir_.path() + QStringLiteral("/share/kwiklet");
    }
    // A scratch folder for the test's own files.
    QString scratchFolder() const { return scratchDir_.path(); }
    // The user's home: HOME, with the XDG folders below it, and the folder all users'
    // data lies in (XDG_DATA_DIRS) as "system" in it.
    QString homeFolder() const { return homeDir_.path(); }
    ScopedEnvironment& environment() { return environment_; }

private:
    QTemporaryDir exeDir_;
    QTemporaryDir configDir_;
    QTemporaryDir installedDir_;
    QTemporaryDir scratchDir_;
    QTemporaryDir homeDir_;
    ScopedEnvironment environment_;
    RecordingPlatform* recorder_;
    std::unique_ptr<Platform> replaced_;
};

}  // namespace kwiklet::test
