#!/usr/bin/env bash
# Runs the search benchmark at 32,767 and 1,000,000 generated names, each in its own
# process so that peak memory is per size. Build first (scripts/build.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT
for rows in 32767 1000000; do
  python3 "$root/bench/make-names.py" "$rows" > "$data/names-$rows.txt"
  echo "== $rows names"
  "${SEARCH_BENCH:-$root/build/bench/search_bench}" "$data/names-$rows.txt" "${REPEATS:-30}"
done
