#!/usr/bin/env bash
# Whole-process measurements of the Windows program under Wine (by hand,
# figures go to docs/PERFORMANCE.md):
#  - idle CPU: the CPU time plaxet.exe uses in 10 idle seconds after start;
#  - help opening: the time from Help > Contents to the visible help viewer,
#    with a help file of 5,000 topics in two levels (about 6.5 MB) made by
#    plaxet-cli help-build, and with the program's own help; three runs each;
#  - start-up at 100 % and at 150 % display scale: the time from starting
#    the program (in its virtual desktop) to its visible main window, in two
#    prefixes made alike (scripts/wine-prefix-at-dpi.sh) but for their DPI;
#    one run to warm up, then five (PLAXET_STARTUP_RUNS), alternating.
# PLAXET_SKIP_IDLE, PLAXET_SKIP_HELP and PLAXET_SKIP_STARTUP leave one out.
#
# usage: scripts/measure-performance.sh [PLAXET_EXE]   (default: the build's)
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/windows-target.sh
source scripts/desktop-helpers.sh
run_on_display "$0" "$@"
use_windows_build measure plaxet plaxet-cli || exit 1
program=$(realpath "${1:-$bin/plaxet.exe}")
work=/tmp/plaxet-measure-$$
launcher=""
mkdir -p "$work"

window_named() { xdotool search --onlyvisible --name "$1" | head -1 | grep -q .; }
cleanup() {
  stop_program
  rm -rf "$work"
}
trap cleanup EXIT

# A folder with the program, a help file and the example letterhead.
app_with_help() {
  local folder=$1 help=$2
  mkdir -p "$folder"
  cp "$program" "$folder/plaxet.exe"
  cp "$help" "$folder/plaxet.ahp"
  cp examples/quillet.ini "$folder/"
}

start_program() {
  local folder=$1 name=$2
  scripts/wine-run.sh explorer "/desktop=plaxet-measure-$$-$name,1024x768" "$folder/plaxet.exe" \
    >"$work/$name.log" 2>&1 &
  launcher=$!
  wait_for 120 window_named '^Plaxet$' || { echo "the main window did not appear" >&2; return 1; }
  xdotool windowfocus --sync "$(xdotool search --name "plaxet-measure-$$-$name" | head -1)"
}

# The Windows process of the program (its command line names plaxet.exe).
program_pid() { ps -eo pid=,args= | awk '$2 ~ /plaxet\.exe$/ && $0 !~ /explorer/ { print $1; exit }'; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure_idle() {
  local folder=$work/idle
  app_with_help "$folder" "$bin/plaxet.ahp"
  start_program "$folder" idle
  sleep 2 # the start's own work settles
  local pid before after ticks
  pid=$(program_pid)
  [ -n "$pid" ] || { echo "no plaxet.exe process found" >&2; return 1; }
  ticks=$(getconf CLK_TCK)
  before=$(cpu_ticks "$pid")
  sleep 10
  after=$(cpu_ticks "$pid")
  awk -v t=$((after - before)) -v hz="$ticks" \
    'BEGIN { printf "idle: %.2f s of CPU in 10 idle seconds (%.2f%% of a core)\n", t / hz, t / hz * 10 }'
  stop_program
}

# Help > Contents by keys, then the time until the viewer is visible.
measure_help_open() {
  local help=$1 name=$2 run times=()
  local folder=$work/$name
  app_with_help "$folder" "$help"
  for run in 1 2 3; do
    start_program "$folder" "$name-$run"
    sleep 1
    local start end
    xdotool key alt+h
    sleep 0.5
    start=$(date +%s%N)
    xdotool key c
    until window_named '^Application Help$'; do
      [ $(($(date +%s%N) - start)) -lt 60000000000 ] || { echo "the viewer did not open" >&2; return 1; }
    done
    end=$(date +%s%N)
    times+=("$(((end - start) / 1000000))")
    stop_program
    sleep 1
  done
  printf '%s\n' "${times[@]}" | sort -n |
    awk -v n="$name" '{ t[NR] = $1 } END { printf "%s: %d, %d, %d ms, median %d ms\n", n, t[1], t[2], t[3], t[2] }'
}

# 5,000 topics: 250 chapters of 20 topics (the chapter and 19 under it),
# bodies of about 1,300 bytes.
big_help() {
  local source=$work/big-source i
  mkdir -p "$source"
  local body
  body=$(for l in $(seq 1 14); do printf 'Line %02d of a topic body, long enough to make the file about the size of a large manual.\n' "$l"; done)
  for i in $(seq -w 1 5000); do
    if [ $((10#$i % 20)) -eq 1 ]; then
      printf 'Title: Chapter %s\n\n%s\n' "$i" "$body" >"$source/$i.txt"
    else
      printf 'Title: Topic %s\nLevel: 1\n\n%s\n' "$i" "$body" >"$source/$i.txt"
    fi
  done
  scripts/wine-run.sh "$bin/plaxet-cli.exe" help-build "$(windows_path "$source")" \
    "$(windows_path "$work/big.ahp")" >&2
}

# One start in the prefix for DPI: the milliseconds from the launch to the
# visible main window.
startup_time() {
  local dpi=$1 folder=$2 name=$3 prefix start end
  prefix=$(scripts/wine-prefix-at-dpi.sh "$dpi")
  start=$(date +%s%N)
  WINEPREFIX=$prefix scripts/wine-run.sh explorer "/desktop=plaxet-measure-$$-$name,1600x1200" \
    "$folder/plaxet.exe" >"$work/$name.log" 2>&1 &
  launcher=$!
  until window_named '^Plaxet$'; do
    [ $(($(date +%s%N) - start)) -lt 120000000000 ] || { echo "the main window did not appear" >&2; return 1; }
    sleep 0.02
  done
  end=$(date +%s%N)
  stop_program
  sleep 1
  echo $(((end - start) / 1000000))
}

measure_startup() {
  local folder=$work/startup run dpi runs=${PLAXET_STARTUP_RUNS:-5}
  app_with_help "$folder" "$bin/plaxet.ahp"
  declare -A times=()
  # Each prefix's server is kept running from the warm-up to the end, so
  # that every start measured finds it alike.
  for dpi in 96 144; do
    WINEPREFIX=$(scripts/wine-prefix-at-dpi.sh "$dpi") wineserver -p
    startup_time "$dpi" "$folder" "warm-$dpi" >/dev/null
  done
  for run in $(seq 1 "$runs"); do
    for dpi in 96 144; do times[$dpi]+="$(startup_time "$dpi" "$folder" "start-$dpi-$run") "; done
  done
  for dpi in 96 144; do WINEPREFIX=$(scripts/wine-prefix-at-dpi.sh "$dpi") wineserver -k || true; done
  for dpi in 96 144; do
    printf '%s\n' ${times[$dpi]} | sort -n | awk -v d="$dpi" '{ t[NR] = $1; all = all (NR > 1 ? ", " : "") $1 }
      END { printf "start-up at %d DPI: %s ms, median %d ms\n", d, all, t[int((NR + 1) / 2)] }'
  done
}

[ -n "${PLAXET_SKIP_IDLE:-}" ] || measure_idle
if [ -z "${PLAXET_SKIP_HELP:-}" ]; then
  big_help
  echo "help file: $(stat -c %s "$work/big.ahp") bytes"
  measure_help_open "$work/big.ahp" 5000-topics
  measure_help_open "$bin/plaxet.ahp" own-help
fi
[ -n "${PLAXET_SKIP_STARTUP:-}" ] || measure_startup
