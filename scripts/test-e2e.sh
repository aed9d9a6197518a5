#!/usr/bin/env bash
# End-to-end test of the Windows program: starts plaxet.exe itself under
# Wine in a virtual desktop on an X display (a private Xvfb when there is
# none), drives it with real keys through xdotool, keeps screenshots in
# build/artifacts/, and closes it with Esc, answering its confirmation.
#
# It runs the Windows build that this machine can start (see
# scripts/windows-target.sh; PLAXET_WINDOWS_BUILD=win32 or win64 forces one).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-target.sh
source scripts/desktop-helpers.sh
run_on_display "$0" "$@"

use_windows_build e2e plaxet plaxet-cli || exit 1
artifacts=build/artifacts
mkdir -p "$artifacts"
work=$(mktemp -d "${TMPDIR:-/tmp}/plaxet-e2e.XXXXXX")
launcher=""

cleanup() {
  stop_program
  rm -rf "$work"
}
trap cleanup EXIT

# Starts plaxet.exe with the given arguments in its own virtual desktop; a
# desktop keeps Wine from waiting on a window manager that Xvfb lacks.
start_program() {
  scripts/wine-run.sh explorer "/desktop=plaxet-e2e-$$-$1,1024x768" "$bin/plaxet.exe" "${@:2}" \
    >"$work/$1.log" 2>&1 &
  launcher=$!
  # The first start of a fresh Wine prefix takes a while.
  wait_for 120 window_named '^Plaxet' || { echo "the main window did not appear"; return 1; }
  # Keys go to the X window that has the input focus: the desktop's.
  xdotool windowfocus --sync "$(xdotool search --name "plaxet-e2e-$$-$1" | head -1)"
}

# Whether a box of the main window (the untitled one unless a title pattern
# follows the crop) shows text: some pixel of the box, cut from a screenshot
# of the window, is dark. The client area starts 3 pixels in and 41 down
# (frame, title and menu bar); the crops keep inside the boxes, clear of the
# grid's rules.
box_shows_text() {
  local window dark
  window=$(xdotool search --name "${2:-^Plaxet\$}" | head -1)
  # Without a window, import would wait for a click on one.
  [ -n "$window" ] || return 1
  dark=$(import -window "$window" -crop "$1" +repage -colorspace Gray \
    -format '%[fx:minima < 0.5]' info:) || return 1
  [ "$dark" = 1 ]
}
name_box_shows_text() { box_shows_text 320x14+95+74 "$@"; }
amount_box_shows_text() { box_shows_text 78x16+458+473; }

# Keys sent before the main window exists and Wine has taken the X input
# focus are lost (start_program's wait is also met by the desktop window,
# as xdotool matches names regardless of case); a probe letter typed into
# the Name box until it shows says the keys now arrive.
type_probe_letter() {
  xdotool type x
  name_box_shows_text
}

case_typing_into_a_new_form() {
  start_program typing || return 1
  wait_for 20 type_probe_letter || { echo "typed keys never reached the Name box"; return 1; }
  xdotool key End shift+Home BackSpace
  # The focus starts in the Name box. Shift+Tab goes to the date box, whose
  # date is checked and rewritten on leaving, then to the Estimate button.
  xdotool type --delay 40 "Ann Smith"
  xdotool key shift+Tab
  xdotool type --delay 40 "1-5-07"
  xdotool key shift+Tab space
  wait_for 20 window_named '^Plaxet - Estimate$' || { echo "choosing Estimate by key did not retitle the window"; return 1; }
  import -window root "$artifacts/e2e-$preset-typing.png"
  # The name was typed, so closing offers to save: No.
  close_with_escape n
}

case_opening_a_form_named_on_the_command_line() {
  local form="$work/invoice.plx"
  scripts/wine-run.sh "$bin/plaxet-cli.exe" make "$(windows_path "$(realpath examples/invoice.json)")" \
    "$(windows_path "$form")" >"$work/make.log" 2>&1 || { cat "$work/make.log"; return 1; }
  start_program invoice "$(windows_path "$form")" || return 1
  wait_for 20 window_named '^Invoice - invoice\.plx$' || { echo "the form file was not opened at start"; return 1; }
  # The title comes before the boxes are painted: the picture waits for the name.
  wait_for 20 name_box_shows_text '^Invoice - invoice\.plx$' || { echo "the opened form's name was never painted"; return 1; }
  import -window root "$artifacts/e2e-$preset-invoice.png"
  import -window "$(xdotool search --name '^Invoice - invoice\.plx$' | head -1)" "$artifacts/e2e-$preset-main-window.png"
  # An unchanged form with items: "Quit Program now?" Yes.
  close_with_escape y
}

case_typing_an_item_shows_the_total() {
  start_program item || return 1
  wait_for 20 type_probe_letter || { echo "typed keys never reached the Name box"; return 1; }
  xdotool key End shift+Home BackSpace
  if amount_box_shows_text; then echo "the amount box of a new form is not empty"; return 1; fi
  # From the Name box, Tab passes the other addressee boxes into row 1;
  # leaving the cost cell counts the item and shows the total.
  xdotool key Tab Tab Tab Tab
  xdotool type --delay 40 "3/4/24"
  xdotool key Tab
  xdotool type --delay 40 "Paint"
  xdotool key Tab
  xdotool type --delay 40 "12.5"
  xdotool key Tab
  wait_for 20 amount_box_shows_text || { echo "the total did not appear in the amount box"; return 1; }
  import -window root "$artifacts/e2e-$preset-item.png"
  # The item made the form changed, so closing offers to save: No.
  close_with_escape n
}

passed=0
failed=0
for case in case_typing_into_a_new_form case_opening_a_form_named_on_the_command_line \
  case_typing_an_item_shows_the_total; do
  run_desktop_case e2e "$preset" "$case"
done

# Where this machine starts the other build too and it has been built, its
# main window is opened and kept as a picture as well.
other=win64
[ "$preset" = win64 ] && other=win32
if PLAXET_WINDOWS_BUILD=$other plaxet_windows_target && [ -f "$PLAXET_WINDOWS_BIN/plaxet.exe" ]; then
  preset=$other
  bin=$PLAXET_WINDOWS_BIN
  run_desktop_case e2e "$preset" case_opening_a_form_named_on_the_command_line
fi
echo "e2e: $passed passed, $failed failed (screenshots in $artifacts/)"
[ "$failed" -eq 0 ]
