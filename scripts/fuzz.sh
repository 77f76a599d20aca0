#!/usr/bin/env bash
# The fuzz build (clang, libFuzzer, AddressSanitizer and UndefinedBehavior-
# Sanitizer) in build-fuzz, and optionally a long run of one target:
#   scripts/fuzz.sh                       build the targets and run their short corpus tests
#   scripts/fuzz.sh TARGET SECONDS [ARGS] build, then fuzz TARGET (spritedef, map, net)
#                                         for SECONDS from its seed corpus
# A long run keeps the inputs it finds in build-fuzz/corpus/TARGET and writes
# any crashing input to build-fuzz/crashes/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
"$root/scripts/setup.sh"
CC=clang CXX=clang++ "$root/scripts/build.sh" "$build" -DPRAEL_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
if [[ $# -eq 0 ]]; then
  (cd "$build" && ctest --output-on-failure -L fuzz)
  exit 0
fi
target=$1 seconds=$2
shift 2
mkdir -p "$build/corpus/$target" "$build/crashes"
"$build/tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$build/crashes/" "$@" \
  "$build/corpus/$target" "$root/tests/fuzz/corpus/$target"
