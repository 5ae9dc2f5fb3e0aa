#!/usr/bin/env bash
# End-to-end test of the view's zoom in a real X server: opens a list, presses
# Ctrl++ twice and takes a screenshot. The zoomed symbols must decode and their
# narrow bars be 3 pixels wide; with QT_SCREEN_SCALE_FACTORS=1.25 (3.75 device
# pixels a unit) every narrow bar must still be as wide as every other.
#
# Usage: tests/e2e/zoom_e2e.sh [PATH-TO-TAVIK]   (default: build/src/app/tavik)
# Needs xvfb, x11-utils (xwininfo), xdotool, imagemagick (import, convert),
# zbar-tools (zbarimg) and python3. On failure the screenshots are kept.
set -euo pipefail

TAVIK=${1:-${TAVIK:-build/src/app/tavik}}
TIMEOUT=${E2E_TIMEOUT:-30}
LINES=(TAVIK1 CODE39)

NAME=zoom_e2e
# shellcheck source=e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"
need_tools Xvfb xwininfo xdotool import convert zbarimg python3

printf '%s\n' "${LINES[@]}" >"$work/list.txt"

start_xvfb

# Widths of the dark runs of every scanline through a symbol of the list: runs
# grouped where the light gaps between them are short, kept when their count
# is the bars of one Code 39 row (5 a character, start and stop included).
bar_widths() {
    convert "$1" -colorspace gray -depth 8 "$work/shot.pgm"
    python3 - "$work/shot.pgm" "${LINES[@]}" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
parts = data.split(maxsplit=4)
w, h = int(parts[1]), int(parts[2])
pix = parts[4]
counts = {5 * (len(t) + 2) for t in sys.argv[2:]}
widths = set()
for y in range(h):
    row = pix[y * w:(y + 1) * w]
    runs, x = [], 0
    while x < w:
        if row[x] < 128:
            s = x
            while x < w and row[x] < 128:
                x += 1
            runs.append((s, x - s))
        else:
            x += 1
    group = []
    for r in runs + [(10 ** 9, 0)]:
        if group and r[0] - (group[-1][0] + group[-1][1]) > 16:
            if len(group) in counts:
                widths.update(g[1] for g in group)
            group = []
        group.append(r)
print(' '.join(str(v) for v in sorted(widths)))
PY
}

# One run: start on the list, zoom in twice, screenshot, decode and measure.
run() {
    local name=$1
    shift
    local shot="$work/screen-$name.png"
    env "$@" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
        "$TAVIK" "$work/list.txt" >"$work/tavik-$name.log" 2>&1 &
    app_pid=$!
    local deadline=$((SECONDS + TIMEOUT)) win=""
    until win=$(xdotool search --name '^Tavik - list.txt' 2>/dev/null | head -n1) && [ -n "$win" ]; do
        kill -0 "$app_pid" 2>/dev/null || fail "tavik ended early: $(cat "$work/tavik-$name.log")"
        [ "$SECONDS" -lt "$deadline" ] || fail "no tavik window within ${TIMEOUT}s ($name)"
        sleep 0.2
    done
    sleep 1 # the first paint and the focus may trail the window
    xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key --clearmodifiers ctrl+plus ctrl+plus
    local widths=""
    until import -window root "$shot" 2>>"$work/import.log" &&
        zbarimg -q "$shot" 2>/dev/null | grep -qx "CODE-39:${LINES[0]}" &&
        widths=$(bar_widths "$shot") && [ "$(wc -w <<<"$widths")" -ge 2 ] &&
        [ "${widths%% *}" -ge 3 ]; do
        [ "$SECONDS" -lt "$deadline" ] || fail "no zoomed symbol decoded ($name): widths '$widths'"
        sleep 0.5
    done
    stop "$app_pid"
    app_pid=""
    echo "$widths"
}

plain=$(run zoom3)
[ "$plain" = "3 9" ] || fail "bar widths at zoom 3 are '$plain', not narrow 3 and wide 9"
echo "zoom_e2e: zoom 3 decodes, narrow bars 3 px, wide 9 px"

scaled=$(run zoom3-1.25 QT_SCREEN_SCALE_FACTORS=1.25)
[ "$(wc -w <<<"$scaled")" -eq 2 ] || fail "bar widths at 1.25 x zoom 3 are '$scaled', not two widths"
echo "zoom_e2e: scale 1.25 zoom 3 decodes, every narrow bar ${scaled%% *} px, wide ${scaled##* } px"
echo "zoom_e2e: passed"
