#!/usr/bin/env bash
# Whole-process cost of `plaxet-cli create-files` (the optimised build of the
# release preset), writing the RTF, HTM and PDF documents of an invoice of
# 20, 1,000 and 10,000 items: wall time and maximum resident memory as
# /usr/bin/time reports them, the median of five runs each (by hand; the
# figures go to docs/PERFORMANCE.md). The documents are written to the disk
# (TMPDIR, or /tmp), where each is flushed before it replaces the old one, and
# to a memory file system (/dev/shm), where a flush costs nothing: the
# difference is the disk's.
#
# usage: scripts/measure-create-files.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}

cmake --preset release >/dev/null
cmake --build --preset release --target plaxet-cli >/dev/null
cli=$(realpath build/release/bin/plaxet-cli)

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

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

measure_in() {
  work=$(mktemp -d "$1/plaxet-measure.XXXXXX")
cp examples/quillet.ini "$work/"
printf '\n%s\n\n| items | wall time (median of %d) | processor time (median) | max RSS (median) | PDF pages | PDF bytes |\n|---:|---:|---:|---:|---:|---:|\n' "$2" "$runs"
for n in 20 1000 10000; do
  make_form "$n" "$work/form$n.json"
  "$cli" make "$work/form$n.json" "$work/form$n.plx" >/dev/null
  : >"$work/times"
  : >"$work/memory"
  for _ in $(seq "$runs"); do
    # Wall and processor time in microseconds (time(1) gives only
    # hundredths of a second), then the memory through time(1).
    python3 - "$cli" create-files "$work/form$n.plx" --sender "$work/quillet.ini" >>"$work/times" <<'PY'
import resource, subprocess, sys, time
def processor_time():
    used = resource.getrusage(resource.RUSAGE_CHILDREN)
    return used.ru_utime + used.ru_stime
before = processor_time()
start = time.perf_counter()
subprocess.run(sys.argv[1:], check=True, stdout=subprocess.DEVNULL)
wall = time.perf_counter() - start
print("%d %d" % (wall * 1e6, (processor_time() - before) * 1e6))
PY
    /usr/bin/time -f '%M' -a -o "$work/memory" \
      "$cli" create-files "$work/form$n.plx" --sender "$work/quillet.ini" >/dev/null
  done
  wall=$(awk '{ print $1 }' "$work/times" | median)
  cpu=$(awk '{ print $2 }' "$work/times" | median)
  rss=$(median <"$work/memory")
  pages=$(pdfinfo "$work/form$n.pdf" | awk '/^Pages:/ { print $2 }')
  bytes=$(stat -c %s "$work/form$n.pdf")
  awk -v n="$n" -v wall="$wall" -v cpu="$cpu" -v rss="$rss" -v pages="$pages" -v bytes="$bytes" \
    'BEGIN { printf "| %d | %.1f ms | %.1f ms | %.1f MiB | %d | %d |\n", n, wall / 1e3, cpu / 1e3, rss / 1024, pages, bytes }'
done
chmod -R u+w "$work"
rm -rf "$work"
}

measure_in "${TMPDIR:-/tmp}" "On the disk (${TMPDIR:-/tmp}):"
[ -d /dev/shm ] && measure_in /dev/shm "On a memory file system (/dev/shm):"
echo
echo "Load average while measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"

