#!/usr/bin/env bash
# Measures a frame (against an empty frame and against immediate mode), the three
# animations, start-up (against a minimal GLUT program), heap allocations and the
# instructions a frame executes; prints one table and writes the same figures to
# $BUILD/bench.json. Runs under the current display or a private Xvfb.
# Absolute times drift with the machine's load: read the ratios, each measured
# side by side in one run.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}

if [ -z "${PAVOK_BENCH_DISPLAY:-}" ]; then
  PAVOK_BENCH_DISPLAY=1 exec bash scripts/with-display.sh bash "$0" "$@"
fi

STARTUP_RUNS=${STARTUP_RUNS:-10}
CALLGRIND_FRAMES=${CALLGRIND_FRAMES:-10}
src=$(pwd)
bin="$BUILD/bench"
kv="$BUILD/bench-results.txt"
: >"$kv"

echo "pavok: measuring frames, animations and allocations..." >&2
"$bin/pavok-bench" --pavok_out="$kv.frames" --benchmark_out="$BUILD/bench-gbench.json" \
  --benchmark_out_format=json >"$BUILD/bench-gbench.log" 2>&1 || { cat "$BUILD/bench-gbench.log" >&2; exit 1; }
cat "$kv.frames" >>"$kv"

# Start-up is read from the screen's pixels where the window opens, so it gets a
# private Xvfb of its own: no window manager, no other program's windows.
echo "pavok: measuring start-up, ${STARTUP_RUNS} runs of each program..." >&2
env -u DISPLAY bash scripts/with-display.sh \
  "$bin/pavok-bench-startup" "$STARTUP_RUNS" "$BUILD/pavok" "$bin/pavok-bench-minimal" >>"$kv"

# Instructions per frame. One rendering thread, so that the driver's whole work
# for a frame (rasterising included) is on the thread callgrind follows.
callgrind() {  # mode
  local out="$BUILD/bench-callgrind-$1"
  LP_NUM_THREADS=0 valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out.out" \
    "$bin/pavok-bench-frames" "$1" "$CALLGRIND_FRAMES" >"$out.log" 2>&1
  callgrind_annotate --auto=no --inclusive=no --threshold=100 "$out.out" >"$out.self.txt"
  callgrind_annotate --auto=no --inclusive=yes --threshold=100 "$out.out" >"$out.incl.txt"
  # Rows are "COUNT (PERCENT)  FILE:FUNCTION [OBJECT]". Code in the frames binary
  # is the program's own, except the harness's files under bench/; code in any
  # other object is the libraries' (GL, the driver, GLU, GLUT, X11, libc).
  awk -v src="$src" -v n="$CALLGRIND_FRAMES" -v mode="$1" -v exe="$(realpath "$bin/pavok-bench-frames")" '
    function count() { split($0, f, " "); gsub(",", "", f[1]); return f[1] + 0 }
    /PROGRAM TOTALS/ { total = count(); next }
    /%\)/ && index($0, "[" exe "]") {
      fn = substr($0, index($0, "%)") + 2); sub(/^ +/, "", fn)
      if (index(fn, "bench/") == 1 || index(fn, src "/bench/") == 1) harness += count()
      else own += count()
    }
    END {
      printf "instr.%s.own %.1f\n", mode, own / n
      printf "instr.%s.harness %.1f\n", mode, harness / n
      printf "instr.%s.libraries %.1f\n", mode, (total - own - harness) / n
    }' "$out.self.txt" >>"$kv"
  awk -v n="$CALLGRIND_FRAMES" -v mode="$1" '
    /%\)/ && index($0, " ???:glutSwapBuffers ") {
      split($0, f, " "); gsub(",", "", f[1]); printf "instr.%s.swap %.1f\n", mode, f[1] / n; exit
    }' "$out.incl.txt" >>"$kv"
}
echo "pavok: counting instructions under callgrind (about a minute)..." >&2
callgrind frame
callgrind floor

