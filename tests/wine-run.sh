#!/usr/bin/env bash
# Runs one Windows program of the build under Wine, in the prefix and on the
# display that ./test.sh prepares. Used by ctest as the cross-compiling emulator.
if [ -z "$WINEPREFIX" ] || [ -z "$DISPLAY" ]; then
  echo "wine-run.sh: WINEPREFIX and DISPLAY must be set (run ./test.sh)" >&2
  exit 2
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if command -v wine64 >/dev/null 2>&1; then wine=wine64
elif [ -x /usr/lib/wine/wine64 ]; then wine=/usr/lib/wine/wine64
else wine=wine; fi

# Now and then Wine ends a start with an error before the program runs at all,
# silently. The test programs say "test program started" first thing, so a
# failed run without that line never reached a test and is started once more.
# Only stderr is copied aside: stdout stays the program's own, as gtest's
# test discovery reads it.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for attempt in 1 2; do
  "$wine" "$@" 2> >(tee "$log" >&2)
  rc=$?
  wait $!
  if [ "$rc" -eq 0 ] || [ "$attempt" -eq 2 ] || grep -q "^test program started" "$log"; then
    exit "$rc"
  fi
  echo "wine-run.sh: Wine ended with $rc before the program started; starting it again" >&2
done
