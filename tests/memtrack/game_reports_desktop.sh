# With a window and the debug window open, the window toolkit keeps caches of
# its own (fonts, the display) until the process ends; the game's leak report
# still finds nothing of the program's own.
source "$PRAEL_SOURCE_DIR/tests/system/lib.sh"
source "$(dirname "$0")/reports_lib.sh"

start_xvfb
play=$(make_play_dir)
cd "$play"

SDL_AUDIODRIVER=dummy "$PRAEL_RUN_DIR/game" --server --name A --frames 300 >out.txt 2>&1 ||
  fail "game --server --name A --frames 300 on the desktop exited with $? ($(cat out.txt))"
expect_clean_report memleaks.log "desktop run"
expect_clean_report orvix-memleaks.log "desktop run"
expect_no_complaints "desktop run"
echo "memory trackers of the game on the desktop: ok"
