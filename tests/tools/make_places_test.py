"""The place generator's medians and dropped rows, on a handful of made-up rows."""

import os
import sys
import unittest
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
import make_places  # noqa: E402

ROWS = [  # prefecture, municipality, town, lat, lng
    ("甲県", "乙市", "一町", "35.1", "135.1"),
    ("甲県", "乙市", "二町", "35.000001", "135.4"),
    ("甲県", "乙市", "二町", "35.000004", "135.2"),    # two rows: the means of the pairs
    ("甲県", "乙市", "三町", "", ""),                  # no point: dropped
    ("甲県", "乙市", "四町", "36.0", "134.9"),
    ("甲県", "乙市", "四町", "34.0", "135.9"),
    ("甲県", "乙市", "四町", "35.5", "135.0"),         # three rows: lat of one, lng of another
    ("丙県", "丁村", "南島", "24.28917", "153.980589"),
]


class BuildPlaces(unittest.TestCase):
    def test_towns_at_their_medians_and_municipalities_at_the_medians_of_their_towns(self):
        places = make_places.build_places(ROWS)
        self.assertEqual([(p[0], p[1]) for p in places], [("甲県", "乙市"), ("丙県", "丁村")])
        towns = {t[0]: (t[1], t[2]) for t in places[0][4]}
        self.assertEqual(list(towns), ["一町", "二町", "四町"])
        self.assertEqual(towns["二町"], (135_30000000, 35_00000250))
        self.assertEqual(towns["四町"], (135_00000000, 35_50000000))
        # Municipality: lng median of 135.1, 135.3, 135.0; lat median of 35.1, 35.0000025, 35.5.
        self.assertEqual(places[0][2:4], (135_10000000, 35_10000000))
        self.assertEqual(places[1][2:4], (153_98058900, 24_28917000))

    def test_even_count_takes_the_mean_of_the_middle_pair(self):
        self.assertEqual(make_places.median([400, 100, 300, 200]), 250)
        self.assertEqual(make_places.median([7]), 7)
        with self.assertRaises(ValueError):  # 2.5 units cannot be held
            make_places.median([2, 3])

    def test_coordinates_are_read_exactly(self):
        self.assertEqual(make_places.degrees_to_units("135.260471"), 13526047100)
        self.assertEqual(make_places.degrees_to_units("-0.5"), -50000000)
        for bad in ("1.123456789", "abc", "1e5"):
            with self.assertRaises(ValueError):
                make_places.degrees_to_units(bad)

    def test_file_starts_with_its_header_and_inflates_to_its_length(self):
        data = make_places.encode(make_places.build_places(ROWS))
        self.assertEqual(data[:5], b"VPLC\x01")
        self.assertEqual(len(zlib.decompress(data[9:])), int.from_bytes(data[5:9], "little"))


if __name__ == "__main__":
    unittest.main()
