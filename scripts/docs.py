#!/usr/bin/env python3
"""Redraws the pictures under docs/images and the icon under packaging/icons
from the real program (`make docs`).

It runs $BUILD/pavok on a private Xvfb and drives it as the end-to-end tests
do (keys, real menu clicks): screenshots for the still poses; for the
animations an apitrace recording whose chosen frames `apitrace dump-images`
replays into pictures, which ImageMagick crops and joins into strips and
animated GIFs. The icon is one of those frames, its shades traced to vector
paths with potrace and rendered to PNG with rsvg-convert. Frames are chosen
by number within each animation, so a re-run gives the same files, byte for
byte.
"""

import atexit
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Always a private Xvfb: a desktop's own display would get its pointer moved,
# and its GL driver would draw different pixels.
if not os.environ.get("PAVOK_DOCS_DISPLAY"):
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    env["PAVOK_DOCS_DISPLAY"] = "1"
    with_display = os.path.join(ROOT, "scripts", "with-display.sh")
    os.execvpe("bash", ["bash", with_display, sys.executable, os.path.abspath(__file__)], env)
os.environ["LIBGL_ALWAYS_SOFTWARE"] = "1"

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from pavok_e2e import Pavok, check, moves, pose, run  # noqa: E402  (the end-to-end tests' driver)

os.chdir(ROOT)
EXE = os.path.abspath(os.path.join(os.environ.get("BUILD", "build"), "pavok"))
OUT = os.path.abspath(os.environ.get("OUT", "docs/images"))
ICONS = os.path.abspath(os.environ.get("ICONS", "packaging/icons"))

VIEW, ANIMATION = 3, 1  # the mouse buttons of the two menus
VIEW_ENTRIES, ANIMATION_ENTRIES = 8, 3
WIDEN, NARROW, PROJECTION = 6, 7, 8  # Allarga visuale, Restringi visuale, Cambia proiezione

MARGIN = 14  # black around a figure cut from a frame
PAD = 400  # black added around a frame before cutting, so that a cut may reach past its edges

# A pose, seen closer (two narrowings of the view): turned a little to its left,
# head turned and tilted, right arm raised out to the side with the forearm
# bent, left arm in towards the body, left thigh forward with the knee bent and
# the toes up, torso leaning a little to its right.
POSE = [(6, "Left"), (8, "F5"), (3, "F1"), (40, "5"), (15, "q"), (5, "t"),
        (10, "1"), (8, "r"), (12, "u"), (15, "a"), (3, "h"), (2, "F7")]

# The animations, each played in the orthographic view after key presses that
# place the figure. Frames are numbered within the animation: 0 is the last one
# before it, 1 to DRAWN its own. The run and the walk are seen from the side:
# turned 75 degrees to its left, the figure crosses the picture towards the
# right, first set back so that the chosen frames stay inside the window.
#   name, menu entry, frames it draws, of which with a step, heading,
#   keys for the strip, its frames; keys for the animated picture (seen from
#   three widenings further away, so that the whole run fits the window)
ANIMATIONS = [
    # jump: crouch, push-off with the arms out, rise with the arms up and the
    # toes down, the top, the way down, the landing
    ("jump", 1, 115, 110, 0, [], [20, 30, 50, 70, 95, 106], []),
    # run: one stride cycle: start, left leg back, legs passing, right leg
    # back, passing, left leg back
    ("run", 2, 108, 107, 75, [(25, "Left"), (18, "Down")], [1, 8, 16, 23, 31, 38], [(25, "Left"), (38, "Down")]),
    # walk: one cycle of two steps, from the end of the first half-step
    ("walk", 3, 168, 168, 75, [(25, "Left"), (8, "Down")], [12, 20, 28, 36, 44, 52, 60], [(25, "Left"), (16, "Down")]),
]
FARTHER = 3  # widenings of the view for the animated pictures
EVERY = 2  # of the animation's frames, every second in the animated picture,
DELAY = 3  # each shown this many hundredths of a second (about 30 frames a second)
HOLD = 80  # and the last one this long before it starts again

ICON_FRAME = ("run", 8)  # the figure that makes the icon: mid-stride, from the side
ICON_SHADES = 6  # bands of brightness the icon keeps, each traced to its own paths
ICON_SIZES = [48, 64, 128, 256]


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def info(png, fmt):
    return subprocess.run(["convert", png, "-format", fmt, "info:"], stdout=subprocess.PIPE, text=True,
                          check=True).stdout


