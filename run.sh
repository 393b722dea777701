#!/usr/bin/env bash
# Installs what is missing, builds Ta'rvo and runs it on the given folder (or
# the Desktop). With no display, it runs in a virtual one, inside a Wine
# desktop that draws the window's frame and caption as a user sees them,
# writes a screenshot to build/screenshot.png and closes the program again.
set -euo pipefail
source "$(dirname "$0")/tools/wine-env.sh"

install_missing
BUILD_TARGETS=tarvo build_project

args=()
if [ $# -gt 0 ]; then
  # Hand a Linux folder to the program as a Windows path.
  if [ -d "$1" ]; then args=("$("$(wine_binary)" winepath -w "$1" 2>/dev/null || echo "$1")"); else args=("$1"); fi
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  exec "$(wine_binary)" "$BUILD_DIR/tarvo.exe" "${args[@]}"
fi

trap stop_all EXIT
start_display
start_wine
if [ $# -gt 0 ] && [ -d "$1" ]; then args=("$("$(wine_binary)" winepath -w "$1")"); fi
# No window manager runs on the virtual display: a Wine desktop stands in.
"$(wine_binary)" explorer /desktop=Tarvo,1024x768 "$BUILD_DIR/tarvo.exe" "${args[@]}" &
program=$!
for _ in $(seq 1 100); do
  xdotool search --name "Wine desktop" >/dev/null 2>&1 && break
  sleep 0.2
done
# The window's own start and fill, then its first paint.
sleep 3
import -window root "$BUILD_DIR/screenshot.png"
echo "Screenshot of the window: $BUILD_DIR/screenshot.png"
# A polite close: the program gets WM_CLOSE and saves its settings as usual.
"$(wine_binary)" taskkill /im tarvo.exe >/dev/null 2>&1 || true
wait "$program" || true
