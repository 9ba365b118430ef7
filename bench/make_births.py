#!/usr/bin/env python3
"""Random births as `vantora-chart --batch` lines, for timing the batch and comparing its outputs.

Usage: make_births.py COUNT [SEED] > births.jsonl
Years 1500-2099, every valid day, one hour and minute in twenty unknown ("?"), both sexes,
time differences within -59..59 minutes (about one in fifty "-0") and 0-59 seconds, a fixed
present moment so that two runs of the same file give the same charts.
"""
import json
import random
import sys


def birth(rng):
    year = rng.randint(1500, 2099)
    month = rng.randint(1, 12)
    # The chart's calendar is Gregorian throughout, leap years included.
    leap = year % 4 == 0 and (year % 100 != 0 or year % 400 == 0)
    days = [31, 29 if leap else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][month - 1]
    hour = "?" if rng.random() < 0.05 else rng.randint(0, 23)
    minute = "?" if hour == "?" or rng.random() < 0.05 else rng.randint(0, 59)
    offset = "-0" if rng.random() < 0.02 else str(rng.randint(-59, 59))
    return {"year": year, "month": month, "day": rng.randint(1, days), "hour": hour,
            "minute": minute, "sex": rng.choice(["male", "female"]), "offset_minutes": offset,
            "offset_seconds": str(rng.randint(0, 59)), "now": "2026-12-08T10:00:00"}


def main():
    count = int(sys.argv[1])
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 1)
    out = sys.stdout
    for _ in range(count):
        out.write(json.dumps(birth(rng), ensure_ascii=False, separators=(", ", ": ")) + "\n")


if __name__ == "__main__":
    main()
