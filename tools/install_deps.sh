#!/usr/bin/env bash
# Makes sure what the groups named on the command line need is there: build
# (compile and run the program), test, bench, docs, deb (Debian's packages,
# built and checked in chroots), windows
# (cross-build for Windows, freeglut from Debian's source), test-windows (the
# Windows build under Wine), release (the release test's chroot), emulation
# (its chroot of another architecture). What is missing is judged by what the
# build looks for, not by package names, so any distribution with the
# libraries builds; where apt exists, the Debian packages of what is missing
# are installed.
set -euo pipefail

declare -A group=(
  [build]="build-essential cmake pkg-config freeglut3-dev libglu1-mesa-dev libgl-dev libx11-dev libxi-dev"
  [test]="libgtest-dev libgmock-dev xvfb xfonts-base xauth x11-utils x11-apps xdotool apitrace
    imagemagick valgrind python3 desktop-file-utils appstream groff-base file openbox
    graphviz fonts-dejavu-core"
  [bench]="libbenchmark-dev valgrind xvfb xauth x11-utils python3"
  [docs]="xvfb xfonts-base xauth x11-utils x11-apps xdotool apitrace imagemagick potrace librsvg2-bin python3
    graphviz fonts-dejavu-core"
  [deb]="git dpkg-dev sbuild mmdebstrap uidmap autopkgtest blhc piuparts faketime
    diffoscope-minimal"
  [windows]="g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev cmake make dpkg-dev gpgv debian-keyring
    debian-archive-keyring icoutils zip"
  [release]="mmdebstrap"
  [test-windows]="wine wine64 openbox xvfb xauth x11-utils x11-apps xdotool imagemagick python3"
  [emulation]="qemu-user-static binfmt-support"
)

# What stands for each package: programs on PATH, CMake targets (cmake:PREFIX::NAME,
# from find_package(PREFIX)) and files. A package not listed is a program of its
# own name.
declare -A finds=(
  [build-essential]="make c++"
  [freeglut3-dev]="cmake:GLUT::GLUT"
  [libglu1-mesa-dev]="cmake:OpenGL::GLU"
  [libgl-dev]="cmake:OpenGL::GL"
  [libx11-dev]="cmake:X11::X11"
  [libxi-dev]="cmake:X11::Xi"
  [libgtest-dev]="cmake:GTest::gtest"
  [libgmock-dev]="cmake:GTest::gmock"
  [libbenchmark-dev]="cmake:benchmark::benchmark"
  [xvfb]="Xvfb"
  [xfonts-base]="/usr/share/fonts/X11/misc/6x13-ISO8859-1.pcf.gz"
  [x11-utils]="xdpyinfo xwininfo xprop"
  [x11-apps]="xwd xlogo"
  [imagemagick]="convert identify"
  [desktop-file-utils]="desktop-file-validate"
  [appstream]="appstreamcli"
  [groff-base]="groff"
  [dpkg-dev]="dpkg-source dpkg-scanpackages"
  [uidmap]="newuidmap"
  [piuparts]="/usr/sbin/piuparts"
  [diffoscope-minimal]="diffoscope"
  [graphviz]="dot"
  [librsvg2-bin]="rsvg-convert"
  [fonts-dejavu-core]="/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
  [g++-mingw-w64-x86-64-posix]="x86_64-w64-mingw32-g++-posix"
  [mingw-w64-x86-64-dev]="/usr/x86_64-w64-mingw32/include/windows.h"
  [debian-keyring]="/usr/share/keyrings/debian-keyring.gpg"
  [debian-archive-keyring]="/usr/share/keyrings/debian-archive-keyring.gpg"
  [icoutils]="icotool"
  [wine64]="/usr/lib/wine/wine64"
  [qemu-user-static]="qemu-aarch64-static"
  [binfmt-support]="update-binfmts"
)

[ $# -gt 0 ] || { echo "usage: $0 GROUP... (groups: ${!group[*]})" >&2; exit 2; }
packages=()
for g in "$@"; do
  [ -n "${group[$g]:-}" ] || { echo "pavok: no package group '$g' (groups: ${!group[*]})" >&2; exit 2; }
  read -ra list <<<"${group[$g]//$'\n'/ }"
  packages+=("${list[@]}")
done
packages=($(printf '%s\n' "${packages[@]}" | sort -u))

# The CMake targets, all found in one configure of a project that only looks.
targets=()
for p in "${packages[@]}"; do
  for f in ${finds[$p]:-}; do [[ $f != cmake:* ]] || targets+=("${f#cmake:}"); done
done
lacking=" ${targets[*]} "
if [ ${#targets[@]} -gt 0 ] && command -v cmake >/dev/null 2>&1; then
  probe=$(mktemp -d)
  trap 'rm -rf "$probe"' EXIT
  cat >"$probe/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.18)
project(probe CXX)
set(OpenGL_GL_PREFERENCE LEGACY)
foreach(target IN LISTS TARGETS)
  string(REGEX REPLACE "::.*" "" package "${target}")
  if(NOT DEFINED searched_${package})
    set(searched_${package} 1)
    find_package(${package} CONFIG QUIET)
    if(NOT ${package}_FOUND)
      find_package(${package} QUIET)
    endif()
  endif()
  if(NOT TARGET ${target})
    message(STATUS "lacking ${target}")
  endif()
endforeach()
EOF
  # Without a working C++ compiler the configure fails, and every target counts as lacking.
  if out=$(cmake -S "$probe" -B "$probe/build" -DTARGETS="$(IFS=';'; echo "${targets[*]}")" 2>&1); then
    lacking=" $(sed -n 's/^-- lacking //p' <<<"$out" | tr '\n' ' ') "
  fi
fi

missing=() what=()
for p in "${packages[@]}"; do
  for f in ${finds[$p]:-$p}; do
    t=${f#cmake:}
    case $f in
      cmake:*) [[ $lacking != *" $t "* ]] || { missing+=("$p"); what+=("$t (CMake's find_package(${t%%::*}))"); break; } ;;
      /*) [ -e "$f" ] || { missing+=("$p"); what+=("$f"); break; } ;;
      *) command -v "$f" >/dev/null 2>&1 || { missing+=("$p"); what+=("$f"); break; } ;;
    esac
  done
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
  list=$(printf '%s, ' "${what[@]}")
  echo "pavok: missing: ${list%, }" >&2
  echo "  (on Debian these come with: ${missing[*]}); install them with your package manager" >&2
  exit 1
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "pavok: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
