#!/usr/bin/env bash
# Whole-process cost of `plaxet-cli create-files` (the optimised build of the
# release preset), writing the RTF, HTM and PDF documents of an invoice of
# 20, 1,000 and 10,000 items: wall time, processor time and maximum resident
# memory of the whole process, the median of five runs each after one that is
# not counted (by hand; the figures go to docs/PERFORMANCE.md). The documents
# are written to the disk (TMPDIR, or /tmp), where they are flushed before
# they replace the old ones, and
# to a memory file system (/dev/shm), where a flush costs nothing: the
# difference is the disk's.
#
# usage: scripts/measure-create-files.sh [RUNS]
# PLAXET_CLI=PATH measures that plaxet-cli instead of building this tree's.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}

if [ -n "${PLAXET_CLI:-}" ]; then
  cli=$(realpath "$PLAXET_CLI") # another build, such as an older one to compare
else
  cmake --preset release >/dev/null
  cmake --build --preset release --target plaxet-cli >/dev/null
  cli=$(realpath build/release/bin/plaxet-cli)
fi

# The benchmark program's invoice: dated plain items, a subtotal row every 20
# items and a tax row after each subtotal.
make_form() {
  python3 - "$1" "$2" <<'PY'
import json, sys
n, path = int(sys.argv[1]), sys.argv[2]
items = []
for i in range(1, n + 1):
    if i % 20 == 19:
        items.append({"date": "", "description": "Subtotal", "cost": ""})
    elif i % 20 == 0:
        items.append({"date": "", "description": "Tax (8.25%)", "cost": ""})
    else:
        items.append({"date": "03/04/2024", "description": "Interior paint & brushes <%d>" % i,
                      "cost": "%d.50" % (10 + i % 90)})
json.dump({"date": "03/15/2024", "type": "invoice",
           "addressee": {"name": "Margaret Ellison", "address": "42 Orchard Lane",
                         "city": "Springfield, IL 62704", "phone": "(217) 555-0148"},
           "items": items,
           "notes": ["Thank you for your business.", "Payment is due within 30 days."]},
          open(path, "w"))
PY
}

# Runs a command RUNS times after one run that is not counted (it warms the
# caches and leaves documents for the counted runs to replace), and prints
# the medians of the wall time and the processor time, as the system accounts
# for the finished process.
medians_of_runs() {
  python3 - "$runs" "$@" <<'PY'
import os, statistics, sys, time
runs, command = int(sys.argv[1]), sys.argv[2:]
quiet = os.open(os.devnull, os.O_WRONLY)
walls, cpus = [], []
for run in range(runs + 1):
    start = time.perf_counter()
    pid = os.posix_spawn(command[0], command, os.environ,
                         file_actions=[(os.POSIX_SPAWN_DUP2, quiet, 1)])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("the command failed: " + " ".join(command))
    if run > 0:
        walls.append(wall)
        cpus.append(usage.ru_utime + usage.ru_stime)
print("%.1f ms | %.1f ms" % (statistics.median(walls) * 1e3, statistics.median(cpus) * 1e3))
PY
}

# The median of RUNS maximum resident memories in MiB, from time(1): the
# figure the system gives this script's own child would count the memory of
# the Python process it was started from.
median_memory() {
  for _ in $(seq "$runs"); do /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null; done |
    sort -g | awk '{ v[NR] = $1 } END { printf "%.1f MiB", v[int((NR + 1) / 2)] / 1024 }'
}

measure_in() {
  work=$(mktemp -d "$1/plaxet-measure.XXXXXX")
  cp examples/quillet.ini "$work/"
  printf '\n%s\n\n| items | wall time (median of %d) | processor time (median) | max RSS (median) | PDF pages | PDF bytes |\n|---:|---:|---:|---:|---:|---:|\n' "$2" "$runs"
  for n in 20 1000 10000; do
    make_form "$n" "$work/form$n.json"
    "$cli" make "$work/form$n.json" "$work/form$n.plx" >/dev/null
    command=("$cli" create-files "$work/form$n.plx" --sender "$work/quillet.ini")
    times=$(medians_of_runs "${command[@]}")
    memory=$(median_memory "${command[@]}")
    pages=$(pdfinfo "$work/form$n.pdf" | awk '/^Pages:/ { print $2 }')
    echo "| $n | $times | $memory | $pages | $(stat -c %s "$work/form$n.pdf") |"
  done
  chmod -R u+w "$work"
  rm -rf "$work"
}

measure_in "${TMPDIR:-/tmp}" "On the disk (${TMPDIR:-/tmp}):"
[ -d /dev/shm ] && measure_in /dev/shm "On a memory file system (/dev/shm):"
echo
echo "Load average while measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"

