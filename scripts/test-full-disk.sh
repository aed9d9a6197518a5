#!/usr/bin/env bash
# Saves and Create Files on a file system that runs out of room part-way:
# the command must fail with a clear message, the previous file must survive
# byte for byte, and no temporary file may stay behind. Runs the Linux
# plaxet-cli and, when it is built, the Windows one under Wine.
#
# A small size-limited memory file system is mounted when the system allows
# it; otherwise a file-size limit (ulimit -f) stands in for the full disk.
# PLAXET_FULL_DISK=limit forces the file-size limit.
set -euo pipefail
cd "$(dirname "$0")/.."
# The Windows build this machine can run (./test has chosen it already).
source scripts/windows-target.sh
windows_bin=""
if [ -n "${PLAXET_WINDOWS_BIN:-}" ] || plaxet_windows_target; then
  windows_bin=$PLAXET_WINDOWS_BIN
else
  echo "full disk: no Windows build can run here: $PLAXET_WINDOWS_REASON"
fi

cmake --preset native >/dev/null
cmake --build --preset native --target plaxet-cli >/dev/null
cli=$(realpath build/native/bin/plaxet-cli)

work=$(mktemp -d "${TMPDIR:-/tmp}/plaxet-full-disk.XXXXXX")
disk="$work/disk"
mkdir -p "$disk"
mounted=""
cleanup() {
  [ -n "$mounted" ] && umount "$disk" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

mode=limit
if [ "${PLAXET_FULL_DISK:-}" != limit ] && mount -t tmpfs -o size=4m,mode=0777 plaxet-full "$disk" 2>/dev/null; then
  mounted=yes
  mode=mount
fi
echo "full disk: $([ $mode = mount ] && echo 'a 4 MiB memory file system' || echo 'a file-size limit of 64 KiB (mounting was refused or not wanted)')"

# A form whose file is about 200 KiB: more than the room left.
big_form() {
  printf '{"date": "03/15/2024", "type": "invoice", "addressee": {"name": "Big"}, "items": ['
  for i in $(seq 1 1500); do
    [ "$i" -gt 1 ] && printf ','
    printf '{"date": "3/4/24", "description": "Interior paint, coat %d %0100d", "cost": "%d.25"}' "$i" 0 "$i"
  done
  printf '], "notes": "Thank you."}'
}
big_form >"$work/big.json"
cp examples/invoice.json "$work/small.json"
printf 'Hill Paint Co.\r\n215 Commerce Street\r\n\r\n\r\n\r\n\r\n' >"$work/sender.ini"

# Runs a command with the disk full: in mount mode the disk has been filled
# by fill_disk; in limit mode the command runs under the file-size limit,
# with the limit's signal ignored so that the write fails instead.
under_full_disk() {
  if [ $mode = mount ]; then
    timeout 120 "$@"
  else
    (trap '' XFSZ; ulimit -f 64; timeout 120 "$@")
  fi
}
fill_disk() {
  [ $mode = mount ] || return 0
  # Fill to the last block, then free a little: the next write starts and
  # runs out part-way.
  dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null || true
  truncate -s -16k "$disk/filler"
}
empty_disk() { rm -f "$disk/filler"; }
# The same, leaving room for BYTES (whole blocks of 4 KiB).
fill_disk_leaving() {
  dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null || true
  truncate -s -"$1" "$disk/filler"
}
blocks_of() { echo $((($(stat -c %s "$1") + 4095) / 4096 * 4096)); }

failures=0
check() { # NAME EXPECTED_FILE ACTUAL_FILE STATUS ERROR_FILE
  local name=$1 before=$2 after=$3 status=$4 err=$5 problem=""
  [ "$status" -ne 0 ] || problem="reported success"
  [ -s "$err" ] || problem="${problem:+$problem; }no message"
  [ -f "$after" ] || problem="${problem:+$problem; }the old file is gone"
  [ -f "$after" ] && ! cmp -s "$before" "$after" && problem="${problem:+$problem; }the old file changed"
  local left
  left=$(find "$(dirname "$after")" -maxdepth 1 \( -name '.plaxet*' -o -name '~plaxet-*' \) | wc -l)
  [ "$left" -eq 0 ] || problem="${problem:+$problem; }$left temporary files left"
  if [ -n "$problem" ]; then
    echo "FAILED $name: $problem; message: $(head -c 300 "$err")"
    failures=$((failures + 1))
  else
    echo "ok $name: $(head -1 "$err")"
  fi
}

# One round for one build of the tool. RUN is the command prefix, TOPATH
# turns a Linux path into the path that tool expects.
round() {
  local label=$1 topath=$2
  shift 2
  local run=("$@") status
  local dir="$disk/$label"
  empty_disk
  rm -rf "$dir" && mkdir -p "$dir"

  # Form save: `make` over an existing form file.
  "${run[@]}" make "$($topath "$work/small.json")" "$($topath "$dir/form.plx")" >/dev/null
  cp "$dir/form.plx" "$work/form-before.plx"
  fill_disk
  status=0
  under_full_disk "${run[@]}" make "$($topath "$work/big.json")" "$($topath "$dir/form.plx")" \
    >/dev/null 2>"$work/err" || status=$?
  check "$label form save" "$work/form-before.plx" "$dir/form.plx" $status "$work/err"
  empty_disk

  # Create Files over existing documents of a big form.
  "${run[@]}" make "$($topath "$work/big.json")" "$($topath "$dir/big.plx")" >/dev/null
  "${run[@]}" create-files "$($topath "$dir/big.plx")" --sender "$($topath "$work/sender.ini")" >/dev/null
  rm -f "$dir/form.plx"
  cp "$dir/big.rtf" "$work/rtf-before"
  cp "$dir/big.htm" "$work/htm-before"
  cp "$dir/big.pdf" "$work/pdf-before"
  printf 'Another Sender Ltd.\r\n\r\n\r\n\r\n\r\n\r\n' >"$work/sender2.ini"
  fill_disk
  status=0
  under_full_disk "${run[@]}" create-files "$($topath "$dir/big.plx")" \
    --sender "$($topath "$work/sender2.ini")" >/dev/null 2>"$work/err" || status=$?
  check "$label create files (RTF)" "$work/rtf-before" "$dir/big.rtf" $status "$work/err"
  check "$label create files (HTM)" "$work/htm-before" "$dir/big.htm" $status "$work/err"
  check "$label create files (PDF)" "$work/pdf-before" "$dir/big.pdf" $status "$work/err"
  empty_disk

  # Room for the new RTF and HTM documents but not for the PDF: the three are
  # written before any is put in place, so all three stay as they were.
  if [ $mode = mount ]; then
    fill_disk_leaving $(($(blocks_of "$dir/big.rtf") + $(blocks_of "$dir/big.htm") + 16384))
    status=0
    timeout 120 "${run[@]}" create-files "$($topath "$dir/big.plx")" \
      --sender "$($topath "$work/sender2.ini")" >/dev/null 2>"$work/err" || status=$?
    grep -q 'big.pdf' "$work/err" || echo "note: the PDF was not the document that ran out of room"
    check "$label create files, no room for the PDF (RTF)" "$work/rtf-before" "$dir/big.rtf" $status "$work/err"
    check "$label create files, no room for the PDF (HTM)" "$work/htm-before" "$dir/big.htm" $status "$work/err"
    check "$label create files, no room for the PDF (PDF)" "$work/pdf-before" "$dir/big.pdf" $status "$work/err"
    empty_disk
  fi

  # The sender file, with the disk full to the last block.
  "${run[@]}" save-sender "$($topath "$dir/quillet.ini")" "Hill Paint Co." >/dev/null
  cp "$dir/quillet.ini" "$work/sender-before"
  rm -f "$dir/big.rtf" "$dir/big.htm" "$dir/big.pdf" "$dir/big.plx"
  if [ $mode = mount ]; then
    dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null || true
    status=0
    timeout 120 "${run[@]}" save-sender "$($topath "$dir/quillet.ini")" "$(printf 'Hill Paint Co. %04000d' 0)" \
      >/dev/null 2>"$work/err" || status=$?
  else
    status=0
    (trap '' XFSZ; ulimit -f 1; timeout 120 "${run[@]}" save-sender "$($topath "$dir/quillet.ini")" \
      "$(printf 'Hill Paint Co. %04000d' 0)") >/dev/null 2>"$work/err" || status=$?
  fi
  check "$label sender file" "$work/sender-before" "$dir/quillet.ini" $status "$work/err"
  empty_disk
}

linux_path() { printf '%s' "$1"; }
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

round linux linux_path "$cli"
if [ -n "$windows_bin" ] && [ -f "$windows_bin/plaxet-cli.exe" ]; then
  round windows windows_path scripts/wine-run.sh "$(realpath "$windows_bin/plaxet-cli.exe")"
elif [ -n "$windows_bin" ]; then
  echo "full disk: $windows_bin/plaxet-cli.exe is not built; only the Linux tool was tried"
fi

[ "$failures" -eq 0 ] || { echo "full disk: $failures checks failed"; exit 1; }
echo "full disk: every old file survived whole and every failure was reported"
