#!/usr/bin/env bash
# Configures and builds Kwiklet with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets, in build-sanitize/ (extra arguments go to CMake).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DKWIKLET_SANITIZE=ON -DKWIKLET_BUILD_FUZZERS=ON \
  -DKWIKLET_BUILD_BENCHMARKS=OFF -DKWIKLET_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
cmake --build "$root/build-sanitize" -j "$(nproc)"
