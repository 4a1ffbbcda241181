"""End-to-end cases of the real program: python3 test_e2e.py CASE PATH-TO-PAVOK.

Each case starts build/pavok on the suite's display, drives it with real X
input and reads what it drew from an apitrace recording or a screenshot.
"""

import atexit
import math
import os
import platform
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

from pavok_driver import (ANIMATION_ENTRIES, VIEW_ENTRIES, Pavok, check, fail, geometry, is_redraw, moves, pose,
                          run, split, window_manager)
from pavok_driver.cases import BESIDE, DESKTOP_CHOICES, SPECIAL_KEYS, VIEWS



def f32(v):
    return struct.unpack("f", struct.pack("f", v))[0]


def step(d, heading):
    """A step of d units along a heading, as the figure's moves are defined."""
    a = heading * 0.0174
    return (f32(d * math.sin(a)), 0.0, f32(d * math.cos(a)))


def same(actual, expected, tol=1e-6):
    if isinstance(expected, (list, tuple)):
        return len(actual) == len(expected) and all(same(a, e, tol) for a, e in zip(actual, expected))
    if isinstance(expected, float) or isinstance(expected, int):
        return isinstance(actual, float) and abs(actual - expected) <= tol * max(1.0, abs(expected))
    return actual == expected


def expect_call(call, name, *args):
    check(call[0] == name and same(call[1], args), f"expected {name}{args}, got {call[0]}{call[1]}")


def preloadable(library):
    """The library's path as LD_PRELOAD can take it: the dynamic loader splits
    that list at spaces and colons, and passes over, with only a warning, a
    library it cannot find, so in a checkout at a path with a space the case
    would run without it. Such a path is linked from a folder of its own."""
    if not re.search(r"[ :]", library):
        return library
    folder = tempfile.mkdtemp()
    atexit.register(shutil.rmtree, folder, True)
    link = os.path.join(folder, os.path.basename(library))
    os.symlink(library, link)
    return link


START_UP = [
    ("glClearColor", 0, 0, 0, 0), ("glClearDepth", 1),
    ("glEnable", "GL_DEPTH_TEST"), ("glEnable", "GL_CULL_FACE"),
    ("glMatrixMode", "GL_MODELVIEW"), ("glLoadIdentity",),
    ("glMultMatrixf", [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1]),  # gluLookAt from (0, 0, 120)
    ("glTranslated", 0, 0, -120),
    ("glShadeModel", "GL_SMOOTH"), ("glEnable", "GL_LIGHTING"),
    ("glLightModeli", "GL_LIGHT_MODEL_LOCAL_VIEWER", 1),
    ("glLightfv", "GL_LIGHT0", "GL_POSITION", [0, 0, 200, 1]),
    ("glLightfv", "GL_LIGHT0", "GL_DIFFUSE", [0, 0.8, 0.8, 0]),
    ("glEnable", "GL_LIGHT0"), ("glMatrixMode", "GL_MODELVIEW"),
] + [("glNewList",)] * 9 + [  # the nine body parts, each compiled once
    ("glViewport", 0, 0, 650, 650), ("glMatrixMode", "GL_PROJECTION"), ("glLoadIdentity",),
    ("glFrustum", -30, 30, -30, 30, 20, 100000), ("glMatrixMode", "GL_MODELVIEW"),
]


def case_startup(exe):
    p = Pavok(exe)
    check(run("xdotool", "getwindowname", p.wid).strip() == "Pavok", "window title")
    check(geometry(p.wid) == (0, 0, 650, 650), f"window geometry {geometry(p.wid)}")
    trace = p.read_trace()
    calls, in_list = [], False  # start-up up to the first frame, each list as its glNewList
    for call in trace.calls[: trace.calls.index(("SWAP", ()))]:
        if call[0] == "glNewList":
            calls.append(call)
        in_list = call[0] == "glNewList" or in_list and call[0] != "glEndList"
        if not in_list and call[0] not in ("glEndList", "glGenLists"):
            calls.append(call)
    check(len(calls) > len(START_UP), f"start-up calls: {calls}")
    for call, want in zip(calls, START_UP):
        if want == ("glNewList",):
            check(call[0] == "glNewList" and call[1][1] == "GL_COMPILE", f"expected a list, got {call}")
        else:
            expect_call(call, want[0], *want[1:])
    names = {c[1][0] for c in calls if c[0] == "glNewList"}
    check(len(names) == 9 and 0 not in names, f"list names {names}")
    first = split(trace.frames()[0])[1]
    check(calls[len(START_UP):] == first, "the first frame follows the first reshape directly")
    check(set(pose(trace.frames()[0]).values()) == {0, 90}, "the first frame shows the straight pose")
    check(sum(c[0] == "glCallList" for c in first) == 15, "the first frame calls the 15 segment lists")


