#!/usr/bin/python3
"""Checks the program's icon theme folder: every PNG is a sound 8-bit RGBA PNG of the size its
folder names, transparent in its corners and opaque at its centre, and the scalable icon is
well-formed SVG without references to anything outside itself.

    /usr/bin/python3 check_icons.py ICONS_DIR ICON_NAME SIZE...

ICONS_DIR is the folder that holds hicolor/; the icon ICON_NAME must exist at every SIZE
(NxN/apps/ICON_NAME.png) and in scalable/apps/ICON_NAME.svg, and every other file there is
checked the same way. Python's standard library only. Prints one line per file and exits with 1
when any of them fails.
"""
import os
import struct
import sys
import xml.etree.ElementTree as ElementTree
import zlib

SVG = "{http://www.w3.org/2000/svg}"
XLINK_HREF = "{http://www.w3.org/1999/xlink}href"


def unfilter(raw, width, height, bpp):
    """The PNG's rows with their filters undone, top row first."""
    stride = width * bpp
    rows, prev, at = [], bytearray(stride), 0
    for _ in range(height):
        kind = raw[at]
        cur = bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = cur[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                p = a
            elif kind == 2:
                p = b
            elif kind == 3:
                p = (a + b) >> 1
            elif kind == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                p = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            elif kind == 0:
                p = 0
            else:
                raise ValueError(f"unknown filter type {kind}")
            cur[i] = (cur[i] + p) & 0xFF
        rows.append(cur)
        prev = cur
    return rows


def check_png(path, size):
    """Problems with the PNG at path, which should be size x size pixels."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return ["not a PNG file"]
    chunks, at = [], 8
    while at + 12 <= len(data):
        length, = struct.unpack(">I", data[at:at + 4])
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        crc, = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            return [f"chunk {kind!r} fails its CRC"]
        chunks.append((kind, body))
        at += 12 + length
        if kind == b"IEND":
            break
    if not chunks or chunks[0][0] != b"IHDR" or chunks[-1][0] != b"IEND":
        return ["chunks out of order: IHDR must come first and IEND last"]
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    problems = []
    if (width, height) != (size, size):
        problems.append(f"is {width} x {height}, its folder says {size} x {size}")
    if depth != 8 or colour != 6 or interlace != 0:
        problems.append(f"bit depth {depth}, colour type {colour}, interlace {interlace}: "
                        "expected 8-bit RGBA (colour type 6), not interlaced")
    if problems:
        return problems
    try:
        raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    except zlib.error as error:
        return [f"image data does not inflate: {error}"]
    if len(raw) != height * (1 + width * 4):
        return [f"image data holds {len(raw)} bytes, {height * (1 + width * 4)} expected"]
    rows = unfilter(raw, width, height, 4)
    alpha = [[row[4 * x + 3] for x in range(width)] for row in rows]
    corners = [alpha[0][0], alpha[0][-1], alpha[-1][0], alpha[-1][-1]]
    if any(corners):
        problems.append(f"corners are not transparent (alpha {corners})")
    if alpha[height // 2][width // 2] != 255:
        problems.append(f"centre is not opaque (alpha {alpha[height // 2][width // 2]})")
    return problems


def check_svg(path):
    """Problems with the SVG at path."""
    try:
        root = ElementTree.parse(path).getroot()
    except ElementTree.ParseError as error:
        return [f"is not well-formed XML: {error}"]
    problems = []
    if root.tag != SVG + "svg":
        problems.append(f"root element is {root.tag}, not an SVG <svg>")
    if not root.get("viewBox"):
        problems.append("has no viewBox, so it cannot be scaled")
    for element in root.iter():
        name = element.tag.replace(SVG, "")
        if name in ("image", "script", "foreignObject"):
            problems.append(f"holds an <{name}> element")
        for key, value in element.attrib.items():
            if key in ("href", XLINK_HREF) and not value.startswith("#"):
                problems.append(f"<{name}> refers to {value}")
            if "url(" in value.replace(" ", "") and "url(#" not in value.replace(" ", ""):
                problems.append(f"<{name}> {key} refers outside the file: {value}")
    return problems


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    icons, name, sizes = argv[1], argv[2], [int(s) for s in argv[3:]]
    theme = os.path.join(icons, "hicolor")
    failed = False
    # Every file of the theme folder: NxN/apps/*.png of its folder's size, scalable/apps/*.svg.
    found = set()
    for dirpath, _, files in sorted(os.walk(theme)):
        for file in sorted(files):
            path = os.path.join(dirpath, file)
            parts = os.path.relpath(path, theme).split(os.sep)
            folder = parts[0].split("x")
            if (len(parts) == 3 and parts[1] == "apps" and file.endswith(".png")
                    and len(folder) == 2 and folder[0].isdigit() and folder[0] == folder[1]):
                problems = check_png(path, int(folder[0]))
            elif len(parts) == 3 and parts[:2] == ["scalable", "apps"] and file.endswith(".svg"):
                problems = check_svg(path)
            else:
                problems = ["belongs neither in NxN/apps as a PNG nor in scalable/apps as an SVG"]
            found.add(path)
            failed = failed or bool(problems)
            shown = os.path.relpath(path, icons)
            print(f"{shown}: " + ("; ".join(problems) if problems else "fine"))
    wanted = [os.path.join(theme, f"{n}x{n}", "apps", name + ".png") for n in sizes]
    wanted.append(os.path.join(theme, "scalable", "apps", name + ".svg"))
    for path in wanted:
        if path not in found:
            failed = True
            print(f"{os.path.relpath(path, icons)}: is missing")
    return 1 if failed else 0

if __name__ == "__main__":
    sys.exit(main(sys.argv))
