# The game started headless with the set-up on its command line runs its
# frames and closes its log; without the set-up options it says which to give.
source "$(dirname "$0")/lib.sh"

play=$(make_play_dir)
cd "$play"

"$PRAEL_RUN_DIR/game" --headless --server --name A --frames 30 >out.txt 2>&1 ||
  fail "game --headless --server --name A --frames 30 exited with $? ($(cat out.txt))"
head -c 22 log.txt | grep -qx "ORVIX App (build 1006)" || fail "log.txt does not start with the header"
grep -qx -- "-- Initialization --" log.txt || fail "log.txt lacks -- Initialization --"
grep -qx 'CTestApp::Initialize: server, player "A"' log.txt || fail "the set-up choice did not reach the game"
[[ "$(tail -n 2 log.txt)" == $'\n-- logfile closed --' ]] || fail "log.txt does not end with -- logfile closed --"

# Headless without the set-up options, and with no display at all.
status=0
"$PRAEL_RUN_DIR/game" --headless 2>err.txt || status=$?
[[ $status -eq 2 ]] || fail "game --headless without set-up options exited with $status, not 2"
grep -q -- "--server or --connect ADDRESS, and --name NAME" err.txt || fail "no hint at the options: $(cat err.txt)"
status=0
env -u DISPLAY "$PRAEL_RUN_DIR/game" 2>err.txt || status=$?
[[ $status -eq 2 ]] || fail "game without a display exited with $status, not 2"
env -u DISPLAY "$PRAEL_RUN_DIR/game" --connect 127.0.0.1 --name B --frames 3 ||
  fail "game without a display but with its options exited with $?"
grep -qx 'CTestApp::Initialize: client of 127.0.0.1, player "B"' log.txt || fail "the client choice did not reach the game"

# Bad options.
status=0
"$PRAEL_RUN_DIR/game" --frames many 2>err.txt || status=$?
[[ $status -eq 2 ]] || fail "a bad --frames exited with $status, not 2"
"$PRAEL_RUN_DIR/game" --help >help.txt || fail "--help exited with $?"
grep -q -- "--connect ADDRESS" help.txt || fail "--help does not list --connect"
echo "headless start: ok"
