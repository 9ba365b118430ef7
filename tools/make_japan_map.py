#!/usr/bin/python3
"""Make data/japan_map.bmp, the map of Japan used to pick a birth place.

Run:   sudo tools/make_japan_map.py            (downloads the Debian package
                                                 r-cran-mapdata into a
                                                 temporary folder; apt-get
                                                 download needs root here)
       tools/make_japan_map.py DIR              (DIR = an extracted mapdata
                                                 data folder holding japan.L,
                                                 japan.G, japan.N)
       optional second argument: output path (default data/japan_map.bmp)

Output: 500 x 500 pixels, 8 bits per pixel, 256-entry palette, uncompressed
BMP.  No projection, a plain linear grid: the centre of pixel column x is at
longitude 121.39834 + x * 0.0514679 deg E, the centre of row y at latitude
49.00194 - y * 0.0514679 deg N, so the map spans about 121.4..147.1 E and
23.3..49.0 N.  A point (lon, lat) falls on pixel
    x = round((lon - 121.39834) / 0.0514679)
    y = round((49.00194 - lat) / 0.0514679).

Palette index 0 sea RGB(236,236,236), 1 land RGB(255,255,255),
2 prefecture border RGB(150,150,150), 3 coastline RGB(64,64,64); the other
252 entries are unused (black).  Land polygons are filled first, then the
borders and then the coastlines are drawn 1 px wide on top.  Rasterising is
done here in plain Python (even-odd scanline fill sampled at pixel centres,
Bresenham lines) so the bytes do not depend on the Pillow version; Pillow is
only used to write the BMP.

Source data: the prefecture outlines of the R package "mapdata" (Debian
r-cran-mapdata, made with 2.3.1-1), GPL-2; the Japan data are courtesy of
Ritei Shibata, Keio University.  The resulting BMP is GPL-2 as well.

File layout, worked out from the bytes of japan.L/.G/.N (all little-endian):
  japan.L  int32 coordinate type (2 = radians, 1 = degrees), int32 line count
           (10830), then per line 28 bytes: u32 byte offset of its points in
           this file, u16 point count, u16 left, u16 right, 2 pad bytes,
           4 x f32 bounding box; then the f32 (x, y) pairs.
  japan.G  u16 region count (760), then per region 24 bytes: u32 byte offset
           of its line list in this file, u8 line count, 3 pad bytes,
           4 x f32 bounding box; then int32 signed 1-based line numbers
           (negative = walk that line backwards).  Chaining the lines of a
           region gives a closed ring (checked below, every region closes).
  japan.N  "name<TAB>region number" per line; 47 prefectures, split into
           many island regions ("Tokyo:" etc.).
Only 2814 of the 10830 lines are used by any region; the rest (and the
left/right numbers in .L) belong to municipal boundaries, which this map
does not show.  A line used by two regions is a prefecture border, a line
used by one region is coastline.
"""

import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile

from PIL import Image

WIDTH = HEIGHT = 500
LON0 = 121.39834
LAT0 = 49.00194
STEP = 0.0514679  # degrees per pixel, both axes

SEA, LAND, BORDER, COAST = 0, 1, 2, 3
PALETTE = [(236, 236, 236), (255, 255, 255), (150, 150, 150), (64, 64, 64)]


def read_mapdata(folder):
    with open(os.path.join(folder, "japan.L"), "rb") as f:
        ldata = f.read()
    with open(os.path.join(folder, "japan.G"), "rb") as f:
        gdata = f.read()

    ctype, nlines = struct.unpack_from("<ii", ldata, 0)
    if ctype not in (1, 2) or not 0 < nlines < 1_000_000:
        sys.exit("japan.L: unexpected header %r" % ((ctype, nlines),))
    scale = 1.0 if ctype == 1 else 180.0 / math.pi
    lines = []
    expect = 8 + 28 * nlines
    for i in range(nlines):
        off, npts = struct.unpack_from("<IH", ldata, 8 + 28 * i)
        if off != expect:
            sys.exit("japan.L: line %d offset %d, expected %d" % (i + 1, off, expect))
        xy = struct.unpack_from("<%df" % (2 * npts), ldata, off)
        lines.append([(xy[j] * scale, xy[j + 1] * scale) for j in range(0, 2 * npts, 2)])
        expect = off + 8 * npts
    if expect != len(ldata):
        sys.exit("japan.L: %d trailing bytes" % (len(ldata) - expect))

    (nregions,) = struct.unpack_from("<H", gdata, 0)
    regions = []
    expect = 2 + 24 * nregions
    for i in range(nregions):
        off, count = struct.unpack_from("<IB", gdata, 2 + 24 * i)
        if off != expect:
            sys.exit("japan.G: region %d offset %d, expected %d" % (i + 1, off, expect))
        ids = struct.unpack_from("<%di" % count, gdata, off)
        if any(k == 0 or abs(k) > nlines for k in ids):
            sys.exit("japan.G: region %d has a bad line number" % (i + 1))
        regions.append(ids)
        expect = off + 4 * count
    if expect != len(gdata):
        sys.exit("japan.G: %d trailing bytes" % (len(gdata) - expect))

    with open(os.path.join(folder, "japan.N"), encoding="ascii") as f:
        names = [ln.split("\t") for ln in f.read().splitlines() if ln]
    if len(names) != nregions:
        sys.exit("japan.N: %d names for %d regions" % (len(names), nregions))
    prefectures = {n[0].rstrip(":").lower() for n in names}
    if len(prefectures) != 47:
        sys.exit("japan.N: %d prefecture names, expected 47" % len(prefectures))
    return lines, regions


