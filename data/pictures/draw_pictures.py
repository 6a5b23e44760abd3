#!/usr/bin/python3
"""Draws the program's pictures: the two map bitmaps, the About window's emblem and globe, and the
program's icon.

    /usr/bin/python3 data/pictures/draw_pictures.py [--out DIR]

Writes DIR/ZonasUTM.bmp, DIR/UTMzone.bmp, DIR/pictures/emblem.png, DIR/pictures/globe.png,
DIR/icons/hicolor/NxN/apps/zelvora.png for N = 16, 24, 32, 48, 64, 128 and 256, and
DIR/icons/hicolor/scalable/apps/zelvora.svg; DIR is the data folder beside this one unless
given. Python's standard library only, and no randomness or clock, so the same inputs give the
same bytes. The coastlines come from coast.txt next to this file (see README.md for where they
come from).

Pixel (x, y) covers the square [x, x+1) x [y, y+1) of the picture's continuous coordinates, so a
position that the map window marks at trunc(u), trunc(v) lies inside the pixel it marks.
"""
import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# --------------------------------------------------------------------------------------------
# File encoders


def write_bmp(path, canvas):
    """24-bit uncompressed Windows bitmap, BITMAPINFOHEADER, bottom-up rows padded to 4 bytes."""
    w, h = canvas.w, canvas.h
    stride = (w * 3 + 3) & ~3
    pad = b"\0" * (stride - w * 3)
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = canvas.get(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + pad)
    image = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(image), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + image)


