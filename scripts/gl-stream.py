#!/usr/bin/env python3
"""Prints the GL calls of one scripted session of a pavok binary, to compare a
restructuring against the commit before it:

    bash scripts/with-display.sh python3 scripts/gl-stream.py build/pavok > after.txt

The session: start-up, a key of each kind (joint, "z", function, arrows, two
unbound), each view-menu entry and each animation, chosen with the mouse. Only
the program's own context is printed, pointers masked and call numbers left
out; window redraws (a frame with nothing before its clear that draws what the
frame before drew, as GLUT does on an expose) are dropped, since how many come
depends on timing.
"""
import os
import re
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from pavok_e2e import Pavok, run  # noqa: E402

exe = os.path.abspath(sys.argv[1])
os.chdir(tempfile.mkdtemp())
p = Pavok(exe)
for key in ("i", "u", "2", "z", "F1", "F7", "F12", "Left", "Right", "Up", "Down", "m", "Escape"):
    p.key(key)
for entry in range(1, 9):
    p.choose_menu(3, entry, 8)
for entry in range(1, 4):
    p.choose_menu(1, entry, 3)
p.stop()

frames, frame, main, current = [], [], None, None
for line in run("apitrace", "dump", "--color=never", "--arg-names=no", p.trace_file).splitlines():
    m = re.match(r"^\d+ (\w+)\(", line)
    if not m or line.endswith("// fake"):
        continue
    if m.group(1) == "glXMakeContextCurrent":
        current = line.rsplit(",", 1)[-1]
        main = main or current
    elif current == main:
        frame.append(re.sub(r"0x[0-9a-f]+", "0x", line.split(" ", 1)[1]))
        if m.group(1) == "glXSwapBuffers":
            frames.append(frame)
            frame = []


def drawing(f):
    return f[next((i for i, c in enumerate(f) if c.startswith("glClear(")), len(f)):]


for i, f in enumerate(frames + [frame]):
    if i == 0 or drawing(f) != f or drawing(f) != drawing(frames[i - 1]):
        print("\n".join(f))