# Key, joint it turns, change. One-character keys are typed as they are; others are X key names.
JOINT_KEYS = [("i", "gamsinx", 3), ("2", "spallasinz", 3), ("1", "spallasinz", -3), ("q", "gomdesx", -3),
              ("e", "polsosinz", 3), ("y", "polsodesz", -3), ("b", "gamsinz", 3), ("c", "gamdesz", -3),
              ("a", "ginsinx", 3), ("f", "gindesx", -3), ("g", "cavsinx", 3), ("k", "cavdesx", -3),
              ("0", "gomsinx", 3), ("7", "spalladesx", 3), ("4", "spallasinx", -3), ("6", "spalladesz", 3)]
IGNORED_KEYS = ["I", "l", "m", "n", "space", "Escape", "Return", "comma", "Prior", "Next", "Home", "End",
                "Insert", "Z"]


def case_keys(exe):
    """Each bound key draws exactly one new frame with its one change; ignored
    keys draw nothing (a bound key follows each group of them, so a frame
    they drew would be out of step); "z" zeroes every joint but the heading."""
    p = Pavok(exe)
    plan = JOINT_KEYS[:8] + [(k, None, None) for k in IGNORED_KEYS] + JOINT_KEYS[8:] + SPECIAL_KEYS + [("z", "z", 0)]
    for key, _, _ in plan:
        p.key(key)
    frames = p.read_trace().frames()
    expected, at = pose(frames[0]), 1
    for key, joint, change in plan:
        if joint is None and change is None:
            continue  # ignored
        check(at < len(frames), f"no frame for {key!r}")
        frame = frames[at]
        if joint == "z":
            expected = {j: (v if j in ("direzione", "piede90") else 0.0) for j, v in expected.items()}
        elif joint:
            expected[joint] += change
        want_moves = [step(change, expected["direzione"])] if joint is None else []
        check(pose(frame) == expected, f"after {key!r}: drawn {pose(frame)}, expected {expected}")
        check(same(moves(frame), want_moves), f"after {key!r}: moves {moves(frame)}, expected {want_moves}")
        at += 1
    check(at == len(frames), f"{len(frames) - at} frames too many")


def animation(exe, entry):
    """Plays one animation from the left menu; its frames and where it left the figure."""
    p = Pavok(exe)
    p.choose_menu(1, entry, ANIMATION_ENTRIES)
    frames = p.read_trace().frames()
    first = 1
    while first < len(frames) and is_redraw(frames[first - 1], frames[first]):
        first += 1  # freeglut 2.8 redraws the window as the menu opens
    if is_redraw(frames[-2], frames[-1]):
        frames.pop()  # the window redrawn where the menu was
    total = [sum(m[i] for f in frames[first:] for m in moves(f)) for i in range(3)]
    return frames[first:], total


def case_menu_animations(exe):
    frames, total = animation(exe, 1)  # Salta
    check(len(frames) == 115, f"Salta drew {len(frames)} frames")
    heights = [sum(m[1] for f in frames[:k] for m in moves(f)) for k in range(1, len(frames) + 1)]
    check(same(min(heights), -2.2919349, 1e-5) and same(max(heights), 11, 1e-5), f"Salta heights {min(heights)}..{max(heights)}")
    check(same(total, [0, 0, 0], 1e-5), f"Salta moved by {total}")
    check(all(v in (0, 90) for v in pose(frames[-1]).values()), "Salta ends straight")

    frames, total = animation(exe, 2)  # Corri
    check(len(frames) == 108, f"Corri drew {len(frames)} frames")
    check(same(total, [0, 0, 71.011], 1e-4), f"Corri moved by {total}")
    check(pose(frames[-1])["ginsinx"] == 2, "Corri leaves the left knee at 2")

    frames, total = animation(exe, 3)  # Cammina
    check(len(frames) == 168, f"Cammina drew {len(frames)} frames")
    check(same(total, [0, 0, 28.719], 1e-4), f"Cammina moved by {total}")


