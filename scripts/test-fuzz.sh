#!/usr/bin/env bash
# Builds the file-reader fuzzers with clang and gives each a short run.
# FUZZ_SECONDS sets the time per fuzzer (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-20}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
shopt -s nullglob
ran=0
for fuzzer in build/fuzz/bin/*_fuzzer; do
  name=$(basename "$fuzzer")
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="fuzz/seeds/${name%_fuzzer}"
  [ -d "$seeds" ] || seeds=""
  echo "fuzzing $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 "$corpus" $seeds 2>build/fuzz/$name.log \
    || { tail -40 "build/fuzz/$name.log"; echo "$name found a fault"; exit 1; }
  ran=$((ran + 1))
done
echo "fuzzers: $ran passed, 0 failed"
