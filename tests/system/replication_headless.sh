# Two real games on loopback, headless, with scripted input and a fixed seed:
# the client joins the server, both players walk their heroes, and at the end
# each game's world dump shows both heroes where the other game has them.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/replication_lib.sh"

server_dir=$(make_play_dir)
client_dir=$(make_play_dir)
input_script "$server_dir/input.txt" "1000 press up" "1600 release up" "2000 press right" "2300 release right"
input_script "$client_dir/input.txt" "1000 press left" "1500 release left" "1800 press down" \
  "2100 release down"

start_game "$server_dir" out.txt --server --name Host --seed 5 --input input.txt --dump-world world.txt
server=$STARTED_PID
wait_for_listener 30
start_game "$client_dir" out.txt --connect 127.0.0.1 --name Guest --seed 6 --input input.txt --dump-world world.txt
client=$STARTED_PID

wait_for_join "$server_dir" "$client_dir" Guest "$server" "$client"
# Long enough for both walks to end and their last positions to arrive.
sleep 5
end_together "$server" "$client"

for dir in "$server_dir" "$client_dir"; do
  [[ $(grep -c "name=Aveth " "$dir/world.txt") -eq 2 ]] || fail "$dir/world.txt lacks a hero: $(cat "$dir/world.txt")"
done
grep -q "Connection Dropped" "$server_dir/log.txt" && fail "the connection dropped during play"
heroes_agree "$server_dir" "$client_dir"
# Each hero walked: neither stands on its start tile.
[[ "$(hero_state "$server_dir/world.txt" 0)" != "x=3840.00 y=2656.00 health=3.00" ]] || fail "the server's hero did not walk"
[[ "$(hero_state "$client_dir/world.txt" 1)" != "x=3776.00 y=2656.00 health=3.00" ]] || fail "the client's hero did not walk"
grep -q "^uid=1 .*name=Aveth .*remote=1" "$server_dir/world.txt" || fail "the server's copy of the client's hero is not remote"
grep -q "^uid=0 .*name=Aveth .*remote=1" "$client_dir/world.txt" || fail "the client's copy of the server's hero is not remote"
expect_no_leaks "$server_dir"
expect_no_leaks "$client_dir"
echo "replication headless: ok (server hero $(hero_state "$server_dir/world.txt" 0), client hero $(hero_state "$server_dir/world.txt" 1))"
