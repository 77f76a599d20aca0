#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh [build-dir] [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
# ccache, when present, shares compiled objects between build trees.
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DPRAEL_WERROR=ON "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" -j "$jobs"
