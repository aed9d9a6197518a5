#!/usr/bin/env bash
# End-to-end test of the Windows program: starts plaxet.exe itself under
# Wine in a virtual desktop on an X display (a private Xvfb when there is
# none), drives it with real keys through xdotool, keeps screenshots in
# build/artifacts/, and closes it with Esc, answering its confirmation.
# One case runs at 150 % display scale (144 DPI, in a prefix of its own):
# a whole form typed there must give the same document bytes as the
# command-line tool makes from the same form.
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
  wait_for_main_window '^Plaxet' || return 1
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
  # From the Name box, Tab passes the other addressee boxes, the Details
  # button and the number and due date boxes into row 1;
  # leaving the cost cell counts the item and shows the total.
  xdotool key Tab Tab Tab Tab Tab Tab Tab
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

# A form whose file name holds characters outside code page 1252 opens from
# the command line; a name typed into the window as Unicode is saved as
# typed, read back by the Windows plaxet-cli and written by its Create Files
# into both documents with every character.
case_names_in_any_language() {
  local form="$work/Łódź.plx" title='^Invoice - Łódź\.plx$'
  local name="Łukasz Dąbrowski 王芳"
  local cli=(scripts/wine-run.sh "$bin/plaxet-cli.exe")
  "${cli[@]}" make "$(windows_path "$(realpath examples/invoice.json)")" "$(windows_path "$form")" \
    >"$work/make.log" 2>&1 || { cat "$work/make.log"; return 1; }
  # Wine reads the keyboard's map when it starts, so the letters typed below
  # get keys of their own first (on keycodes this display leaves empty);
  # xdotool would otherwise map them for a moment, which Wine does not see.
  xmodmap -e "keycode 93 = Lstroke" -e "keycode 97 = aogonek" \
    -e "keycode 103 = U738B" -e "keycode 120 = U82B3"
  start_program names "$(windows_path "$form")" || return 1
  wait_for 20 window_named "$title" || { echo "the form named Łódź.plx was not opened at start"; return 1; }
  wait_until_keys_arrive "$title" || return 1
  # Into the Name box (the crop that box_shows_text reads lies inside it).
  xdotool mousemove --window "$(window_id "$title")" 200 80 click 1
  xdotool key End shift+Home BackSpace
  xdotool type --delay 60 "$name"
  xdotool key alt+f s
  wait_for 20 window_named '^Save File$' || { echo "File > Save did not ask to save"; return 1; }
  xdotool key y
  wait_for 20 no_window_named '^Save File$' || { echo "the save question stayed"; return 1; }
  import -window root "$artifacts/e2e-$preset-names.png"
  # The title bar takes the focus back from the closed question.
  xdotool mousemove --window "$(window_id "$title")" 150 10 click 1
  close_with_escape y "$title" || return 1
  xmodmap -e "keycode 93 =" -e "keycode 97 =" -e "keycode 103 =" -e "keycode 120 ="

  "${cli[@]}" dump "$(windows_path "$form")" >"$work/dump.json" 2>"$work/dump.log" ||
    { cat "$work/dump.log"; return 1; }
  grep -qF "\"name\": \"$name\"" "$work/dump.json" ||
    { echo "the saved name is not \"$name\":"; grep '"name"' "$work/dump.json"; return 1; }
  "${cli[@]}" save-sender "$(windows_path "$work/quillet.ini")" "Nguyễn Văn An" >"$work/sender.log" 2>&1 ||
    { cat "$work/sender.log"; return 1; }
  "${cli[@]}" create-files "$(windows_path "$form")" --sender "$(windows_path "$work/quillet.ini")" \
    >"$work/create.log" 2>&1 || { cat "$work/create.log"; return 1; }
  # RTF: \uN escapes, each with one character a reader without Unicode
  # shows instead (the nearest letter the system knows, or "?"); HTML:
  # numeric character references.
  local rtf="$work/Łódź.rtf" htm="$work/Łódź.htm"
  local shown="(\\\\'..|.)"
  grep -qE "\\\\u321${shown}ukasz D\\\\u261${shown}browski \\\\u29579${shown}\\\\u-32077${shown}" "$rtf" ||
    { echo "the RTF document lacks the typed name"; return 1; }
  grep -qE "Nguy\\\\u7877${shown}n V\\\\u259${shown}n An" "$rtf" || { echo "the RTF document lacks the sender"; return 1; }
  grep -qF '&#321;ukasz D&#261;browski &#29579;&#33459;' "$htm" ||
    { echo "the HTML document lacks the typed name"; return 1; }
}

# The form that case_typing_a_whole_form_at_150_percent types, for the
# command-line tool.
typed_form_json() {
  cat <<'JSON'
{
  "date": "03/15/2024",
  "type": "estimate",
  "addressee": {
    "name": "Ann Smith",
    "address": "12 Elm Street",
    "city": "Springfield, IL 62701",
    "phone": "555-0100"
  },
  "items": [
    { "date": "03/01/2024", "description": "Interior paint", "cost": "107.85" },
    { "date": "", "description": "Brushes", "cost": "24.50" },
    { "date": "", "description": "Subtotal", "cost": "" },
    { "date": "", "description": "Tax (8.25%)", "cost": "" }
  ],
  "notes": []
}
JSON
}

