# A client killed with SIGKILL in the middle of a game: the server logs the
# drop, takes the client's hero out of its world and plays on; a new client
# then joins and plays, and both games agree on its hero at the end.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/replication_lib.sh"

server_dir=$(make_play_dir)
first_dir=$(make_play_dir)
second_dir=$(make_play_dir)
input_script "$server_dir/input.txt" "1000 press up" "1400 release up"
input_script "$first_dir/input.txt" "800 press left" "30000 release left"
input_script "$second_dir/input.txt" "1000 press up" "1500 release up" "1700 press left" "1900 release left"

start_game "$server_dir" out.txt --server --name Host --seed 9 --input input.txt --dump-world world.txt
server=$STARTED_PID
wait_for_listener 30
start_game "$first_dir" out.txt --connect 127.0.0.1 --name First --seed 1 --input input.txt
first=$STARTED_PID
wait_for_log "$server_dir/log.txt" "First joined" 30 "$server"
sleep 2 # the first client's hero is walking when it dies
kill -KILL "$first"
wait_for_log "$server_dir/log.txt" "Connection Dropped" 30 "$server"

start_game "$second_dir" out.txt --connect 127.0.0.1 --name Second --seed 2 --input input.txt --dump-world world.txt
second=$STARTED_PID
wait_for_join "$server_dir" "$second_dir" Second "$server" "$second"
sleep 5
end_together "$server" "$second"

[[ $(grep -c "Connection Dropped" "$server_dir/log.txt") -eq 1 ]] || fail "the server saw more than one drop"
[[ $(grep -c "^uid=1 .*name=Aveth " "$server_dir/world.txt") -eq 1 ]] ||
  fail "the server does not hold exactly one client hero: $(grep name=Aveth "$server_dir/world.txt")"
heroes_agree "$server_dir" "$second_dir"
[[ "$(hero_state "$second_dir/world.txt" 1)" != "x=3776.00 y=2656.00 health=3.00" ]] ||
  fail "the second client's hero did not walk"
# The first client's hero was released, not left behind.
expect_no_leaks "$server_dir"
echo "replication drop: ok (second client hero $(hero_state "$server_dir/world.txt" 1))"
