#!/usr/bin/env python3
"""Redraws the pictures under docs/images and the icon under packaging/icons
from the real program (`make docs`); with --keys only the key map and the
joint tree, printing the key map's labels, one JSON object a line (the
documents test reads them).

It runs $BUILD/pavok on a private Xvfb and drives it as the end-to-end tests
do (keys, real menu clicks): screenshots for the still poses; for the
animations an apitrace recording whose chosen frames `apitrace dump-images`
replays into pictures, which ImageMagick crops and joins into strips and
animated GIFs. The icon is one of those frames, its shades traced to vector
paths with potrace and rendered to PNG with rsvg-convert. The key map and
the joint tree come from one recorded frame at rest: its push/pop nesting and
list calls give the tree, the matrices `apitrace replay` rebuilds at each list
call place the labels, and pressing each key of `pavok --help` shows which
rotation it turns. Frames are chosen by number within each animation, so a
re-run on the same release gives the same files, byte for byte.
"""

import atexit
import json
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
    os.execvpe("bash", ["bash", with_display, sys.executable, os.path.abspath(__file__), *sys.argv[1:]], env)
os.environ["LIBGL_ALWAYS_SOFTWARE"] = "1"

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from pavok_driver import Pavok, check, moves, pose, run, split  # noqa: E402

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
# The animated pictures' palette: black and this many shades of the figure's
# cyan, evenly spaced from its dimmest to its brightest, as good to the eye as
# 256 colours. Fixed, so that the files' size does not hang on the colours a
# release's ImageMagick picks (7 keeps twice as many as 6 from the same frames).
SHADES = 32
LARGEST = 200_000  # bytes a picture may take

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
    # Every pixel to the nearest colour of the palette, without dithering
    # noise; each frame then keeps only what changed from the one before.
    convert("-delay", str(DELAY), *cells[:-1], "-delay", str(HOLD), cells[-1], "-loop", "0",
            "+dither", "-remap", palette(), "-layers", "Optimize", f"gif:{OUT}/{name}.gif")


def palette():
    """A file holding the palette: black, and SHADES shades of the figure's
    cyan. The figure's lit pixels all have a red of 10 and as much green as
    blue, from 10 (ambient light only) to 255."""
    shades = [10 + round(k * 245 / (SHADES - 1)) for k in range(SHADES)]
    with open("palette.ppm", "w") as f:
        f.write(f"P3\n{SHADES + 1} 1\n255\n0 0 0\n" + "".join(f"10 {g} {g}\n" for g in shades))
    return "palette.ppm"


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


# --- the key map and the joint tree: where each key acts ---------------------

KEYMAP_NARROWINGS = 3  # the key map's figure: parallel view, three narrowings closer
# How the segments are named, from where they hang alone, so that the names
# can be held to the ones --help gives: the root is the pelvis; on the middle
# line (offset x = 0) the torso sits on the pelvis and the head on the torso;
# off it, a chain of limb segments starts, its side that of x (the figure faces
# the viewer, along +z, so its left is at +x).
ROOT = "pelvis"
MIDDLE = {"pelvis": "torso", "torso": "head"}
LIMBS = {"pelvis": ("thigh", "shin", "foot"), "torso": ("upper arm", "forearm", "hand")}
JOINT = {"thigh": "hip", "shin": "knee", "foot": "ankle", "upper arm": "shoulder", "forearm": "elbow", "hand": "wrist"}
FONTS = "/usr/share/fonts/truetype/dejavu"
BIG, SMALL = 17, 12  # points: the keys of a label, the joint's name after them
LINE = 22  # pixels a label takes up and down
SPACE = 6  # pixels between a label's keys and its joint's name
GAP = 40  # pixels between the figure and a column of labels


def controls():
    """The controls as `pavok --help` prints them from the program's tables:
    the key pairs as (first key, second key, what they turn), the z line and
    the mouse buttons' lines."""
    text = run(EXE, "--help")
    pairs = [p for line in text.splitlines()
             for p in re.findall(r"(?:^|  )(\S+)/(\S+)  +(.+?)(?=  +\S+/\S+  |$)", line)]
    z = re.search(r"^  (z) +(.+)$", text, re.M)
    buttons = text[text.index("Left button:"):].rstrip("\n").splitlines()
    check(pairs and z and buttons, "pavok --help lists no keys")
    return pairs, z.groups(), buttons


