#!/usr/bin/python3
"""Write the kinds_*.dxf drawings of this folder with ezdxf.

One small site (about 200 m across, UTM zone 23 south around E 285000,
N 7395200, heights around 700 m) drawn with every entity kind whose groups a
transformation must carry differently: world positions, positions in an
entity's own coordinate system (mirrored, extrusion 0,0,-1, and tilted),
elevations, vectors, directions, sizes and angles; dimensions rendered into
their *D blocks, paper-space entities and a viewport, extended data with
points, vectors and distances, GEODATA, and the header points $INSBASE,
$UCSORG, $EXTMIN and $EXTMAX. Sizes and angles are chosen so that none is 0 or
a multiple of 90 degrees: a value that is left alone where it should turn or
grow shows.

    /usr/bin/python3 make_kind_samples.py            # into this folder
    /usr/bin/python3 make_kind_samples.py --out DIR

The output is the same bytes on every run.
"""
import argparse
import io
import math
import os
import sys

import ezdxf
from ezdxf import bbox
from ezdxf.render import mleader
from ezdxf.math import OCS, Vec2, Vec3

from make_ezdxf_samples import sample_arguments

# West enough in zone 23 for a change to zone 22 (central meridian -51 degrees), which the
# program computes up to one degree beyond the zone's edge.
E0, N0, H0 = 285000.0, 7395200.0, 700.0
MIRRORED = Vec3(0, 0, -1)
TILTED = Vec3(0.28, -0.35, 0.894).normalize()
APP = "LEVANTAMENTO"


def site(dx, dy, dz=0.0):
    """A world point of the site, dx, dy metres east and north of its centre."""
    return Vec3(round(E0 + dx, 4), round(N0 + dy, 4), round(H0 + dz, 4))


def xy(dx, dy):
    return site(dx, dy).x, site(dx, dy).y


def in_ocs(extrusion, point):
    """A world point in the coordinate system of an entity with this extrusion."""
    p = OCS(extrusion).from_wcs(point)
    return Vec3(round(p.x, 6), round(p.y, 6), round(p.z, 6))


# The three planes every planar kind is drawn in: its name suffix, extrusion, and
# where on the site the sample of that plane stands.
PLANES = [("", None, (0.0, 0.0)), ("mirrored", MIRRORED, (-60.0, 40.0)),
          ("tilted", TILTED, (55.0, -45.0))]


def with_extrusion(attribs, extrusion):
    if extrusion is not None:
        attribs = dict(attribs, extrusion=tuple(extrusion))
    return attribs


def define_blocks(doc):
    marco = doc.blocks.new("MARCO", base_point=(0, 0, 0))
    marco.add_circle((0, 0), radius=0.5)
    marco.add_line((-0.8, 0), (0.8, 0))
    marco.add_attdef("NOME", insert=(0.9, 0.3), dxfattribs={"height": 0.6, "rotation": 7.5})
    seta = doc.blocks.new("SETA", base_point=(0.5, 0.25, 0))
    if doc.dxfversion > "AC1009":
        seta.add_lwpolyline([(0, 0), (2, 0.5), (0, 1)])
    else:
        seta.add_polyline2d([(0, 0), (2, 0.5), (0, 1)])
    seta.add_text("N", dxfattribs={"height": 0.35, "insert": (0.4, 0.3)})


