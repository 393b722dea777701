#!/usr/bin/env bash
# Installs what is missing, builds Ta'rvo's listing benchmark and runs it
# under Wine in a virtual display of its own. Prints one line per
# measurement: fill view=<mode> n=<entries> ours=<s> floor=<s> ratio=<ours/floor>,
# floor n=<entries> per-entry-ms=<ms> (the floor's own growth), and
# start desk=<entries> ours=<s> bare=<s> ratio=<ours/bare> for desks of 100
# and 1,000 entries (the program started until its list holds every entry,
# against a bare program showing an empty list view).
# Arguments, if any, are the entry counts to measure (default 100 1000 5000).
set -euo pipefail
source "$(dirname "$0")/tools/wine-env.sh"

install_missing
BUILD_TARGETS=tarvo_bench build_project >/dev/null
trap stop_all EXIT
start_display
start_wine
counts=()
for count in "$@"; do counts+=("-n$count"); done
"$(wine_binary)" "$BUILD_DIR/tarvo_bench.exe" "${counts[@]}" </dev/null
# The folder watcher: latency desk=<entries> setting=<ms> ours=<s> expected=<s>
# and burst files=<n> refreshes=<count>.
BUILD_TARGETS=tarvo_watchbench build_project >/dev/null
"$(wine_binary)" "$BUILD_DIR/tarvo_watchbench.exe" </dev/null