def where_keys_act(pairs):
    """Records the figure at rest, facing the viewer in the parallel view and
    seen closer, then each pair's first key and its second. Returns the rest
    frame's drawing calls, its swap, and for each pair the index, in those
    calls, of the rotation its first key changed, or None for a key that moves
    the figure instead."""
    p = Pavok(EXE)
    p.choose_menu(VIEW, PROJECTION, VIEW_ENTRIES)
    for _ in range(KEYMAP_NARROWINGS):
        p.choose_menu(VIEW, NARROW, VIEW_ENTRIES)
    for first, second, _ in pairs:
        p.key(first)
        p.key(second)
    trace = p.read_trace()
    frames = trace.frames(numbered=True)
    at = len(frames) - 2 * len(pairs) - 1  # one frame a key
    rest = split(frames[at])[1]
    calls = [c[:2] for c in rest]
    acts = []
    for k, (first, second, _) in enumerate(pairs):
        turned, back = frames[at + 1 + 2 * k], frames[at + 2 + 2 * k]
        check([c[:2] for c in split(back)[1]] == calls, f"{second} did not undo {first}")
        changed = [i for i, (a, b) in enumerate(zip(calls, (c[:2] for c in split(turned)[1]))) if a != b]
        if changed:
            check(len(changed) == 1 and calls[changed[0]][0] == "glRotatef", f"{first} changed {changed}")
            acts.append(changed[0])
        else:
            moved = any(c[0] == "glTranslatef" for c in split(turned)[0])
            check(moved, f"{first} changed nothing")
            acts.append(None)
    return rest, trace.swaps[at], acts


def joints(rest, pairs, acts):
    """The figure's segments as the rest frame draws them, one a display list
    call: the parent (from the matrix stack's push/pop nesting; the first,
    the pelvis, is the root), the joint's offset and rotations (the calls
    between the list call before and its own), and the pairs that act there."""
    nodes, open_, depth, moves = [], [], 0, []
    for i, (name, args, number) in enumerate(rest):
        if name == "glPushMatrix":
            depth += 1
        elif name == "glPopMatrix":
            depth -= 1
            while open_ and open_[-1]["depth"] > depth:
                open_.pop()
        elif name in ("glTranslatef", "glRotatef"):
            moves.append((i, name, args))
        elif name == "glCallList":
            offsets = [args for _, n, args in moves if n == "glTranslatef"]
            check(len(offsets) <= 1 and all(n == "glRotatef" for _, n, _ in moves[len(offsets):]),
                  f"segment {len(nodes)}: not one translation followed by rotations")
            nodes.append({"call": number, "depth": depth, "keys": [],
                          "parent": open_[-1]["id"] if open_ else (0 if nodes else None), "id": len(nodes),
                          "offset": offsets[0] if offsets else (0.0, 0.0, 0.0),
                          "turns": [(j, args) for j, n, args in moves if n == "glRotatef"]})
            open_.append(nodes[-1])
            moves = []
    for pair, act in zip(pairs, acts):
        node = 0 if act is None else next(n["id"] for n in nodes if act in (j for j, _ in n["turns"]))
        nodes[node]["keys"].append((pair, act))
    for n in nodes:  # parents come first
        if n["parent"] is None:
            n["part"], n["joint"], n["limb"] = ROOT, None, None
            continue
        parent, x = nodes[n["parent"]], n["offset"][0]
        if parent["limb"]:
            limb, side = parent["limb"], parent["side"]
            n["base"] = limb[limb.index(parent["base"]) + 1]
        elif x == 0:
            limb, side, n["base"] = None, "", MIDDLE[parent["part"]]
        else:
            limb, side = LIMBS[parent["part"]], "left" if x > 0 else "right"
            n["base"] = limb[0]
        n["limb"], n["side"] = limb, side
        n["part"] = f"{side} {n['base']}".strip()
        n["joint"] = f"{side} {JOINT[n['base']]}" if limb else n["part"]
    return nodes


def state_at(call):
    """The GL state just at a call of the last recording, as `apitrace replay` rebuilds it."""
    dump = subprocess.run(["apitrace", "replay", "-D", str(call), "run.trace"], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, check=True).stdout
    return json.loads(dump, strict=False)["parameters"]


def on_screen(call, height):
    """Where the origin of the modelview at a call lands in the window, in
    pixels from its top-left corner: through that call's projection and viewport."""
    gl = state_at(call)
    m, p, (vx, vy, vw, vh) = gl["GL_MODELVIEW_MATRIX"], gl["GL_PROJECTION_MATRIX"], gl["GL_VIEWPORT"]
    eye = m[12:16]  # column-major: the origin goes to the last column
    clip = [sum(p[r + 4 * c] * eye[c] for c in range(4)) for r in range(4)]
    x, y = clip[0] / clip[3], clip[1] / clip[3]
    return vx + (x + 1) / 2 * vw, height - (vy + (y + 1) / 2 * vh)


def ways(what):
    """The ways a pair moves its part, as --help names them after the part: "in / out"."""
    return what.split(": ", 1)[1]


