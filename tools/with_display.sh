#!/usr/bin/env bash
# Runs a command on a private Xvfb, whatever DISPLAY says, and stops the server
# when the command ends: a desktop's own display would get the command's windows
# and its pointer moved.
set -uo pipefail

# The server chooses its own number and writes it once it accepts connections.
# A number that merely looks free, because its server keeps no lock file or
# socket file (-nolock -nolisten unix, or a server outside a chroot seen
# through the shared abstract socket), is one the server cannot take.
dir=$(mktemp -d)
: >"$dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$dir"' EXIT
n=
for _ in $(seq 200); do
  n=$(sed -n 's/^\([0-9]\+\)$/\1/p' "$dir/display")
  [ -n "$n" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "pavok: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -n "$n" ] || { echo "pavok: Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":${n}"
"$@"
