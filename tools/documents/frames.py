"""What every picture of `make docs` is made with: the menus that set the
view, frames replayed from a recording, and ImageMagick's cutting and
finishing. Working files go to the current directory."""

import os
import re
import subprocess

from pavok_driver import run

VIEW, ANIMATION = 3, 1  # the mouse buttons of the two menus
WIDEN, NARROW, PROJECTION = 6, 7, 8  # Allarga visuale, Restringi visuale, Cambia proiezione

MARGIN = 14  # black around a figure cut from a frame
PAD = 400  # black added around a frame before cutting, so that a cut may reach past its edges


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def info(*pngs_and_fmt):
    *pngs, fmt = pngs_and_fmt
    return subprocess.run(["convert", *pngs, "-format", fmt, "info:"], stdout=subprocess.PIPE, text=True,
                          check=True).stdout


def finish(src, path):
    """Into the repository without time stamps, so that the same picture gives the same file."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    convert(src, "-strip", "-define", "png:exclude-chunks=date,time", "png:" + path)


def box(png):
    """The figure's bounding box in a frame: width, height, left, top."""
    return boxes([png])[0]


def boxes(pngs):
    """Each frame's box, read by one ImageMagick for all of them."""
    return [[int(v) for v in re.split(r"[x+]", b)] for b in info(*pngs, "%@\n").split()]


def cut(src, dst, w, h, x, y):
    """The w x h rectangle at (x, y) of a frame, reaching into black past its edges."""
    convert(src, "-bordercolor", "black", "-border", str(PAD), "-crop", f"{w}x{h}+{x + PAD}+{y + PAD}",
            "+repage", dst)


def replay(name, calls):
    """The frames drawn by those swap calls of the last recording, as pictures."""
    prefix = f"{name}-"
    run("apitrace", "dump-images", "--calls=" + ",".join(map(str, calls)), "-o", prefix, "run.trace")
    return [f"{prefix}{c:010d}.png" for c in calls]
