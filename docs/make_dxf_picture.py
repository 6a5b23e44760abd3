#!/usr/bin/python3
"""Draw the before/after pictures of the DXF rewrite for the user's guide (section 8.3).

The sample site tests/samples/dxf/kinds_r2000.dxf (about 200 m across, UTM zone 23 south,
around E 285000, N 7395200) is carried into UTM zone 22 south by the real tool,
build/bin/zelvora-convert, and the model space of the source and of the result is drawn side
by side at the same scale with ezdxf's drawing add-on:

    docs/screenshots/dxf-zone-change.png         the whole site
    docs/screenshots/dxf-zone-change-detail.png  one block of it, closer

Grid lines are the grid of each zone. The dashed square is the square of 200 m around the
site's centre, its corners and sides carried by the same tool: it shows the turn of the grid
between the two zones.

    /usr/bin/python3 docs/make_dxf_picture.py
    /usr/bin/python3 docs/make_dxf_picture.py --tool PATH --out DIR

Needs the Debian packages python3-ezdxf and python3-matplotlib. The PNG files are the same
bytes on every run with the same packages.
"""
import argparse
import logging
import math
import os
import subprocess
import sys
import tempfile

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
from matplotlib.ticker import FuncFormatter, MultipleLocator  # noqa: E402

import ezdxf  # noqa: E402
from ezdxf.addons.drawing import Frontend, RenderContext  # noqa: E402
from ezdxf.addons.drawing.config import Configuration  # noqa: E402
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SOURCE = os.path.join(ROOT, "tests", "samples", "dxf", "kinds_r2000.dxf")

# The site's centre in zone 23 south and the two zones.
E0, N0, H0 = 285000.0, 7395200.0, 700.0
OPTIONS = ["--from", "grid", "--to", "grid", "--from-family", "utm", "--to-family", "utm",
           "--from-cm", "-45", "--to-cm", "-51", "--south", "--angle-format", "0",
           "--from-datum", "SIRGAS 2000", "--to-datum", "SIRGAS 2000"]
TITLES = ("UTM zone 23 S (source)", "UTM zone 22 S (rewritten)")

# Layer colours that read on white (the drawing's yellow and cyan layers do not).
LAYER_COLOURS = {
    "0": "#000000", "TEXTO": "#000000", "MARCO": "#7a1fa2", "VEGETACAO": "#2e7d32",
    "EIXO": "#c62828", "EDIFICACAO": "#1f4e9c", "LOTE": "#b8860b", "HACHURA": "#00897b",
    "PONTO": "#1565c0", "CURVA": "#6d4c41", "IMAGEM": "#757575", "COTA": "#1565c0",
    "DEFPOINTS": "#9e9e9e",
}

DPI = 100
PANEL_IN = 5.9  # each panel's width, inches: the picture is 1400 pixels wide
HALF = 112.0  # half the width of the whole-site window, metres
# One block of the site: the text, insert, circle, arc, lot and hatch drawn in the plain plane.
DETAIL = ((-24.0, 46.0), (-24.5, 29.9))  # x and y range around the centre, metres


def run_tool(tool, args, stdin=None):
    result = subprocess.run([tool] + OPTIONS + args, input=stdin, capture_output=True,
                            text=True, env=dict(os.environ, LC_ALL="C"))
    if result.returncode != 0:
        sys.exit(f"{tool} {' '.join(args)} failed ({result.returncode}):\n{result.stderr}")
    return result.stdout


def carry_points(tool, points):
    """The tool's zone 22 E, N of zone 23 points (E, N), one stream run."""
    lines = "".join(f"{e:.4f} {n:.4f} {H0:.4f}\n" for e, n in points)
    out = run_tool(tool, ["stream"], stdin=lines)
    return [tuple(float(v) for v in line.split()[:2]) for line in out.splitlines() if line]


def square(half, steps=20):
    """The sides of a square around the centre, corner to corner, as zone 23 points."""
    corners = [(-half, -half), (half, -half), (half, half), (-half, half), (-half, -half)]
    points = []
    for (x0, y0), (x1, y1) in zip(corners, corners[1:]):
        points += [(E0 + x0 + (x1 - x0) * j / steps, N0 + y0 + (y1 - y0) * j / steps)
                   for j in range(steps)]
    return points + [points[0]]


def colour_layers(layers):
    for layer in layers:
        layer.color = LAYER_COLOURS.get(layer.layer.upper(), "#000000")


class LayerColourFrontend(Frontend):
    """Draws a hatch in its layer's colour too (the sample gives two of them their own)."""

    def override_properties(self, entity, properties):
        if entity.dxftype() == "HATCH":
            properties.color = LAYER_COLOURS["HACHURA"]


def draw_model_space(ax, doc):
    msp = doc.modelspace()
    ctx = RenderContext(doc)
    ctx.set_layer_properties_override(colour_layers)
    ctx.set_current_layout(msp)  # loads the layers again, through the override
    ctx.current_layout_properties.set_colors("#ffffff")
    backend = MatplotlibBackend(ax, adjust_figure=False)
    config = Configuration.defaults().with_changes(infinite_line_length=1000.0,
                                                   min_lineweight=0.8)
    LayerColourFrontend(ctx, backend, config).draw_layout(
        msp, finalize=False, layout_properties=ctx.current_layout_properties)


