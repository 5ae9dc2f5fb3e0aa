#!/usr/bin/env bash
# Peak memory of reading a 1 GiB list: tavik-batch --check (from the file,
# standard input redirected from it, and a pipe), --dump and -o
# (a PNG, refused as too high once the list is loaded and laid out), the
# document's open path alone (load_peak) and the window opening the file.
# The list is seq's 118,485,292 lines (1,073,741,818 bytes), then the same
# lines after a UTF-8 byte-order mark. Prints each peak against the file size.
#   bench/list_memory.sh [BUILD_DIR]     (default: build-rel)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-rel}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target tavik-batch tavik load_peak >/dev/null
batch=$build/src/batch/tavik-batch
window=$build/src/app/tavik

tmp=$(mktemp -d)
window_pid=
trap '[ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null; rm -rf "$tmp"' EXIT
list=$tmp/list.txt

report() { # name bytes
    awk -v n="$1" -v b="$2" -v s="$(stat -c %s "$list")" \
        'BEGIN { printf "%-44s %14.0f bytes  %.2fx\n", n, b, b / s }'
}

# The maximum resident set of a command, in bytes (its output is dropped).
peak() {
    /usr/bin/time -f %M -o "$tmp/rss" "$@" >/dev/null 2>"$tmp/err" </dev/null || true
    echo $(($(tail -1 "$tmp/rss") * 1024))
}

# The window's high-water mark once it has opened the list and its row pass
# is done (its CPU time stopped growing for 4 s).
window_peak() {
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$tmp/config "$window" "$list" >/dev/null 2>&1 &
    window_pid=$!
    local last=-1 same=0 now
    while [ "$same" -lt 4 ]; do
        sleep 1
        now=$(awk '{ print $14 + $15 }' "/proc/$window_pid/stat")
        if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
        last=$now
    done
    awk '$1 == "VmHWM:" { print $2 * 1024 }' "/proc/$window_pid/status"
    kill "$window_pid"
    wait "$window_pid" 2>/dev/null || true
    window_pid=
}

measure() {
    echo "$1 ($(stat -c %s "$list") bytes)"
    report "tavik-batch --check -i LIST" "$(peak "$batch" --check -i "$list")"
    report "tavik-batch --check -i - <LIST" \
        "$(peak sh -c 'exec "$0" --check -i - <"$1"' "$batch" "$list")"
    report "cat LIST | tavik-batch --check -i -" \
        "$(peak sh -c 'cat "$1" | "$0" --check -i -' "$batch" "$list")"
    report "tavik-batch --dump -i LIST" "$(peak "$batch" --dump -i "$list")"
    report "tavik-batch -i LIST -o out.png (refused)" "$(peak "$batch" -i "$list" -o "$tmp/out.png")"
    report "load_peak LIST (added by the open path)" \
        "$("$build/bench/load_peak" "$list" | awk '$1 == "peak_added_bytes" { print $2 }')"
    report "tavik LIST (window, after its row pass)" "$(window_peak)"
}

seq 1 118485292 >"$list"
measure "seq list"
{ printf '\xEF\xBB\xBF'; cat "$list"; } >"$list.bom" && mv "$list.bom" "$list"
measure "the same after a byte-order mark"
