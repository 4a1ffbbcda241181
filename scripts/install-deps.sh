#!/usr/bin/env bash
# Installs the Debian packages of the groups named on the command line, if any
# are missing: build (compile and run the program), test, bench, docs, package,
# release (the release test's chroot), emulation (its chroot of another architecture).
set -euo pipefail

declare -A group=(
  [build]="build-essential cmake pkg-config freeglut3-dev libglu1-mesa-dev libgl-dev libx11-dev libxi-dev"
  [test]="libgtest-dev libgmock-dev xvfb xfonts-base xauth x11-utils x11-apps xdotool apitrace
    imagemagick valgrind python3 desktop-file-utils appstream groff-base man-db lintian dpkg-dev file openbox
    graphviz fonts-dejavu-core"
  [bench]="libbenchmark-dev valgrind xvfb xauth x11-utils python3"
  [docs]="xvfb xfonts-base xauth x11-utils x11-apps xdotool apitrace imagemagick potrace librsvg2-bin python3
    graphviz fonts-dejavu-core"
  [package]="dpkg-dev file"
  [release]="mmdebstrap"
  [emulation]="qemu-user-static binfmt-support"
)

[ $# -gt 0 ] || { echo "usage: $0 GROUP... (groups: ${!group[*]})" >&2; exit 2; }
packages=()
for g in "$@"; do
  [ -n "${group[$g]:-}" ] || { echo "pavok: no package group '$g' (groups: ${!group[*]})" >&2; exit 2; }
  read -ra list <<<"${group[$g]//$'\n'/ }"
  packages+=("${list[@]}")
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
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
