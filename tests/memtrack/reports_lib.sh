# Checks of the memory trackers' files after a game run (sourced).

# The last line of a leak report that found nothing.
expect_clean_report() {
  local report=$1 what=$2
  [[ -f "$report" && ! -L "$report" ]] || fail "$what: no $report"
  local last
  last=$(grep -av $'^\r$' "$report" | tail -n 1)
  [[ "$last" == $'Congratulations! No memory leaks found!\r' ]] || fail "$what: $report reports leaks:
$(cat "$report")"
}

expect_no_complaints() {
  local log
  for log in memory.log orvix-memory.log; do
    [[ ! -e "$log" ]] || fail "$1: the tracker complained in $log:
$(cat "$log")"
  done
}
