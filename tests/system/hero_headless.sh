# The real game with the shipped world, headless and driven by an input
# script: the hero walks into the neighbouring rooms (the view scrolls), goes
# down the dunes' staircase into the flooded cave (the cave becomes the view)
# and comes back up at the staircase. Checked with the log and the world dump;
# every allocation is returned at exit.
#
# The world is the shipped one compiled without its monsters: the walk tests
# the rooms and stairs, not how the monsters fight.
source "$(dirname "$0")/lib.sh"

play=$(make_play_dir)
cd "$play"
use_world_without_monsters
script="$PRAEL_SOURCE_DIR/tests/system/scripts/stairs_round_trip.txt"

"$PRAEL_RUN_DIR/game" --headless --server --name Walker --seed 7 --input "$script" --dump-world world.txt \
  >out.txt 2>&1 || fail "the scripted game exited with $? ($(cat out.txt))"

grep -q "CTestApp::ScrollRooms: to room (7, 8)" log.txt || fail "the view did not scroll into the south meadow"
grep -q "CTestApp::ScrollRooms: to room (7, 9)" log.txt || fail "the view did not scroll onto the beach"
grep -q "CTestApp::ScrollRooms: to room (6, 9)" log.txt || fail "the view did not scroll into the dunes"
grep -q "CTestApp::OnGameEvent: the view moves to room (5, 13)" log.txt ||
  fail "the hero did not go down the stairs into the flooded cave"
grep -q "CTestApp::OnGameEvent: the view moves to room (6, 9)" log.txt ||
  fail "the hero did not come back up into the dunes"
[[ $(grep -c "CTestApp::OnGameEvent" log.txt) -eq 2 ]] || fail "the view jumped more than twice"

# The hero stands on the staircase (tile 109, 102), playing again.
grep -qx "uid=0 typeId=0 name=Aveth x=3488.00 y=3264.00 health=3.00 state=1 remote=0" world.txt ||
  fail "the hero is not back on the staircase: $(grep Aveth world.txt)"
[[ $(grep -c "name=Sword" world.txt) -eq 3 ]] || fail "the hero's three swords are not in the world"

for report in memleaks.log orvix-memleaks.log; do
  grep -q "Congratulations! No memory leaks found!" "$report" || fail "$report: $(head -40 "$report")"
done
echo "hero headless: ok"
