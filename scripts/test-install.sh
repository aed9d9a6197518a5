#!/usr/bin/env bash
# Installing Plaxet as a shop owner would, under Wine: the installer of the
# build this machine can run is made with scripts/package.sh, installed
# silently into a fresh private Wine prefix (build/wineprefix-install), and
# then checked: where the files went, the registry, the installed program
# started from its Start menu entry's target (help found, sender lines saved
# into the data folder), a form opened through its file type, a silent
# uninstall that keeps the sender file, installing again, and the portable
# zip unpacked into a folder whose name has a space. Where this machine
# starts the other build too, its packages go through the same cases
# afterwards, in the same prefix.
#
# The build is chosen by scripts/windows-target.sh (PLAXET_WINDOWS_BUILD=win32
# or win64 forces one).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-target.sh
source scripts/desktop-helpers.sh
run_on_display "$0" "$@"

plaxet_windows_target || { echo "install: $PLAXET_WINDOWS_REASON" >&2; exit 1; }
echo "install: $PLAXET_WINDOWS_REASON"
builds=("$PLAXET_WINDOWS_PRESET")
other=win64
[ "$PLAXET_WINDOWS_PRESET" = win64 ] && other=win32
if PLAXET_WINDOWS_BUILD=$other plaxet_windows_target 2>/dev/null; then
  builds+=("$other")
fi

export PLAXET_DIST_DIR=build/test-install/dist
scripts/package.sh "${builds[@]}" >/dev/null

export WINEPREFIX="$PWD/build/wineprefix-install"
export WINEDEBUG=-all
rm -rf "$WINEPREFIX"
wine_run() { scripts/wine-run.sh "$@"; }
# Waits, with a deadline, until every program of the private prefix has ended
# (an uninstaller carries on in a copy of itself after the first one exits).
wine_settle() { timeout 60 wineserver -w; }
# wine-run.sh makes the prefix (a 64-bit one, as 64-bit Windows is).
wine_run wineboot --init >/dev/null 2>&1 || true
wine_settle

drive_c="$WINEPREFIX/drive_c"
data_dir="$drive_c/ProgramData/Orvane/plaxet"
start_entry="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Plaxet.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Plaxet'
forms_dir="$drive_c/Shop Forms"
form="$forms_dir/corner invoice.plx"
form_windows='C:\Shop Forms\corner invoice.plx'

# The names that depend on the build under test.
use_build() {
  build=$1
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "build/$build/CMakeCache.txt")
  installer=$(realpath "$PLAXET_DIST_DIR/plaxet-$version-$build-setup.exe")
  portable=$(realpath "$PLAXET_DIST_DIR/plaxet-$version-$build-portable.zip")
  cli=$(realpath "build/$build/bin/plaxet-cli.exe")
  # The folder the program looks up for its own architecture: on 64-bit
  # Windows a 32-bit program's program-files folder is "Program Files (x86)".
  if [ "$build" = win32 ] && [ -d "$drive_c/Program Files (x86)" ]; then
    program_files="Program Files (x86)"
    reg_view=32
  else
    program_files="Program Files"
    reg_view=64
  fi
  program_dir="$drive_c/$program_files/Orvane/plaxet"
  program_exe_windows="C:\\$program_files\\Orvane\\plaxet\\plaxet.exe"
  portable_dir="$drive_c/Shop Tools/Plaxet Portable $build"
  portable_windows="C:\\Shop Tools\\Plaxet Portable $build\\plaxet.exe"
}

# Notes that must reach the test's output from inside a case, whose own
# output is shown only when it fails.
exec 3>&2
work=$(mktemp -d "${TMPDIR:-/tmp}/plaxet-install.XXXXXX")
launcher=""

# Each case runs in a subshell; a failed check ends it.
fail() {
  echo "$*"
  exit 1
}

# Ends the program a case started (a case's subshell leaves its launcher's
# id behind), and then whatever still runs in this test's own prefix: a
# program left running, behind a message box say, would hold its files.
stop_program() {
  [ -n "$launcher" ] || launcher=$(cat "$work/launcher" 2>/dev/null || true)
  rm -f "$work/launcher"
  [ -z "$launcher" ] || kill_tree "$launcher"
  launcher=""
  timeout 20 wineserver -k 2>/dev/null || true
}
cleanup() {
  stop_program
  rm -rf "$work"
}
trap cleanup EXIT