# At 150 %: every key of a new form typed into the window (whose controls,
# fonts and computed rows' alignment are all at 144 DPI), then Create Files,
# which asks where to save the form, writes both documents and shows the RTF
# one. The documents must be byte for byte those of the same form made by
# the command-line tool. Pictures of the window and of the help viewer are
# kept (main-window-150, help-150).
case_typing_a_whole_form_at_150_percent() {
  local prefix title='^Plaxet - Estimate$'
  prefix=$(scripts/wine-prefix-at-dpi.sh 144)
  mkdir -p "$work/app" "$work/typed" "$work/reference"
  cp "$bin/plaxet.exe" "$bin/plaxet.ahp" examples/quillet.ini "$work/app/"
  WINEPREFIX=$prefix scripts/wine-run.sh explorer "/desktop=plaxet-e2e-$$-dpi,1600x1200" \
    "$work/app/plaxet.exe" >"$work/dpi.log" 2>&1 &
  launcher=$!
  wait_for_main_window '^Plaxet$' || return 1
  xdotool windowfocus --sync "$(window_id "plaxet-e2e-$$-dpi")"
  wait_until_keys_arrive '^Plaxet$' || return 1
  # A click into the Name box: at 144 DPI its client area starts 3 pixels in
  # and about 71 down, and the box spans y 45 to 75 of it.
  xdotool mousemove --window "$(window_id '^Plaxet$')" 300 131 click 1
  sleep 0.3
  # From the Name box back to the date box, then to the Estimate button.
  xdotool key shift+Tab
  xdotool type --delay 40 "03/15/2024"
  xdotool key shift+Tab space
  wait_for 20 window_named "$title" || { echo "choosing Estimate by key did not retitle the window"; return 1; }
  xdotool key Tab Tab
  # Back in the Name box, which may hold a letter of a probe for the About
  # box whose Alt key was lost: it is emptied first.
  xdotool key End shift+Home BackSpace
  local field
  # (Details, the number and the due date are passed by empty.)
  for field in "Ann Smith" "12 Elm Street" "Springfield, IL 62701" "555-0100" "" "" "" \
    "03/01/2024" "Interior paint" "107.85" "" "Brushes" "24.50" "" "Subtotal"; do
    xdotool type --delay 40 "$field"
    xdotool key Tab
  done
  # Leaving "Subtotal" skipped its cost cell: row 4's date is next.
  xdotool key Tab
  xdotool type --delay 40 "Tax (8.25%)"
  xdotool key Tab
  sleep 1
  import -window "$(window_id "$title")" "$artifacts/e2e-$preset-main-window-150.png"
  # The help viewer at this scale, kept as a picture (help-150) and closed.
  xdotool key alt+h c
  wait_for 30 window_named '^Application Help$' || { echo "the help viewer did not open"; return 1; }
  sleep 1
  import -window "$(window_id '^Application Help$')" "$artifacts/e2e-$preset-help-150.png"
  xdotool key Escape
  wait_for 20 no_window_named '^Application Help$' || { echo "the help viewer did not close"; return 1; }
  xdotool mousemove --window "$(window_id "$title")" 300 10 click 1
  sleep 0.5

  xdotool key alt+f
  sleep 0.5
  xdotool key c
  wait_for 30 window_named '^Save File$' || { echo "Create Files did not ask where to save the form"; return 1; }
  sleep 0.5
  xdotool type --delay 20 "$(windows_path "$work/typed/typed.plx")"
  xdotool key Return
  wait_for 30 window_named '^RTF File$' || { echo "Create Files did not say where the documents are"; return 1; }
  xdotool key Return
  wait_for 60 window_named '^typed\.rtf - ' || { echo "the RTF document was not shown"; return 1; }
  xdotool key alt+F4
  if wait_for 5 window_named '^Wine Wordpad$'; then xdotool key n; fi
  wait_for 30 no_window_named '^typed\.rtf - ' || { echo "the word processor did not close"; return 1; }

  typed_form_json >"$work/typed.json"
  scripts/wine-run.sh "$bin/plaxet-cli.exe" make "$(windows_path "$work/typed.json")" \
    "$(windows_path "$work/reference/typed.plx")" >"$work/make.log" 2>&1 || { cat "$work/make.log"; return 1; }
  scripts/wine-run.sh "$bin/plaxet-cli.exe" create-files "$(windows_path "$work/reference/typed.plx")" \
    --sender "$(windows_path "$(realpath examples/quillet.ini)")" >"$work/create.log" 2>&1 || { cat "$work/create.log"; return 1; }
  local extension
  for extension in rtf htm; do
    [ -f "$work/typed/typed.$extension" ] || { echo "no $extension document was written"; return 1; }
    cmp "$work/typed/typed.$extension" "$work/reference/typed.$extension" ||
      { echo "the $extension document typed at 150 % differs from the tool's"; return 1; }
  done
  # A saved, unchanged form with items: "Quit Program now?" Yes.
  close_with_escape y "$title"
}

passed=0
failed=0
for case in case_typing_into_a_new_form case_opening_a_form_named_on_the_command_line \
  case_typing_an_item_shows_the_total case_typing_a_whole_form_at_150_percent \
  case_names_in_any_language; do
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
