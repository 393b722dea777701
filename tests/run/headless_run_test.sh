#!/usr/bin/env bash
# The README's ./run.sh without a display, on a copy of the built program: its
# own Wine prefix and display, the build's settings untouched. It must end by
# itself with 0, leaving the screenshot, the settings the polite close writes
# (only a save writes the file) and nothing running.
set -uo pipefail
work=$(mktemp -d "$2/headless-run.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/program" "$work/desk" && cp "$2/tarvo.exe" "$2/Tarvo.txt" "$work/program/"
env -u DISPLAY -u WINEPREFIX TARVO_BUILD_DIR="$work/program" timeout 100 "$1/run.sh" "$work/desk" </dev/null
rc=$?
picture=$(identify -format %wx%h "$work/program/screenshot.png" 2>/dev/null)
settings=$(iconv -f UTF-16 -t UTF-8 "$work/program/tarvo.ini" 2>/dev/null | tr -d '\r')
left=$(grep -lsxzF "TARVO_BUILD_DIR=$work/program" /proc/[0-9]*/environ)
failed=0
fail() { echo "FAILED: $*" && failed=1; }
[ "$rc" -eq 0 ] || fail "run.sh ended with $rc"
[ "$picture" = 1024x768 ] || fail "no screenshot of the display"
grep -qxF "folder=Z:${work//\//\\}\\desk" <<<"$settings" || fail "no settings saved for the folder"
[ -z "$left" ] || fail "left running: $left"
exit "$failed"
