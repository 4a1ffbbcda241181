"""The key map and the joint tree of `make docs`, from one recording of the
figure at rest, facing the viewer in the parallel view, and of each key pair
of `pavok --help` pressed once each way: the rest frame's push/pop nesting and
list calls give the tree, the matrices `apitrace replay` rebuilds at each list
call place the labels, and each pair's first key shows which rotation it turns."""

import re
import subprocess

from documents.frames import MARGIN, NARROW, PROJECTION, VIEW, box, convert, cut, finish, info, replay
from pavok_driver import VIEW_ENTRIES, Pavok, check, controls, run, split


KEYMAP_NARROWINGS = 3  # the key map's figure: parallel view, three narrowings closer
# How the segments are named, from where they hang alone, so that the names
# can be held to the ones --help gives: the root is the pelvis; on the middle
# line (offset x = 0) the torso sits on the pelvis and the head on the torso;
# off it, a chain of limb segments starts, its side that of x (the figure faces
# the viewer, along +z, so its left is at +x).
ROOT_SEGMENT = "pelvis"
MIDDLE = {"pelvis": "torso", "torso": "head"}
LIMBS = {"pelvis": ("thigh", "shin", "foot"), "torso": ("upper arm", "forearm", "hand")}
JOINT = {"thigh": "hip", "shin": "knee", "foot": "ankle", "upper arm": "shoulder", "forearm": "elbow", "hand": "wrist"}
FONTS = "/usr/share/fonts/truetype/dejavu"
BIG, SMALL = 17, 12  # points: the keys of a label, the joint's name after them
LINE = 22  # pixels a label takes up and down
SPACE = 6  # pixels between a label's keys and its joint's name
GAP = 40  # pixels between the figure and a column of labels


def where_keys_act(exe, pairs):
    """Records the figure at rest, facing the viewer in the parallel view and
    seen closer, then each pair's first key and its second. Returns the
    recording, the index of the rest frame in it, and for each pair the index,
    in that frame's drawing calls, of the rotation its first key changed, or
    None for a key that moves the figure instead."""
    p = Pavok(exe)
    p.choose_menu(VIEW, PROJECTION, VIEW_ENTRIES)
    for _ in range(KEYMAP_NARROWINGS):
        p.choose_menu(VIEW, NARROW, VIEW_ENTRIES)
    for first, second, *_ in pairs:
        p.key(first)
        p.key(second)
    trace = p.read_trace()
    frames = trace.frames(numbered=True)
    at = len(frames) - 2 * len(pairs) - 1  # one frame a key
    rest = split(frames[at])[1]
    calls = [c[:2] for c in rest]
    acts = []
    for k, (first, second, *_) in enumerate(pairs):
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
    return trace, at, acts


def joints(rest, pairs, acts):
    """The figure's segments as the rest frame draws them, one a display list
    call: the parent (from the matrix stack's push/pop nesting; the first,
    the pelvis, is the root), the joint's offset and rotations (the calls
    between the list call before and its own), and the pairs that act there."""
    nodes, open_, depth, since = [], [], 0, []
    for i, (name, args, number) in enumerate(rest):
        if name == "glPushMatrix":
            depth += 1
        elif name == "glPopMatrix":
            depth -= 1
            while open_ and open_[-1]["depth"] > depth:
                open_.pop()
        elif name in ("glTranslatef", "glRotatef"):
            since.append((i, name, args))
        elif name == "glCallList":
            offsets = [args for _, n, args in since if n == "glTranslatef"]
            check(len(offsets) <= 1 and all(n == "glRotatef" for _, n, _ in since[len(offsets):]),
                  f"segment {len(nodes)}: not one translation followed by rotations")
            nodes.append({"call": number, "depth": depth, "keys": [],
                          "parent": open_[-1]["id"] if open_ else (0 if nodes else None), "id": len(nodes),
                          "offset": offsets[0] if offsets else (0.0, 0.0, 0.0),
                          "turns": [(j, args) for j, n, args in since if n == "glRotatef"]})
            open_.append(nodes[-1])
            since = []
    for pair, act in zip(pairs, acts):
        node = 0 if act is None else next(n["id"] for n in nodes if act in (j for j, _ in n["turns"]))
        nodes[node]["keys"].append((pair, act))
    for n in nodes:  # parents come first
        if n["parent"] is None:
            n["part"], n["joint"], n["limb"] = ROOT_SEGMENT, None, None
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


