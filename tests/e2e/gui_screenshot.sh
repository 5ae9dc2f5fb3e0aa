#!/usr/bin/env bash
# End-to-end test of the desktop program in a real X server: starts Xvfb on a
# free display, launches tavik, waits for its main window, takes a screenshot
# of the screen and decodes the default Code 39 symbol "0123456789" from it.
# It does so at 96, 120 and 144 dpi (scale factors 1, 1.25 and 1.5, which the
# program rounds to whole device pixels per pixel: 1, 1 and 2).
#
# Usage: tests/e2e/gui_screenshot.sh [PATH-TO-TAVIK]   (default: build/src/app/tavik)
# Needs the Debian packages xvfb, x11-utils (xwininfo, xprop), imagemagick
# (import) and zbar-tools (zbarimg). Exits 0 when every run decodes; on failure
# the screenshots and logs are kept and their folder is named.
set -euo pipefail

TAVIK=${1:-${TAVIK:-build/src/app/tavik}}
TIMEOUT=${E2E_TIMEOUT:-30}
EXPECTED='CODE-39:0123456789'

NAME=gui_screenshot
# shellcheck source=e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"
need_tools Xvfb xwininfo xprop import zbarimg

start_xvfb

# One run at a logical resolution: start, wait for the window, decode, stop.
run_at_dpi() {
    local dpi=$1
    local shot="$work/screen-$dpi.png"
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t%s' "$dpi")"
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
        "$TAVIK" >"$work/tavik-$dpi.log" 2>&1 &
    app_pid=$!

    local deadline=$((SECONDS + TIMEOUT))
    until xwininfo -root -tree 2>/dev/null | grep -q '"Tavik - 0123456789"'; do
        kill -0 "$app_pid" 2>/dev/null || fail "tavik ended early: $(cat "$work/tavik-$dpi.log")"
        [ "$SECONDS" -lt "$deadline" ] || fail "no tavik window within ${TIMEOUT}s at $dpi dpi"
        sleep 0.2
    done
    # The first paint may trail the window's appearance.
    until import -window root "$shot" 2>>"$work/import.log" &&
        zbarimg -q "$shot" 2>>"$work/zbarimg.log" | grep -qx "$EXPECTED"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "\"0123456789\" not decoded at $dpi dpi"
        sleep 0.5
    done
    stop "$app_pid"
    app_pid=""
    echo "gui_screenshot: decoded $EXPECTED from the window at $dpi dpi"
}

run_at_dpi 96
run_at_dpi 120
run_at_dpi 144
echo "gui_screenshot: passed"
