"""Drives the real program for the end-to-end tests, `make docs`, the GL
stream and the benchmark: reads its controls from --help, starts it (under
apitrace, to read back the GL calls it made), sends real X events with xdotool,
chooses menu entries with the mouse and takes screenshots.

Only the program's own GL context is read: freeglut draws its pop-up menus
with GL contexts of their own, and those calls are left out.
"""

import atexit
import json
import os
import re
import signal
import subprocess
import sys
import time

# Rotations of one frame in drawing order: the heading, then each segment's
# angles (the feet end with a fixed 90 degrees about y).
FRAME_ROTATIONS = [
    "direzione",
    "panciax", "panciay", "panciaz",
    "collox", "colloy", "colloz",
    "spalladesx", "spalladesy", "spalladesz", "gomdesx", "polsodesz",
    "spallasinx", "spallasiny", "spallasinz", "gomsinx", "polsosinz",
    "gamsinx", "gamsinz", "ginsinx", "cavsinx", "piede90",
    "gamdesx", "gamdesz", "gindesx", "cavdesx", "piede90",
]

VIEW_ENTRIES, ANIMATION_ENTRIES = 8, 3  # the right and left buttons' menus

CALL = re.compile(r"^(\d+) (\w+)\((.*)\)(?: = (.*))?$")


def run(*cmd, check=True):
    """Runs a tool and returns its standard output as text."""
    done = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, timeout=120)
    if check and done.returncode != 0:
        fail(f"{' '.join(cmd)} exited with {done.returncode}")
    return done.stdout


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)


def pixels(picture, *options):
    """A picture's width, height and rgb bytes, row by row from the top; with
    -coalesce, those of each frame of an animation, one after another."""
    w, h = (int(v) for v in run("convert", picture, *options, "-format", "%w %h\n", "info:").split()[:2])
    return w, h, subprocess.run(["convert", picture, *options, "-depth", "8", "rgb:-"], stdout=subprocess.PIPE,
                                check=True).stdout


