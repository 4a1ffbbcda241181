#!/usr/bin/env bash
# Regenerates the pictures under docs/images from the real program: it runs
# $BUILD/pavok on a private Xvfb, drives it with xdotool (keys and real menu
# clicks), takes screenshots of still poses and records the animations with
# apitrace, then crops and joins chosen frames with ImageMagick.
# The frames are chosen by number within each animation, so a re-run gives the
# same pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
OUT=${OUT:-docs/images}

# Always a private Xvfb: a desktop's own display would get its pointer moved,
# and its GL driver would draw different pixels.
if [ -z "${PAVOK_DOCS_DISPLAY:-}" ]; then
  PAVOK_DOCS_DISPLAY=1 exec env -u DISPLAY bash scripts/with-display.sh bash "$0" "$@"
fi
export LIBGL_ALWAYS_SOFTWARE=1

for tool in xdotool xwininfo xwd apitrace convert; do
  command -v "$tool" >/dev/null || { echo "docs: $tool is missing (make deps installs it)" >&2; exit 1; }
done
[ -x "$BUILD/pavok" ] || { echo "docs: $BUILD/pavok is not built" >&2; exit 1; }

work=$(mktemp -d)
tracer=""
pid=""  # the program's process
wid=""  # its window
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$tracer" ] && kill "$tracer" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$OUT"

die() { echo "docs: $*" >&2; exit 1; }

# --- driving the program ---------------------------------------------------

# start [TRACE]: starts the program, under apitrace if a trace file is given.
start() {
  if [ $# -gt 0 ]; then
    apitrace trace -o "$1" "$BUILD/pavok" >"$work/apitrace.log" 2>&1 &
    tracer=$!
    for _ in $(seq 100); do
      pid=$(pgrep -P "$tracer" || true)
      [ -n "$pid" ] && break
      sleep 0.1
    done
  else
    "$BUILD/pavok" &
    pid=$!
    tracer=""
  fi
  [ -n "$pid" ] || die "the program did not start"
  wid=$(timeout 20 xdotool search --sync --name '^Pavok$' | head -1) || die "no Pavok window"
  # The first frame: something other than the black background.
  for _ in $(seq 100); do
    [ "$(xwd -silent -id "$wid" | convert xwd:- -format '%[fx:maxima]' info:)" != 0 ] && break
    sleep 0.1
  done
  settle
}

# stop: SIGTERM, which also makes apitrace write out the end of its recording.
stop() {
  kill -TERM "$pid" 2>/dev/null || true
  if [ -n "$tracer" ]; then wait "$tracer" 2>/dev/null || true; else wait "$pid" 2>/dev/null || true; fi
  tracer=""
  pid=""
  for _ in $(seq 50); do xdotool search --name '^Pavok$' >/dev/null 2>&1 || break; sleep 0.1; done
}

cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }

# settle: waits until the program has stopped using the processor, that is,
# until it has drawn everything its last input asked for.
settle() {
  local last now calm=0
  last=$(cpu)
  for _ in $(seq 300); do
    sleep 0.2
    now=$(cpu)
    if [ "$now" = "$last" ]; then calm=$((calm + 1)); else calm=0; fi
    last=$now
    [ "$calm" -ge 3 ] && return 0
  done
  die "the program never came to rest"
}

keys() { xdotool key --window "$wid" --delay 5 "$@" 2>/dev/null; settle; }

# mapped_menu: the menu window on screen, if any.
mapped_menu() {
  local m
  for m in $(xwininfo -root -children | awk '/"freeglut menu"/ {print $1}'); do
    if xwininfo -id "$m" | grep -q 'Map State: IsViewable'; then echo "$m"; return; fi
  done
}

