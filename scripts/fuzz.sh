#!/usr/bin/env bash
# Fuzzes each target for SECONDS (default 30) from its seed corpus in tests/fuzz/corpus.
# New inputs go to a scratch corpus, so the tree is left as it is. Build first
# (scripts/build-sanitized.sh). Prints libFuzzer's figures for each target.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
source "$root/scripts/sanitizer-env.sh"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# The search box's window keeps growing Qt's caches as inputs arrive, and libFuzzer would
# scan for leaks after each such input, at a tenth of the speed. Leaks are looked for
# when each test program of the sanitizer build ends instead.
declare -A options=([search_fuzzer]="-detect_leaks=0" [like_fuzzer]="")

for target in search_fuzzer like_fuzzer; do
  mkdir -p "$scratch/$target"
  echo "== $target, $seconds s"
  # shellcheck disable=SC2086
  if ! "$root/build-sanitize/tests/fuzz/$target" ${options[$target]} -max_total_time="$seconds" \
      -timeout=10 -max_len=512 -print_final_stats=1 -artifact_prefix="$scratch/" \
      "$scratch/$target" "$root/tests/fuzz/corpus/$target" 2> "$scratch/$target.log"; then
    tail -60 "$scratch/$target.log"
    for artifact in "$scratch"/crash-* "$scratch"/timeout-* "$scratch"/leak-*; do
      [ -e "$artifact" ] && echo "input: $(base64 -w0 "$artifact")"
    done
    exit 1
  fi
  grep -E "DONE|stat::number_of_executed_units|stat::peak_rss_mb" "$scratch/$target.log"
  echo "seeds: $(ls "$root/tests/fuzz/corpus/$target" | wc -l), new inputs: $(ls "$scratch/$target" | wc -l)"
done
