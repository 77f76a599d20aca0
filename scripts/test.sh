#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite:
# the normal build's unit, headless and desktop (Xvfb) tests, then the unit
# tests again in the AddressSanitizer + UndefinedBehaviorSanitizer build, and
# a short run of each fuzz target in the fuzz build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
"$root/scripts/setup.sh"

echo "== normal build"
"$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure -j "$jobs")

echo "== sanitizer build"
"$root/scripts/build.sh" "$root/build-asan" -DPRAEL_SANITIZE=ON
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs" -L unit)
echo "== fuzz build"
"$root/scripts/fuzz.sh"
echo "== all tests passed"
