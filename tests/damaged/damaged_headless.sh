# The game started headless on damaged data files: each case says what the
# log and, where start-up cannot go on, standard error must tell, and the
# game never crashes. It plays on where it can, and exits with status 1 when
# it cannot start.
source "$(dirname "$0")/../system/lib.sh"
source "$(dirname "$0")/damaged_lib.sh"

# name | damage (shell, run in the play folder) | exit status | log line (grep -F) | standard error (grep -F)
cases=(
  "no map|rm overworld1.wmap|0|PraelRenderer::LoadMap: cannot open overworld1.wmap|"
  "short map|cut_short overworld1.wmap 200000|0|overworld1.wmap is 200000 bytes, shorter than 275,968 bytes|"
  "empty map|cut_short overworld1.wmap 0|0|overworld1.wmap is 0 bytes, shorter than|"
  "no HUD bitmap|rm tevhud32.bmp|0|PraelRenderer::Initialize: cannot load tevhud32.bmp|"
  "damaged footer bitmap|garble tevfooter32.bmp 5000|0|PraelRenderer::Initialize: cannot load tevfooter32.bmp|"
  "cut font bitmap|cut_short tevtext32.bmp 300|0|PraelRenderer::Initialize: cannot load tevtext32.bmp|"
  "no tile sheet|own_folder gfx; rm gfx/heroes.bmp|0|Failed to load tilemap  gfx/heroes.bmp|"
  "no sprite.def|rm sprite.def|0|sprite.def declares no sprite Aveth2|"
  "sprite.def with an error|misspell_first_sprite|0|Unknown keyword 'SPIRTE'|"
  "no sound|own_folder sounds; rm sounds/TEV_Hit.wav|1|LoadSound: cannot open sounds/TEV_Hit.wav|the sound file sounds/TEV_Hit.wav is missing or damaged"
  "empty sound|own_folder sounds; cut_short sounds/TEV_Key.wav 0|1|sounds/TEV_Key.wav is neither a WAV nor a readable MP3 file|the sound file sounds/TEV_Key.wav is missing or damaged"
  "damaged sound|own_folder sounds; cut_short sounds/TEV_Arrow.wav 30|1|sounds/TEV_Arrow.wav is not a readable WAV file|the sound file sounds/TEV_Arrow.wav is missing or damaged"
  "cut sound|own_folder sounds; cut_short sounds/TEV_Sword.wav 3000|0|LoadSound: sounds/TEV_Sword.wav is cut short: 3000 of its|"
  "damaged music|own_folder sounds; garble sounds/dungeon1.mp3 3000|1|sounds/dungeon1.mp3 is neither a WAV nor a readable MP3 file|the sound file sounds/dungeon1.mp3 is missing or damaged"
)

# The first SPRITE statement of sprite.def misspelt: parsing stops there.
misspell_first_sprite() {
  local source
  source=$(readlink -f sprite.def)
  rm sprite.def
  sed '0,/^SPRITE /s//SPIRTE /' "$source" >sprite.def
}

for entry in "${cases[@]}"; do
  IFS='|' read -r name damage status logLine errLine <<<"$entry"
  play=$(make_play_dir)
  (
    cd "$play"
    eval "$damage"
    actual=0
    # Half a second of play; the hero walks, so that the map and the tiles are used.
    printf '0 press right\n200 press down\n' >walk.txt
    "$PRAEL_RUN_DIR/game" --headless --server --name A --frames 30 --input walk.txt >out.txt 2>err.txt ||
      actual=$?
    [[ $actual -eq $status ]] || fail "$name: exit status $actual, not $status ($(cat err.txt))"
    grep -qF -- "$logLine" log.txt || fail "$name: the log lacks \"$logLine\": $(grep -v '^loading' log.txt)"
    [[ "$(tail -n 1 log.txt)" == "-- logfile closed --" ]] || fail "$name: the log was not closed"
    if [[ -n "$errLine" ]]; then
      grep -qF -- "[Critical Error] The game cannot start: $errLine. log.txt tells more." err.txt ||
        fail "$name: standard error lacks the reason: $(cat err.txt)"
      grep -qF -- "$errLine" log.txt || fail "$name: the log lacks the reason"
    else
      [[ ! -s err.txt ]] || fail "$name: unexpected output on standard error: $(cat err.txt)"
    fi
  ) || exit 1
  echo "$name: ok"
done

# A sprite.def that names no hero sprite leaves the heroes undrawn but says
# which sprites are missing, every one of them.
play=$(make_play_dir)
cd "$play"
rm sprite.def
"$PRAEL_RUN_DIR/game" --headless --server --name A --frames 5 >out.txt 2>err.txt || fail "no sprite.def: exit $?"
missing=$(grep -c "CTestApp::Initialize: sprite.def declares no sprite " log.txt)
[[ $missing -eq 28 ]] || fail "no sprite.def: $missing missing sprites logged, not 28"
grep -qF "CTestApp::Initialize: sprite.def is missing or damaged" log.txt || fail "no sprite.def: no summary line"

# A server whose port is taken cannot start, and says so.
"$PRAEL_RUN_DIR/game" --headless --server --name Holder --frames 100000 >holder.txt 2>&1 &
holder=$!
CLEANUP_PIDS+=("$holder")
for tenth in $(seq 1 100); do
  grep -q "CTestApp::Initialize: server" log.txt 2>/dev/null && break
  sleep 0.1
done
sleep 1 # it listens once its renderer has started
mkdir second && cd second
for file in "$play"/*; do [[ -L $file ]] && ln -s "$(readlink "$file")" .; done
status=0
"$PRAEL_RUN_DIR/game" --headless --server --name B --frames 5 >out.txt 2>err.txt || status=$?
[[ $status -eq 1 ]] || fail "a second server on the taken port exited with $status, not 1"
grep -qF "[Critical Error] The game cannot start: TCP port 3203 is in use or may not be opened." err.txt ||
  fail "the second server did not say why it stopped: $(cat err.txt)"
echo "damaged data, headless: ok"
