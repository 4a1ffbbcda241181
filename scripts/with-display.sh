#!/usr/bin/env bash
# Runs a command with an X display: the current one if it answers, otherwise a
# private Xvfb that is stopped again when the command ends.
set -uo pipefail

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi

n=90
while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
export DISPLAY=":${n}"
for _ in $(seq 100); do
  xdpyinfo >/dev/null 2>&1 && break
  kill -0 "$xvfb" 2>/dev/null || { echo "pavok: Xvfb did not start on :${n}" >&2; exit 1; }
  sleep 0.1
done
"$@"
