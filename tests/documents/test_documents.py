"""The documents that describe the controls, read as their readers read them.

README.md, the manual page and the key map (keys.png, which `make docs` draws
with tools/documents/keymap.py) hold every key pair of `pavok --help`, the
program's own tables, written in its order, each with the joint --help names and the ways it names,
first key first; the README and the manual page hold every menu entry, in menu
order. On keys.png, each label's line runs from the label to the lit pixels
where the joint its first key turns is drawn, and along each limb the lines
end lower the farther their joint is from the head; no two of its texts
overlap. Each number in skeleton.svg is the argument of the call of a
recorded frame that it stands for, digit for digit, and each segment is drawn
below the one it hangs from.

The pictures committed under docs/images are held to those drawn now: the
key map, the tree's numbers, the stills (rest.png, ortho.png, posed.png, from one
session of the program as `make docs` drives it) and the strips (one
recording of each animation), within TOLERANCE below; and the GIFs, frame by
frame, to those made now from a recording in their own view, as `make docs`
makes them (one frame in EVERY, so as many frames as the animation draws).

Usage: test_documents.py SOURCE_DIR PAVOK, on a display of its own.
"""

import math
import os
import platform
import re
import sys
import tempfile
import xml.etree.ElementTree as ET

from documents.frames import replay
from documents.keymap import key_documents
from documents.pictures import ANIMATIONS, animated, animation_frames, record, stills, strip
from pavok_driver import controls as help_controls, pixels, split

SRC, EXE = sys.argv[1], os.path.abspath(sys.argv[2])
failures = []


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    failures.append(message)


# The joints from the head down each limb, as a reader finds them on the figure.
CHAINS = [[j if j == "head" else f"{side} {j}" for j in ("head", "shoulder", "elbow", "wrist")]
          for side in ("left", "right")] + [[f"{side} {j}" for j in ("hip", "knee", "ankle")]
                                            for side in ("left", "right")]


# --- what the program says: pavok --help --------------------------------------

def controls():
    """The key pairs as (keys, joint, ways), in --help's order, and the menu entries."""
    pairs, z, _, entries = help_controls(EXE)
    pairs = [(f"{a}/{b}", joint, ways) for a, b, joint, ways in pairs]
    if sum(len(k) == 3 for k, _, _ in pairs) != 16 or sum(len(k) > 3 for k, _, _ in pairs) != 8:
        fail(f"pavok --help: expected 16 joint key pairs and 8 function and arrow key pairs, read {pairs}")
    if not z:
        fail("pavok --help names no 'z' key")
    if len(entries) != 11:
        fail(f"pavok --help: expected 11 menu entries, read {entries}")
    return pairs, entries


def same_ways(ways, words):
    """Whether a document's words for a pair ("arm back in / out to the side")
    hold, half for half, each word --help gives ("in / out") at a word's start."""
    halves, said = words.split(" / "), ways.split(" / ")
    return len(halves) == len(said) == 2 and all(
        re.search(r"\b" + re.escape(w), h) for s, h in zip(said, halves) for w in s.split())


def hold(document, pairs, listed, exact_ways=False):
    """The document's key pairs, as (keys, joint, words) in its order, against --help's."""
    if [k for k, _, _ in listed] != [k for k, _, _ in pairs]:
        fail(f"{document}: the key pairs, in its order, are {[k for k, _, _ in listed]}; "
             f"pavok --help has {[k for k, _, _ in pairs]}")
    said = {k: (j, w) for k, j, w in pairs}
    for keys, joint, words in listed:
        if keys not in said:
            continue
        if joint != said[keys][0]:
            fail(f"{document}: {keys} moves the {joint}, where pavok --help says the {said[keys][0]}")
        elif not (words == said[keys][1] if exact_ways else same_ways(said[keys][1], words)):
            fail(f"{document}: {keys} moves the {joint} \"{words}\", where pavok --help says \"{said[keys][1]}\"")


def in_order(document, found, entries):
    shown = [e for e in found if e in entries]
    if shown != entries:
        fail(f"{document}: the menu entries are {shown}, where pavok --help has {entries}")


# --- the README and the manual page ----------------------------------------------

# Each document: its file, and the patterns of its key pair rows (key, key,
# joint, ways), of its z row and of its menu entries.
DOCUMENTS = [("README.md", r"^\| `([^`]+)` / `([^`]+)` \| ([^|]+?) \| ([^|]+?) \|$", r"^\| `z` \|",
              r"^\| ([^|`]*[^ |`]) \|"),
             ("packaging/pavok.6", r'^\.BR (\S+) " / " (\S+)\n([^:\n]+): (.+)$', r"^\.B z$", r"^\.B (.+)$")]


