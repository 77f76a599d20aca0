# The real game, headless and driven by an input script: the hero walks from
# the start to the dungeon's hub, pushes its stone a tile up, which opens the
# hub's top door, and leaves through that door. The same walk with too short
# a push finds the door shut. Checked with the log and the world dump; every
# allocation is returned at exit.
#
# The world is the shipped one compiled without its monsters: a scripted walk
# through four rooms of them would test how they fight, not the items.
source "$(dirname "$0")/lib.sh"

play=$(make_play_dir)
cd "$play"
scripts="$PRAEL_SOURCE_DIR/tests/system/scripts"

mkdir quiet
cp -r "$PRAEL_SOURCE_DIR/content/world/rooms" quiet/
sed -i '/^spawn /d' quiet/rooms/*/*.room
rm overworld1.wmap
"$PRAEL_BINARY_DIR/tools/worldc/worldc" compile "$PRAEL_SOURCE_DIR/content/world/world.txt" quiet/rooms \
  overworld1.wmap >quiet/worldc.txt 2>&1 || fail "the world without monsters does not compile: $(cat quiet/worldc.txt)"

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

play pushed "$scripts/push_block_door.txt"
grep -q "CTestApp::OnGameEvent: the view moves to room (7, 20)" pushed.log ||
  fail "the hero did not go down the keep's stairs into the dungeon"
grep -q "CTestApp::ScrollRooms: to room (7, 19)" pushed.log || fail "the hero did not reach the hub"
grep -q "Pushblock::StartPush: block [0-9]* slides from (3808, 6848) to (3808, 6816)" pushed.log ||
  fail "the hub's stone did not slide up: $(grep -i push pushed.log)"
grep -q "Pushblock::StartPush: door 1 of room (7, 19) opens" pushed.log || fail "the hub's top door did not open"
grep -q "CTestApp::ScrollRooms: to room (7, 18)" pushed.log || fail "the hero did not pass the opened door"

# Let go of the stone before it moves: the rest of the walk meets a shut door.
sed 's/^20500 release up .*/19300 release up/' "$scripts/push_block_door.txt" >unpushed.txt
play unpushed unpushed.txt
grep -q "typeId=30 name=Pushblock x=3808.00 y=6848.00" unpushed.world ||
  fail "the stone moved without a push: $(grep Pushblock unpushed.world)"
! grep -q "Pushblock::StartPush" unpushed.log || fail "a push started: $(grep Pushblock unpushed.log)"
! grep -q "CTestApp::ScrollRooms: to room (7, 18)" unpushed.log || fail "the hero passed a shut door"
grep -q "CTestApp::ScrollRooms: to room (7, 19)" unpushed.log || fail "the hero did not reach the hub"

echo "items headless: ok"
