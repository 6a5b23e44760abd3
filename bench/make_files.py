#!/usr/bin/python3
"""Writes the inputs of the file benchmarks: a drawing of COUNT coordinate pairs in UTM zone 23
south (LINE entities with two 3D points each, right-aligned group codes, CR LF), the same
number of named points as a point file, and the points as CSV for the peer tools.

    make_files.py FOLDER [COUNT]      (COUNT defaults to one million)
"""
import random
import sys
from pathlib import Path


def drawing_lines(count, rng):
    yield from ("  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1009",
                "  9", "$INSBASE", " 10", "0.0", " 20", "0.0", " 30", "0.0",
                "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES")
    for i in range(count // 2):
        e = 300000 + rng.random() * 400000
        n = 7300000 + rng.random() * 400000
        yield from ("  0", "LINE", "  8", "LOTES",
                    " 10", f"{e:.4f}", " 20", f"{n:.4f}", " 30", f"{700 + i % 300:.3f}",
                    " 11", f"{e + 25.125:.4f}", " 21", f"{n + 12.5:.4f}", " 31", "701.25")
    yield from ("  0", "ENDSEC", "  0", "EOF")


def main():
    folder = Path(sys.argv[1])
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
    folder.mkdir(parents=True, exist_ok=True)
    rng = random.Random(23)
    with open(folder / "drawing.dxf", "w", newline="\r\n") as out:
        for line in drawing_lines(count, rng):
            out.write(line + "\n")
    with open(folder / "points.txt", "w", newline="\r\n") as txt, \
            open(folder / "points.csv", "w", newline="\n") as csv:
        csv.write("name,x,y,z\n")
        for i in range(count):
            e = 300000 + rng.random() * 400000
            n = 7300000 + rng.random() * 400000
            z = 650 + rng.random() * 200
            txt.write(f"PT{i + 1};{e:.3f};{n:.3f};{z:.3f}\n")
            csv.write(f"PT{i + 1},{e:.3f},{n:.3f},{z:.3f}\n")


if __name__ == "__main__":
    main()
