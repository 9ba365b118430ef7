#!/usr/bin/python3
"""Make data/splash.png, the picture shown while Vantora starts.

Run:   tools/make_splash.py [OUTPUT]        (default data/splash.png)
Needs: python3-pil, fonts-ipafont-gothic (IPAPGothic, Japanese text) and
       fonts-dejavu-core (DejaVu Serif/Sans, Latin text).

Output: 325 x 227 pixels, 24-bit RGB PNG (no alpha).  A night-sky indigo
gradient with faint stars, a ring of the twelve earthly branches on the
right, the ten heavenly stems along the bottom, and "Vantora" / "四柱推命"
on the left.  The box x 72..192, y 134..154 (pixels, inclusive) is kept
plain dark: the program writes its white version label there at run time;
the script checks that the box stays dark.

Everything is drawn at 4x and reduced with a Lanczos filter for smooth
edges.  The stars come from a fixed-seed generator, so each run writes the
same bytes (with the same Pillow and font packages).
"""

import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

W, H = 325, 227
S = 4  # supersampling factor
LABEL_BOX = (72, 134, 192, 154)  # kept free for the version label

JP_FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
SERIF = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"
SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

BRANCHES = "子丑寅卯辰巳午未申酉戌亥"
STEMS = "甲乙丙丁戊己庚辛壬癸"

GOLD = (222, 190, 120)


def font(path, px):
    return ImageFont.truetype(path, px * S)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def background():
    top, mid, bottom = (6, 8, 30), (20, 18, 66), (36, 22, 78)
    img = Image.new("RGB", (W * S, H * S))
    px = img.load()
    # vertical gradient plus a soft glow behind the ring (centre RING_C)
    cx, cy = RING_C[0] * S, RING_C[1] * S
    for y in range(H * S):
        t = y / (H * S - 1)
        base = lerp(top, mid, t / 0.6) if t < 0.6 else lerp(mid, bottom, (t - 0.6) / 0.4)
        for x in range(W * S):
            d = math.hypot(x - cx, y - cy) / (110 * S)
            g = max(0.0, 1.0 - d) ** 2 * 0.55
            px[x, y] = (int(base[0] + 34 * g), int(base[1] + 30 * g), int(base[2] + 62 * g))
    return img


RING_C = (250, 100)  # centre of the branch ring, in final pixels
RING_R = 56          # radius of the character circle


def in_label_box(x, y, margin):
    x0, y0, x1, y1 = LABEL_BOX
    return x0 - margin <= x <= x1 + margin and y0 - margin <= y <= y1 + margin


def stars(draw):
    rng = random.Random(20240531)
    for _ in range(150):
        x, y = rng.random() * W, rng.random() * H
        b = rng.random()
        if in_label_box(x, y, 6):
            continue
        if math.hypot(x - RING_C[0], y - RING_C[1]) < RING_R + 14:
            continue  # keep the ring clean
        r = (0.35 + 0.6 * b * b) * S
        v = int(110 + 130 * b)
        draw.ellipse((x * S - r, y * S - r, x * S + r, y * S + r), fill=(v, v, min(255, v + 25)))


def ring(layer):
    d = ImageDraw.Draw(layer)
    cx, cy = RING_C[0] * S, RING_C[1] * S
    line = (*GOLD, 110)
    for rr, w in ((RING_R + 11, 1.0), (RING_R - 10, 1.0), (RING_R - 13, 0.6)):
        r = rr * S
        d.ellipse((cx - r, cy - r, cx + r, cy + r), outline=line, width=int(w * S))
    # tick marks between the characters
    for i in range(12):
        a = math.radians(i * 30 + 15 - 90)
        r0, r1 = (RING_R + 7) * S, (RING_R + 11) * S
        d.line((cx + r0 * math.cos(a), cy + r0 * math.sin(a),
                cx + r1 * math.cos(a), cy + r1 * math.sin(a)), fill=line, width=S)
    f = font(JP_FONT, 13)
    for i, ch in enumerate(BRANCHES):
        # 子 at the top (north), going clockwise as on a compass
        a = math.radians(i * 30 - 90)
        x, y = cx + RING_R * S * math.cos(a), cy + RING_R * S * math.sin(a)
        d.text((x, y), ch, font=f, fill=(*GOLD, 215), anchor="mm")
    # small yin-yang in the middle, drawn faintly
    r = 20 * S
    light = (*GOLD, 150)
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=light)
    d.pieslice((cx - r, cy - r, cx + r, cy + r), 90, 270, fill=(30, 26, 80, 255))
    h = r // 2
    d.ellipse((cx - h, cy - r, cx + h, cy), fill=light)
    d.ellipse((cx - h, cy, cx + h, cy + r), fill=(30, 26, 80, 255))
    e = r // 7
    d.ellipse((cx - e, cy - h - e, cx + e, cy - h + e), fill=(30, 26, 80, 255))
    d.ellipse((cx - e, cy + h - e, cx + e, cy + h + e), fill=light)
    d.ellipse((cx - r, cy - r, cx + r, cy + r), outline=(*GOLD, 170), width=S)


def titles(layer):
    d = ImageDraw.Draw(layer)
    x = 22 * S
    # soft glow under the title
    glow = Image.new("RGBA", layer.size, (0, 0, 0, 0))
    g = ImageDraw.Draw(glow)
    g.text((x, 62 * S), "Vantora", font=font(SERIF, 38), fill=(150, 140, 255, 140), anchor="ls")
    glow = glow.filter(ImageFilter.GaussianBlur(5 * S))
    layer.alpha_composite(glow)
    d.text((x, 62 * S), "Vantora", font=font(SERIF, 38), fill=(246, 244, 255, 255), anchor="ls")
    d.line((x, 73 * S, x + 150 * S, 73 * S), fill=(*GOLD, 200), width=S)
    d.ellipse((x + 150 * S - 2 * S, 73 * S - 2 * S, x + 150 * S + 2 * S, 73 * S + 2 * S),
              fill=(*GOLD, 220))
    d.text((x, 115 * S), "四柱推命", font=font(JP_FONT, 34), fill=(*GOLD, 255), anchor="ls")
    # ten heavenly stems along the bottom, faint
    f = font(JP_FONT, 11)
    y = 206 * S
    step = (W - 44) / (len(STEMS) - 1)
    for i, ch in enumerate(STEMS):
        d.text(((22 + i * step) * S, y), ch, font=f, fill=(190, 185, 230, 120), anchor="mm")
    d.line((22 * S, 192 * S, (W - 22) * S, 192 * S), fill=(*GOLD, 70), width=S)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "splash.png")
    img = background().convert("RGBA")
    stars(ImageDraw.Draw(img))
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    ring(layer)
    titles(layer)
    img.alpha_composite(layer)
    img = img.convert("RGB").resize((W, H), Image.LANCZOS)

    # the label box must stay dark and plain for white text
    x0, y0, x1, y1 = LABEL_BOX
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            r, g, b = img.getpixel((x, y))
            if 0.299 * r + 0.587 * g + 0.114 * b > 70:
                sys.exit("label box not dark at %d,%d: %r" % (x, y, (r, g, b)))
    img.save(out, format="PNG", optimize=True)
    print("%s: %dx%d %s" % (out, img.size[0], img.size[1], img.mode))


if __name__ == "__main__":
    main()
