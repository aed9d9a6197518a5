#!/usr/bin/env bash
# Long fuzzing on demand: every fuzzer (or only the READERs named, such as
# help_file) runs for SECONDS (default 3600), all at once at low priority,
# starting from its seed folder fuzz/seeds/<reader>. At the end each seed
# folder is replaced by the minimised union of the seeds and what the run
# found, and a table of figures goes to build/fuzz-long/figures.txt.
#
# The build leaves out AddressSanitizer (UndefinedBehaviorSanitizer stays) for
# throughput; scripts/test-fuzz.sh runs the same fuzzers with both in ./test.
# Set FUZZ_LONG_ASAN=1 to fuzz with the fully sanitized build instead.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-3600}"
usage="usage: $0 [SECONDS [READER...]]"
case "$seconds" in '' | *[!0-9]*) echo "$usage" >&2; exit 2 ;; esac
shift $(($# > 0 ? 1 : 0))

preset=fuzz-long
[ "${FUZZ_LONG_ASAN:-0}" = 1 ] && preset=fuzz
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

out=build/fuzz-long/run
rm -rf "$out"
mkdir -p "$out"
shopt -s nullglob
fuzzers=(build/$preset/bin/*_fuzzer)
[ ${#fuzzers[@]} -gt 0 ] || { echo "no fuzzers were built" >&2; exit 1; }
if [ $# -gt 0 ]; then
  fuzzers=()
  for name in "$@"; do
    [ -x "build/$preset/bin/${name}_fuzzer" ] ||
      { echo "no fuzzer for the reader $name; $usage" >&2; exit 2; }
    fuzzers+=("build/$preset/bin/${name}_fuzzer")
  done
fi

pids=()
for fuzzer in "${fuzzers[@]}"; do
  name=$(basename "$fuzzer" _fuzzer)
  mkdir -p "$out/$name/corpus" "$out/$name/findings" "fuzz/seeds/$name"
  echo "fuzzing $name for ${seconds}s"
  # Each fuzzer writes findings into its own folder and stops at the first;
  # -max_total_time is the deadline of this wait.
  nice -n 15 "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$out/$name/findings/" \
    "$out/$name/corpus" "fuzz/seeds/$name" >"$out/$name/log" 2>&1 &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done

printf '%-12s %14s %8s %8s %8s %s\n' reader executions exec/s cover corpus findings \
  | tee build/fuzz-long/figures.txt
for fuzzer in "${fuzzers[@]}"; do
  name=$(basename "$fuzzer" _fuzzer)
  log="$out/$name/log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cover=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  findings=$(find "$out/$name/findings" -type f | wc -l)

  # Minimise: keep the smallest set of inputs that reaches the same coverage.
  mkdir -p "$out/$name/minimised"
  nice -n 15 "$fuzzer" -set_cover_merge=1 "$out/$name/minimised" "fuzz/seeds/$name" "$out/$name/corpus" \
    >"$out/$name/merge.log" 2>&1
  if [ "$findings" -eq 0 ] && [ -n "$(ls -A "$out/$name/minimised")" ]; then
    rm -f "fuzz/seeds/$name"/*
    cp "$out/$name/minimised"/* "fuzz/seeds/$name/"
  fi
  corpus=$(find "fuzz/seeds/$name" -type f | wc -l)
  printf '%-12s %14s %8s %8s %8s %s\n' "$name" "${runs:-?}" "${rate:-?}" "${cover:-?}" \
    "$corpus" "$findings" | tee -a build/fuzz-long/figures.txt
  if [ "$findings" -gt 0 ]; then
    failed=1
    echo "  $name found a fault; inputs in $out/$name/findings, log in $log"
  fi
done
[ "$failed" -eq 0 ] || { echo "fuzz-long: a fuzzer found a fault" >&2; exit 1; }
echo "fuzz-long: no findings"
