# On a virtual X display, played like a person plays: the game starts from the
# set-up dialog, real key presses (through the X server) walk the hero to the
# right, and screenshots before and after show the hero moved. The world dump
# written at exit confirms where the hero went.
source "$(dirname "$0")/lib.sh"

start_xvfb
play=$(make_play_dir)
cd "$play"

# About fifteen seconds of play at 60 frames a second after "Launch".
"$PRAEL_RUN_DIR/game" --frames 900 --dump-world world.txt >out.txt 2>&1 &
game=$!
CLEANUP_PIDS+=("$game")

dialog=$(timeout 20 xdotool search --sync --onlyvisible --name "^Prael Network Setup$" | head -n 1) ||
  fail "the set-up dialog did not appear"
xdotool mousemove --window "$dialog" 60 38 click 1   # the name box
sleep 0.2
xdotool type --delay 40 "Hero"
xdotool mousemove --window "$dialog" 20 68 click 1   # "Server"
sleep 0.3
xdotool mousemove --window "$dialog" 184 176 click 1 # "Launch"

window=$(game_window) || fail "the game window did not appear"
# The window opens before the game has drawn its first frame; keys are
# pressed once the room shows.
# The debug window opens over the game window; without a window manager
# the game window is raised by hand, as a player would click it.
xdotool windowraise "$window"
brightness=0
for tries in $(seq 1 100); do
  room_shot "$window" before.png &&
    brightness=$(convert before.png -format "%[fx:mean]" info:) &&
    awk -v b="$brightness" 'BEGIN { exit !(b > 0.2) }' && break
  sleep 0.2
done
awk -v b="$brightness" 'BEGIN { exit !(b > 0.2) }' || fail "the game never showed its room"
xdotool windowfocus --sync "$window"

xdotool keydown Right
sleep 1
xdotool keyup Right
sleep 0.3
room_shot "$window" after.png || fail "no screenshot after the walk"
import -window root "$PRAEL_ARTIFACT_DIR/hero_walked_right.png"
cp before.png "$PRAEL_ARTIFACT_DIR/hero_room_before_walk.png"
cp after.png "$PRAEL_ARTIFACT_DIR/hero_room_after_walk.png"

changed=$(compare -metric AE before.png after.png null: 2>&1 || true)
[[ "$changed" =~ ^[0-9]+$ && "$changed" -gt 200 ]] || fail "the room looks the same after the walk ($changed pixels)"

wait_for_exit "$game" 120
[[ $WAITED_STATUS -eq 0 ]] || fail "the game exited with $WAITED_STATUS ($(cat out.txt))"
hero=$(grep "name=Aveth" world.txt) || fail "no hero in the world dump"
x=$(sed -E 's/.* x=([0-9.]+) .*/\1/' <<<"$hero")
# A second of walking at 175 pixels a second from x = 3840.
awk -v x="$x" 'BEGIN { exit !(x > 3940) }' || fail "the hero did not walk right: $hero"
echo "hero on the desktop: ok (x = $x)"
