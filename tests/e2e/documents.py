"""The documents that describe the controls, read as their readers read them.

README.md, the manual page and the key map (keys.png, which `make docs` draws
with scripts/docs_keymap.py) hold every key pair of `pavok --help`, the program's own tables,
written in its order, each with the joint --help names and the ways it names,
first key first; the README and the manual page hold every menu entry, in menu
order. On keys.png, each label's line runs from the label to a lit pixel of
the figure, and along each limb the lines end lower the farther their joint is
from the head. Each number in skeleton.svg is the argument of the call of a
recorded frame that it stands for, digit for digit.

No picture is compared with the committed one: they differ by a few pixels
from one release's ImageMagick and Mesa to another's.

Usage: documents.py SOURCE_DIR PAVOK, on a display of its own.
"""

import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from docs_keymap import key_documents  # noqa: E402
from pavok_driver import controls as help_controls, run, split  # noqa: E402

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
        self.w, self.h = (int(v) for v in run("identify", "-format", "%w %h", png).split())
        self.data = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], stdout=subprocess.PIPE,
                                   check=True).stdout

    def rgb(self, x, y):
        x, y = min(max(int(round(x)), 0), self.w - 1), min(max(int(round(y)), 0), self.h - 1)
        i = (y * self.w + x) * 3
        return tuple(self.data[i:i + 3])

    def around(self, x, y):
        return [self.rgb(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)]


def figure(c):
    """A pixel of the lit figure: the light has no red, so its pixels are cyan.
    The lines and the labels are grey or white, the background black."""
    return c[1] - c[0] >= 30


def check_keymap(pairs, labels, out):
    drawn = [(l["keys"], l["joint"], l["ways"]) for l in labels if l["joint"] != "corner"]
    hold("keys.png", sorted(pairs), sorted(drawn), exact_ways=True)
    if {"keys": "z", "joint": "corner"} not in labels:
        fail("keys.png: the z key is not in its corner")

    picture = Picture(os.path.join(out, "keys.png"))
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
        ends.setdefault(l["joint"], []).append(jy)
    for chain in CHAINS:
        for upper, lower in zip(chain, chain[1:]):
            if upper not in ends or lower not in ends:
                fail(f"keys.png: no line ends at the {upper if upper not in ends else lower}")
            elif max(ends[upper]) >= min(ends[lower]):
                fail(f"keys.png: the lines of the {upper} end at heights {ends[upper]}, "
                     f"not above those of the {lower}, {ends[lower]}")


# --- the joint tree ---------------------------------------------------------------

def segments(trace, at):
    """Each display list call of the recording's frame at rest, in drawing
    order: the arguments, as the recording writes them, of the translation and
    of the rotations made since the call before."""
    calls, since = [], []
    for name, _, number in split(trace.frames(numbered=True)[at])[1]:
        if name in ("glTranslatef", "glRotatef"):
            since.append((name, trace.written(number)))
        elif name == "glCallList":
            calls.append(since)
            since = []
    return calls


def skeleton(svg, calls):
    ns = "{http://www.w3.org/2000/svg}"
    boxes = {g.find(ns + "title").text: [t.text for t in g.iter(ns + "text")]
             for g in ET.parse(svg).iter(ns + "g") if g.get("class") == "node"}
    if sorted(boxes) != sorted(f"n{k}" for k in range(len(calls))):
        fail(f"skeleton.svg: boxes {sorted(boxes)} for {len(calls)} display list calls")
        return
    for k, since in enumerate(calls):
        rows, name = [r.replace("\u2212", "-") for r in boxes[f"n{k}"]], boxes[f"n{k}"][0]
        offsets = [args for call, args in since if call == "glTranslatef"]
        turns = [args for call, args in since if call == "glRotatef"]
        for row in rows:
            at = re.search(r"at \(([^)]*)\)", row)
            if at and (len(offsets) != 1 or at.group(1).split(", ") != offsets[0]):
                fail(f"skeleton.svg: {name} {at.group(0)}, where the frame calls "
                     + ", ".join(f"glTranslatef({', '.join(args)})" for args in offsets))
            about = re.match(r"turns about (.*)", row)
            if about:
                shown = about.group(1).split(", ")
                axes = ["xyz"[args[1:].index("1")] for args in turns]
                if [t.split(" ")[0] for t in shown] != axes:
                    fail(f"skeleton.svg: {name} turns about {shown}, where the frame turns it about {axes}")
                for t, args in zip(shown, turns):
                    fixed = re.search(r"fixed (\S+)\u00b0", t)
                    if fixed and fixed.group(1) != args[0]:
                        fail(f"skeleton.svg: {name} turns about {t}, where the frame calls glRotatef({', '.join(args)})")
            # Past the offsets, the fixed angles and the keys, no number is left.
            if re.search(r"\d", re.sub(r"at \([^)]*\)|fixed \S+\u00b0|[^\s(),]+/[^\s(),]+", "", row)):
                fail(f"skeleton.svg: {name}: \"{row}\" has a number that stands for no call")


def main():
    os.environ["LIBGL_ALWAYS_SOFTWARE"] = "1"  # as make docs draws
    pairs, entries = controls()
    texts(pairs, entries)
    with tempfile.TemporaryDirectory() as work:
        os.chdir(work)  # the recordings
        out = os.path.join(work, "images")
        labels, trace, at = key_documents(EXE, out)
        check_keymap(pairs, labels, out)
        skeleton(os.path.join(out, "skeleton.svg"), segments(trace, at))
    if failures:
        sys.exit(1)
    print("README.md, pavok.6 and keys.png give every key pair in --help's order, with its joint and ways; "
          "keys.png's lines end on the figure, head to foot; skeleton.svg's numbers are the frame's")


if __name__ == "__main__":
    main()
