#!/usr/bin/python3
"""Make Vantora's small pictures: the button icons and the age-row wave mark.
(The application icon is made by tools/make_app_icon.py.)

Run:   tools/make_icons.py [OUTPUT_DIR]       (default data/)
Needs: python3-pil.

Writes RGBA PNGs with transparent backgrounds (sizes in pixels):
  btn_reverse.png  32x32   button "旺の逆転": two arrows swapping round a
                           small yin-yang
  btn_restore.png  32x32   button "暦に戻す": a calendar page with a
                           return arrow
  wave.png         17x17   grey (128,128,128) wavy vertical stroke, about
                           2 px thick, set between the two age rows of the
                           luck-pillar block

Each picture is drawn at 4x its size from the same geometry and reduced
with a Lanczos filter (in premultiplied alpha) for smooth edges.  No
random numbers: every run writes the same bytes.
"""

import math
import os
import sys

from PIL import Image, ImageDraw

SS = 4  # supersampling factor


class Canvas:
    """Draw in final-pixel coordinates on a 4x RGBA image."""

    def __init__(self, size):
        self.size = size
        self.img = Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    @staticmethod
    def p(x, y):
        return (x * SS, y * SS)

    def box(self, x0, y0, x1, y1):
        return (x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1)

    def polyline(self, pts, fill, width):
        w = max(1, int(round(width * SS)))
        self.d.line([self.p(x, y) for x, y in pts], fill=fill, width=w, joint="curve")
        r = width * SS / 2  # round caps
        for x, y in (pts[0], pts[-1]):
            self.d.ellipse((x * SS - r, y * SS - r, x * SS + r, y * SS + r), fill=fill)

    def polygon(self, pts, fill, outline=None, width=0):
        self.d.polygon([self.p(x, y) for x, y in pts], fill=fill)
        if outline:
            self.polyline(list(pts) + [pts[0]], outline, width)

    def circle(self, cx, cy, r, fill=None, outline=None, width=1.0):
        self.d.ellipse(((cx - r) * SS, (cy - r) * SS, (cx + r) * SS, (cy + r) * SS),
                       fill=fill, outline=outline,
                       width=max(1, int(round(width * SS))) if outline else 0)

    def result(self):
        small = self.img.convert("RGBa").resize((self.size, self.size), Image.LANCZOS)
        return small.convert("RGBA")


def arc_points(cx, cy, r, a0, a1, n=48):
    """Points on a circle from angle a0 to a1 (degrees, screen coordinates:
    0 = right, 90 = down)."""
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]


def arrow_head(tip, direction, length, half_width):
    dx, dy = direction
    m = math.hypot(dx, dy)
    dx, dy = dx / m, dy / m
    bx, by = tip[0] - dx * length, tip[1] - dy * length
    return [tip, (bx - dy * half_width, by + dx * half_width), (bx + dy * half_width, by - dx * half_width)]


def curved_arrow(c, cx, cy, r, a0, a1, colour, width, head_len, head_w, halo=None):
    """Arc from a0 to a1 with an arrow head at a1 pointing along the arc."""
    sign = 1 if a1 > a0 else -1
    # stop the shaft a little before the tip so the head's point stays sharp
    shaft_end = a1 - sign * math.degrees(head_len * 0.6 / r)
    tip_a = math.radians(a1)
    tip = (cx + r * math.cos(tip_a), cy + r * math.sin(tip_a))
    tangent = (-math.sin(tip_a) * sign, math.cos(tip_a) * sign)
    # bend the head's base back onto the arc: aim it along the chord
    back_a = math.radians(a1 - sign * math.degrees(head_len / r))
    base = (cx + r * math.cos(back_a), cy + r * math.sin(back_a))
    direction = (tip[0] - base[0] + tangent[0] * 0.3, tip[1] - base[1] + tangent[1] * 0.3)
    head = arrow_head(tip, direction, head_len, head_w)
    pts = arc_points(cx, cy, r, a0, shaft_end)
    if halo:
        c.polyline(pts, halo, width + 1.6)
        c.polygon(head, halo, outline=halo, width=1.6)
    c.polyline(pts, colour, width)
    c.polygon(head, colour)