# menu BUTTON POSITION ENTRIES: chooses an entry of a pop-up menu with real
# clicks. GLUT acts on release: press, wait for the menu window, move onto the
# entry (aimed from the menu window's own geometry), release.
menu() {
  local button=$1 position=$2 entries=$3 wx wy mid geometry top height y
  eval "$(xdotool getwindowgeometry --shell "$wid" | sed -n 's/^X=/wx=/p; s/^Y=/wy=/p')"
  xdotool mousemove $((wx + 40)) $((wy + 40)) mousedown "$button"
  mid=""
  for _ in $(seq 50); do
    sleep 0.1
    mid=$(mapped_menu)
    [ -n "$mid" ] && break
  done
  [ -n "$mid" ] || { xdotool mouseup "$button"; die "menu of button $button did not open"; }
  geometry=$(xwininfo -id "$mid")
  top=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
  height=$(awk '/Height:/ {print $2}' <<<"$geometry")
  y=$((top + (2 * position - 1) * height / (2 * entries)))
  xdotool mousemove $((wx + 60)) "$y"
  sleep 0.3
  xdotool mouseup "$button"
  sleep 0.3
  settle
}

view_menu() { menu 3 "$1" 8; }       # 7 Restringi visuale, 8 Cambia proiezione
animation_menu() { menu 1 "$1" 3; }  # 1 Salta, 2 Corri, 3 Cammina

shot() { xwd -silent -id "$wid" | convert xwd:- "png:$1"; }

# --- pictures --------------------------------------------------------------

# crop IMAGE: the figure's bounding box, with a margin.
margin=14
crop() { convert "$1" -trim -bordercolor black -border "$margin" +repage "png:$2"; }

# strip OUTPUT FRAME...: one row of frames, each cut to the same size, centred
# horizontally on the figure, all covering the same height so that vertical
# motion shows.
strip() {
  local out=$1 f boxes=() w h x y maxw=0 top=100000 bottom=0 cells=() i=0
  shift
  for f in "$@"; do
    read -r w h x y <<<"$(convert "$f" -format '%@' info: | tr 'x+' '  ')"
    boxes+=("$w $h $x $y")
    [ "$w" -gt "$maxw" ] && maxw=$w
    [ "$y" -lt "$top" ] && top=$y
    [ $((y + h)) -gt "$bottom" ] && bottom=$((y + h))
  done
  local cw=$((maxw + 2 * margin)) ch=$((bottom - top + 2 * margin)) pad=400
  for f in "$@"; do
    read -r w h x y <<<"${boxes[$i]}"
    local cx=$((x + w / 2 - cw / 2 + pad)) cy=$((top - margin + pad))
    convert "$f" -bordercolor black -border "$pad" -crop "${cw}x${ch}+${cx}+${cy}" +repage "$work/cell-$i.png"
    cells+=("$work/cell-$i.png")
    i=$((i + 1))
  done
  convert "${cells[@]}" +append "png:$out"
}

# finish IMAGE NAME: into docs/images, without time stamps, so that the same
# picture gives the same file.
finish() { convert "$1" -strip -define png:exclude-chunks=date,time "png:$OUT/$2"; }

# --- still pictures: screenshots of the window --------------------------------

start
shot "$work/rest-window.png"
# The same square for both projections shows how much larger the figure gets.
convert "$work/rest-window.png" -crop 260x260+195+210 +repage "$work/rest.png"
finish "$work/rest.png" rest.png

view_menu 8
shot "$work/ortho-window.png"
convert "$work/ortho-window.png" -crop 260x260+195+210 +repage "$work/ortho.png"
finish "$work/ortho.png" ortho.png

# A pose, seen closer (two narrowings of the view): turned a little to its
# left, head turned and tilted, right arm raised out to the side with the
# forearm bent, left arm in towards the body, left thigh forward with the knee
# bent and the toes up, torso leaning a little to its right.
view_menu 7
view_menu 7
for group in 6:Left 8:F5 3:F1 40:5 15:q 5:t 10:1 8:r 12:u 15:a 3:h 2:F7; do
  keys --repeat "${group%%:*}" "${group#*:}"
