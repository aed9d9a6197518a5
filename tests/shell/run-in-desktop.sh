#!/usr/bin/env bash
# Runs the shell test program inside a private Wine virtual desktop and
# turns its GoogleTest report into this script's exit code.
#
# Why a virtual desktop: on a bare X server (Xvfb, no window manager) Wine 8
# waits two seconds whenever an active top-level window is hidden or
# destroyed, and keyboard focus follows the X server's rules; inside a
# virtual desktop windows come and go at once and focus is Wine's own.
# Wine's desktop launcher (explorer /desktop=...) does not pass the program's
# exit code on, so the result is read from the XML report instead; a report
# that is missing (the program crashed) counts as a failure.
#
# usage: run-in-desktop.sh WINE_RUN PROGRAM [ARGUMENTS...]
set -euo pipefail
wine_run=$1
program=$2
shift 2
# Large enough for the main window at 200 % display scale, and for it at
# twice the scale of the display (the move between monitors).
desktop_size=2400x2600
report=$(mktemp --suffix=.xml)
trap 'rm -f "$report"' EXIT
# Wine sees the Linux root as drive Z:.
windows_report="Z:${report//\//\\}"
: >"$report"
"$wine_run" explorer "/desktop=plaxet-tests-$$,$desktop_size" "$program" \
  --gtest_output="xml:$windows_report" "$@" || true
if ! grep -q '<testsuites ' "$report"; then
  echo "run-in-desktop: $(basename "$program") wrote no report (it crashed or did not start)" >&2
  exit 1
fi
if grep -q '<testsuites [^>]*failures="0"[^>]*errors="0"' "$report"; then
  exit 0
fi
echo "run-in-desktop: $(basename "$program") reported failures" >&2
exit 1