def keymap(trace, nodes, png, z, buttons, out):
    """The rest frame with a label for each key pair beside it: the keys, then
    the joint and the ways they move it, joined to the joint by a line, the
    joints on the screen's left in the left column; the arrows under the feet;
    the z key and the menus in a corner. Returns each label as the documents
    test reads it: its keys, joint and ways, the box it takes, and its line
    from the joint to the label, in the picture's pixels."""
    bold, plain, mono = (f"{FONTS}/DejaVuSans{s}.ttf" for s in ("-Bold", "", "Mono"))
    w, h, bx, by = box(png)
    height = int(info(png, "%h"))
    top = by - MARGIN  # of the canvas, in the frame
    labels, sides = [], {"left": [], "right": []}
    for n in nodes:
        n["x"], n["y"] = trace.on_screen(n["call"], height)
        if n["parent"] is None:
            continue
        # The head and the torso, in the middle, go to the shorter column.
        side = ("left" if n["x"] < bx + w / 2 - 2 else "right" if n["x"] > bx + w / 2 + 2
                else min(sides, key=lambda k: len(sides[k])))
        for (a, b, _, ways), _ in n["keys"]:
            # One line: the keys, then the joint and the ways in smaller type.
            label = {"node": n, "side": side, "text": f"{a}/{b}", "name": f"{n['joint']}: {ways}",
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
    for k, ((a, b, _, ways), _) in enumerate(root["keys"]):
        keys, words = f"{a}/{b}", f"figure: {ways}"
        keys_w = width_of(bold, BIG, keys)
        row_w = keys_w + SPACE + width_of(plain, SMALL, words)
        x, y = round(root["x"] - left - row_w / 2), feet - top + LINE // 2 + k * LINE
        text += ["-font", bold, "-pointsize", str(BIG), "-fill", "white", "-annotate", f"+{x}+{y}", keys,
                 "-font", plain, "-pointsize", str(SMALL), "-fill", "#b0b0b0",
                 "-annotate", f"+{x + keys_w + SPACE}+{y + BIG - SMALL}", words]
        shown.append({"keys": keys, "joint": "figure", "ways": ways, "box": [x, y, row_w, LINE]})
    text += ["-font", mono, "-pointsize", str(SMALL), "-fill", "#b0b0b0", "-annotate", f"+{MARGIN}+{notes}",
             "\n".join(corner)]
    cut(png, "keys-figure.png", width, canvas_h, left, top)
    convert("keys-figure.png", *draw, *text, "keys.png")
    finish("keys.png", f"{out}/keys.png")
    return shown + [{"keys": z[0], "joint": "corner"}]


AXES = {(1.0, 0.0, 0.0): "x", (0.0, 1.0, 0.0): "y", (0.0, 0.0, 1.0): "z"}


def tree(nodes, out):
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
        keys = {act: f"{a}/{b}" for (a, b, *_), act in n["keys"]}
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
        steps = [f"{a}/{b}" for (a, b, *_), act in n["keys"] if act is None]
        if steps:
            rows.append("moves " + " ".join(steps))
        lines.append(f'  n{n["id"]} [label=<{"<br/>".join(rows)}>];')
        if n["parent"] is not None:
            lines.append(f'  n{n["parent"]} -> n{n["id"]};')
    lines.append("}")
    with open("skeleton.dot", "w") as f:
        f.write("\n".join(lines) + "\n")
    svg = subprocess.run(["dot", "-Tsvg", "skeleton.dot"], stdout=subprocess.PIPE, check=True, text=True).stdout
    # Without the comment naming graphviz's version, which changes the file from one release to the next.
    svg = re.sub(r"<!-- Generated by graphviz .*?-->\n", "", svg, flags=re.S)
    with open(f"{out}/skeleton.svg", "w") as f:
        f.write(svg)


def key_documents(exe, out):
    """Draws the key map and the joint tree into `out`. Returns the key map's
    labels, as keymap() gives them, and what they were drawn from: the
    recording and the index of its rest frame."""
    pairs, z, buttons, _ = controls(exe)
    check(pairs and z and buttons, "pavok --help lists no keys")
    trace, at, acts = where_keys_act(exe, pairs)
    nodes = joints(split(trace.frames(numbered=True)[at])[1], pairs, acts)
    labels = keymap(trace, nodes, replay("keys", [trace.swaps[at]])[0], z, buttons, out)
    tree(nodes, out)
    return labels, trace, at