def yin_yang(c, cx, cy, r, light, dark, edge):
    c.circle(cx, cy, r, fill=light)
    # left half dark, then the two small half-discs and the eyes
    c.d.pieslice(((cx - r) * SS, (cy - r) * SS, (cx + r) * SS, (cy + r) * SS), 90, 270, fill=dark)
    c.circle(cx, cy - r / 2, r / 2, fill=light)
    c.circle(cx, cy + r / 2, r / 2, fill=dark)
    c.circle(cx, cy - r / 2, r / 6.5, fill=dark)
    c.circle(cx, cy + r / 2, r / 6.5, fill=light)
    c.circle(cx, cy, r, outline=edge, width=0.9)


def btn_reverse():
    c = Canvas(32)
    halo = (255, 255, 255, 200)
    red, blue = (196, 36, 40, 255), (32, 78, 176, 255)
    # upper arrow runs clockwise over the top to the right, lower arrow
    # clockwise under the bottom to the left: the two sides trade places
    curved_arrow(c, 16, 16, 11.5, 200, 335, red, 2.6, 6.0, 4.0, halo)
    curved_arrow(c, 16, 16, 11.5, 20, 155, blue, 2.6, 6.0, 4.0, halo)
    yin_yang(c, 16, 16, 6.2, (255, 255, 255, 255), (30, 30, 40, 255), (30, 30, 40, 255))
    return c.result()


def btn_restore():
    c = Canvas(32)
    edge = (70, 70, 80, 255)
    # calendar page
    c.d.rounded_rectangle(c.box(4, 5, 25, 28), radius=2 * SS, fill=(255, 255, 255, 255),
                          outline=edge, width=SS)
    c.d.rounded_rectangle(c.box(4, 5, 25, 11), radius=2 * SS, fill=(200, 48, 48, 255),
                          outline=edge, width=SS)
    c.d.rectangle(c.box(5, 9, 24, 11), fill=(200, 48, 48, 255))
    c.d.line((4 * SS, 11 * SS, 25 * SS - 1, 11 * SS), fill=edge, width=SS)
    for x in (9, 19):  # binding rings
        c.d.rounded_rectangle(c.box(x, 3, x + 2, 8), radius=SS, fill=(90, 90, 100, 255))
    for row in range(3):  # day cells
        for col in range(4):
            x, y = 7 + col * 4.3, 14 + row * 4.2
            fill = (200, 48, 48, 255) if (row, col) == (0, 3) else (150, 150, 160, 255)
            c.d.rectangle(c.box(x, y, x + 2.4, y + 2.4), fill=fill)
    # return arrow: left-pointing with a hook curling up on the right
    blue = (24, 96, 200, 255)
    halo = (255, 255, 255, 255)
    hook = [(17, 26)] + arc_points(23.5, 22, 4, 90, -90, 24) + [(21, 18)]
    head = arrow_head((9.5, 26), (-1, 0), 5.5, 4.2)
    c.polyline(hook, halo, 5.2)
    c.polygon(head, halo, outline=halo, width=2.0)
    c.polyline(hook, blue, 2.8)
    c.polygon(head, blue)
    return c.result()


def wave():
    c = Canvas(17)
    grey = (128, 128, 128, 255)
    pts = []
    for i in range(61):
        y = 2.0 + 13.0 * i / 60  # 2..15
        x = 8.5 + 2.3 * math.sin(2 * math.pi * (y - 2.0) / 13.0)
        pts.append((x, y))
    c.polyline(pts, grey, 2.0)
    return c.result()


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data")
    pictures = {
        "btn_reverse.png": btn_reverse(),
        "btn_restore.png": btn_restore(),
        "wave.png": wave(),
    }
    for name, img in pictures.items():
        path = os.path.join(out, name)
        img.save(path, format="PNG", optimize=True)
        print("%s: %dx%d %s" % (path, img.size[0], img.size[1], img.mode))


if __name__ == "__main__":
    main()
