#!/usr/bin/env bash
# Compiles every effect recipe and both songs again into a fresh folder and
# compares the result byte for byte with the sounds the build put into the
# run folder: the same sources must always give the same files.
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
tools="$PRAEL_BINARY_DIR/tools"
sources="$PRAEL_SOURCE_DIR/content/sound"

count=0
for recipe in "$sources"/effects/*.sfx; do
  name=$(basename "$recipe" .sfx)
  "$tools/sfxsynth/sfxsynth" "$recipe" "$out/$name.wav"
  cmp "$out/$name.wav" "$PRAEL_RUN_DIR/sounds/$name.wav"
  count=$((count + 1))
done
for song in "$sources"/music/*.song; do
  name=$(basename "$song" .song)
  "$tools/musicc/musicc" "$song" "$out/$name.mp3" >/dev/null
  cmp "$out/$name.mp3" "$PRAEL_RUN_DIR/sounds/$name.mp3"
  count=$((count + 1))
done
[[ $count -eq 28 ]] || { echo "expected 28 sound sources, found $count" >&2; exit 1; }
echo "28 sounds rebuilt, all identical"
