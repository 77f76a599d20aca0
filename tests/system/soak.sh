# Soak: a server and a client play together headless for a long while, both
# driven by looping scripts. Their resident memory must stay flat once the
# game has warmed up, both must end cleanly, and all four leak reports must
# be clean. The test command runs the short form (60 s); the long form is
#   PRAEL_SOAK_SECONDS=600 ctest -R game_soak --timeout 900
# with the figures in $PRAEL_ARTIFACT_DIR/soak-memory.txt.
source "$(dirname "$0")/lib.sh"

seconds=${PRAEL_SOAK_SECONDS:-60}
(( seconds >= 30 )) || fail "PRAEL_SOAK_SECONDS must be at least 30"
# Memory is watched from the end of the warm-up: the first minute of a long
# run, the first third of a short one.
warmup=$(( seconds >= 180 ? 60 : seconds / 3 ))
# What the resident memory may grow by after the warm-up.
allowed_kb=1024

server_dir=$(make_play_dir)
client_dir=$(make_play_dir)
# Both play on a little past the last sample: the samples' own time makes
# the sampling loop run slightly longer than its nominal seconds.
write_wander_script "$server_dir/wander.txt" $((seconds + 15))
write_wander_script "$client_dir/wander.txt" $((seconds + 8))

cd "$server_dir"
"$PRAEL_RUN_DIR/game" --headless --server --name Host --port 3213 --input wander.txt >out.txt 2>&1 &
server=$!
CLEANUP_PIDS+=("$server")
sleep 1
cd "$client_dir"
"$PRAEL_RUN_DIR/game" --headless --connect 127.0.0.1 --port 3213 --name Guest --input wander.txt >out.txt 2>&1 &
client=$!
CLEANUP_PIDS+=("$client")

figures="$PRAEL_ARTIFACT_DIR/soak-memory.txt"
mkdir -p "$PRAEL_ARTIFACT_DIR"
echo "# seconds server_kB client_kB" >"$figures"
server_base="" client_base=""
server_peak=0 client_peak=0
for ((t = 5; t < seconds; t += 5)); do
  sleep 5
  kill -0 "$server" 2>/dev/null || fail "the server ended early: $(tail -n 5 "$server_dir/out.txt" "$server_dir/log.txt")"
  kill -0 "$client" 2>/dev/null || fail "the client ended early: $(tail -n 5 "$client_dir/out.txt" "$client_dir/log.txt")"
  server_kb=$(resident_kb "$server")
  client_kb=$(resident_kb "$client")
  echo "$t $server_kb $client_kb" >>"$figures"
  if (( t >= warmup )); then
    [[ -n "$server_base" ]] || { server_base=$server_kb; client_base=$client_kb; }
    (( server_kb > server_peak )) && server_peak=$server_kb
    (( client_kb > client_peak )) && client_peak=$client_kb
  fi
done

wait_for_exit "$client" 60
[[ $WAITED_STATUS -eq 0 ]] || fail "the client exited with $WAITED_STATUS: $(tail -5 "$client_dir/out.txt")"
wait_for_exit "$server" 60
[[ $WAITED_STATUS -eq 0 ]] || fail "the server exited with $WAITED_STATUS: $(tail -5 "$server_dir/out.txt")"

grep -q "Guest joined" "$server_dir/log.txt" || fail "the client never joined the server"
grep -q "joined Host" "$client_dir/log.txt" || fail "the client never joined the server"
echo "after ${warmup} s: server ${server_base} kB, client ${client_base} kB;" \
  "highest later: server ${server_peak} kB, client ${client_peak} kB" | tee -a "$figures"
(( server_peak - server_base <= allowed_kb )) ||
  fail "the server's memory grew by $((server_peak - server_base)) kB after the warm-up"
(( client_peak - client_base <= allowed_kb )) ||
  fail "the client's memory grew by $((client_peak - client_base)) kB after the warm-up"
expect_no_leaks "$server_dir"
expect_no_leaks "$client_dir"
echo "soak: ok"
