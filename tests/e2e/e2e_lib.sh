# Shared by the end-to-end scripts: a work folder, cleanup on exit, failure
# messages, a private Xvfb server and a settings folder of the run's own.
# Set NAME before sourcing; then call need_tools and start_xvfb.

work=$(mktemp -d "${TMPDIR:-/tmp}/tavik-$NAME-XXXXXX")
xvfb_pid=""
app_pid=""
keep=0

stop() { # pid: ends a process this script started
    if [ -n "$1" ] && kill -0 "$1" 2>/dev/null; then
        kill "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}

cleanup() {
    stop "$app_pid"
    stop "$xvfb_pid"
    if [ "$keep" -eq 0 ]; then
        rm -rf "$work"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    keep=1
    echo "$NAME: FAIL: $*" >&2
    echo "$NAME: screenshots and logs kept in $work" >&2
    exit 1
}

need_tools() { # tools...: each must be installed; TAVIK must be a program
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is not installed"
    done
    [ -x "$TAVIK" ] || fail "no program at $TAVIK"
}

# Xvfb chooses a free display and writes its number to descriptor 3 once ready;
# -noreset keeps the root window's resources between runs. tavik keeps its
# settings and runtime files in the work folder, never the user's.
start_xvfb() {
    Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
        2>"$work/xvfb.log" &
    xvfb_pid=$!
    local deadline=$((SECONDS + TIMEOUT))
    until [ -s "$work/display" ]; do
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
        [ "$SECONDS" -lt "$deadline" ] || fail "Xvfb gave no display within ${TIMEOUT}s"
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$work/display")"
    unset WAYLAND_DISPLAY
    mkdir -p "$work/config" "$work/runtime"
    chmod 700 "$work/runtime"
}
