#!/usr/bin/env bash
# Installs what is missing, builds Ta'rvo and its tests into build/, and runs
# every test under Wine in a virtual display of its own.
set -euo pipefail
source "$(dirname "$0")/tools/wine-env.sh"

install_missing
build_project
trap stop_all EXIT
start_display
start_wine
cd "$BUILD_DIR"
# One test at a time: the program tests type and click into the focused
# window, and a window opened by another test would take their input.
ctest --output-on-failure --timeout 120 "$@"
