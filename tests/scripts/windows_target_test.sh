#!/usr/bin/env bash
# Tests of the choice of the Windows build to run (scripts/windows-target.sh):
# the decision from what the loaders did, the real trial of loaders that
# start or are refused by the kernel, and reading a program's architecture.
set -u
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/scripts/windows-target.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
check() { # NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAILED %s: expected [%s], got [%s]\n' "$1" "$2" "$3"
  fi
}
contains() { case "$2" in *"$1"*) echo yes ;; *) echo "no: $2" ;; esac; }

export PLAXET_WINE32_LOADER=/opt/w/wine PLAXET_WINE64_LOADER=/opt/w/wine64

# The decision.
plaxet_choose_windows_build yes yes && status=0 || status=1
check "both run: succeeds" 0 "$status"
check "both run: the main product" win32 "$PLAXET_WINDOWS_PRESET"
check "both run: 32-bit loader" /opt/w/wine "$PLAXET_WINDOWS_LOADER"
check "both run: says why" yes "$(contains "starts 32-bit programs" "$PLAXET_WINDOWS_REASON")"

plaxet_choose_windows_build no yes && status=0 || status=1
check "only 64-bit: succeeds" 0 "$status"
check "only 64-bit: the 64-bit build" win64 "$PLAXET_WINDOWS_PRESET"
check "only 64-bit: 64-bit loader" /opt/w/wine64 "$PLAXET_WINDOWS_LOADER"
check "only 64-bit: says why" yes "$(contains "cannot start 32-bit programs; the 64-bit build" "$PLAXET_WINDOWS_REASON")"

plaxet_choose_windows_build yes no && status=0 || status=1
check "only 32-bit: the main product" "0 win32" "$status $PLAXET_WINDOWS_PRESET"

plaxet_choose_windows_build no no && status=0 || status=1
check "neither: fails" "1 ''" "$status '$PLAXET_WINDOWS_PRESET'"
check "neither: names both loaders" yes "$(contains "neither of Wine's loaders starts on this machine (32-bit: /opt/w/wine, 64-bit: /opt/w/wine64)" "$PLAXET_WINDOWS_REASON")"

plaxet_choose_windows_build yes yes win64 && status=0 || status=1
check "forced 64-bit where both run" "0 win64 /opt/w/wine64" "$status $PLAXET_WINDOWS_PRESET $PLAXET_WINDOWS_LOADER"
plaxet_choose_windows_build no yes win32 && status=0 || status=1
check "forced 32-bit where it cannot run: fails" "1 ''" "$status '$PLAXET_WINDOWS_PRESET'"
check "forced 32-bit where it cannot run: says so" yes "$(contains "cannot start 32-bit programs" "$PLAXET_WINDOWS_REASON")"
plaxet_choose_windows_build yes yes win16 && status=0 || status=1
check "forced nonsense: fails" 1 "$status"
check "forced nonsense: says what is allowed" yes "$(contains "must be win32 or win64" "$PLAXET_WINDOWS_REASON")"

# The trial: a loader that starts, one the kernel refuses as it refuses a
# 32-bit program where that support is off, and one that is not there.
printf '#!/bin/sh\nexit 0\n' >"$work/starts"
printf '\177ELF\002\001\001garbage' >"$work/refused"
chmod +x "$work/starts" "$work/refused"

PLAXET_WINE32_LOADER="$work/refused" PLAXET_WINE64_LOADER="$work/starts" PLAXET_WINDOWS_BUILD="" \
  plaxet_windows_target && status=0 || status=1
check "trial, 32-bit refused: 64-bit build" "0 win64" "$status $PLAXET_WINDOWS_PRESET"
check "trial, 32-bit refused: its programs' folder" "$here/build/win64/bin" "$PLAXET_WINDOWS_BIN"
PLAXET_WINE32_LOADER="$work/starts" PLAXET_WINE64_LOADER="$work/starts" PLAXET_WINDOWS_BUILD="" \
  plaxet_windows_target && status=0 || status=1
check "trial, both start: 32-bit build" "0 win32 $here/build/win32/bin" "$status $PLAXET_WINDOWS_PRESET $PLAXET_WINDOWS_BIN"
PLAXET_WINE32_LOADER="$work/refused" PLAXET_WINE64_LOADER="$work/missing" PLAXET_WINDOWS_BUILD="" \
  plaxet_windows_target && status=0 || status=1
check "trial, none starts: fails" 1 "$status"

# A program's architecture from its header.
pe_file() { # FILE MACHINE-BYTES
  { printf 'MZ'; head -c 58 /dev/zero; printf '\100\000\000\000'; printf 'PE\000\000'; printf "$2"; } >"$1"
}
pe_file "$work/x86.exe" '\114\001'
pe_file "$work/x64.exe" '\144\206'
pe_file "$work/arm.exe" '\144\252'
printf 'not a program' >"$work/text.exe"
check "PE32 program" i386 "$(plaxet_pe_architecture "$work/x86.exe")"
check "PE32+ program" amd64 "$(plaxet_pe_architecture "$work/x64.exe")"
check "another machine" "" "$(plaxet_pe_architecture "$work/arm.exe")"
check "not a program" "" "$(plaxet_pe_architecture "$work/text.exe")"
check "no such file" "" "$(plaxet_pe_architecture "$work/none.exe")"

echo "windows-target: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