def add_planar_kinds(msp, doc):
    """TEXT, INSERT with ATTRIB, CIRCLE, ARC, SOLID, TRACE, polylines: each in the three planes."""
    modern = doc.dxfversion > "AC1009"
    for k, (name, extrusion, (ox, oy)) in enumerate(PLANES):
        ext = extrusion if extrusion is not None else Vec3(0, 0, 1)

        def o(dx, dy, dz=0.0):
            return in_ocs(ext, site(ox + dx, oy + dy, dz))

        msp.add_text(f"texto {name or 'plano'}", dxfattribs=with_extrusion(
            {"height": 1.25 + k, "rotation": 23.5 + 40 * k, "insert": o(0, 0, 2.5),
             "layer": "TEXTO"}, extrusion))
        aligned = msp.add_text("alinhado", dxfattribs=with_extrusion(
            {"height": 0.8, "rotation": 301.25, "insert": o(3, -2, 2.5),
             "align_point": o(8, 1, 2.5), "halign": 1, "valign": 2, "layer": "TEXTO"}, extrusion))
        aligned.dxf.width = 0.9
        ref = msp.add_blockref("MARCO", o(-5, 4, 1.5), dxfattribs=with_extrusion(
            {"xscale": 1.5, "yscale": 1.25, "zscale": 1.0, "rotation": 17.0 + 33 * k,
             "layer": "MARCO"}, extrusion))
        ref.add_attrib("NOME", f"M-{k + 1}", o(-4.1, 4.3, 1.5), dxfattribs=with_extrusion(
            {"height": 0.75, "rotation": 17.0 + 33 * k, "layer": "MARCO"}, extrusion))
        msp.add_circle(o(10, 10, -1.0), radius=3.125 + k, dxfattribs=with_extrusion(
            {"layer": "VEGETACAO"}, extrusion))
        msp.add_arc(o(-12, -9, -1.0), radius=6.5, start_angle=12.5 + 20 * k,
                    end_angle=247.75 - 10 * k, dxfattribs=with_extrusion({"layer": "EIXO"},
                                                                        extrusion))
        msp.add_solid([o(20, 0), o(24, 0.5), o(20.5, 3.5), o(24.5, 3.75)],
                      dxfattribs=with_extrusion({"layer": "EDIFICACAO"}, extrusion))
        msp.add_trace([o(20, -6), o(26, -6), o(20, -5), o(26, -5)],
                      dxfattribs=with_extrusion({"layer": "EDIFICACAO"}, extrusion))
        ring = [o(-20, -20), o(-5, -22), o(-2, -8), o(-18, -5)]
        if modern:
            lw = msp.add_lwpolyline([(p.x, p.y, 0.4, 0.6, 0.25 if j == 1 else 0.0)
                                     for j, p in enumerate(ring)], format="xyseb", close=True,
                                    dxfattribs=with_extrusion({"layer": "LOTE"}, extrusion))
            lw.dxf.elevation = ring[0].z
            lw.dxf.const_width = 0.0 if k else 0.35
        pline = msp.add_polyline2d([(p.x, p.y) for p in ring[::-1]], close=True,
                                   dxfattribs=with_extrusion({"layer": "LOTE"}, extrusion))
        pline.dxf.elevation = (0, 0, ring[0].z)
        pline.dxf.default_start_width = 0.3
        pline.dxf.default_end_width = 0.45
        for j, vertex in enumerate(pline.vertices):
            vertex.dxf.start_width = round(0.2 + 0.1 * j, 3)
            vertex.dxf.end_width = 0.5
            vertex.dxf.bulge = 0.125 if j == 2 else 0.0
            if j == 1:
                vertex.dxf.flags = 2
                vertex.dxf.tangent = 33.75 + 15 * k
        if modern:
            add_hatch(msp, o, extrusion, k)
    if modern:
        lw = msp.add_lwpolyline([xy(40, 40), xy(60, 42), xy(55, 60)],
                                dxfattribs={"layer": "LOTE"})  # no elevation: heights at 0
        lw.dxf.discard("elevation")


def add_hatch(msp, o, extrusion, k):
    """A boundary polyline path, and an edge path of lines, arcs both ways, an ellipse and a
    spline; seed points; solid and pattern fills."""
    hatch = msp.add_hatch(color=3, dxfattribs=with_extrusion({"layer": "HACHURA"}, extrusion))
    base = o(30, 20)
    hatch.dxf.elevation = (0, 0, base.z)
    if k == 1:
        hatch.set_pattern_fill("ANSI31", scale=0.75, angle=15.0)
    outer = [(base.x, base.y), (base.x + 12, base.y), (base.x + 12, base.y + 9),
             (base.x, base.y + 9)]
    hatch.paths.add_polyline_path([(x, y, 0.1 if j == 2 else 0) for j, (x, y) in
                                   enumerate(outer)], is_closed=True)
    edges = hatch.paths.add_edge_path()
    x, y = base.x + 2, base.y + 2
    edges.add_line((x, y), (x + 3, y))
    edges.add_arc((x + 3, y + 1), radius=1.0, start_angle=270.0, end_angle=35.0, ccw=True)
    edges.add_arc((x + 4.5, y + 2.2), radius=1.2, start_angle=247.5, end_angle=162.5, ccw=False)
    edges.add_ellipse((x + 2, y + 3), major_axis=(1.5, 0.75), ratio=0.5, start_angle=10.0,
                      end_angle=190.0, ccw=True)
    edges.add_spline(fit_points=[(x + 0.5, y + 3.3), (x + 0.2, y + 1.5), (x, y)],
                     control_points=[(x + 0.5, y + 3.3), (x + 0.4, y + 2.5), (x + 0.1, y + 1.0),
                                     (x, y)],
                     knot_values=[0, 0, 0, 0, 1, 1, 1, 1], degree=3,
                     start_tangent=(-0.3, -0.8), end_tangent=(-0.1, -1.0))
    hatch.set_seed_points([(base.x + 6, base.y + 6), (base.x + 3.5, base.y + 3.5)])


