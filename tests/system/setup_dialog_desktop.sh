# On a virtual X display: the set-up dialog appears, the player types a name,
# ticks "Server" and presses "Launch"; the game then writes its log and opens
# the debug window.
source "$(dirname "$0")/lib.sh"

start_xvfb
play=$(make_play_dir)
cd "$play"

# About five seconds of play at 60 frames a second after "Launch".
"$PRAEL_RUN_DIR/game" --frames 300 >out.txt 2>&1 &
game=$!
CLEANUP_PIDS+=("$game")

dialog=$(timeout 20 xdotool search --sync --onlyvisible --name "^Prael Network Setup$" | head -n 1) ||
  fail "the set-up dialog did not appear"
[[ -n "$dialog" ]] || fail "the set-up dialog did not appear"

# Positions of the controls: dialog units * (3/2, 13/8) plus a few pixels
# into the control.
xdotool mousemove --window "$dialog" 60 38 click 1   # the name box
sleep 0.2
xdotool type --delay 40 "Aveth"
xdotool mousemove --window "$dialog" 20 68 click 1   # "Server"
sleep 0.3
import -window root "$PRAEL_ARTIFACT_DIR/setup_dialog.png" || fail "no screenshot of the dialog"
xdotool mousemove --window "$dialog" 184 176 click 1 # "Launch"

timeout 20 xdotool search --sync --onlyvisible --name "^Debug$" >/dev/null || fail "the debug window did not appear"
for tries in $(seq 1 50); do
  grep -q 'CTestApp::Initialize' log.txt 2>/dev/null && break
  sleep 0.1
done
head -c 22 log.txt | grep -qx "ORVIX App (build 1006)" || fail "log.txt does not start with the header"
grep -qx -- "-- Initialization --" log.txt || fail "log.txt lacks -- Initialization --"
grep -qx 'CTestApp::Initialize: server, player "Aveth"' log.txt ||
  fail "the typed name and the server choice did not reach the game: $(cat log.txt)"

wait_for_exit "$game" 120
[[ $WAITED_STATUS -eq 0 ]] || fail "the game exited with $WAITED_STATUS ($(cat out.txt))"
[[ "$(tail -n 1 log.txt)" == "-- logfile closed --" ]] || fail "log.txt was not closed"
echo "set-up dialog on the desktop: ok"