def finish(src, path):
    """Into the repository without time stamps, so that the same picture gives the same file."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    convert(src, "-strip", "-define", "png:exclude-chunks=date,time", "png:" + path)


def box(png):
    """The figure's bounding box in a frame: width, height, left, top."""
    return [int(v) for v in re.split(r"[x+]", info(png, "%@"))]


def cut(src, dst, w, h, x, y):
    """The w x h rectangle at (x, y) of a frame, reaching into black past its edges."""
    convert(src, "-bordercolor", "black", "-border", str(PAD), "-crop", f"{w}x{h}+{x + PAD}+{y + PAD}",
            "+repage", dst)


# --- still pictures: screenshots of the window ---------------------------------

def stills():
    p = Pavok(EXE, wrapper=[])
    p.shot("rest-window.png")
    check(info("rest-window.png", "%[fx:maxima]") != "0", "the first frame is black")
    # The same square for both projections shows how much larger the figure gets.
    convert("rest-window.png", "-crop", "260x260+195+210", "+repage", "rest.png")
    finish("rest.png", f"{OUT}/rest.png")
    p.choose_menu(VIEW, PROJECTION, VIEW_ENTRIES)
    p.shot("ortho-window.png")
    convert("ortho-window.png", "-crop", "260x260+195+210", "+repage", "ortho.png")
    finish("ortho.png", f"{OUT}/ortho.png")
    p.choose_menu(VIEW, NARROW, VIEW_ENTRIES)
    p.choose_menu(VIEW, NARROW, VIEW_ENTRIES)
    for count, key in POSE:
        p.key(key, count)
    p.shot("posed-window.png")
    p.stop()
    convert("posed-window.png", "-trim", "-bordercolor", "black", "-border", str(MARGIN), "+repage", "png:posed.png")
    finish("posed.png", f"{OUT}/posed.png")


# --- animations: recorded, then chosen frames replayed into pictures ----------

def record(name, entry, drawn, steps, heading, keys, widen):
    """Plays an animation and returns the swap call of each of its frames, 0 to
    `drawn`, after checking that the recording holds the whole animation."""
    p = Pavok(EXE)
    p.choose_menu(VIEW, PROJECTION, VIEW_ENTRIES)
    for _ in range(widen):
        p.choose_menu(VIEW, WIDEN, VIEW_ENTRIES)
    for count, key in keys:
        p.key(key, count)
    p.choose_menu(ANIMATION, entry, ANIMATION_ENTRIES)
    trace = p.read_trace()
    frames = trace.frames()
    # Nothing moves the figure after the animation, so its last frame is the
    # last frame that carries a step.
    end = max((i for i, f in enumerate(frames) if moves(f)), default=-1)
    first = end - drawn
    check(end >= 0 and first >= 0, f"{name}: the recording holds no whole animation")
    stepped = sum(1 for f in frames[first + 1:end + 1] if moves(f))
    check(stepped == steps, f"{name}: {stepped} frames with a step where {steps} were expected")
    turned = {pose(f)["direzione"] for f in frames[first + 1:end + 1]}
    check(turned == {heading}, f"{name}: frames drawn at headings {turned}, not {heading}")
    return trace.swaps[first:end + 1]


def replay(name, calls):
    """The frames drawn by those swap calls of the last recording, as pictures."""
    prefix = f"{name}-"
    run("apitrace", "dump-images", "--calls=" + ",".join(map(str, calls)), "-o", prefix, "run.trace")
    return [f"{prefix}{c:010d}.png" for c in calls]


