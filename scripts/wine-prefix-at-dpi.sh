#!/usr/bin/env bash
# Makes (once) and names a Wine prefix whose display runs at DPI dots per
# inch: LogPixels under HKCU\Control Panel\Desktop, which Wine reads when a
# program starts. The prefix is kept under build/ as wineprefix-dpi-DPI; its
# path is printed.
#
# usage: wine-prefix-at-dpi.sh DPI
set -euo pipefail
dpi=$1
here=$(cd "$(dirname "$0")/.." && pwd)
prefix="$here/build/wineprefix-dpi-$dpi"
if [ ! -f "$prefix/.plaxet-dpi-$dpi" ]; then
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  export WINEPREFIX=$prefix
  timeout 300 "$here/scripts/wine-run.sh" wineboot --init >/dev/null 2>&1 || true
  timeout 120 "$here/scripts/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
    /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  timeout 120 wineserver -w || true
  touch "$prefix/.plaxet-dpi-$dpi"
fi
printf '%s\n' "$prefix"
