# A bad network between client and server: clients join one after another
# through fault_relay, which re-cuts, delays and stalls the stream and kills
# each link after a few seconds. The server must survive every cut and see
# each client come and go, each client must report its drop and end cleanly,
# no message may arrive damaged while a link is up, and at the end a client
# joins directly and plays. Every leak report must be clean.
source "$(dirname "$0")/lib.sh"

relay_program="$PRAEL_BINARY_DIR/tests/system/fault_relay"
[[ -x "$relay_program" ]] || fail "$relay_program is not built"
clients=4
server_port=3214
relay_port=3215

server_dir=$(make_play_dir)
write_wander_script "$server_dir/wander.txt" $((clients * 14 + 30))
cd "$server_dir"
"$PRAEL_RUN_DIR/game" --headless --server --name Host --port $server_port --input wander.txt \
  >out.txt 2>&1 &
server=$!
CLEANUP_PIDS+=("$server")

"$relay_program" $relay_port $server_port 41 >"$server_dir/relay.txt" 2>&1 &
CLEANUP_PIDS+=("$!")
sleep 1

# Lines that would show a damaged stream or a message taken for another.
damage='claims .* payload bytes|unauthorized'

for ((i = 1; i <= clients; ++i)); do
  dir=$(make_play_dir)
  write_wander_script "$dir/wander.txt" 12
  (cd "$dir" && exec "$PRAEL_RUN_DIR/game" --headless --connect 127.0.0.1 --port $relay_port --name "Guest$i" \
    --input wander.txt >out.txt 2>&1) &
  client=$!
  CLEANUP_PIDS+=("$client")
  wait_for_exit "$client" 60
  [[ $WAITED_STATUS -eq 0 ]] || fail "client $i exited with $WAITED_STATUS: $(tail -5 "$dir/out.txt")"
  kill -0 "$server" 2>/dev/null || fail "the server died with link $i: $(tail -n 5 "$server_dir/out.txt" "$server_dir/log.txt")"
  grep -q "Connection Dropped" "$dir/log.txt" || fail "client $i did not report the cut: $(tail -5 "$dir/log.txt")"
  grep -Eq "$damage" "$dir/log.txt" && fail "client $i got a damaged message: $(grep -E "$damage" "$dir/log.txt")"
  expect_no_leaks "$dir"
done

cuts=$(grep -c "ends (cut)" "$server_dir/relay.txt" || true)
[[ $cuts -eq $clients ]] || fail "the relay cut $cuts of $clients links: $(cat "$server_dir/relay.txt")"
grep -q "stalling" "$server_dir/relay.txt" || fail "the relay never stalled the stream"
drops=$(grep -c "Connection Dropped" "$server_dir/log.txt" || true)
[[ $drops -eq $clients ]] || fail "the server saw $drops drops of $clients cut links"
for ((i = 1; i <= clients; ++i)); do
  grep -q "Guest$i joined" "$server_dir/log.txt" || fail "Guest$i never joined through the relay"
done

# The server is still good for a player on a sound link.
dir=$(make_play_dir)
write_wander_script "$dir/wander.txt" 8
(cd "$dir" && exec "$PRAEL_RUN_DIR/game" --headless --connect 127.0.0.1 --port $server_port --name Last \
  --input wander.txt >out.txt 2>&1) &
client=$!
CLEANUP_PIDS+=("$client")
wait_for_exit "$client" 60
[[ $WAITED_STATUS -eq 0 ]] || fail "the last client exited with $WAITED_STATUS"
grep -q "joined Host" "$dir/log.txt" || fail "the last client did not join"
grep -q "Connection Dropped" "$dir/log.txt" && fail "the last client lost its sound link"
expect_no_leaks "$dir"

wait_for_exit "$server" 120
[[ $WAITED_STATUS -eq 0 ]] || fail "the server exited with $WAITED_STATUS: $(tail -5 "$server_dir/out.txt")"
grep -Eq "$damage" "$server_dir/log.txt" && fail "the server got a damaged message: $(grep -E "$damage" "$server_dir/log.txt")"
expect_no_leaks "$server_dir"
echo "fault relay: ok ($(grep -c stalling "$server_dir/relay.txt") stalls, $cuts cuts)"