def thousands(value, _position):
    return f"{value:,.0f}".replace(",", "\u2009")


def style_axes(ax, title, centre, half_x, half_y, step):
    ax.set_xlim(centre[0] - half_x, centre[0] + half_x)
    ax.set_ylim(centre[1] - half_y, centre[1] + half_y)
    ax.set_aspect("equal", adjustable="box")
    ax.set_facecolor("#ffffff")
    ax.xaxis.set_visible(True)
    ax.yaxis.set_visible(True)
    for spine in ax.spines.values():
        spine.set_visible(True)
        spine.set_color("#808080")
    for axis in (ax.xaxis, ax.yaxis):
        axis.set_major_locator(MultipleLocator(step))
        axis.set_major_formatter(FuncFormatter(thousands))
    ax.tick_params(labelsize=9, colors="#404040")
    ax.grid(True, color="#d8d8d8", linewidth=0.6, zorder=-10)
    ax.set_axisbelow(True)
    ax.set_xlabel("E (m)", fontsize=9, color="#404040")
    ax.set_ylabel("N (m)", fontsize=9, color="#404040")
    ax.set_title(title, fontsize=13, pad=8)


def draw_pair(docs, centres, frames, half_x, half_y, step, caption, path):
    # Two panels of PANEL_IN inches across, with room for titles, tick labels and caption.
    left, right, gap, top, bottom = 0.95, 0.25, 1.0, 0.5, 1.0
    panel_h = PANEL_IN * half_y / half_x
    width, height = left + 2 * PANEL_IN + gap + right, top + panel_h + bottom
    fig = plt.figure(figsize=(width, height), dpi=DPI)
    axes = [fig.add_axes(((left + k * (PANEL_IN + gap)) / width, bottom / height,
                          PANEL_IN / width, panel_h / height)) for k in range(2)]
    for ax, doc, title, centre, frame in zip(axes, docs, TITLES, centres, frames):
        if frame:
            ax.plot([p[0] for p in frame], [p[1] for p in frame], color="#707070",
                    linewidth=1.1, linestyle=(0, (6, 4)), zorder=-5)
        draw_model_space(ax, doc)
        style_axes(ax, title, centre, half_x, half_y, step)
    fig.text(0.5, 0.12 / height, caption, ha="center", va="bottom", fontsize=10.5,
             color="#303030")
    fig.savefig(path, dpi=DPI, facecolor="#ffffff", metadata={"Software": None})
    plt.close(fig)
    print(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--tool", default=os.path.join(ROOT, "build", "bin", "zelvora-convert"),
                        help="the zelvora-convert to run (default: build/bin/zelvora-convert)")
    parser.add_argument("--out", default=os.path.join(HERE, "screenshots"),
                        help="output folder (default: docs/screenshots)")
    args = parser.parse_args()
    logging.getLogger("matplotlib.font_manager").setLevel(logging.ERROR)
    plt.rcParams["svg.hashsalt"] = "zelvora"  # fixed ids, should anyone write SVG

    with tempfile.TemporaryDirectory(prefix="zelvora-dxf-") as folder:
        result = os.path.join(folder, "kinds_zone22.dxf")
        run_tool(args.tool, ["dxf", SOURCE, result])
        source_doc = ezdxf.readfile(SOURCE)
        result_doc = ezdxf.readfile(result)

    # The centre, a point 100 m north of it, and the frame square, carried by the tool.
    frame = square(100.0)
    carried = carry_points(args.tool, [(E0, N0), (E0, N0 + 100.0)] + frame)
    centre, north, carried_frame = carried[0], carried[1], carried[2:]
    turn = math.degrees(math.atan2(-(north[0] - centre[0]), north[1] - centre[1]))
    sense = "anticlockwise" if turn > 0 else "clockwise"
    caption = (f"The whole drawing turns {abs(turn):.2f}\u00b0 {sense}, the change of grid "
               "north between the zones; the dashed 200 m square around the site is carried "
               "by the same tool.")
    detail_caption = ("Closer: text, block with attribute, circle, arc, lot with an arc "
                      "segment and hatch keep their shapes and their places to one another.")

    os.makedirs(args.out, exist_ok=True)
    draw_pair((source_doc, result_doc), ((E0, N0), centre), (frame, carried_frame),
              HALF, HALF, 50.0, caption, os.path.join(args.out, "dxf-zone-change.png"))

    (x0, x1), (y0, y1) = DETAIL
    middle = (E0 + (x0 + x1) / 2, N0 + (y0 + y1) / 2)
    middle_carried = carry_points(args.tool, [middle])[0]
    draw_pair((source_doc, result_doc), (middle, middle_carried), (None, None),
              (x1 - x0) / 2, (y1 - y0) / 2, 10.0, detail_caption,
              os.path.join(args.out, "dxf-zone-change-detail.png"))


if __name__ == "__main__":
    main()
