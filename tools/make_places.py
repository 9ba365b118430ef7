#!/usr/bin/python3
"""Make data/places.bin, the places of Japan the program looks birth places up in.

Run:   tools/make_places.py TOWNS_CSV_GZ [OUTPUT]     (default data/places.bin)
Uses only Python's standard library (csv, gzip, zlib).

Input: a gzip-compressed UTF-8 CSV with the header prefecture,municipality,town,lat,lng (one
row per town, degrees with up to 8 decimals; rows with an empty lat or lng are dropped).

Places: every municipality and every distinct town name in it.
- A town name that occurs several times in one municipality becomes one town at the median
  longitude and the median latitude of its rows.
- A municipality lies at the median longitude and the median latitude of its (merged) towns.
- Each median is taken separately per coordinate; an even count gives the mean of the two middle
  values.  Coordinates are whole numbers of 1e-8 degree, so every median is exact.
Municipalities keep the order of their first row, towns the order of their first row within it.

File layout (all integers unsigned LEB128 varints unless said otherwise):
  b"VPLC" 1 u32-little-endian:payload-length  zlib(payload)
  payload:
    P, then P prefecture names                    (name = varint byte length + UTF-8 bytes)
    M, then M municipalities: prefecture index, name, town count
    T (the sum of the town counts), then T town names, municipality by municipality
    M + T longitudes, then M + T latitudes, municipalities first, then the towns: each the
    zigzag-coded difference in 1e-8 degree from the previous value of the same column (the
    first from 0)
Every run on the same input writes the same bytes.
"""

import csv
import gzip
import os
import struct
import sys
import zlib

MAGIC = b"VPLC"
VERSION = 1
UNITS_PER_DEGREE = 10**8


def degrees_to_units(text):
    """'135.260471' -> 13526047100, exactly (no binary floating point on the way)."""
    sign = -1 if text.startswith("-") else 1
    whole, _, fraction = text.lstrip("+-").partition(".")
    if not whole.isdigit() or (fraction and not fraction.isdigit()) or len(fraction) > 8:
        raise ValueError(f"not a coordinate with at most 8 decimals: {text!r}")
    return sign * (int(whole) * UNITS_PER_DEGREE + int(fraction.ljust(8, "0")))


def median(values):
    """Median of whole numbers; the mean of the two middle ones for an even count.

    With every input a multiple of 4 units the result stays a whole number: the towns' values
    are multiples of 100 (6 decimals), their medians of 50, the municipalities' of 25."""
    ordered = sorted(values)
    half = len(ordered) // 2
    if len(ordered) % 2:
        return ordered[half]
    pair = ordered[half - 1] + ordered[half]
    if pair % 2:
        raise ValueError("median between two units; the input has too many decimals")
    return pair // 2


def build_places(rows):
    """Rows of (prefecture, municipality, town, lat, lng) texts ->
    [(prefecture, municipality, lng, lat, [(town, lng, lat), ...]), ...] in units of 1e-8 degree."""
    municipalities = {}  # (prefecture, municipality) -> {town: ([lng], [lat])}, insertion-ordered
    for prefecture, municipality, town, lat, lng in rows:
        if not lat.strip() or not lng.strip():
            continue
        towns = municipalities.setdefault((prefecture, municipality), {})
        lngs, lats = towns.setdefault(town, ([], []))
        lngs.append(degrees_to_units(lng.strip()))
        lats.append(degrees_to_units(lat.strip()))
    places = []
    for (prefecture, municipality), towns in municipalities.items():
        merged = [(town, median(lngs), median(lats)) for town, (lngs, lats) in towns.items()]
        places.append((prefecture, municipality, median([t[1] for t in merged]),
                       median([t[2] for t in merged]), merged))
    return places


def varint(value, out):
    while True:
        byte = value & 0x7F
        value >>= 7
        if value:
            out.append(byte | 0x80)
        else:
            out.append(byte)
            return


def zigzag(value):
    return value * 2 if value >= 0 else -value * 2 - 1


def put_name(name, out):
    data = name.encode("utf-8")
    varint(len(data), out)
    out.extend(data)


def encode(places):
    """The file's bytes for the places of build_places()."""
    prefectures = list(dict.fromkeys(p[0] for p in places))
    index = {name: i for i, name in enumerate(prefectures)}
    out = bytearray()
    varint(len(prefectures), out)
    for name in prefectures:
        put_name(name, out)
    varint(len(places), out)
    for prefecture, municipality, _, _, towns in places:
        varint(index[prefecture], out)
        put_name(municipality, out)
        varint(len(towns), out)
    varint(sum(len(p[4]) for p in places), out)
    for place in places:
        for town, _, _ in place[4]:
            put_name(town, out)
    for column in (2, 3):  # longitudes, then latitudes
        values = [p[column] for p in places] + [t[column - 1] for p in places for t in p[4]]
        previous = 0
        for value in values:
            varint(zigzag(value - previous), out)
            previous = value
    payload = bytes(out)
    return MAGIC + bytes([VERSION]) + struct.pack("<I", len(payload)) + zlib.compress(payload, 9)


def read_rows(path):
    with gzip.open(path, "rt", encoding="utf-8", newline="") as f:
        reader = csv.DictReader(f)
        for row in reader:
            yield row["prefecture"], row["municipality"], row["town"], row["lat"], row["lng"]


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__)
    output = argv[2] if len(argv) == 3 else os.path.join("data", "places.bin")
    places = build_places(read_rows(argv[1]))
    data = encode(places)
    with open(output, "wb") as f:
        f.write(data)
    towns = sum(len(p[4]) for p in places)
    print(f"{output}: {len(places)} municipalities, {towns} towns, {len(data)} bytes")


if __name__ == "__main__":
    main(sys.argv)
