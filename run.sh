#!/usr/bin/env bash
# Installs what is missing, builds Ta'rvo and runs it on the given folder (or
# the Desktop). With no display, it runs in a virtual one, inside a Wine
# desktop that draws the window's frame and caption as a user sees them,
# writes a screenshot to build/screenshot.png, closes the program again and
# ends: 0 once the picture is taken, else 1 with the reason in one line.
set -euo pipefail
source "$(dirname "$0")/tools/wine-env.sh"

install_missing
# A folder holding a program but no CMake build (an unpacked release, say)
# runs as it is.
if [ ! -f "$BUILD_DIR/tarvo.exe" ] || [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
  BUILD_TARGETS=tarvo build_project
fi

args=()
if [ $# -gt 0 ]; then
  # Hand a Linux folder to the program as a Windows path.
  if [ -d "$1" ]; then args=("$("$(wine_binary)" winepath -w "$1" 2>/dev/null || echo "$1")"); else args=("$1"); fi
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  exec "$(wine_binary)" "$BUILD_DIR/tarvo.exe" "${args[@]}"
fi

fail() {
  echo "run.sh: $*" >&2
  exit 1
}

trap stop_all EXIT
start_display || exit 1
start_wine
if [ $# -gt 0 ] && [ -d "$1" ]; then args=("$("$(wine_binary)" winepath -w "$1")"); fi
# No window manager runs on the virtual display: a Wine desktop stands in. It
# ends by itself once the last program in it has ended.
desktop=(explorer /desktop=Tarvo,1024x768)
"$(wine_binary)" "${desktop[@]}" "$BUILD_DIR/tarvo.exe" "${args[@]}" &
wine_desktop=$!

shown=""
for _ in $(seq 1 150); do
  xdotool search --onlyvisible --class '^tarvo\.exe$' >/dev/null 2>&1 && shown=yes && break
  kill -0 "$wine_desktop" 2>/dev/null || break
  sleep 0.2
done
[ -n "$shown" ] || fail "the program never showed its window"
# The window's fill and first paint.
sleep 2
screenshot="$BUILD_DIR/screenshot.png"
rm -f "$screenshot"
import -window root "$screenshot" && [ -s "$screenshot" ] || fail "the screenshot failed"
echo "Screenshot of the window: $screenshot"

# A polite close, as from the task list: the program gets WM_CLOSE and saves
# its settings. taskkill only reaches the windows of its own desktop, so it
# is started inside the program's one.
"$(wine_binary)" "${desktop[@]}" taskkill /im tarvo.exe >/dev/null 2>&1 || true
for _ in $(seq 1 50); do
  kill -0 "$wine_desktop" 2>/dev/null || exit 0
  sleep 0.2
done
echo "run.sh: the program did not close within 10 s; ending it by force" >&2
