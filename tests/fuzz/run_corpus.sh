#!/usr/bin/env bash
# The short fuzz run of the test command: every seed of the checked-in corpus,
# then a fixed number of fuzzed inputs from a fixed random seed. New inputs go
# to a scratch folder; the checked-in corpus is only read. A crashing input is
# left in the current folder (crash-...).
#   run_corpus.sh <fuzz target> <seed corpus folder> <runs>
set -euo pipefail
target=$1 seeds=$2 runs=$3
scratch=$(mktemp -d "${TMPDIR:-/tmp}/prael-fuzz-corpus-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
"$target" -seed=1 -runs="$runs" -timeout=20 -rss_limit_mb=1024 -print_final_stats=1 \
  -artifact_prefix="$PWD/" "$scratch" "$seeds"
