# Helpers of the damaged-data tests (sourced after tests/system/lib.sh).

# Makes folder $1 of the play folder (a link to the run folder's) a real
# folder of links, so that single files in it can be damaged.
own_folder() {
  local name=$1 file
  rm "$name"
  mkdir "$name"
  for file in "$PRAEL_RUN_DIR/$name"/*; do ln -s "$file" "$name/"; done
}

# Replaces the link $1 with a file of the first $2 bytes of what it pointed to.
cut_short() {
  local file=$1 bytes=$2 source
  source=$(readlink -f "$file")
  rm "$file"
  head -c "$bytes" "$source" >"$file"
}

# Replaces the link $1 with $2 bytes that are no known format.
garble() {
  local file=$1 bytes=$2
  rm "$file"
  head -c "$bytes" /dev/zero | tr '\0' 'x' >"$file"
}
