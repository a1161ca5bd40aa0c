#pragma once

// The one way long operations give the window system a turn. Yielding on every row of
// a large fill would cost more than the fill itself, so yields are spaced in time:
// often enough for repaints, timers and typing to stay fluid.

#include <chrono>

namespace kwiklet::messageloop {

inline constexpr std::chrono::milliseconds kDefaultYieldInterval{10};

// Processes waiting window messages if the interval has passed since the last yield.
void yieldIfDue();

// Processes waiting window messages now.
void yieldNow();

// The spacing of yieldIfDue(); zero yields every time (tests that need a yield at a
// known point use this).
void setYieldInterval(std::chrono::microseconds interval);
std::chrono::microseconds yieldInterval();

}  // namespace kwiklet::messageloop
