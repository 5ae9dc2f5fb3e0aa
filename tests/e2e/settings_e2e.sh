#!/usr/bin/env bash
# End-to-end test of the Settings command in a real X server: start tavik on
# a private Xvfb display, double-click the barcode in its view, type a new
# text into the Settings dialog, press Enter, and decode the new symbol from a
# screenshot; the same through View > Show Settings. Then drag the bars'
# bottom edge and let go outside the window: the drag must end there.
#
# Usage: tests/e2e/settings_e2e.sh [path/to/tavik]   (default build/src/app/tavik)
# Needs the Debian packages xvfb, xdotool, imagemagick (import), zbar-tools
# (zbarimg) and python3. Exits 77 (skipped) when one is missing.
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
tavik="${1:-$root/build/src/app/tavik}"
text="HELLO-42"

for tool in Xvfb xdotool import zbarimg python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "settings_e2e: skipped, $tool is not installed" >&2
        exit 77
    fi
done
if [ ! -x "$tavik" ]; then
    echo "settings_e2e: $tavik is not built" >&2
    exit 1
fi

work="$(mktemp -d)"
xvfb_pid=""
tavik_pid=""
cleanup() {
    [ -n "$tavik_pid" ] && kill "$tavik_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "settings_e2e: FAIL: $*" >&2
    [ -n "${KEEP_SHOTS:-}" ] && cp "$work"/*.png "$KEEP_SHOTS"/ 2>/dev/null
    exit 1
}

# A free display number, chosen by the server itself.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# The program's settings (recent files) go to a private home.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
"$tavik" >"$work/tavik.log" 2>&1 &
tavik_pid=$!

window="$(timeout 20 xdotool search --sync --onlyvisible --name 'Tavik' | head -n1)" ||
    fail "no Tavik window appeared"

shot() { import -window root -depth 8 "$work/$1.png"; }
decode() { zbarimg --quiet --raw "$work/$1.png" 2>/dev/null || true; }

# Prints "x y height" of the first bar: the top-left-most pixel column holding
# a dark vertical run of at least 20 pixels (toolbar icons are shorter).
first_bar() {
    import -window root -depth 8 -colorspace gray "pgm:$work/screen.pgm"
    python3 - "$work/screen.pgm" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
fields, pos = [], 0
while len(fields) < 4:  # magic, width, height, maxval
    while data[pos:pos + 1].isspace():
        pos += 1
    start = pos
    while not data[pos:pos + 1].isspace():
        pos += 1
    fields.append(data[start:pos])
w, h = int(fields[1]), int(fields[2])
pixels = data[pos + 1:]
for x in range(w):
    run = 0
    for y in range(h):
        if pixels[y * w + x] < 64:
            run += 1
            continue
        if run >= 20:
            print(x, y - run, run)
            sys.exit(0)
        run = 0
sys.exit(1)
PY
}

# Waits until the screen decodes as expected.
expect_symbol() {
    local want="$1" name="$2" got=""
    for _ in $(seq 50); do
        shot "$name"
        got="$(decode "$name")"
        [ "$got" = "$want" ] && return 0
        sleep 0.2
    done
    fail "$name: decoded '${got}', expected '$want'"
}

expect_symbol "0123456789" initial

# Double-click on the bars, type the new text over the selected old one, Enter.
read -r bar_x bar_y bar_h < <(first_bar) || fail "no barcode on the screen"
xdotool mousemove "$((bar_x + 20))" "$((bar_y + bar_h / 2))" click --repeat 2 --delay 80 1
dialog="$(timeout 10 xdotool search --sync --onlyvisible --name '^Settings$' | head -n1)" ||
    fail "the Settings dialog did not open"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 30 "$text"
xdotool key Return
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Settings$' >/dev/null 2>&1 || break
    sleep 0.1
done
expect_symbol "$text" after_ok
xdotool search --onlyvisible --name "$text" >/dev/null || fail "no window is titled $text"

# The same dialog from the View menu's last item, Show Settings.
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --delay 150 alt+v Up Return
dialog="$(timeout 10 xdotool search --sync --onlyvisible --name '^Settings$' | head -n1)" ||
    fail "View > Show Settings did not open the Settings dialog"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
text="MENU-7"
xdotool type --delay 30 "$text"
xdotool key Return
expect_symbol "$text" after_menu

# Drag the bars' bottom edge down by 30 pixels and let go outside the window.
read -r bar_x bar_y bar_h < <(first_bar) || fail "no barcode after OK"
bottom=$((bar_y + bar_h)) # the first row below the bars
xdotool mousemove "$((bar_x + 40))" "$bottom" mousedown 1
xdotool mousemove "$((bar_x + 40))" "$((bottom + 10))" sleep 0.1 \
    mousemove "$((bar_x + 40))" "$((bottom + 30))" sleep 0.2
read -r _ _ dragged_h < <(first_bar) || fail "no barcode while dragging"
[ "$dragged_h" -eq "$((bar_h + 30))" ] || fail "the drag did not follow ($bar_h -> $dragged_h)"
xdotool mousemove 1250 "$((bottom + 30))" sleep 0.1 mouseup 1 sleep 0.2
# That release ended the drag: a later press off the handles and a move with
# the button held change nothing.
xdotool mousemove "$((bar_x + 300))" "$((bar_y + 12))" mousedown 1 sleep 0.1 \
    mousemove "$((bar_x + 300))" "$((bar_y + 150))" sleep 0.2
read -r _ _ after_h < <(first_bar) || fail "no barcode after the release"
xdotool mouseup 1
[ "$after_h" -eq "$dragged_h" ] ||
    fail "the drag went on after a release outside the window ($dragged_h -> $after_h)"
expect_symbol "$text" after_drag

echo "settings_e2e: passed"
