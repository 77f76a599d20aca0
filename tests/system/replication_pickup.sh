# Two real games on loopback, headless, with scripted input and fixed seeds:
# the client's hero kills monsters with its sword, and the deaths, the drop
# and the pickup reach the client.
#
# A drop is a roll of the server's, but skeletons make it certain: every
# skeleton that dies without a drop counts, and after six such deaths the
# next one drops. The test's south meadow is therefore a corridor of seven
# skeletons (column 6, rows 4 to 8) walled in by trees. The client's hero
# comes down from the village into a grass nook above it (column 6, rows 1
# and 2: a beam thrown within a tile of the room's edge ends at once), where
# a tree stops it and nothing can reach it, and swings its sword down:
# each swing reaches the server, whose copy of the hero throws the sword beam
# down the corridor. A skeleton takes two hits, so at most fourteen hits
# bring the drop. The server's hero stays in the village.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/replication_lib.sh"

server_dir=$(make_play_dir)
client_dir=$(make_play_dir)

copy_world_rooms
cd "$TEST_WORLD"
{
  echo "room 7 8"
  echo "name South meadow"
  echo "spawn Skeleton 7 7"
  echo "layer0"
  # The edges stay open where the neighbours' are, each a pocket of its own;
  # the left one reaches into the room's middle on grass, where no monster
  # appears, for the world's check that a hero can get into every room.
  echo "TTTTTT....TTTTTT"
  echo "TTTTTT,TTTTTTTTT"
  echo "TTTTTT,TTTTTTTTT"
  echo "TTTTTTTTTTTTTTTT"
  echo ",,,TTT.TTTTTTTT."
  echo ",,,TTT.TTTTTTTT."
  echo ",,,TTT.TTTTTTTT."
  echo "TTTTTT.TTTTTTTTT"
  echo "TTTTTT.TTTTTTTTT"
  echo "TTTTTTTTTTTTTTTT"
  echo "TTTTTT....TTTTTT"
} >"$TEST_WORLD/rooms/overworld/x07_y08_south_meadow.room"
install_test_world "$server_dir" "$client_dir"

# A swing every 600 ms for a minute: a beam flies the corridor in under a
# second, and the test ends soon after the drop.
client_moves=("300 press down" "2600 release down")
for time in $(seq 2800 600 62800); do
  client_moves+=("$time press space" "$((time + 50)) release space")
done
input_script "$client_dir/input.txt" "${client_moves[@]}"

start_game "$server_dir" out.txt --server --name Host --seed 5 --dump-world world.txt
server=$STARTED_PID
wait_for_listener 30
start_game "$client_dir" out.txt --connect 127.0.0.1 --name Guest --seed 6 --input input.txt --dump-world world.txt
client=$STARTED_PID
wait_for_join "$server_dir" "$client_dir" Guest "$server" "$client"
wait_for_log "$client_dir/log.txt" "pickup spawned" 90 "$client"
sleep 1 # the deaths' last states arrive; the pickup lives 10 s
end_together "$server" "$client"
keep_run_files replication_pickup "$server_dir" "$client_dir"

grep -q "Connection Dropped" "$server_dir/log.txt" && fail "the connection dropped during play"
[[ $(grep -c "CTestApp::Spawn: Skeleton" "$server_dir/log.txt") -eq 7 ]] ||
  fail "the server did not put seven skeletons into the meadow: $(grep Spawn "$server_dir/log.txt")"
grep -q "Guest's hero attacks" "$server_dir/log.txt" || fail "the client's swings did not reach the server"

# The drop: kind and place as the client logged them, a pickup of that kind
# standing there in both worlds. (Kinds: 1 a dralm, 2 five dralms, 4 a heart.)
drop=$(grep "pickup spawned" "$client_dir/log.txt" | head -n 1)
read -r kind x y <<<"$(sed -E 's/.*pickup spawned: ([0-9]+) \(([^,]+), ([^)]+)\).*/\1 \2 \3/' <<<"$drop")"
case $kind in
  1 | 2) name=Dralm ;;
  4) name=Heart ;;
  *) fail "the drop is of kind $kind: $drop" ;;
esac
place=$(printf 'x=%.2f y=%.2f' "$x" "$y")
for dir in "$server_dir" "$client_dir"; do
  grep -q "name=$name $place " "$dir/world.txt" ||
    fail "no $name at $place in $dir/world.txt: $(grep -v "name=Sword\|name=Boomerang" "$dir/world.txt")"
done
# The drop lies in the corridor, where the monster fell.
awk -v x="$x" -v y="$y" 'BEGIN { exit !(x >= 3776 && x < 3808 && y >= 2944 && y < 3104) }' ||
  fail "the drop at ($x, $y) lies outside the skeletons' corridor"

# The deaths: the skeletons left in the two worlds are the same ones, with
# the same health, and fewer than seven.
skeletons() {
  sed -nE 's/^uid=([0-9]+) .*name=Skeleton .*health=([^ ]+) .*/\1 \2/p' "$1" | sort -n
}
skeletons "$server_dir/world.txt" >server_skeletons.txt
skeletons "$client_dir/world.txt" >client_skeletons.txt
[[ $(wc -l <server_skeletons.txt) -lt 7 ]] || fail "no skeleton died on the server"
diff server_skeletons.txt client_skeletons.txt >/dev/null ||
  fail "the skeletons differ: server $(tr '\n' ';' <server_skeletons.txt) client $(tr '\n' ';' <client_skeletons.txt)"

# Neither hero was touched, and both games agree on them.
heroes_agree "$server_dir" "$client_dir"
expect_no_leaks "$server_dir"
expect_no_leaks "$client_dir"
echo "replication pickup: ok ($drop; $(wc -l <server_skeletons.txt) of 7 skeletons left on both sides)"
