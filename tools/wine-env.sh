# Sourced by run.sh, test.sh and bench.sh: installs what is missing, builds
# into build/, and prepares a Wine prefix and a display of this run's own.

PROJECT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# TARVO_BUILD_DIR lets two checkouts or builds of the same tree run side by side.
BUILD_DIR="${TARVO_BUILD_DIR:-$PROJECT_ROOT/build}"
PACKAGES="cmake make g++-mingw-w64-x86-64 mingw-w64-tools googletest wine wine64 xvfb xauth x11-utils xdotool imagemagick fonts-wine"

install_missing() {
  local missing=()
  for package in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

build_project() {
  # ccache, where a developer has it, shares objects between checkouts.
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$PROJECT_ROOT"
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$PROJECT_ROOT" -B "$BUILD_DIR" \
    -DCMAKE_TOOLCHAIN_FILE="$PROJECT_ROOT/cmake/toolchain-mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" "$@" >/dev/null
  cmake --build "$BUILD_DIR" -j"$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
}

wine_binary() {
  if command -v wine64 >/dev/null 2>&1; then echo wine64
  elif [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64
  else echo wine; fi
}

wineserver_binary() {
  if command -v wineserver >/dev/null 2>&1; then echo wineserver
  else echo /usr/lib/wine/wineserver; fi
}

# A free X display number of our own. The server writes its number to the
# file only once it listens on it, so a number that another run took at the
# same moment is never mistaken for ours: that run's server answers, ours ends.
start_display() {
  local n i ready
  ready=$(mktemp)
  for n in $(seq 91 140); do
    if [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; then continue; fi
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -displayfd 3 3>"$ready" >/dev/null 2>&1 &
    XVFB_PID=$!
    for i in $(seq 1 100); do
      if [ -s "$ready" ]; then
        rm -f "$ready"
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  done
  rm -f "$ready"
  echo "no X display could be started" >&2
  return 1
}

start_wine() {
  export WINEPREFIX="${WINEPREFIX:-$BUILD_DIR/wineprefix}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  # Files the tests recycle go to a trash folder of the build, not the user's.
  export XDG_DATA_HOME="$BUILD_DIR/xdg-data"
  mkdir -p "$XDG_DATA_HOME"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    "$(wine_binary)" wineboot -i >/dev/null 2>&1 </dev/null
    "$(wineserver_binary)" -w
  fi
  # This Wine finds Marlett, which draws the caption buttons' symbols, only
  # among the prefix's own fonts.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
  # Drive E: is a folder of the build, for the tests of a program started
  # from a drive other than C.
  mkdir -p "$BUILD_DIR/wine-drive-e"
  ln -sfn "$BUILD_DIR/wine-drive-e" "$WINEPREFIX/dosdevices/e:"
  # A persistent server makes every later start quick; it must not hold our pipes.
  "$(wineserver_binary)" -p </dev/null >/dev/null 2>&1 &
  # Start Wine's own background processes now, with nothing of ours open in
  # them: started by a test, they would inherit its output pipe and keep ctest
  # waiting for it to close.
  "$(wine_binary)" wineboot </dev/null >/dev/null 2>&1 || true
}

stop_all() {
  if [ -n "${WINEPREFIX:-}" ]; then "$(wineserver_binary)" -k >/dev/null 2>&1 || true; fi
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
}
