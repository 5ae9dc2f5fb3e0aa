#!/bin/bash
# Runs test programs with a sentinel home and checks that their settings there are
# untouched: no test may write the user's own settings.
# Usage: settings_sentinel.sh PROGRAM GTEST_FILTER [PROGRAM GTEST_FILTER...]
set -eu
work=$(mktemp -d "${TMPDIR:-/tmp}/tavik-sentinel-XXXXXX")
trap 'rm -rf "$work"' EXIT
conf="$work/home/.config/Korvalin"
mkdir -p "$conf"
printf '[Recent%%20File%%20List]\nFile1=/sentinel.txt\n' >"$conf/Tavik.conf"
cp "$conf/Tavik.conf" "$work/expected"
while [ "$#" -ge 2 ]; do
    HOME="$work/home" env -u XDG_CONFIG_HOME QT_QPA_PLATFORM=offscreen \
        "$1" --gtest_filter="$2" >"$work/log" 2>&1 ||
        { cat "$work/log" >&2; echo "settings_sentinel: $1 failed" >&2; exit 1; }
    shift 2
done
if ! cmp -s "$conf/Tavik.conf" "$work/expected" || [ "$(ls -A "$conf")" != Tavik.conf ]; then
    echo "settings_sentinel: the tests changed the home's settings:" >&2
    ls -la "$conf" >&2
    cat "$conf/Tavik.conf" >&2
    exit 1
fi
echo "settings_sentinel: the home's settings are untouched"