def add_world_kinds(msp, doc):
    """Kinds whose positions are in world coordinates, with their vectors, sizes and angles."""
    modern = doc.dxfversion > "AC1009"
    msp.add_point(site(1, -30, 3.25), dxfattribs={"angle": 28.5, "layer": "PONTO"})
    msp.add_line(site(-80, -80, -2), site(80, -75, 4), dxfattribs={"layer": "EIXO"})
    msp.add_3dface([site(70, 70, 1), site(78, 70, 2), site(78, 79, 3), site(70, 78, 2)],
                   dxfattribs={"layer": "EDIFICACAO"})
    msp.add_polyline3d([site(-90 + 9 * j, 60 - 3 * j, 5 * math.sin(j)) for j in range(8)],
                       dxfattribs={"layer": "CURVA"})
    face = msp.add_polyface(dxfattribs={"layer": "EDIFICACAO"})
    face.append_face([site(-70, 80, 6), site(-64, 80, 6), site(-64, 86, 8), site(-70, 86, 8)])
    mesh = msp.add_polymesh((3, 3), dxfattribs={"layer": "CURVA"})
    for m in range(3):
        for n in range(3):
            mesh.set_mesh_vertex((m, n), site(-90 + 4 * m, -60 + 4 * n, m * n))
    msp.add_shape("MARCO_GEODESICO", site(12, -40, 1), size=1.75,
                  dxfattribs={"rotation": 41.0, "layer": "PONTO"})
    if not modern:
        return
    msp.add_ellipse(site(-30, 60, 2), major_axis=(7.5, 3.25, 0), ratio=0.45, start_param=0.5,
                    end_param=5.0, dxfattribs={"layer": "VEGETACAO"})
    mt = msp.add_mtext("Levantamento\\Pcom direcao", dxfattribs={
        "layer": "TEXTO", "char_height": 1.6, "width": 18.5, "insert": site(-40, -50, 1)})
    mt.dxf.text_direction = (math.cos(0.41), math.sin(0.41), 0.0)
    mt.dxf.defined_height = 6.25 if doc.dxfversion >= "AC1021" else 0
    if doc.dxfversion < "AC1021":
        mt.dxf.discard("defined_height")
    msp.add_mtext("Girado", dxfattribs={"layer": "TEXTO", "char_height": 2.25,
                                        "insert": site(-35, -58, 1), "rotation": 63.5})
    msp.add_ray(site(0, 70, 1), (math.cos(0.7), math.sin(0.7), 0), dxfattribs={"layer": "EIXO"})
    msp.add_xline(site(5, 72, 1), (math.cos(2.2), math.sin(2.2), 0.1),
                  dxfattribs={"layer": "EIXO"})
    mline = msp.add_mline([site(-60, 0, 0), site(-50, 6, 0), site(-42, 2, 0), site(-35, 12, 0)],
                          dxfattribs={"layer": "EIXO", "scale_factor": 1.75})
    mline.update_geometry()
    spline = msp.add_spline([site(30, -60, 0), site(40, -55, 1), site(52, -62, 2),
                             site(60, -50, 1)], dxfattribs={"layer": "EIXO"})
    spline.dxf.start_tangent = (0.8, 0.6, 0.0)
    spline.dxf.end_tangent = (0.3, 0.95, 0.05)
    msp.add_open_spline([site(35, -70), site(45, -72), site(55, -68), site(65, -71)],
                        dxfattribs={"layer": "EIXO"})
    image_def = doc.add_image_def("ortofoto_quadra.png", size_in_pixel=(640, 480))
    msp.add_image(image_def, site(-95, 20, 0), size_in_units=(16.0, 12.0), rotation=12.5,
                  dxfattribs={"layer": "IMAGEM"})
    msp.add_wipeout([xy(-20, 30), xy(-12, 30), xy(-12, 36), xy(-20, 36)],
                    dxfattribs={"layer": "IMAGEM"})
    leader = msp.add_leader([site(15, 30, 0), site(20, 35, 0), site(27, 35, 0)],
                            dxfattribs={"layer": "COTA"})
    leader.dxf.text_height = 1.2
    leader.dxf.text_width = 9.5
    leader.dxf.horizontal_direction = (math.cos(0.2), math.sin(0.2), 0)
    leader.dxf.leader_offset_block_ref = (0.75, -0.5, 0)
    leader.dxf.leader_offset_annotation_placement = (1.25, 0.5, 0)
    tol = msp.new_entity("TOLERANCE", dxfattribs={
        "layer": "COTA", "insert": site(25, 45, 0), "content": "{\\Fgdt;j}%%v0.5",
        "x_axis_vector": (math.cos(0.35), math.sin(0.35), 0), "dimstyle": "Standard"})
    assert tol.dxftype() == "TOLERANCE"
    mesh = msp.add_mesh(dxfattribs={"layer": "EDIFICACAO"})
    with mesh.edit_data() as data:
        data.vertices = [site(80, -20, 0), site(86, -20, 1), site(86, -14, 2), site(80, -14, 1)]
        data.faces = [(0, 1, 2, 3)]
    pdf = doc.add_underlay_def("planta.pdf", fmt="pdf", name="1")
    msp.add_underlay(pdf, insert=site(-95, -95, 0), scale=(2.5, 2.5, 1.0), rotation=8.25)


