#!/usr/bin/env bash
# Installs what is missing and runs every test: the whole suite on the release build
# (warnings as errors), the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzz target for a short fixed time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

echo "== Release build"
"$root/scripts/build.sh" -DKWIKLET_WARNINGS_AS_ERRORS=ON
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300)

echo "== Sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer)"
"$root/scripts/build-sanitized.sh"
(source "$root/scripts/sanitizer-env.sh" &&
  cd "$root/build-sanitize" && ctest --output-on-failure -j "$(nproc)" --timeout 600)

echo "== Fuzzing"
"$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-30}"