get() { awk -v k="$1" '$1 == k { $1 = ""; sub(/^ /, ""); print; exit }' "$kv"; }
num() { local v; v=$(get "$1"); echo "${v:-0}"; }
calc() { awk "BEGIN { printf \"$1\", $2 }"; }

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
cores=$(nproc)
renderer=$(get gl.renderer)
width=$(num window.width); height=$(num window.height)

frame=$(num median_ns.Frame); floor=$(num median_ns.Floor); imm=$(num median_ns.Immediate)
salta=$(num median_ns.Salta); corri=$(num median_ns.Corri); cammina=$(num median_ns.Cammina)
up=$(num startup.program_ms); upmin=$(num startup.minimal_ms)
r_floor=$(calc %.2f "$frame / $floor")
r_imm=$(calc %.2f "$imm / $frame")
r_up=$(calc %.2f "$up / $upmin")
ms() { calc %.3f "$1 / 1e6"; }
flag() { awk "BEGIN { print ($1) ? \"$2\" : \"$3\" }"; }

table=$(
  printf 'Pavok benchmark: %s x %s window, %s, %s cores (%s)\n' "${width%.*}" "${height%.*}" "$renderer" "$cores" "$cpu"
  printf '%-48s %12s %12s\n' "" "median" "per frame"
  printf '%-48s %9s ms\n' "Frame: display() + glFinish" "$(ms "$frame")"
  printf '%-48s %9s ms\n' "Floor: two clears + swap + glFinish" "$(ms "$floor")"
  printf '%-48s %9s ms\n' "Immediate-mode peer: same frame, no lists" "$(ms "$imm")"
  printf '%-48s %12s   %s\n' "  frame / floor" "$r_floor" "$(flag "$r_floor > 3.0" "above 3.0" "")"
  printf '%-48s %12s\n' "  immediate / frame" "$r_imm"
  printf '%-48s %9s ms %9s ms\n' "Salta, 115 frames" "$(ms "$salta")" "$(calc %.3f "$salta / 115 / 1e6")"
  printf '%-48s %9s ms %9s ms\n' "Corri, 108 frames" "$(ms "$corri")" "$(calc %.3f "$corri / 108 / 1e6")"
  printf '%-48s %9s ms %9s ms\n' "Cammina, 168 frames" "$(ms "$cammina")" "$(calc %.3f "$cammina / 168 / 1e6")"
  printf '%-48s %9s ms\n' "Start-up to first frame: pavok ($(num startup.runs | cut -d. -f1) runs)" "$up"
  printf '%-48s %9s ms\n' "Start-up to first frame: minimal GLUT program" "$upmin"
  printf '%-48s %12s   %s\n' "  start-up / minimal" "$r_up" "$(flag "$r_up > 3.0" "above 3.0" "")"
  printf '%-48s %12s %12s\n' "Heap allocations" "program" "all (+GL)"
  for a in frames floor salta corri cammina; do
    case $a in
      frames) label="$(num allocs.frames.count | cut -d. -f1) frames of display()" ;;
      floor) label="$(num allocs.frames.count | cut -d. -f1) empty frames (floor)" ;;
      *) label="one ${a^}" ;;
    esac
    printf '%-48s %12s %12s\n' "  $label" "$(num "allocs.$a.project" | cut -d. -f1)" "$(num "allocs.$a.total" | cut -d. -f1)"
  done
  printf '%-48s %12s %12s\n' "Instructions per frame (callgrind)" "frame" "floor"
  printf '%-48s %12s %12s   %s\n' "  program's own code (target < 2,000)" "$(calc %.0f "$(num instr.frame.own)")" \
    "$(calc %.0f "$(num instr.floor.own)")" "$(flag "$(num instr.frame.own) < 2000" "" "above target")"
  printf '%-48s %12s %12s\n' "  GL driver and libraries" "$(calc %.0f "$(num instr.frame.libraries)")" \
    "$(calc %.0f "$(num instr.floor.libraries)")"
  printf '%-48s %12s %12s\n' "    of which in glutSwapBuffers" "$(calc %.0f "$(num instr.frame.swap)")" \
    "$(calc %.0f "$(num instr.floor.swap)")"
  printf '%-48s %12s %12s\n' "Driver work per frame (pipeline counters)" "frame" "floor"
  for w in vertices primitives fragments; do
    printf '%-48s %12s %12s\n' "  $w" "$(num "work.$w.frame" | cut -d. -f1)" "$(num "work.$w.floor" | cut -d. -f1)"
  done
  printf 'Identical picture, list and immediate frames: %s (%s differing pixels)\n' \
    "$(flag "$(num peer.pixels_differing) == 0" yes NO)" "$(num peer.pixels_differing | cut -d. -f1)"
)
echo "$table"
echo "$table" >"$BUILD/bench.txt"