def strip(name, files):
    """One row of frames, each cut to the same size, centred horizontally on
    the figure, all covering the same height so that vertical motion shows."""
    boxes = [box(f) for f in files]
    cw = max(w for w, _, _, _ in boxes) + 2 * MARGIN
    top = min(y for _, _, _, y in boxes)
    ch = max(y + h for _, h, _, y in boxes) - top + 2 * MARGIN
    cells = []
    for i, (f, (w, _, x, _)) in enumerate(zip(files, boxes)):
        cells.append(f"{name}-cell-{i}.png")
        cut(f, cells[-1], cw, ch, x + w // 2 - cw // 2, top - MARGIN)
    convert(*cells, "+append", f"png:{name}-strip.png")
    finish(f"{name}-strip.png", f"{OUT}/{name}.png")


def animated(name, files):
    """The frames as one looping GIF, all cut to the box the figure covers in
    any of them, so that it moves across the picture as it does in the window."""
    boxes = [box(f) for f in files]
    left, top = min(b[2] for b in boxes), min(b[3] for b in boxes)
    right, bottom = max(b[2] + b[0] for b in boxes), max(b[3] + b[1] for b in boxes)
    cells = []
    for i, f in enumerate(files):
        cells.append(f"{name}-frame-{i}.png")
        cut(f, cells[-1], right - left + 2 * MARGIN, bottom - top + 2 * MARGIN, left - MARGIN, top - MARGIN)
    # One palette for all frames, without dithering noise; each frame then keeps
    # only what changed from the one before.
    convert("-delay", str(DELAY), *cells[:-1], "-delay", str(HOLD), cells[-1], "-loop", "0",
            "+dither", "+remap", "-layers", "Optimize", f"gif:{OUT}/{name}.gif")


# --- the icon ------------------------------------------------------------------

def icon(frame):
    """The figure in a frame, on a black rounded square, as vector paths: its
    lit pixels split by brightness into bands of equal size, and each band with
    all brighter ones traced by potrace to paths filled with the band's middle
    colour, the brighter drawn over the darker."""
    w, h, x, y = box(frame)
    side = max(w, h) + 2 * MARGIN
    cut(frame, "icon-square.png", side, side, x + w // 2 - side // 2, y + h // 2 - side // 2)
    scale = 4  # traced larger than drawn: smoother outlines for the thin limbs
    convert("icon-square.png", "-filter", "Triangle", "-resize", f"{scale * 100}%", "icon-large.png")
    # Green stands for brightness: the light has no red, and green equals blue.
    histogram = run("convert", "icon-square.png", "-format", "%c", "histogram:info:-")
    lit = sorted(((int(r), int(g), int(b)) for n, r, g, b in re.findall(r"(\d+): \((\d+),(\d+),(\d+)", histogram)
                  for _ in range(int(n)) if int(g) > 0), key=lambda c: (c[1], c))
    bands = [lit[len(lit) * k // ICON_SHADES:len(lit) * (k + 1) // ICON_SHADES] for k in range(ICON_SHADES)]
    layers = []
    for k, band in enumerate(bands):
        # The darkest band takes the whole figure: anything brighter than half
        # the ambient light alone, which is the dimmest a lit pixel gets.
        level = band[0][1] if k else band[0][1] / 2
        convert("icon-large.png", "-channel", "G", "-separate", "+channel", "-threshold", f"{level / 2.55:.3f}%",
                "-negate", f"icon-{k}.pbm")
        colour = "#%02x%02x%02x" % band[len(band) // 2]
        svg = run("potrace", "--svg", "--flat", "--turdsize", "8", "--color", colour, "-o", "-", f"icon-{k}.pbm")
        layers.append(re.search(r"<g .*?</g>", svg, re.S).group(0))
    size = side * scale
    svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">\n'
           f'<rect width="{size}" height="{size}" rx="{size // 8}" fill="#000000"/>\n' + "\n".join(layers) + "\n</svg>\n")
    scalable = f"{ICONS}/hicolor/scalable/apps/pavok.svg"
    os.makedirs(os.path.dirname(scalable), exist_ok=True)
    with open(scalable, "w") as f:
        f.write(svg)
    for px in ICON_SIZES:
        subprocess.run(["rsvg-convert", "-w", str(px), "-h", str(px), "-o", f"icon-{px}.png", scalable], check=True)
        finish(f"icon-{px}.png", f"{ICONS}/hicolor/{px}x{px}/apps/pavok.png")


def main():
    for tool in ("xdotool", "xwd", "apitrace", "convert", "potrace", "rsvg-convert"):
        check(shutil.which(tool), f"{tool} is missing (make deps installs it)")
    check(os.access(EXE, os.X_OK), f"{EXE} is not built")
    work = tempfile.mkdtemp()
    atexit.register(shutil.rmtree, work)
    os.chdir(work)  # recordings, the program's stderr and the frames
    os.makedirs(OUT, exist_ok=True)

    stills()
    for name, entry, drawn, steps, heading, keys, chosen, moving_keys in ANIMATIONS:
        calls = record(name, entry, drawn, steps, heading, keys, 0)
        files = replay(name, [calls[n] for n in chosen])
        strip(name, files)
        if name == ICON_FRAME[0]:
            icon(files[chosen.index(ICON_FRAME[1])])
        calls = record(name, entry, drawn, steps, heading, moving_keys, FARTHER)
        # Every EVERY-th frame back from the last, from frame 0 or 1 on.
        animated(name, replay(name + "-all", calls[drawn % EVERY::EVERY]))
    for name in sorted(os.listdir(OUT)):
        print(f"{os.path.getsize(os.path.join(OUT, name)):8d} {OUT}/{name}")


if __name__ == "__main__":
    main()
