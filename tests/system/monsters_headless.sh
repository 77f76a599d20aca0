# The real game with the shipped world, headless and seeded, driven by an
# input script through rooms of every kind of monster (walkers, bats, snakes,
# Murlas), swinging the sword. Run twice with the same seed and script, it
# leaves the same world down to the last monster; another seed gives another
# world. Every allocation is returned at exit.
source "$(dirname "$0")/lib.sh"

script="$PRAEL_SOURCE_DIR/tests/system/scripts/monster_rooms.txt"

# play DIR SEED: runs the game in DIR.
play() {
  (cd "$1" && "$PRAEL_RUN_DIR/game" --headless --server --name Hunter --seed "$2" --input "$script" \
    --dump-world world.txt >out.txt 2>&1) || fail "the game with seed $2 exited with $? ($(cat "$1/out.txt"))"
}

first=$(make_play_dir)
second=$(make_play_dir)
other=$(make_play_dir)
play "$first" 7
play "$second" 7
play "$other" 8

for room in "(7, 8)" "(7, 9)" "(8, 9)" "(6, 9)" "(6, 13)"; do
  grep -q "CTestApp::ScrollRooms: to room $room" "$first/log.txt" || fail "the hero did not reach room $room"
done
grep -q "CTestApp::OnGameEvent: the view moves to room (5, 13)" "$first/log.txt" ||
  fail "the hero did not go down into the flooded cave"

# The registry made every kind on the way.
for kind in "Blue Pelvok" "Red Pelvok" "Gorrit" "Snake" "Bat" "Murla" "Skeleton"; do
  grep -q "CTestApp::Spawn: $kind " "$first/log.txt" || fail "no $kind was spawned: $(grep -c Spawn "$first/log.txt")"
done

# The pool's monsters are in the dump, beside the hero.
grep -q "name=Murla" "$first/world.txt" || fail "no Murla in the world at the end: $(cat "$first/world.txt")"
grep -q "name=Aveth" "$first/world.txt" || fail "no hero in the world at the end"

cmp -s "$first/world.txt" "$second/world.txt" ||
  fail "the same seed and script gave two worlds: $(diff "$first/world.txt" "$second/world.txt" | head -20)"
cmp -s "$first/world.txt" "$other/world.txt" && fail "seeds 7 and 8 gave the same world"

expect_no_leaks "$first"
expect_no_leaks "$second"
echo "monsters headless: ok"
