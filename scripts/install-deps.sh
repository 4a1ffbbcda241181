#!/usr/bin/env bash
# Installs the Debian packages Pavok needs to build, run and test, if any are missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  freeglut3-dev libglu1-mesa-dev libgl-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xfonts-base xauth x11-utils x11-apps xdotool apitrace imagemagick valgrind potrace librsvg2-bin
  desktop-file-utils groff-base dpkg-dev file python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
  echo "pavok: missing packages (install them with your package manager): ${missing[*]}" >&2
  exit 1
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "pavok: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
