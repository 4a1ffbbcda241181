"""Redraws the pictures under docs/images and the icon under packaging/icons
from $BUILD/pavok (`make docs`, on a private Xvfb; CONTRIBUTING.md, "The
documents", says how). Frames are chosen by number within each animation, so a
re-run on the same release gives the same files, byte for byte."""

import atexit
import os
import shutil
import tempfile
import time

from documents.frames import replay
from documents.icon import icon
from documents.keymap import key_documents
from documents.pictures import ANIMATIONS, animated, animation_frames, record, stills, strip
from pavok_driver import check

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))  # the repository
LARGEST = 200_000  # bytes a picture may take
ICON_FRAME = ("run", 8)  # the figure that makes the icon: mid-stride, from the side


def main():
    os.environ["LIBGL_ALWAYS_SOFTWARE"] = "1"
    exe = os.path.abspath(os.path.join(ROOT, os.environ.get("BUILD", "build"), "pavok"))
    out = os.path.abspath(os.path.join(ROOT, os.environ.get("OUT", "docs/images")))
    icons = os.path.abspath(os.path.join(ROOT, os.environ.get("ICONS", "packaging/icons")))
    for tool in ("xdotool", "apitrace", "convert", "dot", "xwd", "potrace", "rsvg-convert"):
        check(shutil.which(tool), f"{tool} is missing (make deps installs it)")
    check(os.access(exe, os.X_OK), f"{exe} is not built")
    started = time.time()
    work = tempfile.mkdtemp()
    atexit.register(shutil.rmtree, work)
    os.chdir(work)  # recordings, the program's stderr and the frames
    os.makedirs(out, exist_ok=True)

    key_documents(exe, out)
    stills(exe, out)
    for name, entry, drawn, steps, heading, keys, chosen, moving_keys in ANIMATIONS:
        calls = record(exe, name, entry, drawn, steps, heading, keys, 0)
        files = replay(name, [calls[n] for n in chosen])
        strip(name, files, out)
        if name == ICON_FRAME[0]:
            icon(files[chosen.index(ICON_FRAME[1])], icons)
        animated(name, animation_frames(exe, name, entry, drawn, steps, heading, moving_keys), out)
    for name in sorted(os.listdir(out)):
        size = os.path.getsize(os.path.join(out, name))
        print(f"{size:8d} {out}/{name}")
        check(size <= LARGEST, f"{name} takes {size} bytes, more than {LARGEST}")
        check(os.path.getmtime(os.path.join(out, name)) >= started, f"{name} was not drawn again")


if __name__ == "__main__":
    main()
