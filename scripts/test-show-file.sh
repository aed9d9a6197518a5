#!/usr/bin/env bash
# Show File end to end under Wine: plaxet.exe makes the documents of a form
# (Create Files) and shows the RTF document.
#  1. In the project's Wine prefix the word processor is at the viewer's
#     fixed path: its window appears with the document's name in its title;
#     while it is open the Plaxet window still repaints after being covered
#     and uncovered, and takes no typing; closing the word processor gives
#     the form back.
#  2. In a second prefix the fixed path is empty (the word processor lives
#     elsewhere and the RTF file type is associated with it there): the
#     document is opened through that association instead.
#  3. In that prefix, with "PDF file" chosen, Create Files writes the PDF and
#     Show File opens it through the PDF file type (here the text editor,
#     as Wine has no PDF reader).
# Screenshots are kept in build/artifacts/ (show-file-*.png).
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/windows-target.sh
source scripts/desktop-helpers.sh
run_on_display "$0" "$@"
use_windows_build show-file plaxet plaxet-cli || exit 1
artifacts=build/artifacts
mkdir -p "$artifacts"
work=/tmp/plaxet-show-file-$$
mkdir -p "$work"
launcher=""
main_prefix=$(realpath -m build/wineprefix)
moved_prefix=$(realpath -m build/wineprefix-moved-viewer)

