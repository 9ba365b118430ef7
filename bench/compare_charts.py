#!/usr/bin/env python3
"""Compares two outputs of `vantora-chart --batch` line by line.

Usage: compare_charts.py BEFORE.jsonl AFTER.jsonl
Prints how many lines are byte-identical; of the others, how many differ in a shown text (any
member but "values", which must never happen) and the largest difference of each number in
"values" (the longitude `birth_nl` in degrees). Exits 1 when a shown text differs or the line
counts differ.
"""
import json
import sys


def main():
    before_path, after_path = sys.argv[1], sys.argv[2]
    lines = identical = text_changed = 0
    largest = {}
    with open(before_path, "rb") as before, open(after_path, "rb") as after:
        for old, new in zip(before, after):
            lines += 1
            if old == new:
                identical += 1
                continue
            a, b = json.loads(old), json.loads(new)
            if {k: v for k, v in a.items() if k != "values"} != {k: v for k, v in b.items() if k != "values"}:
                text_changed += 1
                if text_changed <= 5:
                    print("shown text differs on line", lines, file=sys.stderr)
            for name, value in a.get("values", {}).items():
                other = b["values"][name]
                if value != other:
                    largest[name] = max(largest.get(name, 0), abs(float(value) - float(other)))
        extra = before.readline() or after.readline()
    print(f"{lines} lines, {identical} byte-identical, {lines - identical} with a changed last digit in "
          f"'values', {text_changed} with a changed shown text")
    for name, difference in sorted(largest.items()):
        print(f"  largest difference of {name}: {difference:.3g}")
    if extra:
        print("the files have different numbers of lines")
    return 1 if text_changed or extra else 0


if __name__ == "__main__":
    sys.exit(main())
