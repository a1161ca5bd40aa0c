#include "common/MessageLoop.h"

#include "platform/Platform.h"

namespace kwiklet::messageloop {
namespace {
using Clock = std::chrono::steady_clock;

std::chrono::microseconds gInterval{kDefaultYieldInterval};
Clock::time_point gLastYield{};
}  // namespace

void yieldNow() {
    gLastYield = Clock::now();
    platform().yieldToMessageLoop();
}

void yieldIfDue() {
    if (Clock::now() - gLastYield >= gInterval) {
        yieldNow();
    }
}

void setYieldInterval(std::chrono::microseconds interval) {
    gInterval = interval;
}

std::chrono::microseconds yieldInterval() {
    return gInterval;
}

}  // namespace kwiklet::messageloop
