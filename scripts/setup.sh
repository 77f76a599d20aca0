#!/usr/bin/env bash
# Installs every Debian 12 package that building, playing and testing need.
# Idempotent: when everything is present it prints nothing and exits 0.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config make
  libsdl1.2-compat-dev libfltk1.3-dev libmpg123-dev libmp3lame-dev
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  xvfb xdotool imagemagick x11-utils
  clang libclang-rt-14-dev clang-format
  procps psmisc ccache
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "setup: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
