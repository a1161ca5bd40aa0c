#include "platform/Platform.h"

#include <utility>

namespace kwiklet {
namespace {
std::unique_ptr<Platform>& installed() {
    static std::unique_ptr<Platform> instance;
    return instance;
}
}  // namespace

Platform& platform() {
    auto& current = installed();
    if (!current) {
        current = makeSystemPlatform();
    }
    return *current;
}

std::unique_ptr<Platform> installPlatform(std::unique_ptr<Platform> platform) {
    return std::exchange(installed(), std::move(platform));
}

}  // namespace kwiklet