json_escape() { sed 's/\\/\\\\/g; s/"/\\"/g'; }
{
  printf '{\n'
  printf '  "machine": {"cores": %s, "cpu": "%s", "gl_renderer": "%s", "window": [%s, %s]},\n' \
    "$cores" "$(echo "$cpu" | json_escape)" "$(echo "$renderer" | json_escape)" "${width%.*}" "${height%.*}"
  printf '  "frame_ms": {"frame": %s, "floor": %s, "immediate": %s},\n' "$(ms "$frame")" "$(ms "$floor")" "$(ms "$imm")"
  printf '  "ratios": {"frame_over_floor": %s, "immediate_over_frame": %s, "startup_over_minimal": %s},\n' \
    "$r_floor" "$r_imm" "$r_up"
  printf '  "animations": {'
  sep=""
  for a in salta:Salta:115 corri:Corri:108 cammina:Cammina:168; do
    IFS=: read -r k n f <<<"$a"
    t=$(num "median_ns.$n")
    printf '%s"%s": {"frames": %s, "wall_ms": %s, "per_frame_ms": %s}' "$sep" "$k" "$f" "$(ms "$t")" \
      "$(calc %.4f "$t / $f / 1e6")"
    sep=", "
  done
  printf '},\n'
  printf '  "startup_ms": {"runs": %s, "program": %s, "minimal": %s, "program_min": %s, "minimal_min": %s},\n' \
    "$(num startup.runs | cut -d. -f1)" "$up" "$upmin" "$(num startup.program_min_ms)" "$(num startup.minimal_min_ms)"
  printf '  "allocations": {"frames_counted": %s' "$(num allocs.frames.count | cut -d. -f1)"
  for a in frames floor salta corri cammina; do
    printf ', "%s": {"program": %s, "all": %s}' "$a" "$(num "allocs.$a.project" | cut -d. -f1)" \
      "$(num "allocs.$a.total" | cut -d. -f1)"
  done
  printf '},\n'
  printf '  "instructions_per_frame": {"frames_counted": %s' "$CALLGRIND_FRAMES"
  for m in frame floor; do
    printf ', "%s": {"program": %s, "libraries": %s, "swap": %s, "harness": %s}' "$m" \
      "$(num "instr.$m.own")" "$(num "instr.$m.libraries")" "$(num "instr.$m.swap")" "$(num "instr.$m.harness")"
  done
  printf '},\n'
  printf '  "driver_work_per_frame": {'
  sep=""
  for w in vertices primitives fragments; do
    printf '%s"%s": {"frame": %s, "floor": %s}' "$sep" "$w" "$(num "work.$w.frame" | cut -d. -f1)" \
      "$(num "work.$w.floor" | cut -d. -f1)"
    sep=", "
  done
  printf '},\n'
  printf '  "immediate_peer_pixels_differing": %s\n' "$(num peer.pixels_differing | cut -d. -f1)"
  printf '}\n'
} >"$BUILD/bench.json"
