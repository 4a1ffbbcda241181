#!/usr/bin/env bash
# The suite's private X server is its own: decoys without lock or socket files
# (a server outside a chroot looks like that from inside) sit on the numbers a
# scan of those files would take first, from 0 and from 90. The command must
# run on a server of its own, 1280 x 1024, even with DISPLAY naming a decoy,
# and leave the decoys running. The number the server writes is read whole,
# however many digits it has (on a busy desktop or a shared machine it has
# two): a stand-in Xvfb writes each. The command's exit status is the
# wrapper's, and its server is gone when it returns.
set -euo pipefail
with_display=$1
decoys=()
trap 'kill "${decoys[@]}" 2>/dev/null; wait 2>/dev/null' EXIT
numbers=()
# A number a server already answers on (one outside a chroot) is passed over,
# and a decoy that could not take its number (another server took it
# meanwhile) moves on to the next.
for n in 0 90; do
  while :; do
    while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] || xdpyinfo -display ":$n" >/dev/null 2>&1; do
      n=$((n + 1))
    done
    Xvfb ":$n" -nolock -nolisten tcp -nolisten unix -screen 0 320x200x16 >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      xdpyinfo -display ":$n" >/dev/null 2>&1 && break
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && break
    n=$((n + 1))
  done
  decoys+=("$pid")
  numbers+=("$n")
done

seen=$(DISPLAY=":${numbers[0]}" bash "$with_display" sh -c 'echo "$DISPLAY"; xdpyinfo | sed -n "s/^ *dimensions: *\([0-9x]*\) pixels.*/\1/p"
  exit 3') && rc=0 || rc=$?
display=$(sed -n 1p <<<"$seen")
size=$(sed -n 2p <<<"$seen")
echo "decoys on :${numbers[0]} and :${numbers[1]}; the command ran on $display, $size, and ended with $rc"
status=0
[ "$rc" = 3 ] || { echo "FAIL: the command's status 3 came back as $rc" >&2; status=1; }
! xdpyinfo -display "$display" >/dev/null 2>&1 || { echo "FAIL: the server on $display still runs" >&2; status=1; }
for n in "${numbers[@]}"; do
  [ "$display" != ":$n" ] || { echo "FAIL: the command ran on the decoy :$n" >&2; status=1; }
done
[ "$size" = 1280x1024 ] || { echo "FAIL: the command's server is not the one started for it" >&2; status=1; }
for pid in "${decoys[@]}"; do
  kill -0 "$pid" 2>/dev/null || { echo "FAIL: a decoy was stopped" >&2; status=1; }
done
stub=$(mktemp -d)
trap 'kill "${decoys[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$stub"' EXIT
printf '#!/bin/sh\necho "$NUMBER" >&3\nexec sleep 60\n' >"$stub/Xvfb"
chmod +x "$stub/Xvfb"
for n in 7 12 123; do
  got=$(NUMBER=$n PATH="$stub:$PATH" bash "$with_display" sh -c 'echo "$DISPLAY"' 2>&1) || :
  [ "$got" = ":$n" ] || { echo "FAIL: Xvfb wrote $n, the command ran with DISPLAY $got" >&2; status=1; }
done
exit $status
