# On a virtual X display: a game that cannot start for a missing sound file
# says why in a "Critical Error" box, waits for OK, then exits with status 1.
# A game on a missing map plays on without a box.
source "$(dirname "$0")/../system/lib.sh"
source "$(dirname "$0")/damaged_lib.sh"

start_xvfb
play=$(make_play_dir)
cd "$play"
own_folder sounds
rm sounds/TEV_Fire.wav

"$PRAEL_RUN_DIR/game" --server --name A --frames 60 >out.txt 2>&1 &
game=$!
CLEANUP_PIDS+=("$game")
box=$(timeout 20 xdotool search --sync --onlyvisible --name "^Critical Error$" | head -n 1) ||
  fail "no Critical Error box appeared ($(cat out.txt))"
[[ -n "$box" ]] || fail "no Critical Error box appeared"
sleep 0.3
import -window root "$PRAEL_ARTIFACT_DIR/damaged_sound_box.png" || fail "no screenshot of the box"
kill -0 "$game" 2>/dev/null || fail "the game did not wait for the box"
grep -qF "The game cannot start: the sound file sounds/TEV_Fire.wav is missing or damaged" log.txt ||
  fail "the log lacks the reason: $(cat log.txt)"
xdotool mousemove --window "$box" 20 20
xdotool key Return
wait_for_exit "$game" 30
[[ $WAITED_STATUS -eq 1 ]] || fail "the game exited with $WAITED_STATUS, not 1 ($(cat out.txt))"

play=$(make_play_dir)
cd "$play"
rm overworld1.wmap
"$PRAEL_RUN_DIR/game" --server --name A --frames 60 >out.txt 2>&1 &
game=$!
CLEANUP_PIDS+=("$game")
wait_for_exit "$game" 60
[[ $WAITED_STATUS -eq 0 ]] || fail "the game without a map exited with $WAITED_STATUS ($(cat out.txt))"
grep -qF "PraelRenderer::LoadMap: cannot open overworld1.wmap" log.txt || fail "the log lacks the missing map"
echo "damaged data, desktop: ok"
