#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the game from its run
# folder. Arguments are handed to the game (see: build/run/game --help).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
cd "$root/build/run"
exec ./game "$@"
