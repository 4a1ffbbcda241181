#!/usr/bin/env python3
"""What `make bench` measures, on a private Xvfb (CONTRIBUTING.md,
"Benchmarks", says what); start-up on another of its own. Prints one table,
kept in $BUILD/bench.txt, and writes the same figures to $BUILD/bench.json."""
import json
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("BUILD", "build")
BIN = os.path.join(BUILD, "bench")
KV = os.path.join(BUILD, "bench-results.txt")
STARTUP_RUNS = int(os.environ.get("STARTUP_RUNS", "10"))
CALLGRIND_FRAMES = int(os.environ.get("CALLGRIND_FRAMES", "10"))
ANIMATIONS = ("Salta", "Corri", "Cammina")
ALLOCS = ("frames", "floor") + tuple(a.lower() for a in ANIMATIONS)
WORK = ("vertices", "primitives", "fragments")


def run(args, out, **kw):
    with open(out, "w") as f:
        subprocess.run(args, stdout=f, stderr=subprocess.STDOUT, check=True, **kw)


def annotate(out, inclusive):
    args = ["callgrind_annotate", "--auto=no", "--inclusive=" + inclusive, "--threshold=100", out + ".out"]
    text = subprocess.run(args, capture_output=True, text=True, check=True).stdout
    with open(out + (".incl.txt" if inclusive == "yes" else ".self.txt"), "w") as f:
        f.write(text)
    return text.splitlines()


def callgrind(mode):
    """Instructions per frame. One rendering thread, so that the driver's whole
    work for a frame (rasterising included) is on the thread callgrind follows."""
    out, n = os.path.join(BUILD, "bench-callgrind-" + mode), CALLGRIND_FRAMES
    run(["valgrind", "--tool=callgrind", "--collect-atstart=no", "--callgrind-out-file=" + out + ".out",
         os.path.join(BIN, "pavok-bench-frames"), mode, str(n)], out + ".log",
        env=dict(os.environ, LP_NUM_THREADS="0"))
    # Rows are "COUNT (PERCENT)  FILE:FUNCTION [OBJECT]". Code in the frames binary
    # is the program's own, except the harness's files under bench/; code in any
    # other object is the libraries' (GL, the driver, GLU, GLUT, X11, libc).
    exe = "[" + os.path.realpath(os.path.join(BIN, "pavok-bench-frames")) + "]"
    total = own = harness = swap = 0.0
    for line in annotate(out, "no"):
        count = float(line.split()[0].replace(",", "")) if "%)" in line else 0
        fn = line[line.find("%)") + 2:].lstrip(" ")
        if "PROGRAM TOTALS" in line:
            total = count
        elif "%)" in line and exe in line:
            if fn.startswith("bench/") or fn.startswith(ROOT + "/bench/"):
                harness += count
            else:
                own += count
    for line in annotate(out, "yes"):
        if "%)" in line and " ???:glutSwapBuffers " in line:
            swap = float(line.split()[0].replace(",", ""))
            break
    figures = {"program": own, "libraries": total - own - harness, "swap": swap, "harness": harness}
    return "".join(f"instr.{mode}.{k} {v / n:.1f}\n" for k, v in figures.items())


def measure():
    print("pavok: measuring frames, animations and allocations...", file=sys.stderr)
    log = os.path.join(BUILD, "bench-gbench.log")
    try:
        run([os.path.join(BIN, "pavok-bench"), "--pavok_out=" + KV, "--benchmark_out_format=json",
             "--benchmark_out=" + os.path.join(BUILD, "bench-gbench.json")], log)
    except subprocess.CalledProcessError:
        # Its log says why: among others, an immediate-mode peer that draws
        # another picture than the lists, whose time would mean nothing.
        sys.exit(open(log).read())
    # Start-up is read from the screen's pixels where the window opens, so it gets
    # a private Xvfb of its own: no window manager, no other program's windows.
    print(f"pavok: measuring start-up, {STARTUP_RUNS} runs of each program...", file=sys.stderr)
    startup = subprocess.run(["bash", "tools/with_display.sh", os.path.join(BIN, "pavok-bench-startup"),
                              str(STARTUP_RUNS), os.path.join(BUILD, "pavok"),
                              os.path.join(BIN, "pavok-bench-minimal")],
                             stdout=subprocess.PIPE, text=True, check=True).stdout
    print("pavok: counting instructions under callgrind (about a minute)...", file=sys.stderr)
    with open(KV, "a") as f:
        f.write(startup + callgrind("frame") + callgrind("floor"))


def row(label, *cols):
    return f"{label:<48} " + " ".join(f"{c:>12}" for c in cols)


def timed(label, *ms):
    return f"{label:<48} " + " ".join(f"{c:>9} ms" for c in ms)


