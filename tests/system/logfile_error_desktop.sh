# On a virtual X display: when "log.txt" cannot be written the game shows the
# "Failed to open logfile" box and waits for it; after OK it goes on without
# a log file and opens the debug window.
source "$(dirname "$0")/lib.sh"

start_xvfb
play=$(make_play_dir)
cd "$play"
mkdir log.txt # a folder in the way: no file can be opened there, not even by root

# About five seconds of play at 60 frames a second after the box.
"$PRAEL_RUN_DIR/game" --server --name A --frames 300 >out.txt 2>&1 &
game=$!
CLEANUP_PIDS+=("$game")

box=$(timeout 20 xdotool search --sync --onlyvisible --name "^Error$" | head -n 1) || fail "no error box appeared"
[[ -n "$box" ]] || fail "no error box appeared"
sleep 0.3
import -window root "$PRAEL_ARTIFACT_DIR/logfile_error_box.png" || fail "no screenshot of the box"
kill -0 "$game" 2>/dev/null || fail "the game did not wait for the box"
if xdotool search --onlyvisible --name "^Debug$" >/dev/null; then fail "the debug window opened before OK"; fi

xdotool mousemove --window "$box" 20 20
xdotool key Return
timeout 20 xdotool search --sync --onlyvisible --name "^Debug$" >/dev/null || fail "the debug window did not appear after OK"

wait_for_exit "$game" 120
[[ $WAITED_STATUS -eq 0 ]] || fail "the game exited with $WAITED_STATUS ($(cat out.txt))"
[[ -d log.txt ]] || fail "log.txt changed"
echo "log file error box: ok"
