#!/usr/bin/env bash
# Makes sure what the groups named on the command line need is there: build
# (compile and run the program), test, bench, docs, deb (Debian's packages,
# built and checked in chroots), windows (cross-build for Windows, freeglut
# from Debian's source), test-windows (the Windows build under Wine), release
# (the release test's chroot), emulation (its chroot of another architecture).
# What is missing is judged by what the build looks for, not by package
# names, so any distribution with the libraries builds; where apt exists, the
# Debian packages of what is missing are installed.
set -euo pipefail
shopt -s inherit_errexit

# The Debian packages of each group.
declare -Ar GROUP=(
  [build]="build-essential cmake pkg-config freeglut3-dev libglu1-mesa-dev
    libgl-dev libx11-dev libxi-dev"
  [test]="libgtest-dev libgmock-dev xvfb xfonts-base xauth x11-utils x11-apps
    xdotool apitrace imagemagick valgrind python3 desktop-file-utils appstream
    groff-base file openbox graphviz fonts-dejavu-core"
  [bench]="libbenchmark-dev valgrind xvfb xauth x11-utils python3"
  [docs]="xvfb xfonts-base xauth x11-utils x11-apps xdotool apitrace
    imagemagick potrace librsvg2-bin python3 graphviz fonts-dejavu-core"
  [deb]="git dpkg-dev sbuild mmdebstrap uidmap autopkgtest blhc piuparts
    faketime diffoscope-minimal"
  [windows]="g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev cmake make
    dpkg-dev gpgv debian-keyring debian-archive-keyring icoutils zip"
  [release]="mmdebstrap"
  [test-windows]="wine wine64 openbox xvfb xauth x11-utils x11-apps xdotool
    imagemagick python3"
  [emulation]="qemu-user-static binfmt-support"
)

# What stands for each package: programs on PATH, CMake targets
# (cmake:PREFIX::NAME, from find_package(PREFIX)) and files. A package not
# listed is a program of its own name.
declare -Ar FINDS=(
  [build-essential]="make c++" [freeglut3-dev]="cmake:GLUT::GLUT"
  [libgl-dev]="cmake:OpenGL::GL" [libglu1-mesa-dev]="cmake:OpenGL::GLU"
  [libx11-dev]="cmake:X11::X11" [libxi-dev]="cmake:X11::Xi"
  [libgtest-dev]="cmake:GTest::gtest" [libgmock-dev]="cmake:GTest::gmock"
  [libbenchmark-dev]="cmake:benchmark::benchmark" [xvfb]="Xvfb"
  [xfonts-base]="/usr/share/fonts/X11/misc/6x13-ISO8859-1.pcf.gz"
  [x11-utils]="xdpyinfo xwininfo xprop" [x11-apps]="xwd xlogo"
  [imagemagick]="convert identify" [groff-base]="groff"
  [desktop-file-utils]="desktop-file-validate" [appstream]="appstreamcli"
  [dpkg-dev]="dpkg-source dpkg-scanpackages" [uidmap]="newuidmap"
  [piuparts]="/usr/sbin/piuparts" [diffoscope-minimal]="diffoscope"
  [graphviz]="dot" [librsvg2-bin]="rsvg-convert"
  [fonts-dejavu-core]="/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
  [g++-mingw-w64-x86-64-posix]="x86_64-w64-mingw32-g++-posix"
  [mingw-w64-x86-64-dev]="/usr/x86_64-w64-mingw32/include/windows.h"
  [debian-keyring]="/usr/share/keyrings/debian-keyring.gpg"
  [debian-archive-keyring]="/usr/share/keyrings/debian-archive-keyring.gpg"
  [icoutils]="icotool" [wine64]="/usr/lib/wine/wine64"
  [qemu-user-static]="qemu-aarch64-static" [binfmt-support]="update-binfmts"
)

missing=() what=()  # by find_missing: packages, and what of each is not found

# MESSAGE: stops with it, naming the groups (status 2).
refuse() { echo "$1 (groups: ${!GROUP[*]})" >&2; exit 2; }
# GROUP...: their packages, each once, one a line.
packages_of() {
  local name
  for name in "$@"; do printf '%s\n' ${GROUP[$name]}; done | sort -u
}
# PACKAGE...: on one line, the CMake targets standing for them that
# find_package does not give, found in one configure of a throwaway project
# that only looks; all of them if it fails (no cmake, or no working C++).
lacking_targets() (
  local package thing targets=() probe
  for package in "$@"; do
    for thing in ${FINDS[$package]:-}; do
      [[ $thing != cmake:* ]] || targets+=("${thing#cmake:}")
    done
  done
  [ ${#targets[@]} -gt 0 ] || return 0
  probe=$(mktemp -d)
  trap 'rm -rf "$probe"' EXIT  # on leaving this function, a subshell
  cat >"$probe/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.18)
project(probe CXX)
set(OpenGL_GL_PREFERENCE LEGACY)
set(CMAKE_FIND_PACKAGE_PREFER_CONFIG TRUE)
foreach(target IN LISTS TARGETS)
  string(REGEX REPLACE "::.*" "" package "${target}")
  find_package(${package} QUIET)
  if(NOT TARGET ${target})
    message(STATUS "lacking ${target}")
  endif()
endforeach()
EOF
  (IFS=';' && cmake -S "$probe" -B "$probe/build" -DTARGETS="${targets[*]}") \
    >"$probe/log" 2>&1 || { echo "${targets[*]}"; return; }
  sed -n 's/^-- lacking //p' "$probe/log" | tr '\n' ' '
)

# PACKAGE...: into missing, those of which something is not found, and into
# what, the first such thing of each.
find_missing() {
  local lacking package thing
  lacking=" $(lacking_targets "$@") "
  for package in "$@"; do
    for thing in ${FINDS[$package]:-$package}; do
      case $thing in
        cmake:*) thing=${thing#cmake:}
          [[ $lacking == *" $thing "* ]] || continue
          thing+=" (CMake's find_package(${thing%%::*}))" ;;
        /*) [ -e "$thing" ] && continue ;;
        *) command -v "$thing" >/dev/null 2>&1 && continue ;;
      esac
      missing+=("$package")
      what+=("$thing")
      break
    done
  done
}
# Names what is missing, and the Debian packages it comes with, for another
# package manager to install.
report_missing() {
  local list
  list=$(printf '%s, ' "${what[@]}")
  echo "pavok: missing: ${list%, }" >&2
  echo "  (on Debian these come with: ${missing[*]}); install them with" \
    "your package manager" >&2
}
# Installs the missing packages with apt, through sudo unless root.
install_missing() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "pavok: installing ${missing[*]}"
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq "${missing[@]}"
}
main() {
  local name packages
  [ $# -gt 0 ] || refuse "usage: $0 GROUP..."
  for name in "$@"; do
    [ -n "${GROUP[$name]:-}" ] || refuse "pavok: no package group '$name'"
  done
  mapfile -t packages < <(packages_of "$@")
  find_missing "${packages[@]}"
  [ ${#missing[@]} -gt 0 ] || exit 0
  command -v apt-get >/dev/null 2>&1 || { report_missing; exit 1; }
  install_missing
}

main "$@"
