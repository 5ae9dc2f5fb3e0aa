#!/usr/bin/env bash
# Peak memory of loading a 1,000,000-line (20 MB) text list: builds load_peak
# in Release, writes the list and prints what loading added at its peak.
# Fails when the peak reaches 1.5x the file size.
#   bench/load_memory.sh [BUILD_DIR]     (default: build-rel)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-rel}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target load_peak >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
list="$tmp/list.txt"
awk 'BEGIN { for (i = 0; i < 1000000; i++) printf "%019d\n", i * 7 }' >"$list"

out=$("$build/bench/load_peak" "$list")
echo "$out"
awk '$1 == "ratio" { exit !($2 < 1.5) }' <<<"$out" || { echo "peak is 1.5x the file size or more" >&2; exit 1; }