done
shot "$work/posed-window.png"
crop "$work/posed-window.png" "$work/posed.png"
finish "$work/posed.png" posed.png
stop

# --- animations: recorded, then chosen frames replayed into pictures ---------

# frames TRACE: one line per frame drawn in the program's window:
#   SWAP_CALL MOVED HEADING
# MOVED is 1 when a translation came before the frame's clear (an animation
# step), HEADING the frame's turn about +y.
frames() {
  apitrace dump --arg-names=no --color=never \
    --grep='glXSwapBuffers|glClear$|glTranslatef|glRotatef' "$1" |
    awk -v wid="$wid" '
      /glXSwapBuffers/ {
        if ($0 ~ ", " wid "\\)") print $1, moved, heading
        moved = 0; cleared = 0; heading = ""; next
      }
      /glClear\(/ { cleared = 1; next }
      /glTranslatef/ { if (!cleared) moved = 1; next }
      /glRotatef/ { if (cleared && heading == "") { split($0, a, /[(,]/); heading = a[2] + 0 }; next }'
}

# animate NAME ENTRY LAST MOVING HEADING CHOSEN...: plays an animation from the
# orthographic view, after the key presses in $setup ("COUNT:KEY ..."), and
# keeps the chosen frames, numbered as in the animation (LAST is the number of
# its last frame; MOVING how many of its frames carry a step).
animate() {
  local name=$1 entry=$2 last=$3 moving=$4 heading=$5
  shift 5
  local trace="$work/$name.trace" group
  start "$trace"
  view_menu 8
  for group in $setup; do keys --repeat "${group%%:*}" "${group#*:}"; done
  animation_menu "$entry"
  stop
  frames "$trace" >"$work/$name.frames"
  # Nothing moves the figure after the animation, so its last frame is the last
  # frame that carries a step.
  local end first
  end=$(awk '$2 == 1 {n = NR} END {print n + 0}' "$work/$name.frames")
  first=$((end - last))  # the line of frame 0
  [ "$end" -gt 0 ] && [ "$first" -ge 0 ] || die "$name: the recording holds no whole animation"
  local steps
  steps=$(awk -v a=$((first + 1)) -v b="$end" 'NR >= a && NR <= b && $2 == 1' "$work/$name.frames" | wc -l)
  [ "$steps" -eq "$moving" ] || die "$name: $steps frames with a step where $moving were expected"
  local calls=() files=() n call h
  for n in "$@"; do
    read -r call _ h < <(sed -n "$((first + n))p" "$work/$name.frames")
    [ "$h" = "$heading" ] || die "$name: frame $n drawn at heading $h, not $heading"
    calls+=("$call")
    files+=("$work/$name-$(printf '%010d' "$call").png")
  done
  (IFS=,; apitrace dump-images --calls="${calls[*]}" -o "$work/$name-" "$trace" >/dev/null 2>&1) ||
    die "$name: apitrace could not replay the recording"
  strip "$work/$name-strip.png" "${files[@]}"
  finish "$work/$name-strip.png" "$name.png"
}

# The jump (115 frames, 110 of them with a step), from the front: crouch,
# push-off with the arms out, rise with the arms up and the toes down, the top,
# the way down, the landing.
setup=""
animate jump 1 115 110 0 20 30 50 70 95 106

# The run and the walk from the side: turned 75 degrees to its left, the figure
# crosses the picture towards the right, first set back so that the chosen
# frames stay inside the window.
# Run: 108 frames (0 to 107), all but the first with a step; one stride cycle:
# start, left leg back, legs passing, right leg back, passing, left leg back.
setup="25:Left 18:Down"
animate run 2 107 107 75 0 7 15 22 30 37
# Walk: 168 frames, each with a step; one cycle of two steps, from the end of
# the first half-step.
setup="25:Left 8:Down"
animate walk 3 168 168 75 12 20 28 36 44 52 60

ls -l "$OUT"