def to_pixel(lon, lat):
    """Real-valued pixel position; integer values are pixel centres."""
    return (lon - LON0) / STEP, (LAT0 - lat) / STEP


def iround(v):
    return int(math.floor(v + 0.5))


def region_ring(lines, ids):
    ring = []
    for k in ids:
        pts = lines[abs(k) - 1]
        if k < 0:
            pts = pts[::-1]
        if ring:
            gap = math.hypot(ring[-1][0] - pts[0][0], ring[-1][1] - pts[0][1])
            if gap > 1e-4:
                sys.exit("region lines do not join (gap %.6f deg)" % gap)
            pts = pts[1:]
        ring.extend(pts)
    return ring


def fill_ring(pix, ring):
    """Even-odd fill of one closed ring, sampled at pixel centres."""
    pts = [to_pixel(lon, lat) for lon, lat in ring]
    ys = [p[1] for p in pts]
    y_lo = max(0, math.ceil(min(ys)))
    y_hi = min(HEIGHT - 1, math.floor(max(ys)))
    edges = list(zip(pts, pts[1:] + pts[:1]))
    for y in range(y_lo, y_hi + 1):
        xs = []
        for (x1, y1), (x2, y2) in edges:
            # half-open rule: an edge counts for y1 <= y < y2 (or reversed)
            if (y1 <= y < y2) or (y2 <= y < y1):
                xs.append(x1 + (y - y1) * (x2 - x1) / (y2 - y1))
        xs.sort()
        row = y * WIDTH
        for a, b in zip(xs[0::2], xs[1::2]):
            for x in range(max(0, math.ceil(a)), min(WIDTH - 1, math.floor(b)) + 1):
                pix[row + x] = LAND


def draw_polyline(pix, pts, colour):
    """1-px Bresenham polyline through the rounded pixel positions."""
    prev = None
    for lon, lat in pts:
        fx, fy = to_pixel(lon, lat)
        cur = (iround(fx), iround(fy))
        if prev is None:
            plot(pix, cur[0], cur[1], colour)
        elif cur != prev:
            x0, y0 = prev
            x1, y1 = cur
            dx, dy = abs(x1 - x0), -abs(y1 - y0)
            sx = 1 if x0 < x1 else -1
            sy = 1 if y0 < y1 else -1
            err = dx + dy
            while True:
                plot(pix, x0, y0, colour)
                if x0 == x1 and y0 == y1:
                    break
                e2 = 2 * err
                if e2 >= dy:
                    err += dy
                    x0 += sx
                if e2 <= dx:
                    err += dx
                    y0 += sy
        prev = cur


def plot(pix, x, y, colour):
    if 0 <= x < WIDTH and 0 <= y < HEIGHT:
        pix[y * WIDTH + x] = colour


def render(lines, regions):
    pix = bytearray([SEA]) * (WIDTH * HEIGHT)
    for ids in regions:
        fill_ring(pix, region_ring(lines, ids))

    uses = {}
    for ids in regions:
        for k in ids:
            uses[abs(k)] = uses.get(abs(k), 0) + 1
    borders = sorted(k for k, n in uses.items() if n >= 2)
    coasts = sorted(k for k, n in uses.items() if n == 1)
    for k in borders:
        draw_polyline(pix, lines[k - 1], BORDER)
    for k in coasts:
        draw_polyline(pix, lines[k - 1], COAST)
    print("regions %d, border lines %d, coast lines %d" % (len(regions), len(borders), len(coasts)))

    img = Image.frombytes("P", (WIDTH, HEIGHT), bytes(pix))
    pal = []
    for rgb in PALETTE + [(0, 0, 0)] * (256 - len(PALETTE)):
        pal.extend(rgb)
    img.putpalette(pal)
    return img


def check_bmp(path):
    with open(path, "rb") as f:
        head = f.read(54)
    bpp, comp = struct.unpack_from("<HI", head, 28)
    (ncolours,) = struct.unpack_from("<I", head, 46)
    w, h = struct.unpack_from("<ii", head, 18)
    if head[:2] != b"BM" or (w, h, bpp, comp) != (WIDTH, HEIGHT, 8, 0) or ncolours not in (0, 256):
        sys.exit("unexpected BMP header: %r" % ((w, h, bpp, comp, ncolours),))
    print("%s: %dx%d, %d bpp, compression %d, %d palette entries"
          % (path, w, h, bpp, comp, ncolours or 256))


def download(tmp):
    subprocess.run(["apt-get", "download", "r-cran-mapdata"], cwd=tmp, check=True)
    debs = [n for n in os.listdir(tmp) if n.endswith(".deb")]
    if len(debs) != 1:
        sys.exit("expected one .deb, found %r" % debs)
    subprocess.run(["dpkg-deb", "-x", debs[0], "x"], cwd=tmp, check=True)
    return os.path.join(tmp, "x/usr/lib/R/site-library/mapdata/mapdata")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "data", "japan_map.bmp")
    tmp = None
    try:
        if len(sys.argv) > 1:
            folder = sys.argv[1]
        else:
            tmp = tempfile.mkdtemp(prefix="mapdata.")
            folder = download(tmp)
        lines, regions = read_mapdata(folder)
    finally:
        if tmp:
            shutil.rmtree(tmp, ignore_errors=True)
    img = render(lines, regions)
    img.save(out, format="BMP")
    check_bmp(out)


if __name__ == "__main__":
    main()