def case_menu_view(exe):
    """Every view entry chosen with the mouse, checked by what the next frame shows."""
    p = Pavok(exe)
    order = [3, 4, 5, 1, 2, 6, 7, 8]
    for entry in order:
        p.choose_menu(3, entry, VIEW_ENTRIES)
    frames = p.read_trace().frames()
    frames = [frames[0]] + [f for prev, f in zip(frames, frames[1:]) if not is_redraw(prev, f)]
    check(len(frames) == 1 + len(order), f"{len(frames) - 1} frames for {len(order)} choices")
    heading = 0
    for entry, prev, frame in zip(order, frames, frames[1:]):
        before = split(frame)[0]
        got_heading = pose(frame)["direzione"]
        turn = {3: -15, 4: 15, 5: -180}.get(entry, 0)
        check(got_heading == heading + turn, f"entry {entry}: heading {got_heading}")
        heading = got_heading
        d = {1: -15, 2: 15}.get(entry)
        check(same(moves(frame), [step(d, heading)] if d else [], 1e-5), f"entry {entry}: moves {moves(frame)}")
        bound = {6: 35, 7: 30, 8: 30}.get(entry)
        if bound is None:
            check(not [c for c in before if c[0] != "glTranslatef"], f"entry {entry}: {before}")
            continue
        kind = "glOrtho" if entry == 8 else "glFrustum"
        want = [("glViewport", 0, 0, 650, 650), ("glMatrixMode", "GL_PROJECTION"), ("glLoadIdentity",),
                (kind, -bound, bound, -bound, bound, 20, 100000), ("glMatrixMode", "GL_MODELVIEW")]
        check(len(before) == len(want), f"entry {entry}: {before}")
        for call, exp in zip(before, want):
            expect_call(call, exp[0], *exp[1:])


def case_resize(exe):
    """The viewport follows the window's width only; the projection is rebuilt unchanged."""
    p = Pavok(exe)
    for w, h in ((800, 600), (600, 800)):
        p.send("windowsize", p.wid, str(w), str(h))
        check(geometry(p.wid)[2:] == (w, h), f"window {geometry(p.wid)}")
    frames = p.read_trace().frames()
    reshapes = [split(f)[0] for f in frames[1:] if split(f)[0]]
    check(len(reshapes) == 2, f"{len(reshapes)} reshapes before frames")
    for before, w in zip(reshapes, (800, 600)):
        expect_call(before[0], "glViewport", 0, 0, w, w)
        expect_call(before[3], "glFrustum", -30, 30, -30, 30, 20, 100000)


def case_screenshot(exe):
    """In the orthographic view the lit figure covers exactly its analytic outline."""
    p = Pavok(exe)
    p.choose_menu(3, 8, VIEW_ENTRIES)  # Cambia proiezione
    rows = p.screenshot(os.path.join(p.dir, "orthographic.png"))
    p.stop()
    lit = [(r, c, px) for r, row in enumerate(rows) for c, px in enumerate(row) if px != (0, 0, 0)]
    check(lit, "nothing drawn")
    scale = 650 / 60  # pixels per scene unit: 60 units across 650 pixels
    want = (325 - 8.6 * scale, 325 + 11.375 * scale, 325 - 3.1 * scale, 325 + 3.1 * scale)
    got = (min(r for r, _, _ in lit), max(r for r, _, _ in lit) + 1, min(c for _, c, _ in lit), max(c for _, c, _ in lit) + 1)
    check(all(abs(g - w) <= 3 for g, w in zip(got, want)), f"outline rows/cols {got}, expected {want}")
    odd = [px for _, _, px in lit if abs(px[1] - px[2]) > 1 or px[0] > 16]
    check(not odd, f"{len(odd)} lit pixels not cyan-lit, e.g. {odd[:5]}")


