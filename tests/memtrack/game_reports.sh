# A whole game run frees everything it allocates: at exit both trackers (the
# game's and the engine library's) write a leak report that finds nothing,
# and neither had anything to complain about in its memory log.
source "$PRAEL_SOURCE_DIR/tests/system/lib.sh"
source "$(dirname "$0")/reports_lib.sh"

play=$(make_play_dir)
cd "$play"

"$PRAEL_RUN_DIR/game" --headless --server --name A --frames 30 >out.txt 2>&1 ||
  fail "game --headless --server --name A --frames 30 exited with $? ($(cat out.txt))"
expect_clean_report memleaks.log "server run"
expect_clean_report orvix-memleaks.log "server run"
expect_no_complaints "server run"

# A client whose server is not there gives up its connection and still
# frees everything.
rm -f memleaks.log orvix-memleaks.log
"$PRAEL_RUN_DIR/game" --headless --connect 127.0.0.1 --name B --frames 30 >out.txt 2>&1 ||
  fail "game --headless --connect 127.0.0.1 --name B --frames 30 exited with $? ($(cat out.txt))"
expect_clean_report memleaks.log "client run"
expect_clean_report orvix-memleaks.log "client run"
expect_no_complaints "client run"

# The engine's operators new and delete and its tracker stay inside the
# library; exported, they would be bound to the program's tracker.
exported=$(nm -D --defined-only "$PRAEL_RUN_DIR/liborvix.so" | awk '{print $3}' |
  grep -E '^(_Zn[wa]|_Zd[la]|_ZN5Orvix3Mem|_ZNK5Orvix3Mem)' || true)
[[ -z "$exported" ]] || fail "liborvix.so exports tracker symbols: $exported"
echo "memory trackers of the game: ok"
