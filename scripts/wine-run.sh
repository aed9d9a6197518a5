#!/usr/bin/env bash
# Runs a Windows program under Wine with a project-private prefix, quietly.
# Used as CMake's cross-compiling emulator, so ctest runs the Windows tests.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -d "$WINEPREFIX" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
fi
exec wine "$@"
