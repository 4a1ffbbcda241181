"""The icon of `make docs`: the figure of one frame of the run, traced to
vector paths band by band of brightness, and rendered at the sizes a desktop
asks for."""

import os
import re
import subprocess

from documents.frames import MARGIN, box, convert, cut, finish
from pavok_driver import run

ICON_SHADES = 6  # bands of brightness the icon keeps, each traced to its own paths
ICON_SIZES = [48, 64, 128, 256]


def icon(png, icons):
    """The figure in a frame, on a black rounded square, as vector paths: its
    lit pixels split by brightness into bands of equal size, and each band with
    all brighter ones traced by potrace to paths filled with the band's middle
    colour, the brighter drawn over the darker."""
    w, h, x, y = box(png)
    side = max(w, h) + 2 * MARGIN
    cut(png, "icon-square.png", side, side, x + w // 2 - side // 2, y + h // 2 - side // 2)
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
    scalable = f"{icons}/hicolor/scalable/apps/pavok.svg"
    os.makedirs(os.path.dirname(scalable), exist_ok=True)
    with open(scalable, "w") as f:
        f.write(svg)
    for px in ICON_SIZES:
        subprocess.run(["rsvg-convert", "-w", str(px), "-h", str(px), "-o", f"icon-{px}.png", scalable], check=True)
        finish(f"icon-{px}.png", f"{icons}/hicolor/{px}x{px}/apps/pavok.png")
