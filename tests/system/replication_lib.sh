# Helpers of the two-program tests (sourced after lib.sh): games started in
# their own play folders, waits on their logs, and an end that lets both
# games write their world dumps while still connected. A game with --seed
# runs on the frame clock (each frame a 60th of a second of game time) and,
# while a peer is connected, in step with the real clock.

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

# input_script FILE LINES...: an input script of the given lines. The games
# of these tests are ended by end_together, not by their scripts.
input_script() {
  local file=$1
  shift
  printf '%s\n' "$@" >"$file"
}

# end_together SERVER CLIENT: ends both games so that each writes its world
# dump while the other's hero is still in it. The client is held still while
# the server closes (as its window would close: SDL turns SIGTERM into a quit);
# the client is then told to close too and let go, and it ends in its next
# frame, before the frame that would release the server's hero.
end_together() {
  local server=$1 client=$2
  kill -STOP "$client"
  kill -TERM "$server"
  wait_for_exit "$server" 60
  [[ $WAITED_STATUS -eq 0 ]] || fail "the server exited with $WAITED_STATUS"
  kill -TERM "$client"
  kill -CONT "$client"
  wait_for_exit "$client" 60
  [[ $WAITED_STATUS -eq 0 ]] || fail "the client exited with $WAITED_STATUS"
}

# hero_state DUMP UID: "x=.. y=.. health=.." of that hero in a world dump.
hero_state() {
  grep "^uid=$2 .*name=Aveth " "$1" | sed -E 's/.*(x=[^ ]+ y=[^ ]+ health=[^ ]+).*/\1/'
}

# wait_for_join SERVER_DIR CLIENT_DIR NAME SERVER CLIENT: the server's log
# says "NAME joined" and the client's "joined Host" (both games' pids given).
wait_for_join() {
  wait_for_log "$1/log.txt" "$3 joined" 30 "$4"
  wait_for_log "$2/log.txt" "joined Host" 30 "$5"
}

# heroes_agree SERVER_DIR CLIENT_DIR: both world dumps hold both heroes, at
# the same place with the same health.
heroes_agree() {
  local uid on_server on_client
  for uid in 0 1; do
    on_server=$(hero_state "$1/world.txt" $uid)
    on_client=$(hero_state "$2/world.txt" $uid)
    [[ -n "$on_server" && "$on_server" == "$on_client" ]] ||
      fail "hero $uid: \"$on_server\" on the server, \"$on_client\" on the client"
  done
}

# keep_run_files NAME SERVER_DIR CLIENT_DIR: both games' logs and world dumps
# go to the artifacts, as NAME_server.log, NAME_client.world and so on.
keep_run_files() {
  local side dir
  for side in server client; do
    [[ $side == server ]] && dir=$2 || dir=$3
    cp "$dir/log.txt" "$PRAEL_ARTIFACT_DIR/$1_$side.log"
    cp "$dir/world.txt" "$PRAEL_ARTIFACT_DIR/$1_$side.world"
  done
}

# copy_world_rooms: a copy of the shipped room files for a test to change, in
# a folder that goes when the test ends; its path is left in TEST_WORLD.
copy_world_rooms() {
  TEST_WORLD=$(mktemp -d /tmp/prael-world-XXXXXX)
  CLEANUP_DIRS+=("$TEST_WORLD")
  cp -r "$PRAEL_SOURCE_DIR/content/world/rooms" "$TEST_WORLD/"
}

# install_test_world DIRS...: compiles the rooms of TEST_WORLD and gives each
# play folder the map in place of the shipped one.
install_test_world() {
  "$PRAEL_BINARY_DIR/tools/worldc/worldc" compile "$PRAEL_SOURCE_DIR/content/world/world.txt" "$TEST_WORLD/rooms" \
    "$TEST_WORLD/overworld1.wmap" >"$TEST_WORLD/worldc.txt" 2>&1 ||
    fail "the test's world does not compile: $(cat "$TEST_WORLD/worldc.txt")"
  local dir
  for dir in "$@"; do
    rm "$dir/overworld1.wmap"
    cp "$TEST_WORLD/overworld1.wmap" "$dir/"
  done
}
