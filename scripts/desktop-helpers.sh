# Helpers for the scripts that drive Windows programs under Wine on an X
# display: sourced, never run. A script that starts a program keeps its
# process id in `launcher`, so that stop_program can end it with everything
# it started.

# Wine sees the Linux root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Waits until a command succeeds, polling; fails after the given seconds.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

window_named() { xdotool search --name "$1" | head -1 | grep -q .; }
no_window_named() { ! window_named "$1"; }
window_id() { xdotool search --name "$1" | head -1; }
# The titles of the display's windows that have one, on one line.
window_names() {
  xdotool search --name . 2>/dev/null | while read -r window; do
    xdotool getwindowname "$window" 2>/dev/null
  done | sort -u | paste -sd '|'
}
launcher_gone() { ! kill -0 "$launcher" 2>/dev/null; }
# Waits for the program's main window, whose title matches the pattern. The
# first start of a fresh Wine prefix takes a while.
wait_for_main_window() {
  wait_for 120 window_named "$1" ||
    { echo "the main window did not appear; the windows were: $(window_names)"; return 1; }
}

# Ends a process and every process it started in turn, by their process ids.
kill_tree() {
  local pids=("$1") i=0
  while [ "$i" -lt "${#pids[@]}" ]; do
    mapfile -t -O "${#pids[@]}" pids < <(ps -o pid= --ppid "${pids[$i]}" | tr -d ' ')
    i=$((i + 1))
  done
  kill "${pids[@]}" 2>/dev/null || true
}

# Ends the program this script started (the launcher) with all it started.
stop_program() {
  [ -n "${launcher:-}" ] || return 0
  kill_tree "$launcher"
  launcher=""
}

# Closes Plaxet with Esc, answers its "Exit Program" question with the key
# ANSWER and waits until no window is titled like TITLE (a pattern, by
# default any Plaxet main window) and the program has ended; says what went
# wrong otherwise. Esc is pressed again while no question shows, as a key
# typed before Wine has taken the X input focus is lost; the pause between
# presses keeps a late key from reaching the question, where Esc cancels.
close_with_escape() {
  local answer=$1 title=${2:-^Plaxet}
  wait_for 30 escape_brings_exit_question || { echo "no exit confirmation"; return 1; }
  xdotool key "$answer"
  wait_for 30 no_window_named "$title" || { echo "the main window stayed open"; return 1; }
  wait_for 30 launcher_gone || { echo "the program did not end"; return 1; }
  launcher=""
}

escape_brings_exit_question() {
  xdotool key Escape
  wait_for 5 window_named '^Exit Program$'
}

# Waits until keys reach Plaxet's main window, the one titled like TITLE (a
# pattern): clicks its title bar, which brings it to the front (a program
# started through another one, as a file type's command starts it, is not
# always given the focus), opens the About box from the Help menu, and
# closes it again, which changes nothing in the form. The click and the keys
# are tried again every few seconds while the box does not show: keys sent
# before Wine has taken the X input focus are lost. A try may lose its Alt
# key and still type its letter into the box that has the focus, so a case
# that types into that box empties it first.
wait_until_keys_arrive() {
  wait_for 30 keys_open_about_box "$1" || { echo "keys never reached the program"; return 1; }
  xdotool key Escape
  wait_for 20 no_window_named '^About ' || { echo "the About box did not close"; return 1; }
}

keys_open_about_box() {
  local window
  window=$(window_id "$1")
  [ -n "$window" ] || return 1
  # The frame is 3 pixels wide and the title bar 18 high.
  xdotool mousemove --window "$window" 150 10 click 1
  xdotool key alt+h a
  wait_for 5 window_named '^About '
}

# Runs one case of a desktop test, its output kept in $work/case.out, and
# counts it in `passed` or `failed`; RUNNER, when given, runs the case (in a
# subshell, say). A failed case is told with its output, a picture of the
# display goes to build/artifacts/WHO-LABEL-CASE-failure.png and its
# program is ended. WHO names the test; LABEL, which may be empty, says more
# (the build, say).
run_desktop_case() {
  local who=$1 label=$2 case=$3 runner=${4:-}
  local name=${case#case_} started=$SECONDS
  # Without a runner the case runs in this shell, so that a failed case's
  # program is known to stop_program.
  if $runner "$case" >"$work/case.out" 2>&1; then
    passed=$((passed + 1))
    echo "$who: $name passed (${label:+$label, }$((SECONDS - started))s)"
  else
    failed=$((failed + 1))
    echo "$who: $name FAILED${label:+ ($label)}: $(cat "$work/case.out")"
    mkdir -p build/artifacts
    import -window root "build/artifacts/$who${label:+-$label}-$name-failure.png" 2>/dev/null || true
    stop_program
  fi
}

# Runs the calling script again on an X display of its own when it has none
# yet. Call as `run_on_display "$0" "$@"` before anything else happens.
run_on_display() {
  [ -z "${PLAXET_DISPLAY_READY:-}" ] || return 0
  export PLAXET_DISPLAY_READY=1
  exec scripts/with-display.sh "$@"
}

# Chooses the Windows build this machine can start (scripts/windows-target.sh)
# and brings the given targets of it up to date, quietly unless the build
# fails. Sets `preset` and `bin`, the folder of its programs. WHO names the
# calling script in messages.
use_windows_build() {
  local who=$1 log
  shift
  plaxet_windows_target || { echo "$who: $PLAXET_WINDOWS_REASON" >&2; return 1; }
  echo "$who: $PLAXET_WINDOWS_REASON"
  preset=$PLAXET_WINDOWS_PRESET
  bin=$PLAXET_WINDOWS_BIN
  log=$(mktemp)
  if ! { [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset"; } >"$log" 2>&1 ||
    ! cmake --build --preset "$preset" --target "$@" >>"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "$who: the $preset build failed (its output is above)" >&2
    return 1
  fi
  rm -f "$log"
}
