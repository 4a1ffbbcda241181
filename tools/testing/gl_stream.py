#!/usr/bin/env python3
"""Prints the GL calls of one scripted session of a pavok binary, to compare a
change against the commit before it (CONTRIBUTING.md, "The GL stream check"):
start-up, a key of each kind, each menu entry chosen with the mouse. Window
redraws (what GLUT draws on an expose) are left out: how many come depends on
timing."""
import os
import sys
import tempfile

from pavok_driver import Pavok, is_redraw


def main():
    exe = os.path.abspath(sys.argv[1])
    os.chdir(tempfile.mkdtemp())  # the recording and the program's stderr
    p = Pavok(exe)
    for key in ("i", "u", "2", "z", "F1", "F7", "F12", "Left", "Right", "Up", "Down", "m", "Escape"):
        p.key(key)
    for entry in range(1, 9):
        p.choose_menu(3, entry, 8)
    for entry in range(1, 4):
        p.choose_menu(1, entry, 3)
    frames = p.read_trace().frames()
    for previous, frame in zip([None] + frames, frames):
        if previous is None or not is_redraw(previous, frame):
            print("\n".join(f"{name}{args}" for name, args in frame + [("SWAP", ())]))


if __name__ == "__main__":
    main()
