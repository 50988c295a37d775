#!/usr/bin/env python3
"""compare-counts.py NAME:LEVEL:KALVEX.csv:IMAGEJ.csv ...: compares each pair of counts and
prints one table row per picture; exits 1 when they disagree: another count, another area for
any object, or perimeter / Feret / MinFeret more than 2 % apart for an object of >= 100 px."""
import csv
import sys

LIMIT = 2.0  # per cent
BIG = 100  # pixels


def kalvex_rows(path):
    with open(path, newline="") as f:
        lines = [line for line in f if not line.startswith("#")]
    return list(csv.DictReader(lines))


def imagej_rows(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f))


def percent(a, b):
    return 0.0 if a == b else 100.0 * abs(a - b) / max(abs(a), abs(b))


def main(pairs):
    ok = True
    print("| picture | level | objects Kalvex / ImageJ | areas equal | centroids equal "
          "| objects >= 100 px | max perimeter diff | max Feret diff | max MinFeret diff |")
    print("|---|---|---|---|---|---|---|---|---|")
    for pair in pairs:
        name, level, ours, theirs = pair.split(":")
        k, j = kalvex_rows(ours), imagej_rows(theirs)
        same_count = len(k) == len(j)
        areas = centroids = 0
        big = 0
        worst = {"Perimeter": 0.0, "Feret": 0.0, "MinFeret": 0.0}
        names = {"Perimeter": "Perim.", "Feret": "Feret", "MinFeret": "MinFeret"}
        for a, b in zip(k, j):
            area = float(a["Area"])
            areas += area == float(b["Area"])
            centroids += (abs(float(a["X"]) - float(b["X"])) < 1e-3
                          and abs(float(a["Y"]) - float(b["Y"])) < 1e-3)
            if area >= BIG:
                big += 1
                for ours_name, theirs_name in names.items():
                    worst[ours_name] = max(worst[ours_name],
                                           percent(float(a[ours_name]), float(b[theirs_name])))
        agree = (same_count and areas == len(k) and centroids == len(k)
                 and all(v <= LIMIT for v in worst.values()))
        ok = ok and agree
        print(f"| {name} | {level} | {len(k)} / {len(j)} | {areas}/{len(k)} | "
              f"{centroids}/{len(k)} | {big} | {worst['Perimeter']:.1e} % | "
              f"{worst['Feret']:.1e} % | {worst['MinFeret']:.1e} % |"
              + ("" if agree else " DISAGREE"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
