#!/usr/bin/env bash
# Installs what is missing, builds Ta'rvo's benchmarks and runs them under
# Wine in a virtual display of their own. Prints one line per measurement,
# each against a baseline of the same run:
#   fill view=<mode> n=<entries> ours=<s> floor=<s> ratio=<ours/floor>
#     (the list filled until every icon is in, against enumeration and icons
#     without a list view), floor n=<entries> per-entry-ms=<ms> (the floor's
#     own growth), growth view=<mode> ours=<5000/1000> floor=<5000/1000>;
#   icons desk=<entries> ours=<s> floor=<s> ratio=<ours/floor> (every icon
#     made anew, against the floor in the large view);
#   refresh desk=<largest> ours=<s> floor=<s> ratio=<ours/floor> (the watcher's
#     refresh for one new file, against enumeration and inserts without icons);
#   start desk=<entries> ours=<s> bare=<s> ratio=<ours/bare> (the program
#     started until its list holds every entry, against a bare program) and
#     start-least desk=<entries> least=<s> bare=<s> ratio=<least/bare> (for
#     information: the least any program must do for the same, against the
#     same bare program);
#   freeze desk=<entries> phase=start|refresh worst-ms=<ms> (the longest the
#     started program's window went without answering);
#   memory desk=5000 ours=<MB> empty=<MB> (the started program's private
#     bytes with every entry and icon in, against the same on an empty desk);
#   latency desk=<entries> setting=<ms> ours=<s> expected=<s> and
#     burst files=<n> refreshes=<count> (the folder watcher).
# Exits non-zero when a figure misses its target; each miss goes to stderr.
# Arguments, if any, are the entry counts to measure (default 100 1000 5000).
set -euo pipefail
source "$(dirname "$0")/tools/wine-env.sh"

install_missing
BUILD_TARGETS="tarvo_bench tarvo_watchbench" build_project >/dev/null
trap stop_all EXIT
start_display
start_wine
counts=()
for count in "$@"; do counts+=("-n$count"); done
status=0
"$(wine_binary)" "$BUILD_DIR/tarvo_bench.exe" "${counts[@]}" </dev/null || status=1
"$(wine_binary)" "$BUILD_DIR/tarvo_watchbench.exe" </dev/null || status=1
exit $status
