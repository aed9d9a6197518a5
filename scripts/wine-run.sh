#!/usr/bin/env bash
# Runs a Windows program under Wine with a project-private prefix, quietly.
# Used as CMake's cross-compiling emulator, so ctest runs the Windows tests.
#
# The loader follows the program: Wine's 32-bit loader for a 32-bit program,
# its 64-bit loader for a 64-bit one, read from the program file's own
# header. The program is the first argument that names a Windows program file
# (so "explorer /desktop=... PROGRAM.exe" runs with PROGRAM's loader); with
# none, as for Wine's own tools, the 64-bit loader runs them.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/windows-target.sh"
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

loader=$(plaxet_wine64_loader)
for argument in "$@"; do
  case "$(plaxet_pe_architecture "$argument")" in
    i386) loader=$(plaxet_wine32_loader); break ;;
    amd64) break ;;
  esac
done

if [ ! -d "$WINEPREFIX" ]; then
  mkdir -p "$WINEPREFIX"
  "$loader" wineboot --init >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
fi
# Wine's own fonts (among them "MS Sans Serif", the windows' font) are looked
# for only in the prefix's Fonts folder, and a new prefix gets none of them:
# without them the text falls back to a wider Linux face and labels are cut
# short. Debian's fonts-wine brings them; scripts/setup.sh installs it.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] && [ ! -e "$fonts/sserife.fon" ]; then
  cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
fi
exec "$loader" "$@"