def add_dimensions(msp, doc):
    """Linear (rotated), aligned, radius and angular dimensions rendered into *D blocks."""
    style = {"layer": "COTA"}
    msp.add_linear_dim(base=xy(0, -88), p1=xy(-15, -95), p2=xy(12.5, -93),
                       angle=11.25, text_rotation=4.5, dxfattribs=style).render()
    msp.add_aligned_dim(p1=xy(-40, 85), p2=xy(-12, 91), distance=3.5,
                        dxfattribs=style).render()
    msp.add_radius_dim(xy(60, 60), radius=7.25, angle=37.5, dxfattribs=style).render()
    if doc.dxfversion > "AC1009":
        msp.add_angular_dim_2l(base=xy(-70, -30), line1=(xy(-80, -40),
                                                               xy(-60, -40)),
                               line2=(xy(-80, -40), xy(-64, -26)),
                               dxfattribs=style).render()
    if doc.dxfversion == "AC1009":
        # R12 writes every definition point; those a kind does not use stand on the first
        # one rather than at 0,0, which is no point of the site
        for dim in msp.query("DIMENSION"):
            for name in ("defpoint2", "defpoint3", "defpoint4", "defpoint5"):
                if dim.dxf.get(name, Vec3()) == Vec3():
                    dim.dxf.set(name, dim.dxf.defpoint)


def add_xdata(doc, msp):
    doc.appids.new(APP)
    circle = msp.add_circle(site(-25, 15, 0.5), radius=2.75, dxfattribs={"layer": "PONTO"})
    tags = [(1000, "estacao"), (1010, (12.5, -3.25, 0.0)), (1011, site(-24, 16, 0.25)),
            (1012, (3.5, 1.25, 0.0)), (1013, (0.6, 0.8, 0.0)), (1040, 2.5), (1041, 12.75),
            (1042, 1.5), (1070, 3)]
    circle.set_xdata(APP, tags)


def add_paper_space(doc):
    """A sheet in millimetres: its entities and viewport stay as they are."""
    psp = doc.layout()
    psp.add_line((10, 10), (287, 10), dxfattribs={"layer": "FOLHA"})
    psp.add_circle((270, 20), radius=4.5, dxfattribs={"layer": "FOLHA"})
    psp.add_text("Quadra 12", dxfattribs={"height": 3.5, "rotation": 12.0, "insert": (20, 15),
                                          "layer": "FOLHA"})
    psp.add_viewport(center=(148.5, 105.0), size=(250.0, 170.0),
                     view_center_point=(E0, N0), view_height=220.0)


def add_geodata(msp):
    geo = msp.new_geodata()
    geo.dxf.block_record_handle = msp.layout_key
    geo.dxf.coordinate_type = 2  # projected: the reference point is a grid point too
    geo.dxf.design_point = site(0, 0, 0)
    geo.dxf.reference_point = (E0, N0, 0.0)
    geo.dxf.north_direction = (math.sin(0.013), math.cos(0.013))
    geo.dxf.horizontal_units = 6
    geo.dxf.vertical_units = 6
    geo.source_vertices = [xy(-50, -50), xy(50, -50), xy(0, 60)]
    geo.target_vertices = [(-47.1065715, -23.5397377), (-47.1055924, -23.5397509),
                           (-47.1060661, -23.5387514)]
    geo.faces = [(0, 1, 2)]
    geo.coordinate_system_definition = (
        '<?xml version="1.0" encoding="UTF-16" standalone="no" ?>'
        '<Dictionary version="1.0" xmlns="http://www.osgeo.org/mapguide/coordinatesystem">'
        '<Alias id="31983" type="CoordinateSystem"><ObjectId>SIRGAS2000.UTM-23S</ObjectId>'
        '<Namespace>EPSG Code</Namespace></Alias></Dictionary>')


