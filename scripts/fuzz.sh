#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/fuzz_*.cpp) with clang in build/fuzz
# and runs each one from its committed seed corpus.
#
# Usage: scripts/fuzz.sh [-t SECONDS | -n RUNS] [NAME...]
#   -t SECONDS  run each target this long (default 15)
#   -n RUNS     run each target for this many inputs instead
#   NAME        only these targets (e.g. typed_numbers cli_args); default all
# New inputs that reach new code are kept in build/fuzz/corpus/NAME (not in the
# committed corpus); a failing input is saved as build/fuzz/crash-NAME-* and the
# script stops with the fuzzer's exit code.
set -euo pipefail
cd "$(dirname "$0")/.."

limit="-max_total_time=15"
while getopts "t:n:" opt; do
  case "$opt" in
    t) limit="-max_total_time=$OPTARG" ;;
    n) limit="-runs=$OPTARG" ;;
    *) echo "usage: scripts/fuzz.sh [-t SECONDS | -n RUNS] [NAME...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLMAR_FUZZ=ON -DQUILLMAR_TESTS=OFF -DQUILLMAR_BENCH=OFF >/dev/null
cmake --build build/fuzz -j2

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in tests/fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    names+=("${name#fuzz_}")
  done
fi

for name in "${names[@]}"; do
  echo "== fuzz_$name ($limit)"
  mkdir -p "build/fuzz/corpus/$name"
  dict=()
  if [ -f "tests/fuzz/$name.dict" ]; then dict=("-dict=tests/fuzz/$name.dict"); fi
  "build/fuzz/tests/fuzz/fuzz_$name" "$limit" "${dict[@]}" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/crash-$name-" "build/fuzz/corpus/$name" "tests/fuzz/corpus/$name" \
    >"build/fuzz/$name.log" 2>&1 || {
      rc=$?
      tail -n 60 "build/fuzz/$name.log"
      echo "fuzz_$name failed (exit $rc); input saved as build/fuzz/crash-$name-*" >&2
      exit "$rc"
    }
  grep -E "^Done|stat::number_of_executed_units|stat::peak_rss_mb" "build/fuzz/$name.log" || true
done