def geometry(wid):
    """A window's place on the screen and its size: x, y, width, height."""
    info = run("xwininfo", "-id", wid)
    return tuple(int(re.search(rf"{k}:\s+(-?\d+)", info).group(1))
                 for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def window_manager(name="openbox"):
    """Starts a window manager on the display, a private one; it decorates the
    program's window and places it away from the screen's origin, and stops
    when the calling script ends."""
    wm = subprocess.Popen([name], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    atexit.register(lambda: (wm.terminate(), wm.wait()))
    for _ in range(100):  # a manager announces itself on the root window
        if "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False):
            return
        time.sleep(0.1)
    fail(f"{name} did not start")


def controls(exe):
    """The controls as `pavok --help` prints them from the program's tables: the
    key pairs as (first key, second key, joint, ways), in its order; the z line
    as (key, what it does); the mouse buttons' lines; the menu entries in order."""
    text = subprocess.run([exe, "--help"], stdout=subprocess.PIPE, text=True, check=True, timeout=20,
                          env={k: v for k, v in os.environ.items() if k != "DISPLAY"}).stdout  # needs no display
    pairs = [p for line in text.splitlines()
             for p in re.findall(r"(?:^|  )(\S+)/(\S+)  +([^:]+): (.+?)(?=  +\S+/\S+  |$)", line)]
    z = re.search(r"^  (z) +(.+)$", text, re.M)
    buttons = text[text.find("Left button:"):].rstrip("\n").splitlines() if "Left button:" in text else []
    entries = [e.strip() for line in buttons for e in re.sub(r"^[A-Za-z]+ button:", "", line).split(",") if e.strip()]
    return pairs, z and z.groups(), buttons, entries


def _value(text):
    text = text.strip()
    if text.startswith("{"):
        return [_value(v) for v in _split(text[1:-1])]
    try:
        return float(text)
    except ValueError:
        return text


def _split(text):
    """Splits an argument list at the commas outside braces."""
    parts, depth, start = [], 0, 0
    for i, ch in enumerate(text):
        depth += ch == "{"
        depth -= ch == "}"
        if ch == "," and depth == 0:
            parts.append(text[start:i])
            start = i + 1
    if text[start:].strip():
        parts.append(text[start:])
    return parts


def _args(text):
    return tuple(_value(a.split(" = ", 1)[-1]) for a in _split(text))


class Trace:
    """The GL calls of the program's own context, as (name, args) pairs, with
    every buffer swap of its window recorded as ("SWAP", ()); `numbers` holds
    each call's number in the recording, `swaps` those of the swaps, which name
    the frames to `apitrace dump-images`; `file` is the recording itself."""

    def __init__(self, dump_text, file=None):
        self.calls, self.numbers, self.swaps, self.file = [], [], [], file
        self._written, self._states = {}, {}
        main_ctx = current = None
        for line in dump_text.splitlines():
            if line.endswith("// fake"):
                continue  # apitrace's own bookkeeping, not a call of the program
            m = CALL.match(line)
            if not m:
                continue
            number, name, args = int(m.group(1)), m.group(2), m.group(3)
            if name == "glXMakeContextCurrent":
                current = args.rsplit("ctx = ", 1)[-1]
                main_ctx = main_ctx or current
            elif current != main_ctx:
                continue
            elif name == "glXSwapBuffers":
                self.calls.append(("SWAP", ()))
                self.numbers.append(number)
                self.swaps.append(number)
            elif not name.startswith("glX"):
                self.calls.append((name, _args(args)))
                self.numbers.append(number)
                self._written[number] = args

    def written(self, number):
        """A call's arguments as the recording writes them, digit for digit."""
        return [a.split(" = ", 1)[-1].strip() for a in _split(self._written[number])]

    def state_at(self, number):
        """The GL state just at a call, as `apitrace replay` rebuilds it (once a call)."""
        if number not in self._states:
            dump = run("apitrace", "replay", "-D", str(number), self.file)
            self._states[number] = json.loads(dump, strict=False)["parameters"]
        return self._states[number]

    def on_screen(self, number, height):
        """Where the modelview's origin at a call lands, through that call's projection
        and viewport, in pixels from the top-left corner of a window `height` tall."""
        gl = self.state_at(number)
        m, p, (vx, vy, vw, vh) = gl["GL_MODELVIEW_MATRIX"], gl["GL_PROJECTION_MATRIX"], gl["GL_VIEWPORT"]
        eye = m[12:16]  # column-major: the origin goes to the last column
        clip = [sum(p[r + 4 * c] * eye[c] for c in range(4)) for r in range(4)]
        x, y = clip[0] / clip[3], clip[1] / clip[3]
        return vx + (x + 1) / 2 * vw, height - (vy + (y + 1) / 2 * vh)

    def frames(self, numbered=False):
        """Each frame's calls since the previous swap (moves made before it
        included); `numbered`, each call as (name, args, number)."""
        frames, frame = [], []
        for call, number in zip(self.calls, self.numbers):
            if call[0] == "SWAP":
                frames.append(frame)
                frame = []
            else:
                frame.append((*call, number) if numbered else call)
        return frames


def split(frame):
    """A frame's calls before its first clear (moves, reshapes) and from it on (the drawing)."""
    at = next(i for i, c in enumerate(frame) if c[0] == "glClear")
    return frame[:at], frame[at:]


def pose(frame):
    """The joint angles and heading a frame was drawn with."""
    rotations = [args for name, args in split(frame)[1] if name == "glRotatef"]
    check(len(rotations) == len(FRAME_ROTATIONS), f"a frame has {len(rotations)} rotations")
    return {joint: args[0] for joint, args in zip(FRAME_ROTATIONS, rotations)}


def moves(frame):
    """The translations made before the frame was drawn: the figure's moves."""
    return [args for name, args in split(frame)[0] if name == "glTranslatef"]


def is_redraw(previous, frame):
    """A frame that only repeats the previous one: what an expose of the window
    (a pop-up menu closing over it) makes GLUT draw."""
    return not split(frame)[0] and pose(frame) == pose(previous)


def _cpu_ns(pid):
    """Run time of every thread of the process so far, in nanoseconds."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return total


# freeglut's window on X, by its title. Wine's windows carry the program's
# file name as their class, and a visible one is the program's window (its
# menus and input-method windows stay unmapped until used).
BY_TITLE = ("--name", "^Pavok$")
BY_WINE_CLASS = ("--onlyvisible", "--classname", "^pavok\\.exe$")


def _pavok_windows(search=BY_TITLE):
    return run("xdotool", "search", *search, check=False).split()


class Pavok:
    """The real program, started under apitrace (or another wrapper) on the
    suite's display. With `real_keys`, keys go to the focused window as XTEST
    input, as a keyboard's would, and the window is activated first (a window
    manager has to run): Wine ignores events sent to a window."""

    def __init__(self, exe, wrapper=None, args=(), env=None, window=BY_TITLE, real_keys=False):
        self.dir = os.getcwd()
        self.trace_file = os.path.join(self.dir, "run.trace")
        if os.path.exists(self.trace_file):
            os.remove(self.trace_file)  # left by an earlier start in this directory
        traced = wrapper is None
        if traced:
            wrapper = ["apitrace", "trace", "-o", self.trace_file]
        self.log = open(os.path.join(self.dir, "stderr.txt"), "w")
        self.pid = None
        self.window, self.real_keys = window, real_keys
        others = set(_pavok_windows(window))
        self.proc = subprocess.Popen(wrapper + [exe, *args], stdout=subprocess.DEVNULL, stderr=self.log, env=env)
        atexit.register(self.stop)  # a failed check must not leave the program running
        # apitrace starts the program as its child; valgrind runs it in its own process.
        self.pid = self._program_pid() if traced else self.proc.pid
        self.wid = self._new_window(others)
        # Wine's windows name their process, which `wine` may have started as its child.
        self.pid = int(run("xdotool", "getwindowpid", self.wid, check=False) or self.pid)
        if real_keys:
            self.activate()
        self.settle(None)

    def _program_pid(self):
        # The wrapper starts the program as its child: look for it by parent id.
        deadline = time.time() + 30
        while time.time() < deadline:
            check(self.proc.poll() is None, f"the program exited with {self.proc.returncode}")
            try:
                with open(f"/proc/{self.proc.pid}/task/{self.proc.pid}/children") as f:
                    children = f.read().split()
            except FileNotFoundError:
                children = []
            if children:
                return int(children[0])
            time.sleep(0.02)
        fail("the program did not start")

    def _new_window(self, others):
        # freeglut sets no _NET_WM_PID, so the program's window is the one that
        # was not there before it started (the e2e tests run one at a time).
        # Under valgrind under qemu-user (an arm64 chroot) it takes about 80 s.
        deadline = time.time() + 180
        while time.time() < deadline:
            check(self.proc.poll() is None, f"the program exited with {self.proc.returncode}")
            new = set(_pavok_windows(self.window)) - others
            if new:
                check(len(new) == 1, f"{len(new)} new Pavok windows at once")
                return new.pop()
            time.sleep(0.05)
        fail("the program opened no window")

    def settle(self, before, quiet=0.25, timeout=300):
        """Waits until the program, which had used `before` ns of CPU when the
        last input was sent, has woken up for it and then used no CPU for
        `quiet` seconds: every frame it owed has been drawn by then."""
        deadline = time.time() + timeout
        woke = time.time() + 2
        while before is not None and _cpu_ns(self.pid) == before and time.time() < woke:
            time.sleep(0.01)
        last, since = _cpu_ns(self.pid), time.time()
        while time.time() - since < quiet:
            check(time.time() < deadline, "the program never became idle")
            time.sleep(0.03)
            now = _cpu_ns(self.pid)
            if now != last:
                last, since = now, time.time()

    def send(self, *xdotool_args):
        """Sends X input with xdotool and waits until the program has dealt with it."""
        before = _cpu_ns(self.pid)
        run("xdotool", *xdotool_args)
        self.settle(before)

    def activate(self):
        """Gives the window the focus, through the window manager."""
        run("xdotool", "windowactivate", "--sync", self.wid)

    def key(self, name, repeat=1):
        to = [] if self.real_keys else ["--window", self.wid]
        self.send("key", *to, *(["--repeat", str(repeat)] if repeat > 1 else []), name)

    def menu_window(self):
        """The geometry (x, y, width, height) of the pop-up menu on screen, or None."""
        for wid in run("xdotool", "search", "--onlyvisible", "--name", "^freeglut menu$", check=False).split():
            g = dict(re.findall(r"(\w+)=(\d+)", run("xdotool", "getwindowgeometry", "--shell", wid)))
            return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])
        return None

    def press(self, button, x=20, y=20):
        """Presses a mouse button inside the window; returns the menu it opened, if any."""
        self.send("mousemove", "--window", self.wid, str(x), str(y), "mousedown", str(button))
        return self.menu_window()

    def choose_menu(self, button, entry, entries, at=(20, 20), steps=1, click=False, held=None):
        """Chooses the entry-th (from 1) of a menu of `entries` entries: press at
        `at` in the window, wait for the menu, move to the entry's middle in
        `steps` moves, as a hand drags, release. With `click`, the button is
        released where it was pressed, which leaves the menu open, and clicked
        again on the entry. `held(menu)` is called with the pointer on the entry."""
        menu = self.press(button, *at)
        check(menu is not None, f"button {button}, pressed at {at} in the window, opened no menu")
        if click:
            self.send("mouseup", str(button))
            menu = self.menu_window()
            check(menu is not None, f"button {button}, clicked at {at} in the window, left no menu open")
        mx, my, mw, mh = menu
        x0, y0, x1, y1 = *self.pointer(), mx + mw // 2, my + int((entry - 0.5) * mh / entries)
        for k in range(1, steps + 1):
            run("xdotool", "mousemove", str(x0 + (x1 - x0) * k // steps), str(y0 + (y1 - y0) * k // steps))
            time.sleep(0.02)
        time.sleep(0.15)  # let the menu highlight the entry under the pointer
        if held:
            held(menu)
        self.send(*(["mousedown", str(button)] if click else []), "mouseup", str(button))
        how = "clicked on" if click else "released over"
        check(self.menu_window() is None, f"{how} entry {entry} of button {button}'s menu, the menu stayed open")

    def pointer(self):
        """Where the pointer is on the screen."""
        g = dict(re.findall(r"(\w+):(\d+)", run("xdotool", "getmouselocation")))
        return int(g["x"]), int(g["y"])

    def shot(self, png):
        """Saves the window's pixels as png."""
        xwd = subprocess.run(["xwd", "-silent", "-id", self.wid], stdout=subprocess.PIPE, check=True).stdout
        subprocess.run(["convert", "xwd:-", "png:" + png], input=xwd, check=True)

    def screenshot(self, png):
        """The window's pixels as rows of (r, g, b), top row first; also saved as png."""
        self.shot(png)
        w, h, data = pixels(png)
        return [[tuple(data[(r * w + c) * 3:(r * w + c) * 3 + 3]) for c in range(w)] for r in range(h)]

    def stop(self):
        """Ends the program with SIGTERM (which makes apitrace flush) and returns
        the wrapper's exit status."""
        if self.proc.poll() is None:
            os.kill(self.pid or self.proc.pid, signal.SIGTERM)
        try:
            return self.proc.wait(timeout=120)
        finally:
            self.log.close()

    def read_trace(self):
        """Stops the program and returns its recording."""
        self.stop()
        return Trace(run("apitrace", "dump", "--color=never", self.trace_file), self.trace_file)
