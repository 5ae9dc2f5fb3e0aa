#!/usr/bin/env bash
# Export of a 1,000,000-line list to PDF from the window (bench/export_job)
# against tavik-batch writing the same PDF, in turn: the window's thread CPU
# share of the export, and the two wall and CPU times.
#   bench/export_job.sh [BUILD_DIR] [RUNS] [LINES]
set -euo pipefail
build=${1:-build-release}
runs=${2:-3}
lines=${3:-1000000}
batch="$build/src/batch/tavik-batch"
job="$build/bench/export_job"
for b in "$batch" "$job"; do
    [ -x "$b" ] || { echo "build $b first (Release)" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
seq -f "%07.0f" 1 "$lines" > "$work/list.txt"

for _ in $(seq 1 "$runs"); do
    "$job" "$work/list.txt" "$work/window.pdf"
    /usr/bin/time -f "tavik-batch: wall %e s, CPU %U s user + %S s system" \
        "$batch" -i "$work/list.txt" -o "$work/batch.pdf"
done
echo "sizes: window.pdf $(stat -c %s "$work/window.pdf") bytes," \
    "batch.pdf $(stat -c %s "$work/batch.pdf") bytes"
