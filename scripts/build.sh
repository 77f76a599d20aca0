#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh [build-dir] [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$build" -G Ninja -DPRAEL_WERROR=ON "$@" >/dev/null
cmake --build "$build" -j "$jobs"
