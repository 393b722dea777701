#!/bin/sh
# Runs one Windows program of the build under Wine, in the prefix and on the
# display that ./test.sh prepares. Used by ctest as the cross-compiling emulator.
if [ -z "$WINEPREFIX" ] || [ -z "$DISPLAY" ]; then
  echo "wine-run.sh: WINEPREFIX and DISPLAY must be set (run ./test.sh)" >&2
  exit 2
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if command -v wine64 >/dev/null 2>&1; then
  exec wine64 "$@"
elif [ -x /usr/lib/wine/wine64 ]; then
  exec /usr/lib/wine/wine64 "$@"
fi
exec wine "$@"
