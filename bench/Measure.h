#pragma once

// What the benchmarks measure with: elapsed time and the process's peak memory.

#include <QElapsedTimer>

#include <sys/resource.h>

namespace kwiklet::bench {

inline double millisecondsOf(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The most resident memory the process has held so far, in megabytes.
inline double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace kwiklet::bench
