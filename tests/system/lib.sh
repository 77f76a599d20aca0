# Shared helpers of the system and desktop test scripts (sourced).
# Needs PRAEL_RUN_DIR and PRAEL_ARTIFACT_DIR from CTest.

set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Everything the scripts start is stopped when they end.
declare -a CLEANUP_PIDS=()
CLEANUP_DIRS=()
cleanup() {
  local pid
  for pid in "${CLEANUP_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  local dir
  for dir in "${CLEANUP_DIRS[@]}"; do rm -rf "$dir"; done
}
trap cleanup EXIT

# The games these scripts start use the one game port, 3203. CTest keeps its
# own tests apart; this lock also keeps apart test runs of several checkouts
# on one machine. It is held until the script ends.
exec 9>"${TMPDIR:-/tmp}/prael-game-port.lock"
flock 9

# The play folders of a script live in one folder that goes when it ends:
# make_play_dir runs in a subshell ($(make_play_dir)), from which a folder
# added to CLEANUP_DIRS would never reach the script's own list.
PLAY_ROOT=$(mktemp -d /tmp/prael-play-XXXXXX)
CLEANUP_DIRS+=("$PLAY_ROOT")

# A fresh working folder holding links to every data file of the run folder,
# so that runs write their log.txt side by side without meeting.
make_play_dir() {
  local dir
  dir=$(mktemp -d "$PLAY_ROOT/play-XXXXXX")
  local file
  for file in "$PRAEL_RUN_DIR"/*; do
    case "$(basename "$file")" in
      log.txt | memory.log | memleaks.log | orvix-memory.log | orvix-memleaks.log) ;;
      *) ln -s "$file" "$dir/" ;;
    esac
  done
  echo "$dir"
}

# Replaces the play folder's world (the current folder's overworld1.wmap)
# with the shipped one compiled without its monsters, for scripted walks that
# test something other than how the monsters fight.
use_world_without_monsters() {
  mkdir quiet
  cp -r "$PRAEL_SOURCE_DIR/content/world/rooms" quiet/
  sed -i '/^spawn /d' quiet/rooms/*/*.room
  rm overworld1.wmap
  "$PRAEL_BINARY_DIR/tools/worldc/worldc" compile "$PRAEL_SOURCE_DIR/content/world/world.txt" quiet/rooms \
    overworld1.wmap >quiet/worldc.txt 2>&1 ||
    fail "the world without monsters does not compile: $(cat quiet/worldc.txt)"
}

# Starts Xvfb on a free display and exports DISPLAY. Xvfb picks the number
# itself (-displayfd), so scripts running side by side never race for one.
# The server is stopped when the script ends.
start_xvfb() {
  local dir
  dir=$(mktemp -d /tmp/prael-xvfb-XXXXXX)
  CLEANUP_DIRS+=("$dir")
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >/dev/null 2>&1 &
  local pid=$!
  CLEANUP_PIDS+=("$pid")
  local tries
  for tries in $(seq 1 100); do
    if [[ -s "$dir/display" ]]; then
      export DISPLAY=":$(head -n 1 "$dir/display")"
      xdpyinfo >/dev/null 2>&1 || fail "Xvfb on $DISPLAY does not answer"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  fail "no X display could be started"
}

# game_window [EXCEPT]: prints the id of a visible game window other than
# EXCEPT once there is one; fails (status 1) after twenty seconds. Polled:
# windows come and go while a dialog closes, and a search that meets a
# vanishing one fails.
game_window() {
  local tries id
  for tries in $(seq 1 100); do
    for id in $(xdotool search --onlyvisible --name "^ORVIX App$" 2>/dev/null || true); do
      [[ "$id" != "${1:-}" ]] && { echo "$id"; return 0; }
    done
    sleep 0.2
  done
  return 1
}

# room_shot WINDOW FILE: the room area of the game window WINDOW (below its
# HUD), cut from a capture of the whole screen: a capture of the window alone
# can miss what SDL draws into it.
room_shot() {
  local window=$1 file=$2 geometry
  geometry=$(xdotool getwindowgeometry --shell "$window") || return 1
  eval "$geometry"
  import -window root screen.png 2>/dev/null || return 1
  convert screen.png -crop "512x352+${X}+$((Y + 128))" +repage "$file"
}

# Waits up to $2 seconds for process $1 to end; its exit status is left in
# WAITED_STATUS. Fails if it does not end in time.
wait_for_exit() {
  local pid=$1 seconds=$2 tenth
  for tenth in $(seq 1 $((seconds * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      WAITED_STATUS=0
      wait "$pid" || WAITED_STATUS=$?
      return 0
    fi
    sleep 0.1
  done
  fail "process $pid did not end within $seconds s"
}

# Writes to $1 an input script that plays for $2 seconds of game time: the
# hero walks a small square round and round, swinging the sword and using the
# item on every lap, then quits.
write_wander_script() {
  local file=$1 seconds=$2
  awk -v total=$(("$2" * 1000)) 'BEGIN {
    t = 300
    split("right down left up", walk, " ")
    while (t + 2600 < total) {
      for (i = 1; i <= 4; ++i) {
        printf "%d press %s\n%d release %s\n", t, walk[i], t + 450, walk[i]
        t += 500
      }
      printf "%d press space\n%d release space\n", t, t + 100
      printf "%d press lctrl\n%d release lctrl\n", t + 200, t + 300
      t += 600
    }
    printf "%d quit\n", total
  }' >"$file"
}

# The resident memory of process $1 in kB.
resident_kb() {
  awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"
}

# Fails unless both leak reports of the game that ran in folder $1 are clean.
expect_no_leaks() {
  local report
  for report in "$1/memleaks.log" "$1/orvix-memleaks.log"; do
    [[ -f "$report" ]] || fail "$report was not written"
    grep -q "Congratulations! No memory leaks found!" "$report" || fail "$report: $(head -40 "$report")"
  done
}
