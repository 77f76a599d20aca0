# Helpers of the two-program tests (sourced after lib.sh): games started in
# their own play folders, waits on their logs, and an end that lets both
# games write their world dumps while still connected.

# start_game DIR OUTFILE ARGS...: starts the game in DIR in the background;
# its pid is left in STARTED_PID.
start_game() {
  local dir=$1 out=$2
  shift 2
  (cd "$dir" && exec "$PRAEL_RUN_DIR/game" --headless "$@" >"$out" 2>&1) &
  STARTED_PID=$!
  CLEANUP_PIDS+=("$STARTED_PID")
}

# wait_for_log FILE TEXT SECONDS [PID]: waits until a line of FILE contains
# TEXT; fails after SECONDS, or at once when process PID has ended.
wait_for_log() {
  local file=$1 text=$2 seconds=$3 pid=${4:-}
  local tenth
  for tenth in $(seq 1 $((seconds * 10))); do
    if [[ -f "$file" ]] && grep -qF -- "$text" "$file"; then return 0; fi
    if [[ -n "$pid" ]] && ! kill -0 "$pid" 2>/dev/null; then fail "the game ended before \"$text\" ($file)"; fi
    sleep 0.1
  done
  fail "\"$text\" did not appear in $file within $seconds s"
}

# wait_for_listener SECONDS: the server's port accepts connections. (The
# port is only looked at: a test connection would be a client joining.)
wait_for_listener() {
  local tenth
  for tenth in $(seq 1 $(($1 * 10))); do
    # 0C83 is port 3203, state 0A a listening socket.
    if cat /proc/net/tcp /proc/net/tcp6 2>/dev/null |
      awk '$4 == "0A" && $2 ~ /:0C83$/ { found = 1 } END { exit !found }'; then return 0; fi
    sleep 0.1
  done
  fail "nothing listens on port 3203 after $1 s"
}

# input_script FILE QUIT_MS LINES...: an input script of the given lines
# that quits at QUIT_MS of game time.
input_script() {
  local file=$1 quit=$2
  shift 2
  printf '%s\n' "$@" "$quit quit" >"$file"
}

# now: seconds since the epoch, with fractions.
now() { date +%s.%N; }

# end_together QUIT_MS PLAYING_SINCE PID...: stops every game at once, keeps
# them stopped, then lets them go on. Their next frame's time covers the
# stop, so each game's script, which quits at QUIT_MS of game time, ends it
# in that very frame, and both world dumps are written before either game has
# seen the other leave. PLAYING_SINCE is a moment (from now) at which every
# game was already running its frames: game time has grown at least as much
# as wall time since then, so the stop is made long enough for every game to
# pass QUIT_MS.
end_together() {
  local quit_ms=$1 since=$2 pid
  shift 2
  for pid in "$@"; do kill -STOP "$pid"; done
  local hold
  hold=$(awk -v quit="$quit_ms" -v now="$(now)" -v since="$since" \
    'BEGIN { h = quit / 1000 - (now - since) + 1; printf "%.1f", h < 1 ? 1 : h }')
  sleep "$hold"
  for pid in "$@"; do kill -CONT "$pid"; done
  for pid in "$@"; do
    wait_for_exit "$pid" 60
    [[ $WAITED_STATUS -eq 0 ]] || fail "game $pid exited with $WAITED_STATUS"
  done
}

# check_before_quit QUIT_MS STARTED: fails when a game started at STARTED
# (from now) may already have reached QUIT_MS of game time.
check_before_quit() {
  awk -v quit="$1" -v now="$(now)" -v started="$2" 'BEGIN { exit !(now - started < quit / 1000 - 1) }' ||
    fail "the games ran too slowly to end together"
}

# hero_state DUMP UID: "x=.. y=.. health=.." of that hero in a world dump.
hero_state() {
  grep "^uid=$2 .*name=Aveth " "$1" | sed -E 's/.*(x=[^ ]+ y=[^ ]+ health=[^ ]+).*/\1/'
}

# no_leaks DIR: both memory trackers of the game run in DIR found nothing.
no_leaks() {
  local report
  for report in memleaks.log orvix-memleaks.log; do
    grep -q "Congratulations! No memory leaks found!" "$1/$report" || fail "$1/$report: $(head -40 "$1/$report")"
  done
}
