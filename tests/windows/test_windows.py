"""The Windows build under Wine, with the Linux build as its oracle:
python3 test_windows.py PAVOK.EXE PAVOK, on a display of its own with no
window manager yet (tools/with_display.sh).

Both builds run one after the other on the same server, under openbox, and get
the same real input (XTEST: Wine ignores events sent to a window). Wine's
opengl32 draws through the same Mesa as the Linux build, so after each group of
keys the two windows must hold the very same pixels; each menu must open where
it was pressed, with its entries; and after each menu entry is chosen, the
pixels must be the same again, but for the parallel view's depth ties (see
DEPTH_TIES). WINEPREFIX names the prefix: made here once, and no process of it
is left when the test ends.
"""

import atexit
import contextlib
import os
import re
import signal
import subprocess
import sys
import time

from pavok_driver import (ANIMATION_ENTRIES, BY_TITLE, BY_WINE_CLASS, VIEW_ENTRIES, Pavok, check, geometry, run,
                          window_manager)
from pavok_driver.cases import DESKTOP_CHOICES, DRAG, SPECIAL_KEYS, VIEWS

# Every joint's two keys.
JOINT_PAIRS = "21 34 65 78 09 wq er ty iu po bv xc as df gh jk"
# Key groups, each key with how often it is pressed: the two keys of a pair
# unequally often, so that no group undoes itself. The arrows come first: 40
# steps towards the eye make the figure larger, and so every later change
# shows in more pixels; turned about, it then runs and walks away from the eye.
# The figure is left bent, so that the jump, which ends straight, shows.
KEY_GROUPS = [
    ("arrows", [("Up", 40), ("Left", 60), ("Right", 2), ("Down", 3)]),
    ("joint keys", [(key, 3 - 2 * i) for pair in JOINT_PAIRS.split() for i, key in enumerate(pair)]),
    ("z", [("z", 1)]),
    ("F1-F12", [(key, 3 - 2 * (i % 2)) for i, (key, _, _) in enumerate(SPECIAL_KEYS[:12])]),
]
# Where each menu is opened, in the window.
MENU_AT = {3: (100, 80), 1: (400, 300)}
# After the e2e tests' choices, the left menu opened near the window's corner
# and dragged to an entry past its edges, where Wine drops a drag's input. The
# Windows build's menu is pictured there with the pointer held on the entry.
PAST_EDGE = (1, 3, (625, 625), DRAG)

# In the parallel view, where parts meet (a knee, an ankle on its foot) their depths
# tie, and ties fall one way in freeglut's Windows pixel format, with its
# 24-bit depth buffer, and the other in Mesa's 32-bit visual on Xvfb: so there
# this share of the figure's pixels may differ. 1 to 4 of about 6,750 did.
DEPTH_TIES = 1 / 1000

prefix = os.environ["WINEPREFIX"]


