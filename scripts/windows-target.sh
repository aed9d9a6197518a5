#!/usr/bin/env bash
# Chooses the Windows build that this machine can run under Wine, by trying.
# Both builds are made everywhere; the 32-bit one is the main product and is
# the one tested wherever Wine's 32-bit loader starts. Some machines refuse
# 32-bit Linux programs altogether ("Exec format error"): there the 64-bit
# build, under Wine's 64-bit loader, is tested and run instead.
#
# Sourced by the scripts that start a Windows program. After
#   source scripts/windows-target.sh && plaxet_windows_target
# PLAXET_WINDOWS_PRESET is win32 or win64, PLAXET_WINDOWS_BIN the folder of
# its programs (build/<preset>/bin) and PLAXET_WINDOWS_REASON one line saying
# why. plaxet_windows_target fails, with the reason, when neither build can
# run here.
#
# PLAXET_WINDOWS_BUILD=win32 or win64 forces a build (it must still start).
# PLAXET_WINE32_LOADER and PLAXET_WINE64_LOADER name the loaders to try.

plaxet_wine32_loader() { printf '%s' "${PLAXET_WINE32_LOADER:-/usr/lib/wine/wine}"; }
plaxet_wine64_loader() { printf '%s' "${PLAXET_WINE64_LOADER:-/usr/lib/wine/wine64}"; }

# Whether the kernel and the dynamic linker start this loader at all: the
# 32-bit one fails here with "Exec format error" where 32-bit support is off.
plaxet_loader_starts() {
  [ -x "$1" ] && "$1" --version >/dev/null 2>&1
}

# The architecture a Windows program file is built for, from the machine
# field of its PE header: i386, amd64, or nothing for anything else.
plaxet_pe_architecture() {
  local file=$1 offset machine
  [ -f "$file" ] && [ "$(head -c 2 "$file" 2>/dev/null)" = MZ ] || return 1
  offset=$(od -An -tu4 -j60 -N4 "$file" | tr -d ' ')
  [ -n "$offset" ] || return 1
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$file" | tr -d ' ')
  case "$machine" in
    014c) echo i386 ;;
    8664) echo amd64 ;;
    *) return 1 ;;
  esac
}

# The choice itself, from what was tried: CAN32 and CAN64 are yes or no,
# FORCED is empty, win32 or win64. Sets PLAXET_WINDOWS_PRESET and
# PLAXET_WINDOWS_LOADER on success, PLAXET_WINDOWS_REASON always.
plaxet_choose_windows_build() {
  local can32=$1 can64=$2 forced=${3:-}
  PLAXET_WINDOWS_PRESET=""
  PLAXET_WINDOWS_LOADER=""
  case "$forced" in
    "") ;;
    win32)
      if [ "$can32" = yes ]; then
        PLAXET_WINDOWS_PRESET=win32
        PLAXET_WINDOWS_REASON="PLAXET_WINDOWS_BUILD=win32 chooses the 32-bit build"
      else
        PLAXET_WINDOWS_REASON="PLAXET_WINDOWS_BUILD=win32 asks for the 32-bit build, but this machine cannot start 32-bit programs"
      fi ;;
    win64)
      if [ "$can64" = yes ]; then
        PLAXET_WINDOWS_PRESET=win64
        PLAXET_WINDOWS_REASON="PLAXET_WINDOWS_BUILD=win64 chooses the 64-bit build"
      else
        PLAXET_WINDOWS_REASON="PLAXET_WINDOWS_BUILD=win64 asks for the 64-bit build, but Wine's 64-bit loader does not start here"
      fi ;;
    *)
      PLAXET_WINDOWS_REASON="PLAXET_WINDOWS_BUILD must be win32 or win64, not '$forced'" ;;
  esac
  if [ -z "$forced" ]; then
    if [ "$can32" = yes ]; then
      PLAXET_WINDOWS_PRESET=win32
      PLAXET_WINDOWS_REASON="this machine starts 32-bit programs; the 32-bit build (the main product) is used"
    elif [ "$can64" = yes ]; then
      PLAXET_WINDOWS_PRESET=win64
      PLAXET_WINDOWS_REASON="this machine cannot start 32-bit programs; the 64-bit build is used"
    else
      PLAXET_WINDOWS_REASON="neither of Wine's loaders starts on this machine (32-bit: $(plaxet_wine32_loader), 64-bit: $(plaxet_wine64_loader)); no Windows build can run here (scripts/setup.sh installs Wine)"
    fi
  fi
  case "$PLAXET_WINDOWS_PRESET" in
    win32) PLAXET_WINDOWS_LOADER=$(plaxet_wine32_loader) ;;
    win64) PLAXET_WINDOWS_LOADER=$(plaxet_wine64_loader) ;;
    *) return 1 ;;
  esac
}

# Tries both loaders and chooses; exports the result for the programs started
# from here on.
plaxet_windows_target() {
  local can32=no can64=no here
  plaxet_loader_starts "$(plaxet_wine32_loader)" && can32=yes
  plaxet_loader_starts "$(plaxet_wine64_loader)" && can64=yes
  plaxet_choose_windows_build "$can32" "$can64" "${PLAXET_WINDOWS_BUILD:-}" || return 1
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  PLAXET_WINDOWS_BIN="$here/build/$PLAXET_WINDOWS_PRESET/bin"
  export PLAXET_WINDOWS_PRESET PLAXET_WINDOWS_BIN PLAXET_WINDOWS_LOADER PLAXET_WINDOWS_REASON
}
