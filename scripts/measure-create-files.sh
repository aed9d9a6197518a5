#!/usr/bin/env bash
# Whole-process cost of `plaxet-cli create-files` (the optimised build of the
# release preset), writing the RTF, HTM and PDF documents of an invoice of
# 20, 1,000 and 10,000 items: wall time and maximum resident memory as
# /usr/bin/time reports them, the median of five runs each (by hand; the
# figures go to docs/PERFORMANCE.md).
#
# usage: scripts/measure-create-files.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}

cmake --preset release >/dev/null
cmake --build --preset release --target plaxet-cli >/dev/null
cli=$(realpath build/release/bin/plaxet-cli)
work=$(mktemp -d "${TMPDIR:-/tmp}/plaxet-measure.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cp examples/quillet.ini "$work/"

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

printf '| items | wall time (median of %d) | max RSS (median) | PDF pages | PDF bytes |\n|---:|---:|---:|---:|---:|\n' "$runs"
for n in 20 1000 10000; do
  make_form "$n" "$work/form$n.json"
  "$cli" make "$work/form$n.json" "$work/form$n.plx" >/dev/null
  : >"$work/times"
  : >"$work/memory"
  for _ in $(seq "$runs"); do
    # The wall time in nanoseconds around the process itself (time(1) gives
    # only hundredths of a second), then the memory through time(1).
    start=$(date +%s%N)
    "$cli" create-files "$work/form$n.plx" --sender "$work/quillet.ini" >/dev/null
    echo $(($(date +%s%N) - start)) >>"$work/times"
    /usr/bin/time -f '%M' -a -o "$work/memory" \
      "$cli" create-files "$work/form$n.plx" --sender "$work/quillet.ini" >/dev/null
  done
  wall=$(median <"$work/times")
  rss=$(median <"$work/memory")
  pages=$(pdfinfo "$work/form$n.pdf" | awk '/^Pages:/ { print $2 }')
  bytes=$(stat -c %s "$work/form$n.pdf")
  awk -v n="$n" -v wall="$wall" -v rss="$rss" -v pages="$pages" -v bytes="$bytes" \
    'BEGIN { printf "| %d | %.1f ms | %.1f MiB | %d | %d |\n", n, wall / 1e6, rss / 1024, pages, bytes }'
done
