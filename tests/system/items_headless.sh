# The real game, headless and driven by an input script: in the village the
# hero throws his boomerang, drops a bomb, fires an arrow and lights a fire;
# then he walks to the dungeon's hub, pushes its stone a tile up, which opens
# the hub's top door, and leaves through that door. The same walk with too
# short a push finds the door shut. Each item is seen in the world dump of a
# game ended while it is in flight; the push in the log. Every allocation is
# returned at exit.
#
# The world is the shipped one compiled without its monsters: a scripted walk
# through four rooms of them would test how they fight, not the items.
source "$(dirname "$0")/lib.sh"

play=$(make_play_dir)
cd "$play"
scripts="$PRAEL_SOURCE_DIR/tests/system/scripts"

use_world_without_monsters

# play NAME SCRIPT: one game; its log and world dump are kept as NAME.log
# and NAME.world.
play() {
  "$PRAEL_RUN_DIR/game" --headless --server --name Pusher --seed 7 --input "$2" --dump-world "$1.world" \
    >"$1.out" 2>&1 || fail "$1: the scripted game exited with $? ($(cat "$1.out"))"
  cp log.txt "$1.log"
  for report in memleaks.log orvix-memleaks.log; do
    grep -q "Congratulations! No memory leaks found!" "$report" || fail "$1: $report: $(head -40 "$report")"
  done
}

# play_until MS: the script up to game time MS, then the end of the game; the
# world dump shows what is in flight at that moment (MS.world).
script="$scripts/items_and_push_block.txt"
play_until() {
  awk -v end="$1" '/^[0-9]/ && $1 + 0 >= end { exit } { print }' "$script" >"until-$1.txt"
  echo "$1 quit" >>"until-$1.txt"
  play "$1" "until-$1.txt"
}
# count NAME WORLD: the entities of that name in a world dump.
count() { grep -c " name=$1 " "$2" || true; }
# The hero stands at (3840, 2656) in the village and faces up; y of the
# first entity of NAME in WORLD.
y_of() { awk -v name="name=$1" '$3 == name { sub("y=", "", $5); print $5; exit }' "$2"; }

# The boomerang in flight above the hero, then back and caught by him.
play_until 600
boomerang_y=$(awk '$3 == "name=Boomerang" && $5 != "y=2656.00" { sub("y=", "", $5); print $5; exit }' 600.world)
[[ -n $boomerang_y ]] && awk -v y="$boomerang_y" 'BEGIN { exit !(y < 2600) }' ||
  fail "no boomerang in flight above the hero: $(grep Boomerang 600.world)"
play_until 1800
awk '$3 == "name=Boomerang" && $4 == "x=3840.00" { sub("y=", "", $5); if ($5 > 2640 && $5 < 2672) found = 1 }
     END { exit !found }' 1800.world ||
  fail "the boomerang did not come back to the hero: $(grep Boomerang 1800.world)"

# The bomb a tile ahead, then its seven puffs of smoke where it was.
play_until 2500
grep -q " name=Bomb x=3840.00 y=2624.00 " 2500.world || fail "no bomb a tile ahead: $(cat 2500.world)"
play_until 3200
[[ $(count Bomb 3200.world) -eq 0 ]] || fail "the bomb did not go off"
[[ $(count Smoke 3200.world) -eq 7 ]] || fail "the bomb did not leave seven puffs: $(cat 3200.world)"
grep -q " name=Smoke x=3840.00 y=2624.00 " 3200.world || fail "no smoke where the bomb was"

# The arrow flying up.
play_until 4100
[[ $(count Arrow 4100.world) -eq 1 ]] || fail "no arrow in flight: $(cat 4100.world)"
arrow_y=$(y_of Arrow 4100.world)
awk -v y="$arrow_y" 'BEGIN { exit !(y < 2600) }' || fail "the arrow is not flying up: $arrow_y"
play_until 4800
[[ $(count Arrow 4800.world) -eq 0 ]] || fail "the arrow did not end at the room's edge"

# The fire a tile ahead, burning, then out.
play_until 6000
[[ $(count Fire 6000.world) -eq 1 ]] || fail "no fire burns: $(cat 6000.world)"
grep -q " name=Fire x=3840.00 y=259[0-9]" 6000.world || fail "the fire did not creep a tile on: $(grep Fire 6000.world)"
play_until 7400
[[ $(count Fire 7400.world) -eq 0 ]] || fail "the fire did not burn out"
grep -q "name=Aveth x=3840.00 y=2656.00 health=3.00" 7400.world ||
  fail "the hero moved or was hurt by his own items: $(grep Aveth 7400.world)"

# The whole run: the items, then the walk to the hub and the push.
play pushed "$script"
grep -q "CTestApp::OnGameEvent: the view moves to room (7, 20)" pushed.log ||
  fail "the hero did not go down the keep's stairs into the dungeon"
grep -q "CTestApp::ScrollRooms: to room (7, 19)" pushed.log || fail "the hero did not reach the hub"
grep -q "Pushblock::StartPush: block [0-9]* slides from (3808, 6848) to (3808, 6816)" pushed.log ||
  fail "the hub's stone did not slide up: $(grep -i push pushed.log)"
grep -q "Pushblock::StartPush: door 1 of room (7, 19) opens" pushed.log || fail "the hub's top door did not open"
grep -q "CTestApp::ScrollRooms: to room (7, 18)" pushed.log || fail "the hero did not pass the opened door"

# Let go of the stone before it moves (2.3 s after setting off into the hub
# the hero has only just reached it): the rest of the walk meets a shut door.
setting_off=$(awk '/# into the hub and against the block/ { print $1 }' "$script")
sed -E "s/^[0-9]+ release up +# the push.*/$((setting_off + 2300)) release up/" "$script" >unpushed.txt
play unpushed unpushed.txt
grep -q "typeId=30 name=Pushblock x=3808.00 y=6848.00" unpushed.world ||
  fail "the stone moved without a push: $(grep Pushblock unpushed.world)"
! grep -q "Pushblock::StartPush" unpushed.log || fail "a push started: $(grep Pushblock unpushed.log)"
! grep -q "CTestApp::ScrollRooms: to room (7, 18)" unpushed.log || fail "the hero passed a shut door"
grep -q "CTestApp::ScrollRooms: to room (7, 19)" unpushed.log || fail "the hero did not reach the hub"

echo "items headless: ok"
