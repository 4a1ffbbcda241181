#!/usr/bin/env bash
# The suite's private X server is its own: decoys without lock or socket files
# (a server outside a chroot looks like that from inside) sit on the numbers a
# scan of those files would take first, from 0 and from 90. The command must
# run on a server of its own, 1280 x 1024, and leave the decoys running.
set -euo pipefail
with_display=$1
decoys=()
trap 'kill "${decoys[@]}" 2>/dev/null; wait 2>/dev/null' EXIT
numbers=()
for n in 0 90; do
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  # In a chroot a server outside may already sit there unseen: it is the decoy.
  if ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
    Xvfb ":$n" -nolock -nolisten tcp -nolisten unix -screen 0 320x200x16 >/dev/null 2>&1 &
    decoys+=($!)
  fi
  numbers+=("$n")
done
for n in "${numbers[@]}"; do
  for _ in $(seq 100); do xdpyinfo -display ":$n" >/dev/null 2>&1 && break; sleep 0.1; done
done

seen=$(env -u DISPLAY bash "$with_display" sh -c 'echo "$DISPLAY"; xdpyinfo | sed -n "s/^ *dimensions: *\([0-9x]*\) pixels.*/\1/p"')
display=$(sed -n 1p <<<"$seen")
size=$(sed -n 2p <<<"$seen")
echo "decoys on :${numbers[0]} and :${numbers[1]}; the command ran on $display, $size"
status=0
for n in "${numbers[@]}"; do
  [ "$display" != ":$n" ] || { echo "FAIL: the command ran on the decoy :$n" >&2; status=1; }
done
[ "$size" = 1280x1024 ] || { echo "FAIL: the command's server is not the one started for it" >&2; status=1; }
for n in "${numbers[@]}"; do
  xdpyinfo -display ":$n" >/dev/null 2>&1 || { echo "FAIL: the decoy :$n was stopped" >&2; status=1; }
done
exit $status
