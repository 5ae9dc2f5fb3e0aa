#!/usr/bin/env bash
# Prints a 10,000-line Code 128 list to PDF with tavik-batch and encodes the
# same list with GNU barcode (Debian `barcode`), in turn (A B A B ...), and
# reports each pair's CPU seconds (user + system), the median of each and the
# median of the pairs' ratios; then prints a 1,000,000-line list to PDF once
# under `/usr/bin/time -v` (CPU seconds and peak memory).
#   bench/print_vs_gnu_barcode.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build-release}
runs=${2:-11}
batch="$build/src/batch/tavik-batch"
[ -x "$batch" ] || { echo "build $batch first (Release)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# COUNT lines "Item NNNNN-XXXXXX" (DIGITS digits), seeded.
make_list() {
    python3 "$(dirname "$0")/make_list.py" "$1" "$2" "$3"
}

# CPU seconds of one run of the command.
cpu() {
    /usr/bin/time -f "%U %S" -o "$work/time" "$@" >/dev/null 2>&1 || true
    awk '{ printf "%.3f\n", $1 + $2 }' "$work/time"
}

make_list "$work/list.txt" 10000 5
ours=()
theirs=()
for i in $(seq 0 "$runs"); do
    a=$(cpu "$batch" -t code128b --line-width 2 -i "$work/list.txt" -o "$work/out.pdf")
    b=$(cpu barcode -i "$work/list.txt" -e 128b -t 3x8 -o "$work/out.ps")
    [ "$i" -eq 0 ] && continue # warm-up
    ours+=("$a")
    theirs+=("$b")
    echo "pair $i: tavik-batch $a s, GNU barcode $b s"
done
python3 - "${ours[*]}" "${theirs[*]}" <<'PY'
import statistics, sys
a = [float(v) for v in sys.argv[1].split()]
b = [float(v) for v in sys.argv[2].split()]
ratios = [x / y for x, y in zip(a, b)]
print("median cpu s: tavik-batch %.3f, GNU barcode %.3f; median ratio of the pairs %.3f "
      "(from %.3f to %.3f)" % (statistics.median(a), statistics.median(b),
                               statistics.median(ratios), min(ratios), max(ratios)))
PY
echo "sizes: out.pdf $(stat -c %s "$work/out.pdf") bytes, out.ps $(stat -c %s "$work/out.ps") bytes"

make_list "$work/million.txt" 1000000 7
/usr/bin/time -v -o "$work/time" "$batch" -t code128b --line-width 2 -i "$work/million.txt" \
    -o "$work/million.pdf" >/dev/null 2>&1 || true
awk -F': ' '/User time/ { u = $2 } /System time/ { s = $2 } /Maximum resident/ { m = $2 }
    END { printf "1,000,000 lines: cpu %.2f s, peak %.1f MB\n", u + s, m / 1024 }' "$work/time"
echo "size: million.pdf $(stat -c %s "$work/million.pdf") bytes"
