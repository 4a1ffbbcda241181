"""The still pictures and the animations of `make docs`: screenshots of the
window at rest, in the parallel view and posed; for each animation, chosen
frames of a recording as a strip and the whole as a looping GIF."""

from documents.frames import (ANIMATION, MARGIN, NARROW, PROJECTION, VIEW, WIDEN, boxes, convert, cut, finish, info,
                              replay)
from pavok_driver import ANIMATION_ENTRIES, VIEW_ENTRIES, Pavok, check, moves, pose

# A pose, seen closer (two narrowings of the view): turned a little to its left,
# head turned and tilted, right arm raised out to the side with the forearm
# bent, left arm in towards the body, left thigh forward with the knee bent and
# the toes up, torso leaning a little to its right.
POSED_KEYS = [(6, "Left"), (8, "F5"), (3, "F1"), (40, "5"), (15, "q"), (5, "t"),
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


# --- still pictures: screenshots of the window ---------------------------------

def stills(exe, out):
    p = Pavok(exe, wrapper=[])
    p.shot("rest-window.png")
    check(info("rest-window.png", "%[fx:maxima]") != "0", "the first frame is black")
    # The same square for both projections shows how much larger the figure gets.
    convert("rest-window.png", "-crop", "260x260+195+210", "+repage", "rest.png")
    finish("rest.png", f"{out}/rest.png")
    p.choose_menu(VIEW, PROJECTION, VIEW_ENTRIES)
    p.shot("ortho-window.png")
    convert("ortho-window.png", "-crop", "260x260+195+210", "+repage", "ortho.png")
    finish("ortho.png", f"{out}/ortho.png")
    p.choose_menu(VIEW, NARROW, VIEW_ENTRIES)
    p.choose_menu(VIEW, NARROW, VIEW_ENTRIES)
    for count, key in POSED_KEYS:
        p.key(key, count)
    p.shot("posed-window.png")
    p.stop()
    convert("posed-window.png", "-trim", "-bordercolor", "black", "-border", str(MARGIN), "+repage", "png:posed.png")
    finish("posed.png", f"{out}/posed.png")


# --- animations: recorded, then chosen frames replayed into pictures ----------

def record(exe, name, entry, drawn, steps, heading, keys, widen):
    """Plays an animation and returns the swap call of each of its frames, 0 to
    `drawn`, after checking that the recording holds the whole animation."""
    p = Pavok(exe)
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


def strip(name, files, out):
    """One row of frames, each cut to the same size, centred horizontally on
    the figure, all covering the same height so that vertical motion shows."""
    found = boxes(files)
    cw = max(w for w, _, _, _ in found) + 2 * MARGIN
    top = min(y for _, _, _, y in found)
    ch = max(y + h for _, h, _, y in found) - top + 2 * MARGIN
    cells = []
    for i, (f, (w, _, x, _)) in enumerate(zip(files, found)):
        cells.append(f"{name}-cell-{i}.png")
        cut(f, cells[-1], cw, ch, x + w // 2 - cw // 2, top - MARGIN)
    convert(*cells, "+append", f"png:{name}-strip.png")
    finish(f"{name}-strip.png", f"{out}/{name}.png")


def animation_frames(exe, name, entry, drawn, steps, heading, keys):
    """The animated picture's frames, recorded in its own view: every EVERY-th
    back from the last, from frame 0 or 1 on. The documents check takes them
    here too, so that it holds the committed GIFs to what make docs makes."""
    calls = record(exe, name, entry, drawn, steps, heading, keys, FARTHER)
    return replay(name + "-all", calls[drawn % EVERY::EVERY])


def animated(name, files, out, chosen=None):
    """The frames as one looping GIF, all cut to the box the figure covers in
    any of them, so that it moves across the picture as it does in the window.
    With `chosen` (numbers of frames), a GIF of only those, as the whole one
    shows them."""
    found = boxes(files)
    left, top = min(b[2] for b in found), min(b[3] for b in found)
    right, bottom = max(b[2] + b[0] for b in found), max(b[3] + b[1] for b in found)
    cells = []
    for i, f in enumerate(files if chosen is None else [files[k] for k in chosen]):
        cells.append(f"{name}-frame-{i}.png")
        cut(f, cells[-1], right - left + 2 * MARGIN, bottom - top + 2 * MARGIN, left - MARGIN, top - MARGIN)
    # Every pixel to the nearest colour of the palette, without dithering
    # noise; each frame then keeps only what changed from the one before.
    convert("-delay", str(DELAY), *cells[:-1], "-delay", str(HOLD), cells[-1], "-loop", "0",
            "+dither", "-remap", palette(), "-layers", "Optimize", f"gif:{out}/{name}.gif")


def palette():
    """A file holding the palette: black, and SHADES shades of the figure's
    cyan. The figure's lit pixels all have a red of 10 and as much green as
    blue, from 10 (ambient light only) to 255."""
    shades = [10 + round(k * 245 / (SHADES - 1)) for k in range(SHADES)]
    with open("palette.ppm", "w") as f:
        f.write(f"P3\n{SHADES + 1} 1\n255\n0 0 0\n" + "".join(f"10 {g} {g}\n" for g in shades))
    return "palette.ppm"