def case_middle_button(exe):
    """The middle button opens no menu and changes nothing; left and right do open theirs."""
    p = Pavok(exe)
    check(p.press(2) is None, "the middle button opened a menu")
    p.send("mouseup", "2")
    for button in (1, 3):
        check(p.press(button) is not None, f"button {button} opened no menu")
        # Released off the menu it stays open; a middle click off it closes it, choosing nothing.
        p.send("mousemove", "--window", p.wid, "5", "5", "mouseup", str(button), "click", "2")
        check(p.menu_window() is None, "the menu did not close")
    frames = p.read_trace().frames()
    check(all(is_redraw(a, b) for a, b in zip(frames, frames[1:])), "a frame changed")


HELP_HEAD = """Usage: pavok [--help | --version | GLUT options]
Poses a lit, articulated human figure from the keyboard and makes it jump,
run and walk from pop-up menus. Other arguments go to GLUT: -display NAME
opens the window on another X server; -geometry has no effect, the program
asks for a 650 x 650 window at the top-left corner (a window manager or a
Wayland compositor may put it elsewhere).

Keys come in pairs: the first key moves its part the way named first, the
second the other way, 3 degrees a press (the arrow keys Up and Down: 1 unit).
"""
HELP_TAIL = """Left button:  Salta, Corri, Cammina
Right button: Trasla indietro, Trasla avanti, Ruota a destra, Ruota a sinistra,
  Ruota di 180 gradi, Allarga visuale, Restringi visuale, Cambia proiezione
"""


def help_mismatch(out):
    """What keeps `out` from being --help's text, or None: the lines around
    the key table verbatim; of the table, the shape: eight rows of joint keys,
    the z line, four rows of special keys, each row two pairs "  a/b  what",
    the second at column 40."""
    if not (out.startswith(HELP_HEAD) and out.endswith(HELP_TAIL)):
        return "the lines around the key table differ"
    table = out[len(HELP_HEAD):len(out) - len(HELP_TAIL)].split("\n")
    if len(table) != 14 or table[8] != "  z    every joint to 0":
        return "not 8 rows, the z line, 4 rows"
    pair = re.compile(r"  \S+/\S+  +\S.*\S")
    rows = table[0:8] + table[9:13]
    bad = [r for r in rows if not (pair.fullmatch(r[:40].rstrip()) and pair.fullmatch(r[40:]))]
    return f"rows not two pairs at columns 0 and 40: {bad}" if bad else None


# freeglut's glutInit options (src/fg_init.c): those followed by a value, whatever
# it is, and those that stand alone.
GLUT_VALUE_OPTIONS = ["-display", "-geometry"]
GLUT_FLAGS = ["-direct", "-indirect", "-iconic", "-gldebug", "-sync"]


def case_no_display(exe):
    """Without an X server GLUT's message and a plain non-zero exit, not a signal;
    --version and --help answer wherever they are on the command line, the first
    of them, and stop before GLUT looks for one.
    The command line is GLUT's: the value of -display or -geometry is theirs,
    also when it is --help or --version, and a bare -display is refused. Where
    no context can be made current, the message names the display GLUT opened."""
    n = 4242
    while os.path.exists(f"/tmp/.X11-unix/X{n}"):
        n += 1
    nowhere = dict(os.environ, DISPLAY=f":{n}")
    cmake = open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "CMakeLists.txt")).read()
    version = re.search(r"project\(pavok VERSION ([0-9.]+)", cmake).group(1)

    def version_mismatch(out):
        return None if out == f"pavok {version}\n" else f"not 'pavok {version}' and a newline"

    # Had --help been missed after -display, GLUT would look for that display.
    answers = [(["--version"], version_mismatch), (["-display", f":{n}", "--help"], help_mismatch),
               (["--help", "--version"], help_mismatch),
               (["-geometry", "9x9", "-iconic", "--version", "--help"], version_mismatch)]
    answers += [([flag, "--help"], help_mismatch) for flag in GLUT_FLAGS]
    for args, mismatch in answers:
        done = subprocess.run([exe, *args], env=nowhere, capture_output=True, text=True, timeout=20)
        wrong = mismatch(done.stdout)
        check(done.returncode == 0 and wrong is None and done.stderr == "",
              f"{args}: exit status {done.returncode}, expected 0; stdout {wrong or 'right'}: {done.stdout!r}; "
              f"stderr, expected empty: {done.stderr!r}")
    # Each of GLUT's values, even --help or --version, starts the program.
    starts = [([], nowhere, f"failed to open display ':{n}'")]
    starts += [([option, word], nowhere, f"failed to open display '{word if option == '-display' else f':{n}'}'")
               for option in GLUT_VALUE_OPTIONS for word in ("--help", "--version")]
    # On the suite's display, named by the last -display, with no context current.
    here, unready = os.environ["DISPLAY"], dict(nowhere, LD_PRELOAD=preloadable(os.environ["PAVOK_NO_CONTEXT"]))
    no_context = f"pavok: no working OpenGL context could be had on display {here} (glGenLists failed)"
    starts += [(["-display", here], unready, no_context), (["-display", f":{n}", "-display", here], unready, no_context)]
    for args, env, message in starts:
        done = subprocess.run([exe, *args], env=env, capture_output=True, text=True, timeout=60)
        check(done.returncode > 0 and message in done.stderr and done.stdout == "",
              f"{args}: exit status {done.returncode}, expected > 0; stderr {done.stderr!r}, expected {message!r}")
    try:
        done = subprocess.run([exe, "-display"], capture_output=True, text=True, timeout=20)
    except subprocess.TimeoutExpired:
        fail("a bare -display did not stop the program")
    check(done.returncode > 0, f"bare -display: exit status {done.returncode}")
    check("-display parameter must be followed by display name" in done.stderr, f"stderr: {done.stderr!r}")
    # DISPLAY names no server; -display names the suite's, where the window must open.
    p = Pavok(exe, wrapper=[], args=["-display", os.environ["DISPLAY"]], env=nowhere)
    check(geometry(p.wid)[2:] == (650, 650), f"window {geometry(p.wid)}")
    p.stop()