cleanup() {
  stop_program
  [ -n "${PLAXET_KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

# The program beside its help file and a sender file, so that its data
# folder (the program's own) holds the letterhead; a form made from the
# example invoice.
prepare_form() {
  mkdir -p "$work/app" "$work/forms"
  cp "$bin/plaxet.exe" "$bin/plaxet.ahp" examples/quillet.ini "$work/app/"
  rm -f "$work/forms/"*
  WINEPREFIX=$main_prefix timeout 120 scripts/wine-run.sh "$bin/plaxet-cli.exe" make \
    "$(windows_path "$(realpath examples/invoice.json)")" \
    "$(windows_path "$work/forms/invoice.plx")" >"$work/make.log" 2>&1 || {
    cat "$work/make.log"
    return 1
  }
}

# The second prefix: made once and kept under build/, with the word
# processor moved from the fixed path to a folder of its own and the RTF
# file type pointing there.
prepare_moved_prefix() {
  local accessories="$moved_prefix/drive_c/Program Files/Windows NT/Accessories"
  if [ ! -f "$moved_prefix/.plaxet-viewer-moved" ]; then
    rm -rf "$moved_prefix"
    WINEPREFIX=$moved_prefix timeout 300 scripts/wine-run.sh wineboot --init >/dev/null 2>&1 || true
    WINEPREFIX=$moved_prefix timeout 120 wineserver -w || true
    mkdir -p "$moved_prefix/drive_c/Program Files/Writer"
    mv "$accessories/wordpad.exe" "$moved_prefix/drive_c/Program Files/Writer/wordpad.exe"
    WINEPREFIX=$moved_prefix timeout 120 scripts/wine-run.sh reg add 'HKCR\rtffile\shell\open\command' /ve \
      /d '"C:\Program Files\Writer\wordpad.exe" "%1"' /f >/dev/null 2>&1
    WINEPREFIX=$moved_prefix timeout 120 wineserver -w || true
    touch "$moved_prefix/.plaxet-viewer-moved"
  fi
  [ ! -e "$accessories/wordpad.exe" ] || { echo "the fixed viewer path is not empty"; return 1; }
}

# The PDF file type of the second prefix opens documents in the text editor.
associate_pdf_files() {
  WINEPREFIX=$moved_prefix timeout 120 scripts/wine-run.sh reg add 'HKCR\.pdf' /ve /d plaxettestpdf /f >/dev/null 2>&1 &&
    WINEPREFIX=$moved_prefix timeout 120 scripts/wine-run.sh reg add 'HKCR\plaxettestpdf\shell\open\command' /ve \
      /d '"C:\windows\notepad.exe" "%1"' /f >/dev/null 2>&1
  WINEPREFIX=$moved_prefix timeout 120 wineserver -w || true
}

start_program() {
  local prefix=$1 name=$2
  shift 2
  WINEPREFIX=$prefix scripts/wine-run.sh explorer "/desktop=plaxet-show-$$-$name,1024x768" \
    "$work/app/plaxet.exe" "$@" >"$work/$name.log" 2>&1 &
  launcher=$!
  wait_for_main_window '^Invoice - invoice\.plx$' || return 1
  main=$(window_id '^Invoice - invoice\.plx$')
  xdotool windowfocus --sync "$(window_id "plaxet-show-$$-$name")"
  wait_until_keys_arrive '^Invoice - invoice\.plx$'
}

# Shots of parts of the main window, in its own coordinates (the client
# area starts 3 pixels in and 41 down).
notes_shot() { import -window "$main" -crop 500x60+20+515 +repage "$1"; }
# The lower part of the client area: the restored word processor never lies
# over it.
lower_client_shot() { import -window "$main" -crop 575x340+3+300 +repage "$1"; }
# How far two shots are apart: 0 the same, 1 nothing alike.
shot_difference() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }
# A shot taken once the window has stopped changing (it may still be
# drawing itself), within 10 seconds.
settled_shot() {
  local shooter=$1 target=$2 deadline=$((SECONDS + 10))
  "$shooter" "$target.previous.png"
  while [ "$SECONDS" -lt "$deadline" ]; do
    sleep 0.3
    "$shooter" "$target"
    [ "$(shot_difference "$target.previous.png" "$target")" = 0 ] && return 0
    mv "$target" "$target.previous.png"
  done
  return 1
}
below() { awk -v d="$1" -v limit="$2" 'BEGIN { exit !(d != "" && d + 0 < limit) }'; }
# A click into the notes box (below its text) and two letters typed.
type_into_notes() {
  xdotool mousemove --window "$main" 300 570 click 1
  xdotool type --delay 40 "zz"
  sleep 0.5
}

# Create Files from the File menu; the message naming the folder is
# answered with Enter, and Show File then shows the RTF document.
create_files() {
  xdotool key alt+f
  sleep 0.5
  xdotool key c
  wait_for 30 window_named '^RTF File$' || { echo "Create Files did not say where the documents are"; return 1; }
  xdotool key Return
  wait_for 60 window_named '^invoice\.rtf - ' || { echo "no word processor window titled with the document"; return 1; }
  [ -f "$work/forms/invoice.rtf" ] || { echo "the RTF document was not written"; return 1; }
}

# The word processor's process, by the program path it was started with.
word_processor_started_from() {
  ps -eo args= | grep -F -q "$1"
}

# Closes the word processor with Alt+F4, declining to save what was typed
# into it, and waits until the form is given back.
close_word_processor() {
  xdotool key alt+F4
  if wait_for 5 window_named '^Wine Wordpad$'; then xdotool key n; fi
  wait_for 30 no_window_named '^invoice\.rtf - ' || { echo "the word processor did not close"; return 1; }
}

case_the_fixed_viewer_shows_the_document_and_the_form_waits() {
  prepare_form || return 1
  start_program "$main_prefix" fixed "$(windows_path "$work/forms/invoice.plx")" || return 1
  settled_shot lower_client_shot "$work/before.png" || { echo "the main window never settled"; return 1; }
  notes_shot "$work/notes-before.png"
  create_files || return 1
  word_processor_started_from 'Windows NT\Accessories\wordpad.exe' || { echo "the word processor was not started from its fixed path"; return 1; }
  sleep 1
  import -window root "$artifacts/show-file-viewer-open.png"

  # Maximised, the word processor covers the main window; restored, it
  # uncovers it again, and the main window must show its form once more.
  xdotool key alt+space
  sleep 0.5
  xdotool key x
  sleep 1
  import -window root "$artifacts/show-file-main-window-covered.png"
  xdotool key alt+space
  sleep 0.5
  xdotool key r
  sleep 1
  settled_shot lower_client_shot "$work/uncovered.png" || true
  cp "$work/uncovered.png" "$artifacts/show-file-main-window-uncovered.png"
  import -window root "$artifacts/show-file-uncovered.png"
  local apart
  apart=$(shot_difference "$work/before.png" "$work/uncovered.png")
  below "$apart" 0.05 || { echo "the uncovered main window does not show its form (difference $apart)"; return 1; }
  local blank
  blank=$(convert "$work/uncovered.png" -colorspace Gray -format '%[fx:minima < 0.5]' info:)
  [ "$blank" = 1 ] || { echo "the uncovered main window is blank"; return 1; }

  # A click into the form and typing do not reach it while the word
  # processor is open.
  type_into_notes
  notes_shot "$work/notes-during.png"
  apart=$(shot_difference "$work/notes-before.png" "$work/notes-during.png")
  below "$apart" 0.005 || { echo "typing reached the form while the word processor was open"; return 1; }
  import -window root "$artifacts/show-file-typing-held.png"

  # Closing the word processor gives the form back. The keys typed while it
  # was open were not kept for the form either: its notes are as they were
  # until typed into now.
  close_word_processor || return 1
  sleep 1
  notes_shot "$work/notes-closed.png"
  apart=$(shot_difference "$work/notes-before.png" "$work/notes-closed.png")
  below "$apart" 0.005 || { echo "keys typed while the word processor was open reached the form later"; return 1; }
  type_into_notes
  notes_shot "$work/notes-after.png"
  apart=$(shot_difference "$work/notes-before.png" "$work/notes-after.png")
  below "$apart" 0.005 && { echo "the form took no typing after the word processor closed"; return 1; }
  import -window root "$artifacts/show-file-form-given-back.png"
  # The notes were typed into: No to saving them.
  close_with_escape n '^Invoice - invoice\.plx$'
}

case_without_the_fixed_viewer_the_association_shows_the_document() {
  prepare_moved_prefix || return 1
  prepare_form || return 1
  start_program "$moved_prefix" moved "$(windows_path "$work/forms/invoice.plx")" || return 1
  create_files || return 1
  word_processor_started_from 'C:\Program Files\Writer\wordpad.exe' || { echo "the document was not opened through the file type's program"; return 1; }
  sleep 1
  import -window root "$artifacts/show-file-association.png"
  close_word_processor || return 1
  # An unchanged form with items: "Quit Program now?" Yes.
  close_with_escape y '^Invoice - invoice\.plx$'
}

case_a_pdf_opens_through_its_file_type() {
  prepare_moved_prefix || return 1
  associate_pdf_files || { echo "the PDF file type could not be registered"; return 1; }
  prepare_form || return 1
  start_program "$moved_prefix" pdf "$(windows_path "$work/forms/invoice.plx")" || return 1
  # "PDF file", the third option of the File type group (client 290,595; the
  # client area starts 3 pixels in and 41 down).
  xdotool mousemove --window "$main" 300 642 click 1
  sleep 0.5
  xdotool key alt+f
  sleep 0.5
  xdotool key c
  wait_for 30 window_named '^RTF File$' || { echo "Create Files did not say where the documents are"; return 1; }
  xdotool key Return
  wait_for 60 window_named 'invoice\.pdf' || { echo "no program opened the PDF document"; return 1; }
  [ "$(head -c 8 "$work/forms/invoice.pdf")" = "%PDF-1.7" ] || { echo "the PDF document was not written"; return 1; }
  ps -eo args= | grep -F -q 'notepad.exe' || { echo "the PDF was not opened through its file type's program"; return 1; }
  sleep 1
  import -window root "$artifacts/show-file-pdf.png"
  xdotool key alt+F4
  wait_for 30 no_window_named 'invoice\.pdf' || { echo "the program showing the PDF did not close"; return 1; }
  close_with_escape y '^Invoice - invoice\.plx$'
}

passed=0
failed=0
for case in case_the_fixed_viewer_shows_the_document_and_the_form_waits \
  case_without_the_fixed_viewer_the_association_shows_the_document \
  case_a_pdf_opens_through_its_file_type; do
  run_desktop_case show-file "" "$case"
done
echo "show-file: $passed passed, $failed failed (screenshots in $artifacts/)"
[ "$failed" -eq 0 ]