def texts(pairs, entries):
    for name, pair_rows, z_row, entry_rows in DOCUMENTS:
        with open(os.path.join(SRC, name)) as f:
            text = f.read()
        document = os.path.basename(name)
        hold(document, pairs, [(f"{a}/{b}", j, w) for a, b, j, w in re.findall(pair_rows, text, re.M)])
        if not re.search(z_row, text, re.M):
            fail(f"{document}: the z key is missing")
        in_order(document, re.findall(entry_rows, text, re.M), entries)


# --- the key map ------------------------------------------------------------------

class Picture:
    def __init__(self, png):
        self.w, self.h, self.data = pixels(png)

    def rgb(self, x, y):
        x, y = min(max(int(round(x)), 0), self.w - 1), min(max(int(round(y)), 0), self.h - 1)
        i = (y * self.w + x) * 3
        return tuple(self.data[i:i + 3])

    def around(self, x, y):
        return [self.rgb(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)]

    def where(self, test):
        """The (x, y) of each pixel whose colour passes the test."""
        return [((i // 3) % self.w, i // 3 // self.w) for i in range(0, len(self.data), 3) if test(self.data[i:i + 3])]


def figure(c):
    """A pixel of the lit figure: the light has no red, so its pixels are cyan.
    The lines and the labels are grey or white, the background black."""
    return c[1] - c[0] >= 30


def letter(c):
    """A pixel of a label's or a note's letters: grey or white, brighter than
    the lines (#808080) ever are."""
    return not figure(c) and min(c) > 132


def turned_segments(trace, at, pairs):
    """For each pair, from the recording keymap.py makes (the rest frame,
    then each pair's first key and its second), the list call of the segment
    its first key turns: the first one after the rotation that key changes;
    None for a pair that moves the whole figure."""
    frames = trace.frames(numbered=True)
    rest, found = split(frames[at])[1], {}
    for k, (keys, _, _) in enumerate(pairs):
        changed = [i for i, (a, b) in enumerate(zip(rest, split(frames[at + 1 + 2 * k])[1])) if a[:2] != b[:2]]
        found[keys] = next((c[2] for c in rest[changed[0]:] if c[0] == "glCallList"), None) if changed else None
    return found


def overlapping(a, b):
    """Whether two boxes (x, y, width, height) share more than an edge."""
    return all(a[i] < b[i] + b[i + 2] - 0.5 and b[i] < a[i] + a[i + 2] - 0.5 for i in (0, 1))


def check_keymap(pairs, labels, out, trace, at):
    drawn = [(l["keys"], l["joint"], l["ways"]) for l in labels if l["joint"] != "corner"]
    hold("keys.png", sorted(pairs), sorted(drawn), exact_ways=True)
    if {"keys": "z", "joint": "corner"} not in labels:
        fail("keys.png: the z key is not in its corner")

    picture = Picture(os.path.join(out, "keys.png"))
    # Where each joint is drawn on keys.png: where its list call's origin lands
    # in the rest frame, moved as far as the figure is from that frame's to the
    # key map's (the top-left corners of their lit pixels).
    frame = Picture(replay("rest", [trace.swaps[at]])[0])
    corners = [(min(x for x, _ in f), min(y for _, y in f)) for f in (frame.where(figure), picture.where(figure))]
    dx, dy = corners[1][0] - corners[0][0], corners[1][1] - corners[0][1]
    calls = [c[2] for c in split(trace.frames(numbered=True)[at])[1] if c[0] == "glCallList"]
    joints = {c: (x + dx, y + dy) for c in calls for x, y in [trace.on_screen(c, frame.h)]}
    turned = turned_segments(trace, at, pairs)
    named = {turned[keys]: joint for keys, joint, _ in pairs if turned[keys]}
    ends = {}
    for l in labels:
        if "line" not in l:
            continue
        name, (x, y, w, h), (jx, jy, lx, ly) = f"{l['keys']} ({l['joint']})", l["box"], l["line"]
        # The label is there, in white, and its line starts beside it.
        if sum(min(picture.rgb(x + i, y + j)) > 200 for i in range(int(w)) for j in range(int(h))) < 10:
            fail(f"keys.png: no label {name} at {l['box']}")
        if not (y <= ly <= y + h and min(abs(lx - x), abs(lx - x - w)) <= 10):
            fail(f"keys.png: the line of {name} starts at ({lx}, {ly}), away from its label at {l['box']}")
        # The line can be followed to its end, and ends on the figure.
        steps = int(max(abs(jx - lx), abs(jy - ly)))
        gaps = [(round(lx + (jx - lx) * k / steps), round(ly + (jy - ly) * k / steps)) for k in range(steps + 1)
                if max(c[0] for c in picture.around(lx + (jx - lx) * k / steps, ly + (jy - ly) * k / steps)) < 40]
        if gaps:
            fail(f"keys.png: the line of {name} from ({lx}, {ly}) to ({jx}, {jy}) is not drawn at {gaps[:3]}")
        lit = sum(map(figure, picture.around(jx, jy)))
        if lit < 3:
            fail(f"keys.png: the line of {name} ends at ({jx}, {jy}), on {lit} lit pixels of the figure of 9")
        own = joints.get(turned.get(l["keys"]))
        nearest = min(joints, key=lambda c: math.dist(joints[c], (jx, jy)))
        if own is None or math.dist(own, (jx, jy)) > 3:
            fail(f"keys.png: the line of {name} ends at ({jx}, {jy}), not where the joint {l['keys']} turns is drawn, "
                 f"{own and tuple(round(v, 1) for v in own)}, but {math.dist(joints[nearest], (jx, jy)):.1f} pixels "
                 f"from the {named.get(nearest, 'segment of list call %d' % nearest)}")
        ends.setdefault(l["joint"], []).append(jy)
    for chain in CHAINS:
        for upper, lower in zip(chain, chain[1:]):
            if upper not in ends or lower not in ends:
                fail(f"keys.png: no line ends at the {upper if upper not in ends else lower}")
            elif max(ends[upper]) >= min(ends[lower]):
                fail(f"keys.png: the lines of the {upper} end at heights {ends[upper]}, "
                     f"not above those of the {lower}, {ends[lower]}")
    # The texts: each label's box, and the notes, which are the letters outside
    # every label (a letter may reach 2 pixels past its box). None overlaps
    # another, and all are inside the picture.
    regions = {f"{l['keys']} ({l['joint']})": l["box"] for l in labels if "box" in l}
    loose = [(x, y) for x, y in picture.where(letter)
             if not any(bx - 2 <= x < bx + bw + 2 and by - 2 <= y < by + bh + 2 for bx, by, bw, bh in regions.values())]
    if not loose:
        fail("keys.png: no notes (the z key and the menus) outside the labels")
    else:
        xs, ys = [x for x, _ in loose], [y for _, y in loose]
        regions["the notes"] = [min(xs), min(ys), max(xs) + 1 - min(xs), max(ys) + 1 - min(ys)]
    names = sorted(regions)
    for i, a in enumerate(names):
        x, y, w, h = regions[a]
        if x < 0 or y < 0 or x + w > picture.w or y + h > picture.h:
            fail(f"keys.png: {a} at {regions[a]} reaches out of the {picture.w} x {picture.h} picture")
        for b in names[i + 1:]:
            if overlapping(regions[a], regions[b]):
                fail(f"keys.png: {a} at {regions[a]} overlaps {b} at {regions[b]}")


# --- the joint tree ---------------------------------------------------------------

def segments(trace, at):
    """Each display list call of the recording's frame at rest, in drawing
    order: the arguments, as the recording writes them, of the translation and
    of the rotations made since the call before; and the segment each hangs
    from, the last one drawn before it with fewer matrices pushed (None for
    the first)."""
    calls, since, parents, open_, depth = [], [], [], [], 0
    for name, _, number in split(trace.frames(numbered=True)[at])[1]:
        depth += (name == "glPushMatrix") - (name == "glPopMatrix")
        if name in ("glTranslatef", "glRotatef"):
            since.append((name, trace.written(number)))
        elif name == "glCallList":
            while open_ and open_[-1][1] >= depth:
                open_.pop()
            parents.append(open_[-1][0] if open_ else None)
            open_.append((len(calls), depth))
            calls.append(since)
            since = []
    return calls, parents


def skeleton(document, svg, calls, parents):
    if not os.path.exists(svg):
        fail(f"{document} is missing")
        return
    ns = "{http://www.w3.org/2000/svg}"
    nodes = {g.find(ns + "title").text: list(g.iter(ns + "text"))
             for g in ET.parse(svg).iter(ns + "g") if g.get("class") == "node"}
    boxes = {k: [t.text for t in v] for k, v in nodes.items()}
    if sorted(boxes) != sorted(f"n{k}" for k in range(len(calls))):
        fail(f"{document}: boxes {sorted(boxes)} for {len(calls)} display list calls")
        return
    for k, since in enumerate(calls):
        rows, name = [r.replace("\u2212", "-") for r in boxes[f"n{k}"]], boxes[f"n{k}"][0]
        offsets = [args for call, args in since if call == "glTranslatef"]
        turns = [args for call, args in since if call == "glRotatef"]
        for row in rows:
            at = re.search(r"at \(([^)]*)\)", row)
            if at and (len(offsets) != 1 or at.group(1).split(", ") != offsets[0]):
                fail(f"{document}: {name} {at.group(0)}, where the frame calls "
                     + ", ".join(f"glTranslatef({', '.join(args)})" for args in offsets))
            about = re.match(r"turns about (.*)", row)
            if about:
                shown = about.group(1).split(", ")
                axes = ["xyz"[args[1:].index("1")] for args in turns]
                if [t.split(" ")[0] for t in shown] != axes:
                    fail(f"{document}: {name} turns about {shown}, where the frame turns it about {axes}")
                for t, args in zip(shown, turns):
                    fixed = re.search(r"fixed (\S+)\u00b0", t)
                    if fixed and fixed.group(1) != args[0]:
                        fail(f"{document}: {name} turns about {t}, where the frame calls glRotatef({', '.join(args)})")
            # Past the offsets, the fixed angles and the keys, no number is left.
            if re.search(r"\d", re.sub(r"at \([^)]*\)|fixed \S+\u00b0|[^\s(),]+/[^\s(),]+", "", row)):
                fail(f"{document}: {name}: \"{row}\" has a number that stands for no call")
    # The tree hangs from its root: each box below the one it hangs from.
    top = {k: float(v[0].get("y")) for k, v in nodes.items()}
    for k, parent in enumerate(parents):
        if parent is not None and top[f"n{k}"] <= top[f"n{parent}"]:
            fail(f"{document}: {boxes[f'n{k}'][0]} is drawn at y = {top[f'n{k}']}, not below "
                 f"{boxes[f'n{parent}'][0]}, which it hangs from, at y = {top[f'n{parent}']}")


# --- the committed pictures ---------------------------------------------------------

# What may differ between a committed picture and the one drawn now. The
# figure is Mesa's: another release's draws a few of its pixels differently (2
# of ortho.png's, Debian 13 against 12), so one in a thousand of them may differ,
# and 4 in any case. The letters and lines are ImageMagick's and the fonts':
# on the release and processor that made the pictures, Debian 12 on amd64,
# they must be the same; on another release, whose fonts draw the text a little
# wider or narrower (1,176 of keys.png's pixels on Debian 13), or processor,
# whose ImageMagick rounds its edges otherwise (209 on arm64), up to 3,000 of
# those pixels may differ. There, too, keys.png's joint marks and lines, drawn
# over the figure, may differ in up to 600 of its pixels besides (264 on arm64).
TOLERANCE = {"made on": ("debian", "12", "x86_64"), "figure": 1 / 1000, "at least": 4, "text elsewhere": 3000,
             "marks elsewhere": 600}
PICTURES = ["keys.png", "skeleton.svg", "rest.png", "ortho.png", "posed.png",
            "jump.png", "run.png", "walk.png", "jump.gif", "run.gif", "walk.gif"]


def release():
    with open("/etc/os-release") as f:
        values = dict(re.findall(r'^(\w+)="?([^"\n]*)"?$', f.read(), re.M))
    return values.get("ID"), values.get("VERSION_ID"), platform.machine()


def differing(a, b, on=figure):
    """Of two pictures' rgb bytes: the pixels lit in either, those of them that
    differ, and the others that differ."""
    lit = apart = other = 0
    for i in range(0, len(a), 3):
        p, q = a[i:i + 3], b[i:i + 3]
        lit_here = on(p) or on(q)
        lit += lit_here
        if p != q:
            apart += lit_here
            other += not lit_here
    return lit, apart, other


def figure_may(lit):
    return max(TOLERANCE["at least"], int(lit * TOLERANCE["figure"]))


def same_picture(name, out):
    """A committed picture against the one drawn now into `out`."""
    a, b = Picture(os.path.join(SRC, "docs", "images", name)), Picture(os.path.join(out, name))
    if (a.w, a.h) != (b.w, b.h):
        fail(f"docs/images/{name} is {a.w} x {a.h}, the program now draws {b.w} x {b.h} (make docs redraws it)")
        return
    if a.data == b.data:
        return
    lit, apart, other = differing(a.data, b.data)
    here = release() == TOLERANCE["made on"]
    may = figure_may(lit) + (0 if here or name != "keys.png" else TOLERANCE["marks elsewhere"])
    other_may = 0 if here else TOLERANCE["text elsewhere"]
    if apart > may or other > other_may:
        fail(f"docs/images/{name} is not what the program draws now: {apart} of the figure's {lit} pixels differ "
             f"(up to {may} may), and {other} others (up to {other_may} may); make docs redraws it")


def frames(gif):
    """A GIF's frames as the reader sees them (each drawn over the ones before),
    as rgb bytes, and its size."""
    w, h, data = pixels(gif, "-coalesce")
    size = w * h * 3
    return [data[i:i + size] for i in range(0, len(data), size)], (w, h)


def same_animation(name, out, drawn, chosen):
    """Chosen frames of a committed GIF against those made now into `out`.
    Only the figure is drawn in a GIF, so every pixel that is not black is the
    figure's, even the dimmest shades. Each frame may differ in as many of those
    as a still may: a pixel Mesa draws a little differently may fall to the
    next of the palette's shades, 8 levels apart, or stay in its own, but it is
    one pixel either way; another animation, or the frames in another order,
    moves the figure by many pixels in most frames."""
    (a, size_a), (b, size_b) = frames(os.path.join(SRC, "docs", "images", f"{name}.gif")), \
        frames(os.path.join(out, f"{name}.gif"))
    if len(a) != drawn or size_a != size_b:
        fail(f"docs/images/{name}.gif is {len(a)} frames of {size_a[0]} x {size_a[1]}, where the program now draws "
             f"{drawn} of {size_b[0]} x {size_b[1]} (make docs redraws it)")
        return
    worse = []
    for k, q in zip(chosen, b):
        if a[k] != q:
            lit, apart, _ = differing(a[k], q, on=any)
            if apart > figure_may(lit):
                worse.append(f"frame {k}, {apart} of {lit} (up to {figure_may(lit)} may)")
    if worse:
        fail(f"docs/images/{name}.gif is not the animation the program draws now: of the figure's pixels in the "
             f"frames compared ({', '.join(map(str, chosen))}), differ in {'; in '.join(worse)}; make docs redraws it")


def main():
    os.environ["LIBGL_ALWAYS_SOFTWARE"] = "1"  # as make docs draws
    pairs, entries = controls()
    texts(pairs, entries)
    missing = [p for p in PICTURES if not os.path.exists(os.path.join(SRC, "docs", "images", p))]
    if missing:
        fail(f"docs/images: {', '.join(missing)} missing (make docs draws them)")
    with tempfile.TemporaryDirectory() as work:
        os.chdir(work)  # the recordings
        out = os.path.join(work, "images")
        labels, trace, at = key_documents(EXE, out)
        check_keymap(pairs, labels, out, trace, at)
        calls, parents = segments(trace, at)
        skeleton("skeleton.svg, drawn now", os.path.join(out, "skeleton.svg"), calls, parents)
        skeleton("docs/images/skeleton.svg", os.path.join(SRC, "docs", "images", "skeleton.svg"), calls, parents)
        os.mkdir("stills")
        os.chdir("stills")  # a session of its own, which would overwrite the recording
        stills(EXE, out)
        drawn_now = ["keys.png", "rest.png", "ortho.png", "posed.png"]
        for name, entry, drawn, steps, heading, keys, chosen, gif_keys in ANIMATIONS:
            calls = record(EXE, name, entry, drawn, steps, heading, keys, 0)
            strip(name, replay(name, [calls[n] for n in chosen]), out)
            drawn_now.append(f"{name}.png")
            # The GIF as make docs makes it, in its own view, the figure farther away.
            # Its box is the figure's in all frames, so all are replayed, but
            # only five are made and compared: the ends, and three between that
            # an animation played backwards does not bring to the same place.
            files = animation_frames(EXE, name, entry, drawn, steps, heading, gif_keys)
            n = len(files)
            chosen = [0, n // 4, n // 2 - 3, 3 * n // 4, n - 1]
            animated(name, files, out, chosen)
            if f"{name}.gif" not in missing:
                same_animation(name, out, n, chosen)
        for name in drawn_now:
            if name not in missing:
                same_picture(name, out)
    if failures:
        sys.exit(1)
    print("README.md, pavok.6 and keys.png give every key pair in --help's order, with its joint and ways; "
          "keys.png's lines end where their joints are drawn, head to foot, and its texts do not overlap; "
          "skeleton.svg's numbers, drawn now and committed, are the frame's, each box below its parent; "
          "the committed keys.png, stills, strips and GIFs are the program's now; "
          f"the {len(PICTURES)} pictures of docs/images are there")


if __name__ == "__main__":
    main()