def write_png(path, canvas):
    """8-bit PNG, no interlace, RGB (colour type 2) or, for a canvas with an alpha channel, RGBA
    (colour type 6); each row filtered by the filter that minimises its sum."""
    w, h = canvas.w, canvas.h
    bpp = canvas.channels

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = bytearray()
    prev = bytes(w * bpp)
    for y in range(h):
        cur = bytearray()
        for x in range(w):
            cur += bytes(canvas.get(x, y))
        cur = bytes(cur)
        best = None
        for ftype in range(5):
            out = bytearray(len(cur))
            for i in range(len(cur)):
                a = cur[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                if ftype == 0:
                    p = 0
                elif ftype == 1:
                    p = a
                elif ftype == 2:
                    p = b
                elif ftype == 3:
                    p = (a + b) >> 1
                else:
                    pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                    p = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                out[i] = (cur[i] - p) & 0xFF
            score = sum(v if v < 128 else 256 - v for v in out)
            if best is None or score < best[0]:
                best = (score, ftype, out)
        raw.append(best[1])
        raw += best[2]
        prev = cur
    data = (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6 if bpp == 4 else 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


# --------------------------------------------------------------------------------------------
# Canvas and rasterising


class Canvas:
    channels = 3

    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.px = [tuple(float(c) for c in colour)] * (w * h)

    def get(self, x, y):
        r, g, b = self.px[y * self.w + x]
        return (min(255, max(0, int(r + 0.5))), min(255, max(0, int(g + 0.5))),
                min(255, max(0, int(b + 0.5))))

    def set(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = tuple(float(c) for c in colour)

    def blend(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        if alpha >= 1:
            self.set(x, y, colour)
            return
        i = y * self.w + x
        r, g, b = self.px[i]
        self.px[i] = (r + (colour[0] - r) * alpha, g + (colour[1] - g) * alpha,
                      b + (colour[2] - b) * alpha)

    def paint(self, cov, colour, alpha=1.0):
        """Lays colour over the canvas with the given coverage per pixel."""
        for i, c in enumerate(cov):
            if c > 0:
                self.blend(i % self.w, i // self.w, colour, min(1.0, c) * alpha)

    def hline(self, x0, x1, y, colour):
        for x in range(x0, x1 + 1):
            self.set(x, y, colour)

    def vline(self, x, y0, y1, colour):
        for y in range(y0, y1 + 1):
            self.set(x, y, colour)


def fill_coverage(rings, w, h, sub=5):
    """Area coverage of the even-odd union of the rings (continuous pixel coordinates): exact
    across each of `sub` sample lines per pixel row, averaged down the row."""
    cov = [0.0] * (w * h)
    buckets = {}
    for ring in rings:
        n = len(ring)
        for k in range(n):
            x0, y0 = ring[k]
            x1, y1 = ring[(k + 1) % n]
            if y0 == y1:
                continue
            if y0 > y1:
                x0, y0, x1, y1 = x1, y1, x0, y0
            first = max(0, math.ceil(y0 * sub - 0.5))
            last = min(h * sub - 1, math.ceil(y1 * sub - 0.5) - 1)
            if first > last:
                continue
            buckets.setdefault(first, []).append((last, x0, y0, (x1 - x0) / (y1 - y0)))
    weight = 1.0 / sub
    active = []
    for s in range(h * sub):
        active = [e for e in active if e[0] >= s]
        active.extend(buckets.get(s, ()))
        if not active:
            continue
        ys = (s + 0.5) / sub
        xs = sorted(x0 + (ys - y0) * slope for _, x0, y0, slope in active)
        base = (s // sub) * w
        run = [0.0] * (w + 1)
        for j in range(0, len(xs) - 1, 2):
            a, b = max(0.0, xs[j]), min(float(w), xs[j + 1])
            if a >= b:
                continue
            ia, ib = int(a), int(b)
            if ia == ib:
                cov[base + ia] += (b - a) * weight
                continue
            cov[base + ia] += (ia + 1 - a) * weight
            run[ia + 1] += weight
            run[ib] -= weight
            if ib < w:
                cov[base + ib] += (b - ib) * weight
        acc = 0.0
        for x in range(w):
            acc += run[x]
            if acc:
                cov[base + x] += acc
    return cov


def stroke_coverage(polylines, w, h, width, cov=None):
    """Coverage of lines of the given width along the polylines, the union taken as the larger
    coverage where lines meet, so joints and crossings do not darken."""
    if cov is None:
        cov = [0.0] * (w * h)
    half = width / 2.0
    reach = half + 1.0
    for line in polylines:
        for (ax, ay), (bx, by) in zip(line, line[1:]):
            dx, dy = bx - ax, by - ay
            ll = dx * dx + dy * dy
            x0 = max(0, int(math.floor(min(ax, bx) - reach)))
            x1 = min(w - 1, int(math.floor(max(ax, bx) + reach)))
            y0 = max(0, int(math.floor(min(ay, by) - reach)))
            y1 = min(h - 1, int(math.floor(max(ay, by) + reach)))
            for y in range(y0, y1 + 1):
                cy = y + 0.5
                for x in range(x0, x1 + 1):
                    cx = x + 0.5
                    t = ((cx - ax) * dx + (cy - ay) * dy) / ll if ll else 0.0
                    t = 0.0 if t < 0 else (1.0 if t > 1 else t)
                    d = math.hypot(cx - ax - t * dx, cy - ay - t * dy)
                    c = half + 0.5 - d
                    if c > 0:
                        c = min(c, 1.0, width)
                        i = y * w + x
                        if c > cov[i]:
                            cov[i] = c
    return cov


# --------------------------------------------------------------------------------------------
# Bitmap fonts: a 3x5 one for the many small numbers, a 5x7 one for letters and headings

FONT3 = {
    "0": ["###", "#.#", "#.#", "#.#", "###"],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"],
    "3": ["###", "..#", ".##", "..#", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"],
    "5": ["###", "#..", "###", "..#", "###"],
    "6": ["###", "#..", "###", "#.#", "###"],
    "7": ["###", "..#", "..#", ".#.", ".#."],
    "8": ["###", "#.#", "###", "#.#", "###"],
    "9": ["###", "#.#", "###", "..#", "###"],
    "k": ["#..", "#.#", "##.", "#.#", "#.#"],
    "m": ["...", "##.", "###", "#.#", "#.#"],
    "E": ["###", "#..", "##.", "#..", "###"],
    "N": ["#.#", "###", "###", "###", "#.#"],
    " ": ["..", "..", "..", "..", ".."],
}

FONT5 = {
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "k": ["#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#...#", "#...#"],
    "/": ["....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#...."],
    "\u00b0": [".##.", "#..#", "#..#", ".##.", "....", "....", "...."],
    " ": ["...", "...", "...", "...", "...", "...", "..."],
}


def text_width(font, text):
    return sum(len(font[ch][0]) + 1 for ch in text) - 1 if text else 0


def glyph_pixels(font, text, x, y):
    out = []
    for ch in text:
        rows = font[ch]
        for j, row in enumerate(rows):
            for i, bit in enumerate(row):
                if bit == "#":
                    out.append((x + i, y + j))
        x += len(rows[0]) + 1
    return out


def draw_text(canvas, font, text, x, y, colour, halo=None):
    """Pixel text with its top-left corner at (x, y); a halo is a one-pixel ring around the
    glyphs in the given colour, so that text stays legible over lines and coasts."""
    pixels = glyph_pixels(font, text, x, y)
    if halo is not None:
        ring = set()
        for px, py in pixels:
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    ring.add((px + dx, py + dy))
        ring.difference_update(pixels)
        for px, py in sorted(ring):
            canvas.blend(px, py, halo[0], halo[1])
    for px, py in pixels:
        canvas.set(px, py, colour)


# --------------------------------------------------------------------------------------------
# Coastlines


def read_coast():
    rings = []
    with open(os.path.join(HERE, "coast.txt"), encoding="ascii") as f:
        lines = [ln for ln in f.read().splitlines() if ln and not ln.startswith("#")]
    i = 0
    while i < len(lines):
        _, level, count = lines[i].split()
        count = int(count)
        pts = [tuple(int(v) / 100.0 for v in ln.split()) for ln in lines[i + 1:i + 1 + count]]
        rings.append((int(level), pts))
        i += 1 + count
    return rings


def coast_polylines(ring):
    """The ring's shoreline as polylines, without the closing runs along the 180th meridian and
    the south pole that only make the rings fillable."""
    n = len(ring)
    lines, cur = [], []
    for k in range(n + 1):
        p = ring[k % n]
        q = ring[(k + 1) % n]
        artificial = ((abs(p[0]) == 180 and p[0] == q[0]) or (p[1] == -90 and q[1] == -90))
        if k == n or artificial:
            cur.append(p)
            if len(cur) >= 2:
                lines.append(cur)
            cur = []
        else:
            cur.append(p)
    return lines


# --------------------------------------------------------------------------------------------
# World map with the UTM zones: 567 x 284

OCEAN = (214, 232, 247)
LAND = (239, 231, 204)
COAST = (146, 134, 102)
STRIP = (247, 248, 251)
ZONE_LINE = (146, 160, 186)      # the one colour of every zone boundary column
BAND_LINE = (188, 200, 218)
FRAME = (120, 134, 160)
EQUATOR = (132, 146, 172)
LABEL = (36, 50, 80)


def world_u(lon):
    return lon / 360.0 * 567.0 + 283.5


def world_v(lat):
    return 144.0 - lat * 140.0 / 90.0


def draw_world(rings):
    W, H = 567, 284
    c = Canvas(W, H, (255, 255, 255))
    for y in range(H):
        c.hline(0, W - 1, y, OCEAN)
    land = [[(world_u(lo), world_v(la)) for lo, la in pts] for lev, pts in rings]
    cov = fill_coverage(land, W, H)
    # Land and lakes share one even-odd fill: a lake ring inside its land ring cuts it out.
    c.paint(cov, LAND)
    shore = []
    for lev, pts in rings:
        for line in coast_polylines(pts):
            shore.append([(world_u(lo), world_v(la)) for lo, la in line])
    c.paint(stroke_coverage(shore, W, H, 0.9), COAST, 0.85)

    # Latitude bands of 8 degrees from 80 S, the last (X) of 12 up to 84 N. North of 84 N and
    # south of 80 S the grid is no longer UTM; those strips carry the zone numbers instead.
    band_edges = [-80 + 8 * k for k in range(20)] + [84]
    north_edge, south_edge = int(world_v(84)), int(world_v(-80))
    for y in list(range(0, north_edge)) + list(range(south_edge + 1, H)):
        c.hline(0, W - 1, y, STRIP)
    for lat in band_edges[1:-1]:
        y = int(world_v(lat))
        for x in range(W):
            c.blend(x, y, BAND_LINE, 0.8)
    c.hline(0, W - 1, int(world_v(0)), EQUATOR)
    c.hline(0, W - 1, north_edge, FRAME)
    c.hline(0, W - 1, south_edge, FRAME)

    columns = [int((-180 + 6 * k) / 360.0 * 567.0 + 283.5) for k in range(61)]
    halo = ((255, 255, 255), 0.75)
    # Zone numbers in the polar strips, centred in their zone.
    for k in range(60):
        left, right = columns[k], columns[k + 1]
        label = str(k + 1)
        tw = text_width(FONT3, label)
        x = left + 1 + ((right - left - 1) - tw) // 2
        draw_text(c, FONT3, label, x, (north_edge - 5) // 2, LABEL)
        draw_text(c, FONT3, label, x, south_edge + 1 + (H - south_edge - 1 - 5) // 2, LABEL)
    # Band letters in the first and the last zone, at the middle of each band.
    letters = "CDEFGHJKLMNPQRSTUVWX"
    for k, letter in enumerate(letters):
        lat_mid = (band_edges[k] + band_edges[k + 1]) / 2.0
        y = int(world_v(lat_mid)) - 3
        for left, right in ((columns[0], columns[1]), (columns[59], columns[60])):
            x = left + 1 + ((right - left - 1) - 5) // 2
            draw_text(c, FONT5, letter, x, y, LABEL, halo)
    # Zone boundaries last, so each boundary column holds one colour from top to bottom.
    for x in columns:
        if x < W:
            c.vline(x, 0, H - 1, ZONE_LINE)
    return c


# --------------------------------------------------------------------------------------------
# One UTM zone: 240 x 344

A_WGS84 = 6378137.0
F_WGS84 = 1 / 298.257223563
K0 = 0.9996


def tm_forward(lat, dlon):
    """Transverse Mercator on WGS 84 (the series of the USGS projection manual): easting offset
    from the central meridian and northing from the equator, in metres, with the UTM scale."""
    e2 = F_WGS84 * (2 - F_WGS84)
    ep2 = e2 / (1 - e2)
    phi = math.radians(lat)
    m = A_WGS84 * ((1 - e2 / 4 - 3 * e2 ** 2 / 64 - 5 * e2 ** 3 / 256) * phi
                   - (3 * e2 / 8 + 3 * e2 ** 2 / 32 + 45 * e2 ** 3 / 1024) * math.sin(2 * phi)
                   + (15 * e2 ** 2 / 256 + 45 * e2 ** 3 / 1024) * math.sin(4 * phi)
                   - (35 * e2 ** 3 / 3072) * math.sin(6 * phi))
    if abs(lat) >= 90:
        return 0.0, K0 * m
    n = A_WGS84 / math.sqrt(1 - e2 * math.sin(phi) ** 2)
    t = math.tan(phi) ** 2
    cc = ep2 * math.cos(phi) ** 2
    a = math.radians(dlon) * math.cos(phi)
    x = K0 * n * (a + (1 - t + cc) * a ** 3 / 6
                  + (5 - 18 * t + t * t + 72 * cc - 58 * ep2) * a ** 5 / 120)
    y = K0 * (m + n * math.tan(phi) * (a * a / 2 + (5 - t + 9 * cc + 4 * cc * cc) * a ** 4 / 24
                                       + (61 - 58 * t + t * t + 600 * cc - 330 * ep2) * a ** 6 / 720))
    return x, y


def zone_u(easting):
    return 62.0 + easting * 123.0 / 800000.0


def zone_v(northing, south):
    """Northing in the hemisphere's false-northing convention to the picture's row coordinate."""
    return (313.0 if south else 163.0) - northing * 151.0 / 10000000.0


def zone_point(lat, dlon):
    x, y = tm_forward(lat, dlon)
    if lat < 0:
        return zone_u(500000.0 + x), zone_v(10000000.0 + y, True)
    return zone_u(500000.0 + x), zone_v(y, False)


ZBACK = (246, 247, 249)
ZONE_FILL = (226, 238, 232)
GRID = (206, 213, 224)
GRID_EDGE = (150, 160, 178)
PARALLEL = (150, 172, 160)
MERIDIAN = (120, 146, 132)
CENTRAL = (46, 84, 124)
EDGE = (34, 70, 112)
ZLABEL = (40, 52, 80)
ZHEAD = (86, 98, 122)


def meridian_line(dlon):
    lats = [-90.0] + [-89.5 + 0.5 * k for k in range(359)] + [90.0]
    north = [zone_point(la, dlon) for la in lats if la >= 0]
    south = [zone_point(la, dlon) for la in lats if la < 0] + [zone_point(-1e-9, dlon)]
    return [south, north]


def draw_zone():
    W, H = 240, 344
    c = Canvas(W, H, (255, 255, 255))
    x0, x1 = 62, 185             # eastings 0 and 800 000 m
    y_top, y_bottom = 12, 313    # northing 10 000 000 m in the north, 0 m in the south
    for y in range(y_top, y_bottom + 1):
        c.hline(x0, x1, y, ZBACK)

    # Kilometre grid: every 100 km of easting, every 1000 km of northing, on the pixels the map
    # window marks for those values.
    grid_cols = [int(zone_u(e)) for e in range(0, 800001, 100000)]
    grid_rows = ([int(zone_v(n, False)) for n in range(0, 10000001, 1000000)]
                 + [int(zone_v(n, True)) for n in range(0, 10000001, 1000000)])
    for x in grid_cols:
        for y in range(y_top, y_bottom + 1):
            c.set(x, y, GRID)
    for y in grid_rows:
        for x in range(x0, x1 + 1):
            c.set(x, y, GRID)

    # The zone itself: the band between its edge meridians, pole to pole, laid over the grid so
    # that the grid shows faintly through and the parallels stand out. The halves overlap by a
    # row at the equator, so each is filled on its own.
    west = meridian_line(-3.0)
    east = meridian_line(3.0)
    for half_w, half_e in zip(west, east):
        c.paint(fill_coverage([half_w + half_e[::-1]], W, H, 8), ZONE_FILL, 0.8)

    # Parallels every 10 degrees within the zone. At this vertical scale a parallel bends by less
    # than a tenth of a pixel across the zone, so it is one row.
    for lat in range(-80, 81, 10):
        if lat == 0:
            continue
        uw, v = zone_point(lat, -3.0)
        ue, _ = zone_point(lat, 3.0)
        y = int(v)
        for x in range(int(math.ceil(uw)), int(ue) + 1):
            c.set(x, y, PARALLEL)
    # Meridians every degree; the edges stronger.
    lines = []
    for d in (-2.0, -1.0, 1.0, 2.0):
        lines += meridian_line(d)
    c.paint(stroke_coverage(lines, W, H, 0.9), MERIDIAN)
    c.paint(stroke_coverage(west + east, W, H, 1.4), EDGE)
    # Central meridian (easting 500 000 m) and the equator, where the halves meet.
    c.vline(int(zone_u(500000.0)), y_top, y_bottom, CENTRAL)
    for y in (int(zone_v(10000000.0, True)), int(zone_v(0.0, False))):
        lo = int(math.ceil(zone_point(0.0, -3.0)[0]))
        hi = int(zone_point(0.0, 3.0)[0])
        c.hline(lo, hi, y, EDGE)
    # Frame of the grid.
    c.hline(x0, x1, y_top, GRID_EDGE)
    c.hline(x0, x1, y_bottom, GRID_EDGE)
    c.vline(x0, y_top, y_bottom, GRID_EDGE)
    c.vline(x1, y_top, y_bottom, GRID_EDGE)

    # Eastings in km above the grid.
    for e, x in zip(range(0, 801, 100), grid_cols):
        s = str(e)
        draw_text(c, FONT3, s, x - text_width(FONT3, s) // 2, 4, ZLABEL)
    # Northings in km left of the grid, both halves; the equator carries both values.
    def northing_label(text, y):
        draw_text(c, FONT5, text, 58 - text_width(FONT5, text), y, ZLABEL)
    for k in range(11):
        n = 1000 * k
        if k:
            northing_label(str(n), int(zone_v(n * 1000.0, False)) - 3)
        if k < 10:
            northing_label(str(n), int(zone_v(n * 1000.0, True)) - 3)
    northing_label("0", int(zone_v(0.0, False)) - 8)
    northing_label("10000", int(zone_v(10000000.0, True)) + 3)
    draw_text(c, FONT5, "km", 2, 2, ZHEAD)
    draw_text(c, FONT5, "N", 6, int(zone_v(5000000.0, False)) - 3, ZHEAD)
    draw_text(c, FONT5, "S", 6, int(zone_v(5000000.0, True)) - 3, ZHEAD)
    # Latitudes just outside the zone's east edge, level with their parallels.
    for lat in range(-80, 81, 10):
        if lat == 0:
            continue
        text = f"{abs(lat)}\u00b0{'N' if lat > 0 else 'S'}"
        u, v = zone_point(lat, 3.0)
        x = int(math.ceil(u)) + 3
        if x - 1 <= x1 + 1 and x + text_width(FONT5, text) >= x1 - 1:
            x = x1 + 3           # clear of the grid's frame rather than across it
        draw_text(c, FONT5, text, x, int(v) - 3, ZHEAD, ((255, 255, 255), 0.8))
    return c


# --------------------------------------------------------------------------------------------
# About window: the globe (197 x 197) and the emblem (48 x 48)

G_OCEAN = (112, 165, 218)
G_LAND = (192, 214, 156)
G_COAST = (92, 122, 70)
G_GRAT = (240, 246, 252)
G_LIMB = (52, 86, 132)


def land_mask(rings, scale):
    """Land coverage on a longitude-latitude grid of 1/scale degree cells."""
    w, h = 360 * scale, 180 * scale
    flat = [[((lo + 180.0) * scale, (90.0 - la) * scale) for lo, la in pts] for lev, pts in rings]
    return fill_coverage(flat, w, h, 2), w, h


def draw_globe(rings):
    S = 197
    R = 94.5
    cx = cy = S / 2.0
    lat0, lon0 = math.radians(-15.0), math.radians(-50.0)
    sin0, cos0 = math.sin(lat0), math.cos(lat0)
    scale = 4
    mask, mw, mh = land_mask(rings, scale)

    def land_at(lon, lat):
        fx = (lon + 180.0) * scale - 0.5
        fy = (90.0 - lat) * scale - 0.5
        ix, iy = int(math.floor(fx)), int(math.floor(fy))
        tx, ty = fx - ix, fy - iy
        def m(i, j):
            return mask[min(mh - 1, max(0, j)) * mw + (i % mw)]
        return ((m(ix, iy) * (1 - tx) + m(ix + 1, iy) * tx) * (1 - ty)
                + (m(ix, iy + 1) * (1 - tx) + m(ix + 1, iy + 1) * tx) * ty)

    light = (-0.45, 0.55, 0.70)
    ln = math.sqrt(sum(v * v for v in light))
    light = tuple(v / ln for v in light)
    c = Canvas(S, S, (255, 255, 255))
    n = 4
    disc = [0.0] * (S * S)
    for py in range(S):
        for px in range(S):
            acc = [0.0, 0.0, 0.0]
            inside = 0
            for j in range(n):
                for i in range(n):
                    x = (px + (i + 0.5) / n - cx) / R
                    y = -(py + (j + 0.5) / n - cy) / R
                    rr = x * x + y * y
                    if rr >= 1.0:
                        continue
                    z = math.sqrt(1.0 - rr)
                    lat = math.degrees(math.asin(max(-1.0, min(1.0, z * sin0 + y * cos0))))
                    lon = math.degrees(lon0 + math.atan2(x, z * cos0 - y * sin0))
                    lon = (lon + 180.0) % 360.0 - 180.0
                    f = land_at(lon, lat)
                    base = [G_OCEAN[k] + (G_LAND[k] - G_OCEAN[k]) * f for k in range(3)]
                    shade = 0.82 + 0.22 * max(0.0, x * light[0] + y * light[1] + z * light[2])
                    for k in range(3):
                        acc[k] += min(255.0, base[k] * shade)
                    inside += 1
            if inside:
                a = inside / (n * n)
                col = tuple(v / inside for v in acc)
                c.blend(px, py, col, a)
                disc[py * S + px] = a

    def project(lon, lat):
        phi, lam = math.radians(lat), math.radians(lon) - lon0
        cosc = sin0 * math.sin(phi) + cos0 * math.cos(phi) * math.cos(lam)
        x = math.cos(phi) * math.sin(lam)
        y = cos0 * math.sin(phi) - sin0 * math.cos(phi) * math.cos(lam)
        return cosc, (cx + R * x, cy - R * y)

    def visible_lines(points):
        lines, cur = [], []
        for lon, lat in points:
            cosc, p = project(lon, lat)
            if cosc > 0:
                cur.append(p)
            else:
                if len(cur) >= 2:
                    lines.append(cur)
                cur = []
        if len(cur) >= 2:
            lines.append(cur)
        return lines

    grat = []
    for lon in range(-180, 180, 30):
        grat += visible_lines([(lon, -90 + 0.5 * k) for k in range(361)])
    for lat in range(-60, 61, 30):
        grat += visible_lines([(-180 + 0.5 * k, lat) for k in range(721)])
    gcov = stroke_coverage(grat, S, S, 0.8)
    c.paint([g * d for g, d in zip(gcov, disc)], G_GRAT, 0.55)
    shore = []
    for lev, pts in rings:
        for line in coast_polylines(pts):
            shore += visible_lines(line)
    scov = stroke_coverage(shore, S, S, 0.6)
    c.paint([g * d for g, d in zip(scov, disc)], G_COAST, 0.8)
    limb = [(cx + R * math.cos(t * math.pi / 180), cy + R * math.sin(t * math.pi / 180))
            for t in range(0, 361, 2)]
    c.paint(stroke_coverage([limb], S, S, 1.2), G_LIMB)
    return c


E_DARK = (30, 56, 96)
E_LIGHT = (120, 166, 212)
E_ACCENT = (222, 132, 44)


def circle(cx, cy, r, steps=180):
    return [(cx + r * math.cos(2 * math.pi * k / steps), cy + r * math.sin(2 * math.pi * k / steps))
            for k in range(steps)]


def draw_emblem():
    S = 48
    c = Canvas(S, S, (255, 255, 255))
    cx = cy = 24.0
    c.paint(fill_coverage([circle(cx, cy, 22.5), circle(cx, cy, 20.6)], S, S, 8), E_DARK)
    # Ticks every 30 degrees inside the ring, like a graduated circle.
    ticks = []
    for k in range(12):
        if k % 3 == 0:
            continue
        t = math.radians(30 * k)
        ticks.append([(cx + 20.6 * math.cos(t), cy + 20.6 * math.sin(t)),
                      (cx + 17.6 * math.cos(t), cy + 17.6 * math.sin(t))])
    c.paint(stroke_coverage(ticks, S, S, 1.3), E_DARK)
    # Compass star: four long points, each halved into a light and a dark side, and four short.
    def point(angle, length, half):
        t = math.radians(angle)
        tip = (cx + length * math.sin(t), cy - length * math.cos(t))
        left = (cx + half * math.sin(t - math.pi / 2), cy - half * math.cos(t - math.pi / 2))
        right = (cx + half * math.sin(t + math.pi / 2), cy - half * math.cos(t + math.pi / 2))
        return [(cx, cy), left, tip], [(cx, cy), tip, right]
    for angle in (45, 135, 225, 315):
        a, b = point(angle, 12.5, 3.2)
        c.paint(fill_coverage([a], S, S, 8), E_LIGHT)
        c.paint(fill_coverage([b], S, S, 8), E_DARK)
    for angle in (90, 180, 270, 0):
        a, b = point(angle, 20.0, 4.6)
        c.paint(fill_coverage([a], S, S, 8), E_ACCENT if angle == 0 else E_LIGHT)
        c.paint(fill_coverage([b], S, S, 8), E_DARK)
    # The survey mark at the centre: a small white disc with a dot.
    c.paint(fill_coverage([circle(cx, cy, 3.4, 48)], S, S, 8), (255, 255, 255))
    c.paint(fill_coverage([circle(cx, cy, 3.4, 48), circle(cx, cy, 2.4, 48)], S, S, 8), E_DARK)
    c.paint(fill_coverage([circle(cx, cy, 1.0, 24)], S, S, 8), E_DARK)
    return c


# --------------------------------------------------------------------------------------------
# The application icon: the emblem's design on a transparent background, as PNGs in the sizes of
# the hicolor icon theme and as an SVG drawn from the same shapes

ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
I_FACE_TOP = (255, 255, 255)
I_FACE_BOTTOM = (220, 231, 243)
I_WHITE = (255, 255, 255)


def icon_layers(n):
    """The icon on an n-pixel square, as (shape, fill) pairs in the square's continuous
    coordinates, painted in order. A shape is ("disc", cx, cy, r), ("ring", cx, cy, r_in, r_out)
    or ("polygon", points); a fill is an RGB colour or ("gradient", top, bottom, y0, y1), a
    vertical gradient from row coordinate y0 to y1.

    The emblem's geometry scaled by n / 48 (at 48 pixels the emblem's own layout) on a
    transparent background, its face shaded from white at the top to a pale blue at the bottom. The
    smaller sizes keep the silhouette and drop the detail: the outer ring stays at least 1.25
    pixels wide, the graduation (every 30 degrees) is drawn from 48 pixels up and its finer
    divisions (every 10 degrees) from 128 up, and the survey mark at the centre loses its ring
    below 48 pixels, its dot below 32 and is left out at 16."""
    k = n / 48.0
    c = n / 2.0
    r_out = 22.5 * k
    r_in = r_out - max(1.9 * k, 1.25)
    layers = [
        (("disc", c, c, (r_in + r_out) / 2.0),
         ("gradient", I_FACE_TOP, I_FACE_BOTTOM, c - r_out, c + r_out)),
        (("ring", c, c, r_in, r_out), E_DARK),
    ]

    def radial(angle, r0, r1, half):
        """A quadrilateral along the direction `angle` (degrees clockwise from up) from radius r0
        to r1, 2 * half wide."""
        t = math.radians(angle)
        ux, uy = math.sin(t), -math.cos(t)
        px, py = -uy * half, ux * half
        return ("polygon", [(c + ux * r0 + px, c + uy * r0 + py),
                            (c + ux * r1 + px, c + uy * r1 + py),
                            (c + ux * r1 - px, c + uy * r1 - py),
                            (c + ux * r0 - px, c + uy * r0 - py)])

    # Graduation: the ticks start inside the ring, so that they join it without a seam.
    overlap = (r_out - r_in) / 2.0
    if n >= 128:
        for a in range(0, 360, 10):
            if a % 30:
                layers.append((radial(a, r_in + overlap, r_in - 1.6 * k, 0.4 * k), E_DARK))
    if n >= 48:
        for a in range(30, 360, 30):
            if a % 90:
                layers.append((radial(a, r_in + overlap, r_in - 3.0 * k, 0.65 * k), E_DARK))

    # Compass star: four short points on the diagonals, then four long ones; each is a kite in
    # its light colour (the north point's is the accent) with its clockwise half laid over it in
    # the dark colour, so the halves meet without a gap between them.
    def point(angle, length, half, light):
        t = math.radians(angle)
        tip = (c + length * math.sin(t), c - length * math.cos(t))
        left = (c - half * math.cos(t), c - half * math.sin(t))
        right = (c + half * math.cos(t), c + half * math.sin(t))
        layers.append((("polygon", [(c, c), left, tip, right]), light))
        layers.append((("polygon", [(c, c), tip, right]), E_DARK))
    for angle in (45, 135, 225, 315):
        point(angle, 12.5 * k, 3.2 * k, E_LIGHT)
    for angle in (90, 180, 270, 0):
        point(angle, 20.0 * k, 4.6 * k, E_ACCENT if angle == 0 else E_LIGHT)

    # The survey mark at the centre: a white disc in a dark ring with a dot; at 32 pixels the
    # disc and a dot at least a pixel across, at 24 the disc alone, at 16 none (the star's dark
    # halves then meet in a dark centre).
    if n >= 24:
        layers.append((("disc", c, c, 3.4 * k), I_WHITE))
    if n >= 48:
        layers.append((("ring", c, c, 2.4 * k, 3.4 * k), E_DARK))
    if n >= 32:
        layers.append((("disc", c, c, max(1.0 * k, 1.0)), E_DARK))
    return layers


class RgbaCanvas:
    """A transparent canvas; pixels are held with premultiplied alpha and written straight."""
    channels = 4

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [(0.0, 0.0, 0.0, 0.0)] * (w * h)

    def get(self, x, y):
        r, g, b, a = self.px[y * self.w + x]
        alpha = min(255, max(0, int(a * 255.0 + 0.5)))
        if alpha == 0:
            return (0, 0, 0, 0)
        return (min(255, max(0, int(r / a + 0.5))), min(255, max(0, int(g / a + 0.5))),
                min(255, max(0, int(b / a + 0.5))), alpha)

    def over(self, x, y, colour, alpha):
        i = y * self.w + x
        r, g, b, a = self.px[i]
        keep = 1.0 - alpha
        self.px[i] = (colour[0] * alpha + r * keep, colour[1] * alpha + g * keep,
                      colour[2] * alpha + b * keep, alpha + a * keep)


def fill_colour(fill, y):
    """The fill's colour at row coordinate y."""
    if fill[0] != "gradient":
        return fill
    _, top, bottom, y0, y1 = fill
    t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
    return tuple(a + (b - a) * t for a, b in zip(top, bottom))


def shape_rings(shape):
    kind = shape[0]
    if kind == "disc":
        _, cx, cy, r = shape
        return [circle(cx, cy, r, 192)]
    if kind == "ring":
        _, cx, cy, r_in, r_out = shape
        return [circle(cx, cy, r_out, 192), circle(cx, cy, r_in, 192)]
    return [shape[1]]


def draw_icon(n):
    """The icon at n x n pixels: every shape filled with 8 sample lines a pixel within its own
    bounding box, laid over the ones before it."""
    canvas = RgbaCanvas(n, n)
    for shape, fill in icon_layers(n):
        rings = shape_rings(shape)
        xs = [x for ring in rings for x, _ in ring]
        ys = [y for ring in rings for _, y in ring]
        x0, x1 = max(0, int(math.floor(min(xs)))), min(n, int(math.ceil(max(xs))))
        y0, y1 = max(0, int(math.floor(min(ys)))), min(n, int(math.ceil(max(ys))))
        w, h = x1 - x0, y1 - y0
        cov = fill_coverage([[(x - x0, y - y0) for x, y in ring] for ring in rings], w, h, 8)
        for j in range(h):
            colour = fill_colour(fill, y0 + j + 0.5)
            for i in range(w):
                a = cov[j * w + i]
                if a > 0:
                    canvas.over(x0 + i, y0 + j, colour, min(1.0, a))
    return canvas


def svg_number(v):
    text = f"{v:.3f}".rstrip("0").rstrip(".")
    return "0" if text in ("", "-0") else text


def svg_colour(rgb):
    return "#%02x%02x%02x" % tuple(int(v) for v in rgb)


def write_svg(path, n):
    """The icon's shapes at n x n as plain SVG 1.1: circles, circles stroked for the rings and
    polygons, the face's gradient defined in the file itself."""
    defs, body = [], []
    for shape, fill in icon_layers(n):
        if fill[0] == "gradient":
            _, top, bottom, y0, y1 = fill
            ident = "face%d" % len(defs)
            defs.append(f'    <linearGradient id="{ident}" gradientUnits="userSpaceOnUse" x1="0" '
                        f'y1="{svg_number(y0)}" x2="0" y2="{svg_number(y1)}">\n'
                        f'      <stop offset="0" stop-color="{svg_colour(top)}"/>\n'
                        f'      <stop offset="1" stop-color="{svg_colour(bottom)}"/>\n'
                        f'    </linearGradient>')
            paint = f"url(#{ident})"
        else:
            paint = svg_colour(fill)
        kind = shape[0]
        if kind == "disc":
            _, cx, cy, r = shape
            body.append(f'  <circle cx="{svg_number(cx)}" cy="{svg_number(cy)}" '
                        f'r="{svg_number(r)}" fill="{paint}"/>')
        elif kind == "ring":
            _, cx, cy, r_in, r_out = shape
            body.append(f'  <circle cx="{svg_number(cx)}" cy="{svg_number(cy)}" '
                        f'r="{svg_number((r_in + r_out) / 2.0)}" fill="none" stroke="{paint}" '
                        f'stroke-width="{svg_number(r_out - r_in)}"/>')
        else:
            points = " ".join(f"{svg_number(x)},{svg_number(y)}" for x, y in shape[1])
            body.append(f'  <polygon points="{points}" fill="{paint}"/>')
    text = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="{n}" height="{n}" '
            f'viewBox="0 0 {n} {n}">\n'
            '  <title>Zelvora</title>\n'
            + ("  <defs>\n" + "\n".join(defs) + "\n  </defs>\n" if defs else "")
            + "\n".join(body) + "\n</svg>\n")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(text)


def main(argv):
    out = os.path.dirname(HERE)
    if len(argv) == 3 and argv[1] == "--out":
        out = argv[2]
    elif len(argv) != 1:
        sys.exit("usage: draw_pictures.py [--out DIR]")
    os.makedirs(os.path.join(out, "pictures"), exist_ok=True)
    rings = read_coast()
    write_bmp(os.path.join(out, "ZonasUTM.bmp"), draw_world(rings))
    write_bmp(os.path.join(out, "UTMzone.bmp"), draw_zone())
    write_png(os.path.join(out, "pictures", "emblem.png"), draw_emblem())
    write_png(os.path.join(out, "pictures", "globe.png"), draw_globe(rings))
    for n in ICON_SIZES:
        folder = os.path.join(out, "icons", "hicolor", f"{n}x{n}", "apps")
        os.makedirs(folder, exist_ok=True)
        write_png(os.path.join(folder, "zelvora.png"), draw_icon(n))
    folder = os.path.join(out, "icons", "hicolor", "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    write_svg(os.path.join(folder, "zelvora.svg"), ICON_SIZES[-1])


if __name__ == "__main__":
    main(sys.argv)
