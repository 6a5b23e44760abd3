#!/usr/bin/python3
"""Extracts the coastlines that draw_pictures.py reads (coast.txt) from GSHHG low resolution.

Run once by hand; the drawing itself never needs GMT. Needs the Debian packages gmt and
gmt-gshhg-low. GMT hands the shorelines out in pieces clipped to its storage bins, so the pieces
are joined end to end here into closed rings; a ring cut by the 180th meridian is closed along that
meridian (and Antarctica along the south pole), which keeps every ring inside -180..180 and
fillable on a longitude-latitude grid; the drawing leaves those closing runs out of the outlines.

    /usr/bin/python3 data/pictures/extract_coast.py > data/pictures/coast.txt
"""
import math
import subprocess
import sys

MIN_AREA_KM2 = {1: 1500.0, 2: 15000.0}   # land and lakes smaller than this vanish at these sizes
TOLERANCE_DEG = 0.04                     # simplification; about a fifteenth of a world-map pixel


def dump():
    text = subprocess.run(
        ["gmt", "coast", "-Rd", "-Dl", "-A500+l", "-W1/0.1p", "-W2/0.1p", "-M"],
        check=True, capture_output=True, text=True).stdout
    pieces, level, current = [], None, None
    for line in text.splitlines():
        if line.startswith(">"):
            level = int(line.rsplit(" ", 1)[1])
            current = []
            pieces.append((level, current))
        elif line.strip():
            lon, lat = (float(v) for v in line.split())
            current.append((round(lon, 6), round(lat, 6)))
    return [(lev, pts) for lev, pts in pieces if len(pts) >= 2]


def join(pieces):
    rings = []
    chains = []
    for level, pts in pieces:
        if pts[0] == pts[-1]:
            rings.append((level, pts[:-1]))
        else:
            chains.append((level, pts))
    # Each bin piece continues where a neighbouring bin's piece ends: link every piece to the one
    # that starts at its end, then walk the links from the pieces that nothing leads to, and
    # finally round the cycles that remain.
    by_start = {}
    for i, (level, pts) in enumerate(chains):
        by_start.setdefault((level, pts[0]), []).append(i)
    successor, has_pred = {}, set()
    for i, (level, pts) in enumerate(chains):
        nxt = [j for j in by_start.get((level, pts[-1]), []) if j not in has_pred]
        if nxt:
            successor[i] = nxt[0]
            has_pred.add(nxt[0])
    used = set()

    def walk(i):
        level, pts = chains[i]
        chain = list(pts)
        used.add(i)
        j = successor.get(i)
        while j is not None and j not in used:
            used.add(j)
            chain.extend(chains[j][1][1:])
            j = successor.get(j)
        return level, chain

    heads = [i for i in range(len(chains)) if i not in has_pred]
    walked = [walk(i) for i in heads]
    walked += [walk(i) for i in range(len(chains)) if i not in used]
    for level, chain in walked:
        if chain[0] == chain[-1]:
            rings.append((level, chain[:-1]))
            continue
        (x0, y0), (x1, y1) = chain[0], chain[-1]
        if abs(x0) == 180 and x0 == x1:
            rings.append((level, chain))           # closed along the 180th meridian
        elif abs(x0) == 180 and abs(x1) == 180:
            rings.append((level, chain + [(x1, -90.0), (x0, -90.0)]))   # Antarctica
        else:
            sys.exit(f"unclosed shoreline piece at {chain[0]} .. {chain[-1]}")
    return rings


def area_km2(pts):
    r = 6371.0
    s = 0.0
    for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
        s += math.radians(x1 - x0) * (2 + math.sin(math.radians(y0)) + math.sin(math.radians(y1)))
    return abs(s) * r * r / 2


def simplify(pts, tol):
    """Douglas-Peucker on a closed ring, anchored on its first point and its farthest point."""
    def rdp(seq):
        if len(seq) < 3:
            return seq
        (ax, ay), (bx, by) = seq[0], seq[-1]
        dx, dy = bx - ax, by - ay
        norm = math.hypot(dx, dy)
        best, index = -1.0, 0
        for i in range(1, len(seq) - 1):
            px, py = seq[i]
            d = (abs(dy * (px - ax) - dx * (py - ay)) / norm) if norm else math.hypot(px - ax, py - ay)
            if d > best:
                best, index = d, i
        if best <= tol:
            return [seq[0], seq[-1]]
        return rdp(seq[:index + 1])[:-1] + rdp(seq[index:])
    far = max(range(len(pts)), key=lambda i: (pts[i][0] - pts[0][0]) ** 2 + (pts[i][1] - pts[0][1]) ** 2)
    a = rdp(pts[:far + 1])
    b = rdp(pts[far:] + pts[:1])
    return a[:-1] + b[:-1]


def main():
    rings = join(dump())
    out = ["# Shorelines from GSHHG 2.3.7 low resolution (LGPL-3.0-or-later), extracted by",
           "# extract_coast.py: 'gmt coast -Rd -Dl -A500+l -M', pieces joined into rings, rings",
           "# below the area limit dropped, simplified to %.2f degrees." % TOLERANCE_DEG,
           "# One ring: 'ring <level> <count>' (1 land, 2 lake), then <count> lines 'lon lat' in",
           "# hundredths of a degree. Rings are closed implicitly (last point back to the first)."]
    kept = []
    for level, pts in rings:
        if level not in MIN_AREA_KM2 or area_km2(pts) < MIN_AREA_KM2[level]:
            continue
        simple = simplify(pts, TOLERANCE_DEG)
        q = []
        for lon, lat in simple:
            p = (round(lon * 100), round(lat * 100))
            if not q or q[-1] != p:
                q.append(p)
        if len(q) >= 3:
            kept.append((level, q))
    kept.sort(key=lambda r: (r[0], -len(r[1]), r[1][0]))
    for level, q in kept:
        out.append(f"ring {level} {len(q)}")
        out.extend(f"{x} {y}" for x, y in q)
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
