#!/usr/bin/env bash
# Runs a Windows test program as run-in-desktop.sh does, but in a Wine prefix
# of its own whose display is set to DPI dots per inch (LogPixels under
# HKCU\Control Panel\Desktop, read when a program starts). The prefix is
# made once, under build/, and kept. PLAXET_TEST_DPI tells the tests which
# DPI they must find.
#
# usage: run-at-dpi.sh DPI WINE_RUN PROGRAM [ARGUMENTS...]
set -euo pipefail
dpi=$1
wine_run=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX
WINEPREFIX=$(realpath -m "$(dirname "$wine_run")/../build/wineprefix-dpi-$dpi")
if [ ! -f "$WINEPREFIX/.plaxet-dpi-$dpi" ]; then
  rm -rf "$WINEPREFIX"
  timeout 300 "$wine_run" wineboot --init >/dev/null 2>&1 || true
  timeout 120 "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$dpi" /f >/dev/null 2>&1
  timeout 120 wineserver -w || true
  touch "$WINEPREFIX/.plaxet-dpi-$dpi"
fi
export PLAXET_TEST_DPI=$dpi
exec "$here/run-in-desktop.sh" "$wine_run" "$@"