# Frames an animation draws, and how far it carries the figure forward.
ANIMATIONS = {1: (115, 0), 2: (108, 71.011), 3: (168, 28.719)}


def press_beside(p, button, entry, entries, at):
    """Opens button's menu with a click at `at` and presses the middle button on
    the window beside it, at the window point that names the entry's middle
    in screen coordinates; just right of the menu where that point is on the
    menu itself (a window near the screen's origin). Only the menu closes."""
    menu = p.press(button, *at)
    p.send("mouseup", str(button))
    check(menu is not None and p.menu_window() == menu, f"button {button}, clicked at {at}, left no menu open")
    (mx, my, mw, mh), (wx, wy) = menu, geometry(p.wid)[:2]
    x, y = mx + mw // 2, my + int((entry - 0.5) * mh / entries)
    if mx <= wx + x < mx + mw and my <= wy + y < my + mh:
        x = mx + mw + 5 - wx
    check(0 <= x < 650 and 0 <= y < 650, f"beside the menu at {menu}: ({x}, {y}) is off the window at ({wx}, {wy})")
    p.send("mousemove", "--window", p.wid, str(x), str(y), "click", "2")
    check(p.menu_window() is None, f"a middle click at ({x}, {y}) in the window beside the menu at {menu} left it open")


def case_window_manager(exe):
    """Under openbox, with the window where the manager puts it and then moved
    to (200, 150), each entry chosen by press-drag-release or by click, move,
    click does its own thing, and a middle click beside an open menu only
    closes it; moved, also with freeglut's buttons coming as core X events."""
    window_manager()
    core = dict(os.environ, LD_PRELOAD=preloadable(os.environ["PAVOK_CORE_BUTTONS"]))
    for moved, env in ((False, None), (True, None), (True, core)):
        p = Pavok(exe, env=env)
        for _ in range(100):  # until the manager has framed the window
            if geometry(p.wid)[:2] != (0, 0):
                break
            time.sleep(0.05)
        if moved:
            p.send("windowmove", p.wid, "200", "150")
        where = geometry(p.wid)[:2]
        check(where != (0, 0) and (not moved or where[0] >= 200 and where[1] >= 150), f"window inside at {where}")
        print(f"window inside at {where}")
        for button, entry, at, click in DESKTOP_CHOICES:
            entries = 3 if button == 1 else 8
            if click == BESIDE:
                press_beside(p, button, entry, entries, at)
            else:
                p.choose_menu(button, entry, entries, at, steps=6, click=click)
        frames, i = p.read_trace().frames(), 1
        heading, bound, kind = 0, 30, "glFrustum"
        after = ""  # a choice's frames come right after a press beside a menu that chose nothing
        for button, entry, at, click in DESKTOP_CHOICES:
            what = f"window at {where}, button {button} entry {entry} {'clicked' if click else 'dragged'}{after}"
            after = f", after a middle click beside button {button}'s menu opened at {at}" if click == BESIDE else ""
            while i < len(frames) and is_redraw(frames[i - 1], frames[i]):
                i += 1
            if click == BESIDE:
                continue
            if button == 1:
                count, forward = ANIMATIONS[entry]
                group, i = frames[i:i + count], i + count
                total = [sum(m[k] for f in group for m in moves(f)) for k in range(3)]
                check(len(group) == count and same(total, step(forward, heading), 1e-4), f"{what}: moved by {total}")
                continue
            d, turn, widen, switch = VIEWS[entry]
            check(i < len(frames), f"{what}: no frame")
            frame, i = frames[i], i + 1
            heading += turn
            bound += widen
            kind = {"glFrustum": "glOrtho", "glOrtho": "glFrustum"}[kind] if switch else kind
            check(pose(frame)["direzione"] == heading, f"{what}: heading {pose(frame)['direzione']}")
            check(same(moves(frame), [step(d, heading)] if d else [], 1e-5), f"{what}: moves {moves(frame)}")
            volume = [call for call in split(frame)[0] if call[0] in ("glFrustum", "glOrtho")]
            want = [(kind, (-bound, bound, -bound, bound, 20, 100000))] if widen or switch else []
            check(same(volume, want), f"{what}: view volume {volume}")
        check(all(is_redraw(a, b) for a, b in zip(frames[i - 1:], frames[i:])), f"{len(frames) - i} frames too many")