def report():
    kv = {}
    for line in open(KV):
        if line.split():
            kv.setdefault(line.split()[0], " ".join(line.split()[1:]))
    lacking = [k for k in ("median_ns.Frame", "median_ns.Floor", "startup.program_ms", "instr.frame.program")
               if k not in kv]
    if lacking:
        sys.exit(f"pavok: the benchmarks gave no {', '.join(lacking)} (see {BUILD}/bench-*.log)")
    num = lambda k: float(kv.get(k) or 0)
    whole = lambda k: int(num(k))
    ms = lambda ns: f"{ns / 1e6:.3f}"
    cpu = next(l.split(": ")[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name"))
    cores, renderer = len(os.sched_getaffinity(0)), kv.get("gl.renderer", "")
    width, height = whole("window.width"), whole("window.height")
    frame, floor, imm = num("median_ns.Frame"), num("median_ns.Floor"), num("median_ns.Immediate")
    up, upmin = kv.get("startup.program_ms", "0"), kv.get("startup.minimal_ms", "0")
    r_floor, r_imm, r_up = f"{frame / floor:.2f}", f"{imm / frame:.2f}", f"{float(up) / float(upmin):.2f}"
    anim = {a: (whole("frames." + a), num("median_ns." + a)) for a in ANIMATIONS}
    allocs = {a: (whole(f"allocs.{a}.project"), whole(f"allocs.{a}.total")) for a in ALLOCS}
    counted = whole("allocs.frames.count")
    modes = ("frame", "floor")
    parts = ("program", "libraries", "swap", "harness")
    instr = {m: {k: num(f"instr.{m}.{k}") for k in parts} for m in modes}
    work = {w: {m: whole(f"work.{w}.{m}") for m in modes} for w in WORK}
    differing = whole("peer.pixels_differing")
    above = lambda ratio: "   " + ("above 3.0" if float(ratio) > 3.0 else "")
    label = {"frames": f"{counted} frames of display()", "floor": f"{counted} empty frames (floor)"}

    table = [
        f"Pavok benchmark: {width} x {height} window, {renderer}, {cores} cores ({cpu})",
        row("", "median", "per frame"),
        timed("Frame: display() + glFinish", ms(frame)),
        timed("Floor: two clears + swap + glFinish", ms(floor)),
        timed("Immediate-mode peer: same frame, no lists", ms(imm)),
        row("  frame / floor", r_floor) + above(r_floor),
        row("  immediate / frame", r_imm),
        *(timed(f"{a}, {f} frames", ms(t), ms(t / f)) for a, (f, t) in anim.items()),
        timed(f"Start-up to first frame: pavok ({whole('startup.runs')} runs)", up),
        timed("Start-up to first frame: minimal GLUT program", upmin),
        row("  start-up / minimal", r_up) + above(r_up),
        row("Heap allocations", "program", "all (+GL)"),
        *(row("  " + label.get(a, "one " + a.title()), *n) for a, n in allocs.items()),
        row("Instructions per frame (callgrind)", *modes),
        row("  program's own code (target < 2,000)", *(f"{instr[m]['program']:.0f}" for m in modes))
        + "   " + ("" if instr["frame"]["program"] < 2000 else "above target"),
        row("  GL driver and libraries", *(f"{instr[m]['libraries']:.0f}" for m in modes)),
        row("    of which in glutSwapBuffers", *(f"{instr[m]['swap']:.0f}" for m in modes)),
        row("Driver work per frame (pipeline counters)", *modes),
        *(row("  " + w, *n.values()) for w, n in work.items()),
        f"Identical picture, list and immediate frames: {'NO' if differing else 'yes'} "
        f"({differing} differing pixels)",
    ]
    print("\n".join(table))
    with open(os.path.join(BUILD, "bench.txt"), "w") as f:
        f.write("\n".join(table) + "\n")

    results = {
        "machine": {"cores": cores, "cpu": cpu, "gl_renderer": renderer, "window": [width, height]},
        "frame_ms": {"frame": float(ms(frame)), "floor": float(ms(floor)), "immediate": float(ms(imm))},
        "ratios": {"frame_over_floor": float(r_floor), "immediate_over_frame": float(r_imm),
                   "startup_over_minimal": float(r_up)},
        "animations": {a.lower(): {"frames": f, "wall_ms": float(ms(t)),
                                   "per_frame_ms": round(t / f / 1e6, 4)} for a, (f, t) in anim.items()},
        "startup_ms": {"runs": whole("startup.runs"), "program": float(up), "minimal": float(upmin),
                       "program_min": num("startup.program_min_ms"),
                       "minimal_min": num("startup.minimal_min_ms")},
        "allocations": {"frames_counted": counted,
                        **{a: {"program": p, "all": t} for a, (p, t) in allocs.items()}},
        "instructions_per_frame": {"frames_counted": CALLGRIND_FRAMES, **instr},
        "driver_work_per_frame": work,
        "immediate_peer_pixels_differing": differing,
    }
    # One line for each group, as before, so that two runs diff line by line.
    with open(os.path.join(BUILD, "bench.json"), "w") as f:
        lines = (f"  {json.dumps(k)}: {json.dumps(v)}" for k, v in results.items())
        f.write("{\n" + ",\n".join(lines) + "\n}\n")


def main():
    os.chdir(ROOT)
    measure()
    report()


if __name__ == "__main__":
    main()