# Runs a Windows command line in its own virtual desktop (Xvfb has no window
# manager; a desktop keeps Wine from waiting on one) and waits for the window
# whose title matches the pattern. A start that shows no window within two
# minutes (a few seconds is usual) is told on the test's own error output,
# with the windows there were and what Wine said, and tried once more in a
# new desktop: a second such start fails the case.
start_in_desktop() {
  local name=$1 title=$2 attempt desktop said
  shift 2
  for attempt in 1 2; do
    desktop="shop-$$-$name-$attempt"
    WINEDEBUG=-all,err+all wine_run explorer "/desktop=$desktop,1024x768" "$@" >"$work/$name.log" 2>&1 &
    launcher=$!
    echo "$launcher" >"$work/launcher"
    wait_for 120 window_named "$title" && break
    said="no window titled $title appeared within 120 s; the windows were: $(window_names); Wine said: $(tail -n 20 "$work/$name.log")"
    [ "$attempt" = 1 ] || fail "$said"
    echo "install: $build, $name: $said; starting it once more" >&3
    stop_program
  done
  # Keys go to the X window that has the input focus: the desktop's.
  xdotool windowfocus --sync "$(xdotool search --name "$desktop" | head -1)"
  wait_until_keys_arrive "$title" || exit 1
}

# Closes the main window titled like TITLE with Esc, answers the
# confirmation with the key ANSWER and waits until the program has ended.
close_program() {
  close_with_escape "$@" || exit 1
  rm -f "$work/launcher"
}

# Saves a first sender line through the sender dialog, answering yes to
# keeping it, and waits for the sender file to be written.
save_sender_line() {
  local line=$1 file=$2
  xdotool key alt+s
  wait_for 20 window_named '^Define Sender$' || fail "the sender dialog did not open"
  xdotool type --delay 30 "$line"
  xdotool key Return
  wait_for 20 window_named '^Save Data$' || fail "no question about saving the sender"
  xdotool key y
  wait_for 20 grep -q "^$line" "$file" || fail "the sender line was not saved into $file"
}

# Whether the help viewer's outline shows topics: some pixel of it, cut from
# a screenshot of the window (client area 3 pixels in and about 25 down), is
# dark. An empty outline is all white.
outline_shows_topics() {
  local window dark
  window=$(xdotool search --name '^Application Help$' | head -1)
  [ -n "$window" ] || return 1
  dark=$(import -window "$window" -crop 150x80+25+40 +repage -colorspace Gray \
    -format '%[fx:minima < 0.5]' info:) || return 1
  [ "$dark" = 1 ]
}

# Opens Help, Contents and checks that the viewer shows the topics (it
# reports a missing or unreadable help file instead), then closes it with Esc.
open_and_close_help() {
  xdotool key alt+h c
  wait_for 20 window_named '^Application Help$' || fail "the help viewer did not open"
  wait_for 20 outline_shows_topics || fail "the help viewer shows no topics"
  # Its message boxes are titled with the help file's path or "Help File".
  if window_named 'plaxet\.ahp$|^Help File$'; then fail "the help file was not found or not read"; fi
  mkdir -p build/artifacts
  import -window "$(xdotool search --name '^Application Help$' | head -1)" "build/artifacts/install-help-$build.png"
  xdotool key Escape
  wait_for 20 no_window_named '^Application Help$' || fail "the help viewer did not close"
}

# The value of a registry entry ("" for the key's default), or nothing.
reg_value() {
  local key=$1 name=$2 view=${3:-$reg_view} which=(/v "$2")
  [ -n "$name" ] || which=(/ve)
  wine_run reg query "$key" "${which[@]}" "/reg:$view" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *\S\+ \+REG_[A-Z_]\+ \+//p' | head -1
}
reg_key_exists() { wine_run reg query "$1" "/reg:${2:-$reg_view}" >/dev/null 2>&1; }

install_silently() {
  local status=0
  wine_run "$installer" /S >"$work/install.log" 2>&1 || status=$?
  [ "$status" -eq 0 ] || fail "the installer failed with status $status: $(cat "$work/install.log")"
  wine_settle
}