def spread(labels, top, bottom):
    """Moves the labels of one column apart, keeping their order, so that none
    covers another, as near their joints as the room allows."""
    labels.sort(key=lambda l: l["y"])
    at = top
    for l in labels:
        l["y"] = max(l["y"], at)
        at = l["y"] + l["h"]
    at = bottom
    for l in reversed(labels):
        l["y"] = min(l["y"], at - l["h"])
        at = l["y"]


def width_of(font, size, text):
    """How many pixels wide ImageMagick writes a line of text."""
    return int(run("convert", "-font", font, "-pointsize", str(size), f"label:{text}", "-format", "%w", "info:"))


def keymap(nodes, frame, z, buttons):
    """The rest frame with a label for each key pair beside it: the keys, then
    the joint and the ways they move it, joined to the joint by a line, the
    joints on the screen's left in the left column; the arrows under the feet;
    the z key and the menus in a corner. Returns each label as the documents
    test reads it: its keys, joint and ways, the box it takes, and its line
    from the joint to the label, in the picture's pixels."""
    bold, plain, mono = (f"{FONTS}/DejaVuSans{s}.ttf" for s in ("-Bold", "", "Mono"))
    w, h, bx, by = box(frame)
    height = int(info(frame, "%h"))
    top = by - MARGIN  # of the canvas, in the frame
    labels, sides = [], {"left": [], "right": []}
    for n in nodes:
        n["x"], n["y"] = on_screen(n["call"], height)
        if n["parent"] is None:
            continue
        # The head and the torso, in the middle, go to the shorter column.
        side = ("left" if n["x"] < bx + w / 2 - 2 else "right" if n["x"] > bx + w / 2 + 2
                else min(sides, key=lambda k: len(sides[k])))
        for (a, b, what), _ in n["keys"]:
            # One line: the keys, then the joint and the ways in smaller type.
            label = {"node": n, "side": side, "text": f"{a}/{b}", "name": f"{n['joint']}: {ways(what)}",
                     "y": n["y"] - top - LINE // 2, "h": LINE}
            label["keys_w"] = width_of(bold, BIG, label["text"])
            label["w"] = label["keys_w"] + SPACE + width_of(plain, SMALL, label["name"])
            sides[side].append(label)
            labels.append(label)
    root = nodes[0]
    feet = max(n["y"] for n in nodes)
    corner = [f"{z[0]}  {z[1]}", *buttons]
    # The canvas: a column of labels each side of the figure, the arrows under
    # it, the notes at the bottom, all the notes' width at least.
    columns = {k: max(l["w"] for l in v) for k, v in sides.items()}
    width = MARGIN + columns["left"] + GAP + w + GAP + columns["right"] + MARGIN
    wide = max(width_of(mono, SMALL, line) for line in corner) + 2 * MARGIN
    left = bx - GAP - columns["left"] - MARGIN - max(0, wide - width) // 2
    width = max(width, wide)
    notes = feet - top + (len(root["keys"]) + 1) * LINE
    canvas_h = notes + len(corner) * 15 + MARGIN
    edges = {"left": bx - GAP - left, "right": bx + w + GAP - left}  # a column's side towards the figure
    draw, text = ["-fill", "none", "-stroke", "#808080", "-strokewidth", "1"], ["-gravity", "NorthWest"]
    for side, column in sides.items():
        spread(column, MARGIN, by + h - top)
    shown = []
    for l in labels:
        n, edge = l["node"], edges[l["side"]]
        jx, jy, ly = n["x"] - left, n["y"] - top, l["y"] + LINE // 2
        lx = edge + (8 if l["side"] == "left" else -8)
        draw += ["-draw", f"line {jx:.1f},{jy:.1f} {lx},{ly}",
                 "-draw", f"circle {jx:.1f},{jy:.1f} {jx + 2.5:.1f},{jy:.1f}"]
        x = edge - l["w"] if l["side"] == "left" else edge
        text += ["-font", bold, "-pointsize", str(BIG), "-fill", "white", "-annotate", f"+{x}+{l['y']}", l["text"],
                 "-font", plain, "-pointsize", str(SMALL), "-fill", "#b0b0b0",
                 "-annotate", f"+{x + l['keys_w'] + SPACE}+{l['y'] + BIG - SMALL}", l["name"]]
        shown.append({"keys": l["text"], "joint": n["joint"], "ways": l["name"].split(": ", 1)[1],
                      "box": [x, round(l["y"], 1), l["w"], LINE], "line": [round(jx, 1), round(jy, 1), lx, round(ly, 1)]})
    # The pairs that move the whole figure, one a row under its feet, each row
    # centred under the pelvis.
    for k, ((a, b, what), _) in enumerate(root["keys"]):
        keys, words = f"{a}/{b}", f"figure: {ways(what)}"
        keys_w = width_of(bold, BIG, keys)
        row_w = keys_w + SPACE + width_of(plain, SMALL, words)
        x, y = round(root["x"] - left - row_w / 2), feet - top + LINE // 2 + k * LINE
        text += ["-font", bold, "-pointsize", str(BIG), "-fill", "white", "-annotate", f"+{x}+{y}", keys,
                 "-font", plain, "-pointsize", str(SMALL), "-fill", "#b0b0b0",
                 "-annotate", f"+{x + keys_w + SPACE}+{y + BIG - SMALL}", words]
        shown.append({"keys": keys, "joint": "figure", "ways": ways(what), "box": [x, y, row_w, LINE]})
    text += ["-font", mono, "-pointsize", str(SMALL), "-fill", "#b0b0b0", "-annotate", f"+{MARGIN}+{notes}",
             "\n".join(corner)]
    cut(frame, "keys-figure.png", width, canvas_h, left, top)
    convert("keys-figure.png", *draw, *text, "keys.png")
    finish("keys.png", f"{OUT}/keys.png")
    return shown + [{"keys": z[0], "joint": "corner"}]


AXES = {(1.0, 0.0, 0.0): "x", (0.0, 1.0, 0.0): "y", (0.0, 0.0, 1.0): "z"}


def tree(nodes):
    """The joint tree as graphviz draws it: one box a segment, under its parent,
    in drawing order, with its offset from the parent, its rotations in call
    order (a fixed angle given) and the pairs that turn each."""
    def number(v):
        return f"{v:g}".replace("-", "\u2212")

    lines = ["digraph skeleton {",
             '  graph [ordering=out, nodesep=0.25, ranksep=0.35, bgcolor="white", fontname="DejaVu Sans",',
             '         fontsize=11, labelloc=b, label="Each joint at its offset (x, y, z) from its parent\'s joint; '
             'its rotations in the order they are called, with the keys that turn them."];',
             '  node [shape=box, style="rounded", fontname="DejaVu Sans", fontsize=11, margin="0.12,0.06"];',
             '  edge [arrowhead=none, color="#808080"];']
    for n in nodes:
        keys = {act: f"{a}/{b}" for (a, b, _), act in n["keys"]}
        turns = []
        for j, (angle, *axis) in n["turns"]:
            t = AXES[tuple(axis)]
            if j in keys:
                t += f" ({keys[j]})"
            elif angle:
                t += f" (fixed {number(angle)}\u00b0)"
            turns.append(t)
        rows = [f"<b>{n['part']}</b>"]
        if n["parent"] is not None:
            at = f"at ({', '.join(number(v) for v in n['offset'])})"
            rows.append(at if n["joint"] == n["part"] else f"{n['joint']} {at}")
        if turns:
            rows.append("turns about " + ", ".join(turns))
        moves = [f"{a}/{b}" for (a, b, _), act in n["keys"] if act is None]
        if moves:
            rows.append("moves " + " ".join(moves))
        lines.append(f'  n{n["id"]} [label=<{"<br/>".join(rows)}>];')
        if n["parent"] is not None:
            lines.append(f'  n{n["parent"]} -> n{n["id"]};')
    lines.append("}")
    with open("skeleton.dot", "w") as f:
        f.write("\n".join(lines) + "\n")
    svg = subprocess.run(["dot", "-Tsvg", "skeleton.dot"], stdout=subprocess.PIPE, check=True, text=True).stdout
    # Without the comment naming graphviz's version, which changes the file from one release to the next.
    svg = re.sub(r"<!-- Generated by graphviz .*?-->\n", "", svg, flags=re.S)
    with open(f"{OUT}/skeleton.svg", "w") as f:
        f.write(svg)


def key_documents():
    """The key map and the joint tree; returns the key map's labels, as keymap() gives them."""
    pairs, z, buttons = controls()
    rest, swap, acts = where_keys_act(pairs)
    nodes = joints(rest, pairs, acts)
    labels = keymap(nodes, replay("keys", [swap])[0], z, buttons)
    tree(nodes)
    return labels


def main():
    keys_only = sys.argv[1:] == ["--keys"]
    for tool in ("xdotool", "apitrace", "convert", "dot") + (() if keys_only else ("xwd", "potrace", "rsvg-convert")):
        check(shutil.which(tool), f"{tool} is missing (make deps installs it)")
    check(os.access(EXE, os.X_OK), f"{EXE} is not built")
    work = tempfile.mkdtemp()
    atexit.register(shutil.rmtree, work)
    os.chdir(work)  # recordings, the program's stderr and the frames
    os.makedirs(OUT, exist_ok=True)

    for label in key_documents():
        print(json.dumps(label))
    if keys_only:
        return
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
        size = os.path.getsize(os.path.join(OUT, name))
        print(f"{size:8d} {OUT}/{name}")
        check(size <= LARGEST, f"{name} takes {size} bytes, more than {LARGEST}")


if __name__ == "__main__":
    main()
