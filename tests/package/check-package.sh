#!/usr/bin/env bash
# Builds the Debian package with scripts/package and checks it without
# installing it: its files and fields, the unpacked programs, lintian,
# AppStream and .desktop validation, the manual pages against --help and the
# bash completion.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
deb=$("$root/scripts/package")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

failures=0
fail() {
    echo "check-package: $*" >&2
    failures=$((failures + 1))
}
# expect WHAT WANTED GOT
expect() {
    [ "$2" == "$3" ] || fail "$1: wanted \"$2\", got \"$3\""
}

# ---- the files and fields
completions=$(pkg-config --variable=completionsdir bash-completion)
expected_files=$(sort <<EOF
./usr/bin/tavik
./usr/bin/tavik-batch
./usr/share/applications/com.korvalin.tavik.desktop
.${completions}/tavik-batch
./usr/share/doc/tavik/changelog.gz
./usr/share/doc/tavik/copyright
./usr/share/icons/hicolor/scalable/apps/tavik.svg
./usr/share/man/man1/tavik-batch.1.gz
./usr/share/man/man1/tavik.1.gz
./usr/share/metainfo/com.korvalin.tavik.metainfo.xml
EOF
)
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$files" == "$expected_files" ] ||
    fail "files in the package differ from the list:
$(diff <(echo "$expected_files") <(echo "$files"))"

version=$(sed -nE 's/^project\(Tavik VERSION ([0-9.]+) .*/\1/p' "$root/CMakeLists.txt")
expect "package file" "tavik_${version}_$(dpkg --print-architecture).deb" "$(basename "$deb")"
expect "Version" "$version" "$(dpkg-deb -f "$deb" Version)"
expect "Section" graphics "$(dpkg-deb -f "$deb" Section)"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in fonts-liberation libqt6widgets6 libqt6svg6 libqt6printsupport6 libc6; do
    [[ ", $depends," == *", $dep "* || ", $depends," == *", $dep,"* ]] ||
        fail "Depends lacks $dep: $depends"
done
[[ $(dpkg-deb -f "$deb" Maintainer) == *"<"*@*">" ]] || fail "no Maintainer address"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 3 ] || fail "no long Description"

# ---- the unpacked programs
pkg="$tmp/root"
dpkg-deb -x "$deb" "$pkg"
batch="$pkg/usr/bin/tavik-batch"
expect "tavik-batch --version" "tavik-batch $version" "$("$batch" --version)"
# *A* in Code 39: element digits 1 narrow bar, 3 wide bar, 0 narrow space,
# 2 wide space; a narrow gap after each character.
expect "tavik-batch --dump" 121030301030101210301210303010 "$("$batch" --dump -t code39 A)"
"$batch" -t code128b TAVIK-14 -o "$tmp/label.png"
expect "PNG decoded" "CODE-128:TAVIK-14" "$(zbarimg -q "$tmp/label.png" 2>/dev/null)"
# The desktop program answers --version without a display and stores nothing.
got=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$tmp/config" \
    XDG_RUNTIME_DIR="$tmp" "$pkg/usr/bin/tavik" --version 2>/dev/null) ||
    fail "tavik --version without a display failed"
expect "tavik --version" "tavik $version" "$got"
[ ! -e "$tmp/config" ] || fail "tavik --version wrote settings"

# ---- lintian, AppStream, .desktop
out=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $out"
out=$(appstreamcli validate --no-net "$pkg"/usr/share/metainfo/*.xml 2>&1) ||
    fail "appstreamcli validate: $out"
out=$(desktop-file-validate "$pkg"/usr/share/applications/*.desktop 2>&1) ||
    fail "desktop-file-validate: $out"
grep -qF "<launchable type=\"desktop-id\">com.korvalin.tavik.desktop<" \
    "$pkg"/usr/share/metainfo/com.korvalin.tavik.metainfo.xml ||
    fail "the AppStream data does not launch the .desktop entry"
grep -qF "$(head -n1 "$root/src/app/resources/fonts/OFL.txt")" "$pkg/usr/share/doc/tavik/copyright" ||
    fail "the copyright file lacks the font's licence"

# ---- manual pages: every option of --help is in the page, every section there
for program in tavik tavik-batch; do
    help=$(QT_QPA_PLATFORM=offscreen "$pkg/usr/bin/$program" --help 2>/dev/null)
    page=$(MANWIDTH=1000 man -P cat -l "$pkg/usr/share/man/man1/$program.1.gz" 2>/dev/null)
    options=$(grep -oE -- '(^|[[:space:][(,|])--?[A-Za-z][A-Za-z0-9-]*' <<<"$help" |
        sed 's/^[^-]*//' | sort -u)
    [ "$(wc -l <<<"$options")" -ge 4 ] || fail "$program --help: too few options: $options"
    for option in $options; do
        grep -qE -- "(^|[^[:alnum:]-])$option([^[:alnum:]-]|\$)" <<<"$page" ||
            fail "$program(1) lacks $option"
    done
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES "SEE ALSO"; do
        grep -qx "$section" <<<"$page" || fail "$program(1) lacks the section $section"
    done
    grep -qF ".config/Korvalin/Tavik.conf" <<<"$page" || fail "$program(1) lacks the settings file"
done

# ---- bash completion, as bash-completion runs it
mkdir -p "$tmp/files/outdir" "$tmp/bin"
touch "$tmp/files/out.png" "$tmp/files/out.PDF" "$tmp/files/out.txt"
printf '#!/bin/sh\n[ "$1" = -e ] && printf "Office_Laser\\nLabel203\\n"\n' >"$tmp/bin/lpstat"
chmod +x "$tmp/bin/lpstat"
long_options=$("$batch" --help | grep -oE -- '(^|[[:space:]])--[a-z][a-z-]*' | tr -d ' ' |
    sort -u | paste -sd' ')
# WORDS|COMPLETIONS: the words after the command, the last one completed.
cases=$(cat <<EOF
--pri|--print --printer --printer-dpi
-t code12|code128a code128b code128c
--type ''|0 1 2 3 4 5 6 code128a code128b code128c code39 code93 ean13 i2of5
--page-size ''|A4 Letter
--printer La|Label203
-o out|out.PDF out.png outdir
--input out|out.PDF out.png out.txt outdir
--scale ''|
--|$long_options
EOF
)
mapfile -t got < <(
    cd "$tmp/files"
    PATH="$tmp/bin:$PATH"
    set +eu
    . /usr/share/bash-completion/bash_completion
    . "$pkg$completions/tavik-batch"
    fn=$(complete -p tavik-batch | sed -nE 's/.* -F ([^ ]+) .*/\1/p')
    complete_words() {
        COMP_WORDS=("$batch" "$@")
        COMP_CWORD=$#
        COMP_LINE="${COMP_WORDS[*]}"
        COMP_POINT=${#COMP_LINE}
        COMPREPLY=()
        "$fn" "$batch" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd' '
    }
    while IFS='|' read -r words _; do
        eval "complete_words $words"
    done <<<"$cases"
)
i=0
while IFS='|' read -r words wanted; do
    expect "completion of tavik-batch $words" "$wanted" "${got[i]-}"
    i=$((i + 1))
done <<<"$cases"
for type in $(sed -n "s/^--type ''|//p" <<<"$cases"); do
    status=0
    "$batch" --dump -t "$type" 12 >/dev/null 2>&1 || status=$?
    [ "$status" -le 1 ] || fail "tavik-batch refuses the completed type $type"
done

if [ "$failures" -gt 0 ]; then
    echo "check-package: $failures failed" >&2
    exit 1
fi
echo "check-package: $deb passed"