case_silent_install_places_everything() {
  # A sender file left by an earlier copy must come through untouched.
  local sender_before=""
  [ ! -e "$data_dir/quillet.ini" ] || sender_before=$(md5sum <"$data_dir/quillet.ini")
  install_silently
  [ -f "$program_dir/plaxet.exe" ] || fail "no plaxet.exe in $program_dir"
  [ -f "$program_dir/uninstall.exe" ] || fail "no uninstaller in $program_dir"
  for file in LiberationSans-Regular.ttf LiberationSans-Bold.ttf LiberationSans-LICENSE.txt; do
    cmp -s "$program_dir/$file" "build/$build/bin/$file" || fail "no (or another) $file beside the program"
  done
  [ ! -e "$program_dir/plaxet.ahp" ] || fail "the help file is in the program folder, not only the data folder"
  cmp -s "$data_dir/plaxet.ahp" "build/$build/bin/plaxet.ahp" || fail "the data folder has no (or another) help file"
  if [ -z "$sender_before" ]; then
    [ ! -e "$data_dir/quillet.ini" ] || fail "the installer wrote a sender file"
  else
    [ "$(md5sum <"$data_dir/quillet.ini")" = "$sender_before" ] || fail "the installer changed the sender file"
  fi
  [ -f "$start_entry" ] || fail "no Start menu entry"

  local command
  [ "$(reg_value 'HKLM\Software\Classes\.plx' '' 64)" = Plaxet.Form ] || fail ".plx is not registered"
  command=$(reg_value 'HKLM\Software\Classes\Plaxet.Form\shell\open\command' '' 64)
  [ "$command" = "\"$program_exe_windows\" \"%1\"" ] || fail "the open command is $command"
  [ "$(reg_value 'HKLM\Software\Classes\Plaxet.Form\DefaultIcon' '' 64)" = "\"$program_exe_windows\",0" ] ||
    fail "the file type has not the program's icon"

  [ "$(reg_value "$uninstall_key" DisplayName)" = Plaxet ] || fail "no uninstall entry named Plaxet"
  [ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "the uninstall entry has not version $version"
  [ "$(reg_value "$uninstall_key" Publisher)" = Orvane ] || fail "the uninstall entry names no publisher"
  [ "$(reg_value "$uninstall_key" InstallLocation)" = "C:\\$program_files\\Orvane\\plaxet" ] ||
    fail "the uninstall entry has the wrong install location"
  [ "$(reg_value "$uninstall_key" QuietUninstallString)" = "\"C:\\$program_files\\Orvane\\plaxet\\uninstall.exe\" /S" ] ||
    fail "the quiet uninstall command is wrong"
  reg_value "$uninstall_key" UninstallString | grep -q 'uninstall\.exe"$' || fail "no uninstall command"
  local size
  size=$(reg_value "$uninstall_key" EstimatedSize)
  [ $((size)) -gt 0 ] || fail "the uninstall entry gives no size"
}

case_version_is_the_same_everywhere() {
  local resource cli_says
  resource=$(strings -el "$program_dir/plaxet.exe" | grep -A1 -x ProductVersion | tail -1)
  [ "$resource" = "$version" ] || fail "the program's version resource says $resource, the build $version"
  cli_says=$(wine_run "$cli" --version | tr -d '\r')
  [ "$cli_says" = "Plaxet $version" ] || fail "plaxet-cli --version says $cli_says"
}

case_installed_program_finds_its_help_and_keeps_the_sender() {
  # The Start menu entry's target, as the shell link records it.
  local target
  target=$(strings "$start_entry" | grep -i -x -F "$program_exe_windows" | head -1)
  [ -n "$target" ] || fail "the Start menu entry does not lead to $program_exe_windows"
  start_in_desktop installed '^Plaxet$' "$target"
  save_sender_line "Corner Shop $build" "$data_dir/quillet.ini"
  [ ! -e "$program_dir/quillet.ini" ] || fail "the sender file went into the program folder"
  open_and_close_help
  # The sender boxes were edited, so closing offers to save the form: No.
  close_program n
}

case_opening_a_form_file_starts_the_program_with_it() {
  mkdir -p "$forms_dir"
  wine_run "$cli" make "Z:$(realpath examples/invoice.json | tr / '\\')" "$form_windows" \
    >"$work/make.log" 2>&1 || fail "could not make the form: $(cat "$work/make.log")"
  # start opens a document the way a double-click does, through its file
  # type; /wait keeps the desktop until the program ends.
  start_in_desktop association '^Invoice - corner invoice\.plx$' start /wait /unix "$form"
  # An unchanged form with items: "Quit Program now?" Yes.
  close_program y '^Invoice - corner invoice\.plx$'
}

case_uninstall_keeps_the_sender_and_a_new_install_too() {
  local sender_before
  sender_before=$(md5sum <"$data_dir/quillet.ini")
  wine_run "$program_dir/uninstall.exe" /S >"$work/uninstall.log" 2>&1 || fail "the uninstaller failed"
  wine_settle
  [ ! -e "$program_dir" ] || fail "the program folder is still there: $(ls "$program_dir")"
  [ ! -e "$data_dir/plaxet.ahp" ] || fail "the help file is still there"
  [ "$(md5sum <"$data_dir/quillet.ini")" = "$sender_before" ] || fail "the sender file was not kept"
  [ -f "$form" ] || fail "the uninstaller touched the form file"
  [ ! -e "$start_entry" ] || fail "the Start menu entry is still there"
  ! reg_key_exists 'HKLM\Software\Classes\.plx' 64 || fail ".plx is still registered"
  ! reg_key_exists 'HKLM\Software\Classes\Plaxet.Form' 64 || fail "the file type is still registered"
  ! reg_key_exists "$uninstall_key" || fail "the uninstall entry is still there"

  install_silently
  [ -f "$data_dir/plaxet.ahp" ] || fail "installing again placed no help file"
  [ "$(md5sum <"$data_dir/quillet.ini")" = "$sender_before" ] || fail "installing again changed the sender file"
  # And over the installed copy of the same version.
  install_silently
  [ "$(md5sum <"$data_dir/quillet.ini")" = "$sender_before" ] || fail "installing over the same version changed the sender file"
  [ -f "$program_dir/plaxet.exe" ] || fail "installing over the same version lost the program"
}

case_portable_zip_keeps_its_data_beside_itself() {
  local sender_installed
  sender_installed=$(md5sum <"$data_dir/quillet.ini")
  mkdir -p "$portable_dir"
  unzip -q "$portable" -d "$portable_dir"
  for file in plaxet.exe plaxet.ahp README.txt LiberationSans-Regular.ttf LiberationSans-Bold.ttf \
    LiberationSans-LICENSE.txt; do
    [ -f "$portable_dir/$file" ] || fail "the portable zip has no $file"
  done
  grep -q "^Plaxet $version, portable" "$portable_dir/README.txt" || fail "the read-me does not name version $version"
  start_in_desktop portable '^Plaxet$' "$portable_windows"
  save_sender_line "Market Stall $build" "$portable_dir/quillet.ini"
  open_and_close_help
  close_program n
  [ "$(md5sum <"$data_dir/quillet.ini")" = "$sender_installed" ] ||
    fail "the portable copy wrote into the installed copy's data folder"
}

# The first build's copy leaves before the second is installed: both would
# own the same file type and data folder.
case_the_other_build_is_uninstalled() {
  wine_run "$previous_uninstaller" /S >"$work/uninstall.log" 2>&1 || fail "the uninstaller failed"
  wine_settle
  [ ! -e "$previous_uninstaller" ] || fail "the first build's copy was not uninstalled"
}

case_package_refuses_an_unknown_build() {
  local said
  if said=$(scripts/package.sh win16 2>&1); then fail "package.sh accepted win16"; fi
  grep -q "unknown build 'win16'" <<<"$said" || fail "package.sh said: $said"
}

# Runs a case in a subshell (its checks end it with `fail`) with a deadline
# of its own, so that no step without one can hold up the whole test.
in_subshell_with_deadline() {
  ("$1") &
  local pid=$! deadline=$(($(date +%s) + 300))
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$(date +%s)" -ge "$deadline" ]; then
      kill_tree "$pid"
      wait "$pid" 2>/dev/null || true
      echo "(did not finish within 300 seconds)"
      return 1
    fi
    sleep 0.5
  done
  wait "$pid"
}

passed=0
failed=0
for build in "${builds[@]}"; do
  use_build "$build"
  cases=(case_silent_install_places_everything case_version_is_the_same_everywhere
    case_installed_program_finds_its_help_and_keeps_the_sender
    case_opening_a_form_file_starts_the_program_with_it
    case_uninstall_keeps_the_sender_and_a_new_install_too
    case_portable_zip_keeps_its_data_beside_itself)
  [ "$build" = "${builds[0]}" ] || cases=(case_the_other_build_is_uninstalled "${cases[@]}")
  [ "$build" != "${builds[0]}" ] || cases+=(case_package_refuses_an_unknown_build)
  for case in "${cases[@]}"; do
    run_desktop_case install "$build" "$case" in_subshell_with_deadline
  done
  previous_uninstaller="$program_dir/uninstall.exe"
done
echo "install: $passed passed, $failed failed in ${SECONDS}s (${builds[*]}; Wine prefix $WINEPREFIX)"
[ "$failed" -eq 0 ]
