# Two real games on loopback, headless, with scripted input,
# in a room of monsters: both heroes walk down from the start into the south
# meadow, where the test's world adds a push block below the server's hero
# and three red Pelvoks. The server's hero pushes the block; the client's
# hero swings its sword round about (each swing reaches the server, whose
# copy of the hero strikes there) and throws its boomerang. At the end both
# world dumps agree on the heroes, the block and the monsters of the room,
# those that have died included.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/replication_lib.sh"

server_dir=$(make_play_dir)
client_dir=$(make_play_dir)

# The world: the shipped one, with the south meadow (7, 8) holding three red
# Pelvoks and a push block on cell (8, 2), the column the server's hero walks
# down.
copy_world_rooms
cd "$TEST_WORLD"
meadow="$TEST_WORLD/rooms/overworld/x07_y08_south_meadow.room"
sed -i '/^spawn /d' "$meadow"
sed -i 's/^name South meadow$/name South meadow\nspawn PelvokRed 3 3/' "$meadow"
{
  echo "layer1"
  for row in 0 1 2 3 4 5 6 7 8 9 10; do
    if [[ $row -eq 2 ]]; then echo "........P......."; else echo "................"; fi
  done
} >>"$meadow"
install_test_world "$server_dir" "$client_dir"

# The client's hero walks into the meadow first (the server populates it when
# the client says so) and then turns and swings its sword in every direction,
# and throws its boomerang. The server's hero follows, once the client has
# surely joined, and walks against the block until it slides.
input_script "$server_dir/input.txt" "4000 press down" "7200 release down"
client_moves=("300 press down" "1900 release down")
time=2200
for round in 1 2 3 4 5 6; do
  for key in down left up right; do
    client_moves+=("$time press $key" "$((time + 30)) release $key" "$((time + 100)) press space"
      "$((time + 150)) release space")
    time=$((time + 400))
  done
done
client_moves+=("$time press lctrl" "$((time + 50)) release lctrl")
input_script "$client_dir/input.txt" "${client_moves[@]}"

# The server runs on the real clock: with a seed it would run on the frame
# clock, as fast as it can until the client joins, and its script would be
# ahead of the client's by an unknown time. The client's seed is fixed.
start_game "$server_dir" out.txt --server --name Host --input input.txt --dump-world world.txt
server=$STARTED_PID
wait_for_listener 30
start_game "$client_dir" out.txt --connect 127.0.0.1 --name Guest --seed 6 --input input.txt --dump-world world.txt
client=$STARTED_PID
wait_for_join "$server_dir" "$client_dir" Guest "$server" "$client"
wait_for_log "$server_dir/log.txt" "Guest's hero uses its item" 60 "$server"
sleep 2 # the last states arrive
end_together "$server" "$client"
keep_run_files replication_room "$server_dir" "$client_dir"

grep -q "Connection Dropped" "$server_dir/log.txt" && fail "the connection dropped during play"
grep -q "CTestApp::Spawn: Red Pelvok" "$server_dir/log.txt" || fail "the server did not populate the meadow"
[[ $(grep -c "Guest's hero attacks" "$server_dir/log.txt") -ge 20 ]] || fail "the client's swings did not reach the server"
grep -q "Pushblock::StartPush: block [0-9]* slides from (3840, 2880) to (3840, 2912)" "$server_dir/log.txt" ||
  fail "the block did not slide down on the server: $(grep -i push "$server_dir/log.txt")"

heroes_agree "$server_dir" "$client_dir"
block_on_server=$(grep "name=Pushblock " "$server_dir/world.txt" | sed -E 's/.*(x=[^ ]+ y=[^ ]+).*/\1/')
block_on_client=$(grep "name=Pushblock " "$client_dir/world.txt" | sed -E 's/.*(x=[^ ]+ y=[^ ]+).*/\1/')
[[ "$block_on_server" == "x=3840.00 y=2912.00" && "$block_on_client" == "$block_on_server" ]] ||
  fail "the block stands at \"$block_on_server\" on the server and \"$block_on_client\" on the client"

# The monsters of the meadow (pixels 3584..4095, 2816..3167): the same ones
# on both sides, with the same health, within a tile of each other.
monsters() {
  sed -nE 's/^uid=([0-9]+) typeId=([0-9]+) name=.* x=([^ ]+) y=([^ ]+) health=([^ ]+) .*/\1 \2 \5 \3 \4/p' "$1" |
    awk '$2 != 0 && $2 != 30 && $4 >= 3584 && $4 < 4096 && $5 >= 2816 && $5 < 3168' | sort -n
}
monsters "$server_dir/world.txt" >server_monsters.txt
monsters "$client_dir/world.txt" >client_monsters.txt
# Whether a swing meets a monster here is chance: the server, which runs on
# the real clock, places them at random. Deaths that happened must have
# reached the client (a dead one is gone from both lists); a kill that is
# certain is the subject of replication_pickup.sh.
paste -d' ' server_monsters.txt client_monsters.txt | awk '
  NF != 10 || $1 != $6 || $2 != $7 || $3 != $8 { bad = 1 }
  ($4 - $9) ^ 2 + ($5 - $10) ^ 2 > 32 ^ 2 { bad = 1 }
  END { exit bad }' || fail "the meadow's monsters differ: server $(cat server_monsters.txt | tr '\n' ';') client $(cat client_monsters.txt | tr '\n' ';')"
[[ $(wc -l <server_monsters.txt) -eq $(wc -l <client_monsters.txt) ]] || fail "the sides hold different monsters"
expect_no_leaks "$server_dir"
expect_no_leaks "$client_dir"
echo "replication room: ok ($(wc -l <server_monsters.txt) of 3 monsters left on both sides," \
  "$(grep -c "pickup spawned" "$client_dir/log.txt") drops reached the client)"
