#!/usr/bin/python3
"""Make Vantora's application icon: one SVG drawing and the PNGs rendered
from it.

Run:   tools/make_app_icon.py              (from the top of the repository)
Needs: librsvg2-bin (rsvg-convert).

Writes:
  data/icons/jp.example.vantora.svg         the drawing (the scalable icon)
  data/icons/<N>x<N>/jp.example.vantora.png for N in 16 24 32 48 64 128 256
  data/vantora.png                          the 256 px one, the windows' icon

The drawing: four pillars (year, month, day, hour), each a stem tile over a
branch tile in the colours of the five elements, under a crescent moon and a
star, on an indigo rounded square.  Coordinates are on a 48 x 48 grid.  No
random numbers: every run writes the same bytes with the same rsvg-convert.
"""

import math
import os
import shutil
import subprocess

ICON_ID = "jp.example.vantora"
SIZES = (16, 24, 32, 48, 64, 128, 256)

# the five element colours
WOOD, FIRE, EARTH = "#58b260", "#de4e3e", "#d69e30"
METAL, WATER = "#ececf4", "#4678dc"
MOON = "#ffecbe"
GOLD = "#ecc870"
PILLAR_INSIDE = "#14123c"
SKY_TOP, SKY_BOTTOM = "#3a3496", "#12103e"


def crescent_path(cx, cy, r, dx, dy):
    """Outline of a disc of radius r at (cx, cy) minus the same disc moved by
    (dx, dy): the outer arc the long way round, the inner arc back."""
    d = math.hypot(dx, dy)
    h = math.sqrt(r * r - (d / 2) ** 2)
    mx, my = cx + dx / 2, cy + dy / 2
    px, py = -dy / d, dx / d  # unit normal to the line between the centres
    top = (mx - h * px, my - h * py)
    bottom = (mx + h * px, my + h * py)
    return ("M%.3f %.3fA%g %g 0 1 0 %.3f %.3fA%g %g 0 0 1 %.3f %.3fZ"
            % (top[0], top[1], r, r, bottom[0], bottom[1], r, r, top[0], top[1]))


def star_points(cx, cy, outer, inner):
    """Four-pointed star with points up, right, down and left."""
    pts = []
    for i in range(8):
        rad = outer if i % 2 == 0 else inner
        a = math.radians(i * 45 - 90)
        pts.append("%.3f,%.3f" % (cx + rad * math.cos(a), cy + rad * math.sin(a)))
    return " ".join(pts)


def rect(x0, y0, x1, y1, radius, fill):
    return ('<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"/>'
            % (x0, y0, round(x1 - x0, 3), round(y1 - y0, 3), radius, fill))


def svg():
    parts = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">',
        '<title>Vantora</title>',
        '<defs><linearGradient id="sky" x1="0" y1="0" x2="0" y2="48" gradientUnits="userSpaceOnUse">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient></defs>'
        % (SKY_TOP, SKY_BOTTOM),
        rect(1, 1, 47, 47, 9, "url(#sky)"),
        '<path d="%s" fill="%s"/>' % (crescent_path(12, 9, 4, 2.2, -0.8), MOON),
        '<polygon points="%s" fill="%s"/>' % (star_points(37, 9, 3.4, 1.1), MOON),
    ]
    tiles = [(WOOD, WATER), (FIRE, EARTH), (EARTH, METAL), (METAL, WOOD)]
    for i, (stem, branch) in enumerate(tiles):
        x = 7 + i * 9
        parts += [rect(x, 16, x + 7, 42, 1.8, GOLD),
                  rect(x + 0.8, 16.8, x + 6.2, 41.2, 1.2, PILLAR_INSIDE),
                  rect(x + 1.6, 17.6, x + 5.4, 28.6, 0.8, stem),
                  rect(x + 1.6, 29.4, x + 5.4, 40.4, 0.8, branch)]
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    top = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    icons = os.path.join(top, "data", "icons")
    os.makedirs(icons, exist_ok=True)
    source = os.path.join(icons, ICON_ID + ".svg")
    with open(source, "w", encoding="utf-8") as f:
        f.write(svg())
    print(source)
    for size in SIZES:
        folder = os.path.join(icons, "%dx%d" % (size, size))
        os.makedirs(folder, exist_ok=True)
        png = os.path.join(folder, ICON_ID + ".png")
        subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size),
                        "--output", png, source], check=True)
        print(png)
    shutil.copyfile(os.path.join(icons, "256x256", ICON_ID + ".png"),
                    os.path.join(top, "data", "vantora.png"))
    print(os.path.join(top, "data", "vantora.png"))


if __name__ == "__main__":
    main()
