#!/usr/bin/env bash
# A contributor's desktop is left alone: with DISPLAY naming a stand-in desktop
# (openbox, a window, the pointer parked at 1500,900), an end-to-end case run
# through the suite's display script must open no window there and never move
# the pointer, and still pass on a display of its own.
# desktop.sh WITH-DISPLAY TEST_E2E.PY CASE PAVOK
set -uo pipefail
with_display=$1 test_e2e=$2 case=$3 exe=$4
dir=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"' EXIT
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$dir/n" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q '^[0-9][0-9]*$' "$dir/n" && break; sleep 0.1; done
export DISPLAY=":$(cat "$dir/n")"
openbox >/dev/null 2>&1 &
pids+=($!)
xlogo >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && xdotool search --name xlogo >/dev/null && break
  sleep 0.1
done
sleep 1  # openbox maps its frame
xdotool mousemove 1500 900
windows() { xwininfo -root -children | grep -o '^ *0x[0-9a-f]*' | sort; }
before=$(windows)
parked=$(xdotool getmouselocation | cut -d' ' -f1-2)

bash "$with_display" python3 -B "$test_e2e" "$case" "$exe" >"$dir/case.log" 2>&1 &
run=$!
looks=0 opened=0 moved=0
while kill -0 "$run" 2>/dev/null; do
  looks=$((looks + 1))
  [ "$(windows)" = "$before" ] || opened=$((opened + 1))
  [ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "$parked" ] || moved=$((moved + 1))
  sleep 0.2
done
wait "$run"
case_status=$?
echo "desktop $DISPLAY, pointer at $parked: in $looks looks, a new window in $opened, the pointer moved in $moved"
status=0
[ "$opened" -eq 0 ] || { echo "FAIL: the case opened a window on the desktop" >&2; status=1; }
[ "$moved" -eq 0 ] || { echo "FAIL: the case moved the desktop's pointer" >&2; status=1; }
[ "$looks" -ge 5 ] || { echo "FAIL: the case ended before the desktop was watched" >&2; status=1; }
[ "$case_status" -eq 0 ] || { cat "$dir/case.log"; echo "FAIL: e2e case $case: exit status $case_status" >&2; status=1; }
exit $status