def case_valgrind(exe):
    """Start-up, keys and a jump chosen from the menu under memcheck: no errors
    in Pavok's code (valgrind.supp beside this file names the system libraries' noise)."""
    # Under qemu-user (the release test's arm64), which answers uname for the
    # processor it emulates but leaves the kernel's own name, valgrind cannot
    # run the program. With qemu's own arm64 processor it aborts as soon as
    # llvmpipe flushes a shader it compiled, refusing the cache-line size qemu
    # gives ("vgPlain_flush_dcache: Assertion 'cls == 64 || cls == 128'
    # failed"); with a Cortex-A72's (QEMU_CPU) it gets through the case in 10
    # minutes, but at SIGTERM it spins, 7 minutes and more, and does not end.
    kernel = open("/proc/sys/kernel/arch").read().strip() if os.path.exists("/proc/sys/kernel/arch") else None
    if kernel not in (None, platform.machine()):
        print(f"SKIPPED: valgrind cannot run the program under qemu-user ({platform.machine()} on a {kernel} kernel)")
        sys.exit(77)
    log = os.path.abspath("memcheck.txt")
    # No leak check: the program is stopped inside GLUT's loop, where nothing is
    # ever freed; leaks are LeakSanitizer's part, in the sanitized in-process tests.
    supp = os.path.join(os.path.dirname(os.path.abspath(__file__)), "valgrind.supp")
    # Mesa 20.3's llvmpipe (Debian 11) reuses shaders it compiled and cached in
    # earlier runs for the real processor, AVX-512 included, which valgrind
    # cannot execute: compiled afresh, they suit the processor valgrind shows.
    uncached = dict(os.environ, MESA_GLSL_CACHE_DISABLE="true", MESA_SHADER_CACHE_DISABLE="true")
    p = Pavok(exe, wrapper=["valgrind", "--tool=memcheck", "--error-exitcode=97", "--leak-check=no",
                            f"--suppressions={supp}", f"--log-file={log}"], env=uncached)
    for key in ("i", "F7", "Left", "Up", "z", "m"):
        p.key(key)
    p.choose_menu(1, 1, ANIMATION_ENTRIES)
    p.stop()
    text = open(log).read()
    summary = re.search(r"ERROR SUMMARY: (\d+) errors", text)
    check(summary is not None, "no memcheck summary")
    check(summary.group(1) == "0", f"memcheck errors, see {log}:\n{text[-4000:]}")


if __name__ == "__main__":
    case, exe = sys.argv[1], os.path.abspath(sys.argv[2])
    os.makedirs(case, exist_ok=True)
    os.chdir(case)  # the recording, the program's stderr and any screenshot stay here
    globals()["case_" + case](exe)