def add_r2018_kinds(msp, doc):
    """Multi-line attribute (an MTEXT embedded in an ATTRIB), MTEXT in columns, MULTILEADER."""
    ref = msp.add_blockref("MARCO", site(-8, 50, 0), dxfattribs={"layer": "MARCO",
                                                                  "rotation": 21.0})
    attrib = ref.add_attrib("NOME", "M-10", site(-7, 51, 0), dxfattribs={"height": 0.9,
                                                                           "rotation": 21.0})
    source = msp.add_mtext("Marco\\Pgeodesico", dxfattribs={
        "char_height": 0.9, "width": 7.5, "insert": site(-7, 51, 0),
        "text_direction": (math.cos(math.radians(21.0)), math.sin(math.radians(21.0)), 0)})
    attrib.embed_mtext(source)
    columns = msp.add_mtext_static_columns(["coluna um", "coluna dois"], width=12.5,
                                           gutter_width=1.75, height=8.0,
                                           dxfattribs={"layer": "TEXTO", "char_height": 1.1,
                                                       "insert": site(40, 80, 0)})
    columns.dxf.text_direction = (math.cos(0.15), math.sin(0.15), 0)
    ml = msp.add_multileader_mtext("Standard")
    ml.set_content("Poste 14", char_height=1.4, alignment=1)
    ml.add_leader_line(mleader.ConnectionSide.right, [Vec2(xy(70, 30)), Vec2(xy(64, 36))])
    ml.build(insert=Vec2(xy(60, 38)), rotation=14.0)
    ml.context.plane_origin = site(60, 38, 0)


def set_header(doc, msp):
    doc.header["$INSBASE"] = site(-10, -20, -0.5)
    doc.header["$UCSORG"] = site(0, 0, 0)
    a = math.radians(12.5)
    doc.header["$UCSXDIR"] = (math.cos(a), math.sin(a), 0.0)
    doc.header["$UCSYDIR"] = (-math.sin(a), math.cos(a), 0.0)
    box = bbox.extents(msp)
    extmin = Vec3(round(box.extmin.x, 3), round(box.extmin.y, 3), round(box.extmin.z, 3))
    extmax = Vec3(round(box.extmax.x, 3), round(box.extmax.y, 3), round(box.extmax.z, 3))
    msp.dxf.extmin, msp.dxf.extmax = extmin, extmax  # written into the header on saving
    doc.header["$EXTMIN"], doc.header["$EXTMAX"] = extmin, extmax


def build(version):
    doc = ezdxf.new(version)
    for name, colour in (("TEXTO", 7), ("MARCO", 6), ("VEGETACAO", 94), ("EIXO", 1),
                         ("EDIFICACAO", 3), ("LOTE", 2), ("HACHURA", 5), ("PONTO", 4),
                         ("CURVA", 8), ("IMAGEM", 9), ("COTA", 4), ("FOLHA", 7)):
        doc.layers.add(name, color=colour)
    define_blocks(doc)
    msp = doc.modelspace()
    add_planar_kinds(msp, doc)
    add_world_kinds(msp, doc)
    add_dimensions(msp, doc)
    add_xdata(doc, msp)
    if doc.dxfversion >= "AC1032":
        add_r2018_kinds(msp, doc)
    if doc.dxfversion >= "AC1024":
        add_geodata(msp)
    add_paper_space(doc)
    set_header(doc, msp)
    return doc


def left_aligned(text):
    """Every group-code line without its padding: `0`, `10` rather than `  0`, ` 10`."""
    lines = text.split("\n")
    for k in range(0, len(lines) - 1, 2):
        lines[k] = lines[k].strip()
    return "\n".join(lines)


DRAWINGS = [  # file, DXF version, left-aligned group codes
    ("kinds_r12.dxf", "R12", False),
    ("kinds_r2000.dxf", "R2000", False),
    ("kinds_r2018_left_codes.dxf", "R2018", True),
]


def main():
    args = sample_arguments(__doc__).parse_args()
    for name, version, left in DRAWINGS:
        doc = build(version)
        stream = io.StringIO()
        doc.write(stream)
        text = left_aligned(stream.getvalue()) if left else stream.getvalue()
        path = os.path.join(args.out, name)
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        kinds = {}
        for entity in doc.modelspace():
            kinds[entity.dxftype()] = kinds.get(entity.dxftype(), 0) + 1
        listed = ", ".join(f"{n} {k}" for k, n in sorted(kinds.items(), key=lambda i: -i[1]))
        print(f"{name}: {version}, {os.path.getsize(path)} bytes; model space: {listed}")


if __name__ == "__main__":
    main()
