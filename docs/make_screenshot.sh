#!/usr/bin/env bash
# Takes docs/screenshot.png: the real game on a virtual X display (Xvfb), its
# hero walking the start room, captured as the game window shows it.
#   docs/make_screenshot.sh [build-dir]      (default build/, built already)
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
export PRAEL_RUN_DIR=$build/run PRAEL_ARTIFACT_DIR=$build/artifacts
source "$root/tests/system/lib.sh"

start_xvfb
play=$(make_play_dir)
cd "$play"
cat >walk.txt <<'SCRIPT'
800 press down
1500 release down
1500 press left
2600 release left
2600 press up
2900 release up
SCRIPT
"$PRAEL_RUN_DIR/game" --server --name Aveth --seed 7 --input walk.txt --frames 400 >out.txt 2>&1 &
game=$!
CLEANUP_PIDS+=("$game")

window=$(game_window) || fail "the game window did not appear"
xdotool windowraise "$window"
# The walk ends three seconds into the game.
sleep 3.1
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root shot.png || fail "no screenshot"
convert shot.png -crop "512x512+${X}+${Y}" +repage "$root/docs/screenshot.png"
wait_for_exit "$game" 60
echo "docs/screenshot.png written"
