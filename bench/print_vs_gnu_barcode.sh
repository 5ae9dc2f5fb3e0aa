#!/usr/bin/env bash
# Prints a 10,000-line Code 128 list to PDF with tavik-batch and encodes the
# same list with GNU barcode (Debian `barcode`), several times in turn, and
# reports each run's user/system/wall seconds and the output sizes.
#   bench/print_vs_gnu_barcode.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build-release}
runs=${2:-5}
batch="$build/src/batch/tavik-batch"
[ -x "$batch" ] || { echo "build $batch first (Release)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work/list.txt" <<'PY'
import random, sys
random.seed(7)
with open(sys.argv[1], "w") as f:
    for i in range(10000):
        tail = "".join(random.choice("ABCDEFGHJKLMNPQRSTUVWXYZ") for _ in range(6))
        f.write("Item %05d-%s\n" % (i, tail))
PY

for _ in $(seq 1 "$runs"); do
    /usr/bin/time -f "tavik-batch  user %U sys %S wall %e" \
        "$batch" -t code128b --line-width 2 -i "$work/list.txt" -o "$work/out.pdf"
    /usr/bin/time -f "GNU barcode  user %U sys %S wall %e" \
        barcode -i "$work/list.txt" -e 128b -t 3x8 -o "$work/out.ps"
done
echo "sizes: out.pdf $(stat -c %s "$work/out.pdf") bytes, out.ps $(stat -c %s "$work/out.ps") bytes"
