#!/usr/bin/env bash
# Prints LINES lines of the Code 128 list to PDF with tavik-batch, takes the
# page streams back out uncompressed (qpdf --qdf) and times zlib level 1 alone
# on each page's text, as the writer compresses it: CPU seconds (median of 3),
# page text a row, and the time that makes for a million rows.
#   bench/zlib_page_text.sh [BUILD_DIR] [LINES]
set -euo pipefail
build=${1:-build-release}
lines=${2:-100000}
batch="$build/src/batch/tavik-batch"
[ -x "$batch" ] || { echo "build $batch first (Release)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$(dirname "$0")/make_list.py" "$work/list.txt" "$lines" 7
"$batch" -t code128b --line-width 2 -i "$work/list.txt" -o "$work/out.pdf"
qpdf --qdf --object-streams=disable "$work/out.pdf" "$work/plain.pdf"
python3 - "$work/plain.pdf" "$lines" <<'PY'
import re, statistics, sys, time, zlib
data = open(sys.argv[1], "rb").read()
rows = int(sys.argv[2])
pages = [m.group(1) for m in re.finditer(rb"stream\n(.*?)endstream", data, re.S)
         if b" re\n" in m.group(1)]
text = sum(len(p) for p in pages)
times = []
for _ in range(3):
    start = time.process_time()
    packed = sum(len(zlib.compress(p, 1)) for p in pages)
    times.append(time.process_time() - start)
cpu = statistics.median(times)
print(f"{len(pages)} pages, {text} bytes of page text ({text / rows:.0f} a row), "
      f"zlib level 1 {cpu:.3f} s CPU, ratio {packed / text:.3f}; "
      f"{cpu * 1e6 / rows:.1f} s a million rows")
PY