def wine_processes():
    """Wine's processes of this test's prefix: Wine's own programs (the
    server, the loader a Windows program runs in) with WINEPREFIX set to it."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                ours = f"WINEPREFIX={prefix}".encode() in f.read().split(b"\0")
            if ours and "/wine" in os.readlink(f"/proc/{pid}/exe"):
                found.append(f"{pid} {open(f'/proc/{pid}/cmdline').read().replace(chr(0), ' ').strip()}")
        except OSError:
            pass  # gone, or not ours to read
    return found


def end_wine():
    """Ends the prefix's server, then any process of the prefix it leaves, and
    returns what is still left after 60 s. A process that was starting as the
    server ended waits for the server's answer forever: winedevice.exe, started
    by services.exe just after a new prefix's boot, was left so, in one pipe
    read, with its parent gone."""
    for _ in range(60):
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], stderr=subprocess.DEVNULL, timeout=60)
        left = wine_processes()
        if not left:
            return left
        for process in left:
            with contextlib.suppress(ProcessLookupError):
                os.kill(int(process.split()[0]), signal.SIGKILL)
        time.sleep(1)
    return left


def same_output(exe):
    """--version and --help print what the Linux build prints, line for line
    (Windows' C library ends lines with CR LF), and nothing else."""
    for args in (["--version"], ["--help"]):
        want = subprocess.run([exe, *args], capture_output=True, timeout=20)
        got = subprocess.run(["wine", WINDOWS_EXE, *args], capture_output=True, timeout=120)
        check(want.returncode == 0 and want.stdout and not want.stderr, f"Linux build {args}: {want}")
        check(got.stdout.replace(b"\r\n", b"\n") == want.stdout,
              f"wine pavok.exe {args} printed {got.stdout!r}, the Linux build {want.stdout!r}")
        check((got.returncode, got.stderr) == (0, b""), f"wine pavok.exe {args}: exit {got.returncode}, "
              f"stderr {got.stderr!r}")
        print(f"{' '.join(args)}: the same {len(want.stdout.splitlines())} lines")


def menu_at(p, button, at):
    """Opens the button's menu at `at` in the window, then closes it without
    choosing; returns where it opened, from the pointer, and the entries its
    picture shows (none under Xvfb's GLX, where menus show black)."""
    x, y = geometry(p.wid)[:2]
    menu = p.press(button, *at)
    check(menu is not None, f"button {button} opened no menu")
    shown = text_rows(menu)
    # Released off the menu it stays open; a middle click off it closes it, choosing nothing.
    p.send("mousemove", "--window", p.wid, "5", "5", "mouseup", str(button), "click", "2")
    check(p.menu_window() is None, f"button {button}'s menu did not close")
    return menu[0] - x - at[0], menu[1] - y - at[1], shown


def text_rows(menu):
    """The bands of rows with black text inside a menu's 2-pixel bevel: one an entry."""
    mx, my, mw, mh = menu
    grey = subprocess.run(f"xwd -silent -root | convert xwd:- -crop {mw - 4}x{mh - 4}+{mx + 2}+{my + 2} "
                          "-colorspace gray -depth 8 gray:-", shell=True, stdout=subprocess.PIPE, check=True).stdout
    inked = [0 in grey[r * (mw - 4):(r + 1) * (mw - 4)] for r in range(mh - 4)]
    return sum(ink and not above for ink, above in zip(inked, [False] + inked))


def session(name, exe, wrapper, window):
    """Runs one build through every key group and menu; returns the window's
    title and size, a picture after each step (with whether it shows the
    parallel view), and each menu's place and entries."""
    p = Pavok(exe, wrapper=wrapper, window=window, real_keys=True)
    title, size = run("xdotool", "getwindowname", p.wid).rstrip("\n"), geometry(p.wid)[2:]
    pictures = [("start", f"{name}-start.png", False)]
    p.shot(pictures[-1][1])
    for group, keys in KEY_GROUPS:
        p.activate()
        for key, times in keys:
            p.key(key, times)
        pictures.append((group, f"{name}-{len(pictures)}.png", False))
        p.shot(pictures[-1][1])
    menus = {button: menu_at(p, button, at) for button, at in MENU_AT.items()}
    choose_entries(p, name, pictures, wrapper == ["wine"])
    p.stop()
    return title, size, pictures, menus


def choose_entries(p, name, pictures, wine):
    """Chooses every entry of both menus, each at its own place and way, as
    the e2e tests do, then PAST_EDGE; a picture after each (an animation's
    once it has ended)."""
    parallel = False
    for button, entry, at, click in DESKTOP_CHOICES + [PAST_EDGE]:
        p.activate()
        held = None
        if wine and (button, entry, at, click) == PAST_EDGE:
            held = lambda menu: highlight_under_pointer(p, menu, entry, ANIMATION_ENTRIES)  # noqa: E731
        p.choose_menu(button, entry, ANIMATION_ENTRIES if button == 1 else VIEW_ENTRIES, at, steps=6, click=click,
                      held=held)
        parallel ^= button == 3 and VIEWS[entry][3]
        pictures.append((f"{'left' if button == 1 else 'right'} menu entry {entry}", f"{name}-{len(pictures)}.png",
                         parallel))
        p.shot(pictures[-1][1])


def highlight_under_pointer(p, menu, entry, entries):
    """The menu, with the pointer held on its entry-th entry past the window's
    edge, highlights that entry and no other: its band of rows is the one whose
    background (its commonest grey) differs from the others'."""
    mx, my, mw, mh = menu
    (px, py), (wx, wy, ww, wh) = p.pointer(), geometry(p.wid)
    check(not (wx <= px < wx + ww and wy <= py < wy + wh), f"the pointer at {(px, py)} is on the window")
    grey = subprocess.run(f"xwd -silent -root | convert xwd:- -crop {mw}x{mh}+{mx}+{my} -write held.png "
                          "-colorspace gray -depth 8 gray:-", shell=True, stdout=subprocess.PIPE, check=True).stdout
    band = [grey[k * mh // entries * mw:(k + 1) * mh // entries * mw] for k in range(entries)]
    back = [max(set(b), key=b.count) for b in band]
    lit = [k + 1 for k, b in enumerate(back) if back.count(b) == 1]
    print(f"held on entry {entry}: band backgrounds {back}")
    check(lit == [entry], f"with the pointer on entry {entry}, the menu highlights {lit or 'none'} (held.png)")


def differing(a, b):
    """How many pixels of two pictures differ (ImageMagick's absolute error count)."""
    done = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    m = re.match(r"\d+", done.stderr)
    check(m is not None, f"compare {a} {b}: {done.stderr}")
    return int(m.group())


def figure_pixels(png):
    """How many pixels of a picture are not the black background."""
    return round(float(run("convert", png, "-fill", "white", "+opaque", "black", "-format", "%[fx:mean*w*h]",
                           "info:")))


def main(windows_exe, linux_exe):
    if not os.path.exists(os.path.join(prefix, "system.reg")):
        # Without .NET and the HTML engine, whose installers would wait for a click.
        subprocess.run(["wineboot", "-i"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True,
                       timeout=300, env=dict(os.environ, WINEDLLOVERRIDES="mscoree,mshtml="))
    end_wine()
    same_output(linux_exe)
    window_manager()
    linux = session("linux", linux_exe, [], BY_TITLE)
    windows = session("windows", windows_exe, ["wine"], BY_WINE_CLASS)
    left = end_wine()
    check(not left, f"Wine processes left: {left}")

    check(windows[0] == linux[0] == "Pavok", f"window titles: Windows build {windows[0]!r}, Linux {linux[0]!r}")
    check(windows[1] == linux[1] == (650, 650), f"window sizes: Windows build {windows[1]}, Linux {linux[1]}")
    print("window: 'Pavok', 650 x 650, in both")
    for button, entries in ((3, VIEW_ENTRIES), (1, ANIMATION_ENTRIES)):
        (x, y, shown), (lx, ly, _) = windows[3][button], linux[3][button]
        check((x, y) == (lx, ly), f"button {button}'s menu opened at {(x, y)} from the pointer, the Linux build's at "
              f"{(lx, ly)}")
        check(shown == entries, f"button {button}'s menu shows {shown} entries, not {entries}")
        print(f"button {button}'s menu: at {(x, y)} from the pointer in both, {shown} entries")

    for (step, now, _), (_, before, _) in zip(linux[2][1:], linux[2]):
        check(differing(before, now) > 0, f"the Linux build's picture did not change with {step}")
    for (step, want, parallel), (_, got, _) in zip(linux[2], windows[2]):
        n, may = differing(want, got), int(figure_pixels(want) * DEPTH_TIES) if parallel else 0
        print(f"{step}: {n} pixels differ" + (f" (up to {may} may: the parallel view's depth ties)" if parallel else ""))
        check(n <= may, f"after {step}, {n} pixels of {got} differ from the Linux build's {want} (up to {may} may)")


if __name__ == "__main__":
    WINDOWS_EXE, exe = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # a timeout still ends Wine, through atexit
    atexit.register(end_wine)
    os.makedirs("windows", exist_ok=True)
    os.chdir("windows")
    main(WINDOWS_EXE, exe)
