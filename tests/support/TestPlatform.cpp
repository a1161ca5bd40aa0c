#include "support/TestPlatform.h"

#include "common/MessageLoop.h"

namespace kwiklet::test {

TestPlatform::TestPlatform() {
    auto recorder = std::make_unique<RecordingPlatform>(
        PlatformLocations{exeDir_.path(), QStringLiteral("Kwiklet"), configDir_.path()});
    recorder_ = recorder.get();
    replaced_ = installPlatform(std::move(recorder));
}

TestPlatform::~TestPlatform() {
    installPlatform(std::move(replaced_));
    messageloop::setYieldInterval(messageloop::kDefaultYieldInterval);
}

}  // namespace kwiklet::test
