#!/usr/bin/env bash
# Kills plaxet-cli with SIGKILL at random moments while it saves a form file
# (make over an existing form), writes the documents over existing ones
# (create-files) and saves the sender file (save-sender), KILLS times each
# (default 1000, counting only kills that hit a running process). After every
# kill each file must be its old or its new content byte for byte, and at most
# the temporary files of the killed run may be left (one for each file it
# writes), which the next run removes. Beside them, half as many runs of
# create-files number fresh forms from one counter file (numbering): after every
# kill the counter file and the form are whole, and no number is on two forms.
# PLAXET_KILL_SEED repeats a run's random moments.
#
# Then the Windows plaxet-cli of the build this machine starts is killed the
# same way under Wine, PLAXET_KILL_WINE times per kind (default 200, one kind
# after another, about 15 seconds a kind; 0 leaves it out), all but numbering,
# whose kills cost twice as much there (each numbered form is read back under
# Wine too; see docs/RELIABILITY.md): there the
# replace renames the still open temporary file through its handle. Wine
# clears up a killed process a moment after it is gone, so there a run that
# fails without being killed is shown and run once more (more than three such
# runs fail the test).
set -euo pipefail
cd "$(dirname "$0")/.."
kills="${1:-1000}"

# The optimised build without sanitizers: the one that ships, and it starts in
# a fraction of the time, so the thousands of runs fit in well under a minute.
cmake -S . -B build/kill -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/kill --target plaxet-cli kill_harness >/dev/null
# A memory-backed folder when there is one: a kill tests what the program
# leaves behind, not the disk, and each run's flushes would only slow it down.
base=${TMPDIR:-/tmp}
[ -w /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/plaxet-kill.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

# The kinds run side by side. The harness ends by itself once it has
# its kills or has tried twenty times as often; timeout is the outer deadline.
pids=()
# Numbering gets half the kills, so that four kinds take about the time three did.
for kind in make create-files sender numbering; do
  count=$kills
  [ "$kind" = numbering ] && count=$(((kills + 1) / 2))
  timeout 600 build/kill/bin/kill_harness build/kill/bin/plaxet-cli "$work/$kind" "$kind" \
    "$count" ${PLAXET_KILL_SEED:-} &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
[ "$failed" -eq 0 ] || { echo "kill tests: FAILED" >&2; exit 1; }

wine_kills="${PLAXET_KILL_WINE:-200}"
if [ "$wine_kills" -gt 0 ]; then
  source scripts/windows-target.sh
  source scripts/desktop-helpers.sh
  use_windows_build "kill tests" plaxet-cli || exit 1
  exe="$bin/plaxet-cli.exe"
  export PLAXET_WINE_RUN="$(pwd)/scripts/wine-run.sh"
  for kind in make create-files sender; do
    timeout 1800 build/kill/bin/kill_harness "$exe" "$work/wine-$kind" "$kind" "$wine_kills" \
      ${PLAXET_KILL_SEED:-} || { echo "kill tests under Wine: FAILED" >&2; exit 1; }
  done
fi
echo "kill tests: every file was whole after every kill"
