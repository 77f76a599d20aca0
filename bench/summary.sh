#!/usr/bin/env bash
# Runs every benchmark of the project and prints one table of their figures
# and ratios:
#   bench/summary.sh [build-dir]      (default build/; builds it first)
# Every program build-dir/bench/*/*_bench is run from the run folder, one
# after the other, so a benchmark added under bench/ joins without an edit
# here. Google Benchmark rows give their median CPU time (the plain row when
# a benchmark has no repetitions); every other line a program prints is a
# figure of its own ("what: value" becomes a row with the value on the right).
# The table is also written to build-dir/artifacts/bench_summary.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
"$root/scripts/build.sh" "$build" >/dev/null

mapfile -t programs < <(find "$build/bench" -mindepth 2 -maxdepth 2 -type f -perm -u+x -name '*_bench' | sort)
[[ ${#programs[@]} -gt 0 ]] || { echo "bench/summary.sh: no benchmarks in $build/bench" >&2; exit 1; }

# One benchmark's output as rows "program<TAB>figure<TAB>value".
rows_of() {
  local name=$1
  sed 's/\x1b\[[0-9;]*m//g' | awk -v program="$name" -F '\n' '
    function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t]+$/, "", s); return s }
    /^(Run on|CPU Caches|  L[0-9]|Load Average|\*\*\*|-+$|Benchmark +Time|Running \/|[0-9]+-[0-9]+-[0-9]+T)/ { next }
    trim($0) == "" { next }
    /^BM_/ {
      n = split($0, f, / +/)
      full = f[1]; base = full
      sub(/\/repeats:[0-9]+.*$/, "", base); sub(/_(mean|median|stddev|cv)$/, "", base)
      if (!(base in seen)) { seen[base] = 1; order[++count] = base }
      cpu = f[4] " " f[5]
      if (full ~ /_median$/) median[base] = cpu
      else if (full !~ /_(mean|stddev|cv)$/) plain[base] = cpu
      next
    }
    {
      line = trim($0)
      at = index(line, ": ")
      if (at > 0) others[++extra] = program "\t" trim(substr(line, 1, at - 1)) "\t" trim(substr(line, at + 2))
      else others[++extra] = program "\t" line "\t"
    }
    END {
      for (i = 1; i <= count; ++i) {
        b = order[i]
        if (b in median) print program "\t" b " (median CPU)\t" median[b]
        else print program "\t" b " (CPU)\t" plain[b]
      }
      for (i = 1; i <= extra; ++i) print others[i]
    }'
}

table=$(mktemp)
trap 'rm -f "$table"' EXIT
for program in "${programs[@]}"; do
  name=$(basename "$program" _bench)
  echo "bench/summary.sh: running $name ..." >&2
  started=$(date +%s)
  status=0
  output=$(cd "$build/run" && "$program" 2>&1) || status=$?
  printf '%s\n' "$output" | rows_of "$name" >>"$table"
  if [[ $status -ne 0 ]]; then
    printf '%s\tFAILED\texit status %d\n' "$name" "$status" >>"$table"
  fi
  printf '%s\t(run time)\t%d s\n' "$name" $(($(date +%s) - started)) >>"$table"
done

mkdir -p "$build/artifacts"
{
  printf 'benchmark\tfigure\tvalue\n'
  cat "$table"
} | awk -F '\t' '
  { rows[NR] = $0; for (i = 1; i <= 2; ++i) if (length($i) > width[i]) width[i] = length($i) }
  END {
    for (r = 1; r <= NR; ++r) {
      split(rows[r], f, "\t")
      printf "%-" width[1] "s  %-" width[2] "s  %s\n", f[1], f[2], f[3]
      if (r == 1) { line = ""; for (i = 0; i < width[1] + width[2] + 24; ++i) line = line "-"; print line }
    }
  }' | tee "$build/artifacts/bench_summary.txt"
