# Two games on one virtual X display, each started from its set-up dialog as
# a player starts it: one as the server, one as its client on 127.0.0.1.
# Once the client has joined, a screenshot of each game window must show both
# heroes: the server's in its green tunic, the client's in its grey one.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/replication_lib.sh"

start_xvfb
server_dir=$(make_play_dir)
client_dir=$(make_play_dir)
# The screenshots are made in a folder of their own, not in the run folder.
shots=$(mktemp -d /tmp/prael-shots-XXXXXX)
CLEANUP_DIRS+=("$shots")
cd "$shots"

# Positions in the dialog: dialog units * (3/2, 13/8) plus a few pixels into
# the control (see setup_dialog_desktop.sh).
fill_dialog() {
  local name=$1 server=$2 dialog
  dialog=$(timeout 20 xdotool search --sync --onlyvisible --name "^Prael Network Setup$" | head -n 1) ||
    fail "the set-up dialog of $name did not appear"
  # Without a window manager the other game's windows may lie on top.
  xdotool windowraise "$dialog"
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  sleep 0.2
  xdotool mousemove --window "$dialog" 60 38 click 1 # the name box
  sleep 0.2
  xdotool type --delay 40 "$name"
  if [[ $server == yes ]]; then
    xdotool mousemove --window "$dialog" 20 68 click 1 # "Server"
    sleep 0.3
  fi
  xdotool mousemove --window "$dialog" 184 176 click 1 # "Launch"
}

(cd "$server_dir" && exec "$PRAEL_RUN_DIR/game" --frames 2400 >out.txt 2>&1) &
server=$!
CLEANUP_PIDS+=("$server")
fill_dialog Host yes
server_window=$(game_window) || fail "the server's window did not appear"
xdotool windowmove "$server_window" 0 0

(cd "$client_dir" && exec "$PRAEL_RUN_DIR/game" --frames 2400 >out.txt 2>&1) &
client=$!
CLEANUP_PIDS+=("$client")
fill_dialog Guest no
client_window=$(game_window "$server_window") || fail "the client's window did not appear"
xdotool windowmove "$client_window" 512 0

wait_for_join "$server_dir" "$client_dir" Guest "$server" "$client"

# Pixels of one colour in a picture.
count_colour() { convert "$1" txt:- | grep -c "$2" || true; }
server_tunic="#50AC40" # the server's hero: tunic (80, 172, 64)
client_tunic="#9CA0B0" # the client's hero: grey tunic (156, 160, 176)

shown=""
for tries in $(seq 1 50); do
  xdotool windowraise "$server_window" windowraise "$client_window"
  room_shot "$server_window" server_room.png && room_shot "$client_window" client_room.png || { sleep 0.2; continue; }
  shown=""
  for shot in server_room.png client_room.png; do
    for colour in $server_tunic $client_tunic; do
      [[ $(count_colour "$shot" "$colour") -ge 20 ]] && shown+="$shot:$colour "
    done
  done
  [[ $(wc -w <<<"$shown") -eq 4 ]] && break
  sleep 0.2
done
import -window root "$PRAEL_ARTIFACT_DIR/replication_two_windows.png" 2>/dev/null || true
cp server_room.png "$PRAEL_ARTIFACT_DIR/replication_server_room.png" 2>/dev/null || true
cp client_room.png "$PRAEL_ARTIFACT_DIR/replication_client_room.png" 2>/dev/null || true
[[ $(wc -w <<<"$shown") -eq 4 ]] || fail "not every window shows both heroes (seen: $shown)"

wait_for_exit "$client" 120
[[ $WAITED_STATUS -eq 0 ]] || fail "the client exited with $WAITED_STATUS ($(cat "$client_dir/out.txt"))"
wait_for_exit "$server" 120
[[ $WAITED_STATUS -eq 0 ]] || fail "the server exited with $WAITED_STATUS ($(cat "$server_dir/out.txt"))"
echo "replication on the desktop: ok (both heroes in both windows)"
