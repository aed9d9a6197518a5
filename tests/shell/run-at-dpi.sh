#!/usr/bin/env bash
# Runs a Windows test program as run-in-desktop.sh does, but in a Wine prefix
# whose display runs at DPI dots per inch (scripts/wine-prefix-at-dpi.sh).
# PLAXET_TEST_DPI tells the tests which DPI they must find.
#
# usage: run-at-dpi.sh DPI WINE_RUN PROGRAM [ARGUMENTS...]
set -euo pipefail
dpi=$1
wine_run=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
WINEPREFIX=$("$(dirname "$wine_run")/wine-prefix-at-dpi.sh" "$dpi")
export WINEPREFIX
export PLAXET_TEST_DPI=$dpi
exec "$here/run-in-desktop.sh" "$wine_run" "$@"
