#!/usr/bin/python3
"""Faithfulness of the plotter, judged by an independent renderer.

Each case is a small drawing written with ezdxf: a 200 x 100 frame and the entities of
one kind inside it. tolvane-cli plots it to a PDF (monochrome, A4, fit, centred, turned
by 90 degrees), pdftoppm rasterises the page, and ezdxf's drawing add-on renders the
same drawing with matplotlib at the same scale. Both rasters are cut to the frame and
compared by their ink: after a 2-pixel dilation at least 90 % of each one's ink must lie
on the other's ink. Texts are compared by the boxes of their ink.

usage: plot_compare_test.py TOLVANE_CLI [OUTPUT_FOLDER]
"""
import logging
import math
import os
import struct
import subprocess
import sys
import tempfile

import ezdxf
import matplotlib
import numpy as np

matplotlib.use("Agg")
logging.getLogger("matplotlib.font_manager").setLevel(logging.ERROR)
import matplotlib.pyplot as plt  # noqa: E402
from ezdxf.addons.drawing import Frontend, RenderContext  # noqa: E402
from ezdxf.addons.drawing.config import Configuration  # noqa: E402
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend  # noqa: E402
from ezdxf.addons.drawing.properties import LayoutProperties  # noqa: E402

W, H = 200.0, 100.0
# ezdxf draws XLINE and RAY 20 units long by default, as it cannot know the extents;
# long enough here, they are cut at the frame as a plot of the extents cuts them.
CONFIG = Configuration.defaults().with_changes(infinite_line_length=1000)
DPI = 100          # pdftoppm resolution; the frame becomes 297 mm long
BORDER = 8         # pixels next to the frame left out of the comparison
THRESHOLD = 0.90


def new_drawing():
    doc = ezdxf.new("R2010", setup=True)
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (W, 0), (W, H), (0, H)], close=True)
    return doc, msp


def case_line(msp, doc):
    msp.add_line((10, 10), (190, 90))
    msp.add_line((10, 90), (100, 20))


def case_xline_ray(msp, doc):
    msp.add_xline((100, 50), (1, 0.3))
    msp.add_ray((50, 20), (0.2, 1))


def case_circle_arc(msp, doc):
    msp.add_circle((60, 50), 30)
    msp.add_arc((150, 40), 30, 20, 160)
    msp.add_arc((150, 60), 20, 200, 330)


def case_mirrored_arc(msp, doc):
    msp.add_arc((-140, 50), 30, 30, 200, dxfattribs={"extrusion": (0, 0, -1)})


def case_ellipse(msp, doc):
    msp.add_ellipse((60, 50), major_axis=(40, 10), ratio=0.5)
    msp.add_ellipse((150, 50), major_axis=(0, 35), ratio=0.6, start_param=0.5, end_param=4)


def case_lwpolyline(msp, doc):
    msp.add_lwpolyline([(10, 30, 0, 0, 0.5), (60, 30, 0, 0, -1), (60, 60, 0, 0, 0), (10, 90)],
                       format="xyseb")
    msp.add_lwpolyline([(90, 20), (130, 80), (180, 20)], dxfattribs={"const_width": 4})


def case_polyline(msp, doc):
    p = msp.add_polyline2d([(20, 20), (80, 20), (80, 80)], close=True)
    p.vertices[1].dxf.bulge = 0.6
    msp.add_polyline3d([(110, 10, 0), (150, 90, 5), (190, 10, 10)])


def case_spline_control(msp, doc):
    msp.add_open_spline([(10, 10), (50, 90), (100, 10), (150, 90), (190, 30)], degree=3)
    msp.add_rational_spline([(20, 80), (60, 20), (100, 80)], weights=[1, 3, 1], degree=2)


def case_spline_fit(msp, doc):
    # As CAD programs store a spline drawn through points: the fit points with the
    # control points that interpolate them.
    msp.add_cad_spline_control_frame([(10, 50), (50, 80), (100, 30), (150, 70), (190, 40)])


def case_point(msp, doc):
    for x in range(20, 200, 20):
        msp.add_point((x, 50))


def case_solid_trace_face(msp, doc):
    msp.add_solid([(10, 10), (60, 10), (10, 60), (60, 60)])
    msp.add_trace([(80, 10), (120, 10), (80, 60), (120, 50)])
    msp.add_3dface([(140, 10), (190, 10), (190, 90), (140, 70)])


def case_hatch(msp, doc):
    h = msp.add_hatch(color=7)
    h.paths.add_polyline_path([(20, 20), (90, 20), (90, 80), (20, 80)], is_closed=True)
    h.paths.add_polyline_path([(40, 40), (70, 40), (70, 60), (40, 60)], is_closed=True)
    e = msp.add_hatch(color=7)
    edges = e.paths.add_edge_path()
    edges.add_line((120, 20), (180, 20))
    edges.add_arc((180, 50), 30, -90, 90)
    edges.add_line((180, 80), (120, 80))
    edges.add_line((120, 80), (120, 20))


def case_hatch_pattern(msp, doc):
    # A section's hatching around an island, a dashed pattern turned by 30 degrees and
    # bricks, each cut to its boundary.
    h = msp.add_hatch(color=7)
    h.set_pattern_fill("ANSI31", scale=2)
    h.paths.add_polyline_path([(10, 10), (70, 10), (70, 90), (10, 90)], is_closed=True)
    h.paths.add_polyline_path([(30, 40), (50, 40), (50, 60), (30, 60)], is_closed=True)
    d = msp.add_hatch(color=7)
    d.set_pattern_fill("ANSI33", scale=3, angle=30)
    edges = d.paths.add_edge_path()
    edges.add_arc((110, 50), 25, 0, 360)
    b = msp.add_hatch(color=7)
    b.set_pattern_fill("BRICK", scale=0.5)
    b.paths.add_polyline_path([(145, 15), (190, 15), (190, 85), (145, 85)], is_closed=True)


def case_text(msp, doc):
    msp.add_text("Plate 12", dxfattribs={"height": 10}).set_placement((20, 60))
    msp.add_text("CENTRE", dxfattribs={"height": 8, "rotation": 30}).set_placement(
        (140, 30), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)


def case_mtext(msp, doc):
    msp.add_mtext("First line\\PSecond line", dxfattribs={"char_height": 6, "insert": (20, 80)})


def case_mtext_wrap(msp, doc):
    # Wrapped at blanks within 80 units; the second paragraph centred by its code.
    msp.add_mtext("Lines of this paragraph wrap only where a blank is\\P\\pxqc;11,45 centred",
                  dxfattribs={"char_height": 6, "insert": (20, 85), "width": 80})


def case_mtext_format(msp, doc):
    # Stacked fractions are left out: ezdxf sets them in full size above the line.
    msp.add_mtext("{\\H2x;Big} small\\P{\\W2;wide}\\P{\\C1;red} \\LUnder\\l",
                  dxfattribs={"char_height": 6, "insert": (20, 80), "width": 150})


def case_multileader(msp, doc):
    # A text callout with a dog-leg, and a numbered bubble (block content with an
    # attribute) with a spline leader.
    from ezdxf.math import Vec2
    from ezdxf.render import mleader
    text = msp.add_multileader_mtext("Standard")
    text.set_content("Weld 6\\Pboth sides", char_height=5,
                     alignment=mleader.TextAlignment.left)
    text.add_leader_line(mleader.ConnectionSide.left, [Vec2(20, 15), Vec2(40, 40)])
    text.build(insert=Vec2(70, 60))
    bubble = doc.blocks.new("BUBBLE")
    bubble.add_circle((0, 0), 6)
    bubble.add_attdef("NO", (0, 0), dxfattribs={"height": 5}).set_placement(
        (0, 0), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    block = msp.add_multileader_block("Standard")
    block.set_content(name="BUBBLE", alignment=mleader.BlockAlignment.center_extents)
    block.set_attribute("NO", "7")
    block.set_leader_properties(leader_type=mleader.LeaderType.splines)
    block.add_leader_line(mleader.ConnectionSide.left, [Vec2(120, 15), Vec2(130, 40)])
    block.build(insert=Vec2(160, 60))


def case_mline(msp, doc):
    # A wall style of four elements (one dashed) with joints, a square start, a round
    # end and inner arcs; and the standard style scaled.
    style = doc.mline_styles.new("WALL")
    style.elements.append(4, 1)
    style.elements.append(-4, 5)
    style.elements.append(1.5, 3, "DASHED")
    style.elements.append(-1.5, 3)
    style.dxf.flags = (style.MITER | style.START_SQUARE | style.END_ROUND |
                       style.START_INNER_ARC | style.END_INNER_ARC)
    msp.add_mline([(20, 20), (80, 20), (80, 70), (170, 80)], dxfattribs={"style_name": "WALL"})
    msp.add_mline([(120, 15), (180, 15), (180, 50)],
                  dxfattribs={"style_name": "Standard", "scale_factor": 4})


def proxy_graphics(commands):
    """Proxy graphics of (type, payload) commands as 92 and 310 groups."""
    body = b"".join(struct.pack("<2L", len(data) + 8, kind) + data for kind, data in commands)
    data = struct.pack("<2L", len(body) + 8, len(commands)) + body
    lines = [" 92", str(len(data))]
    for i in range(0, len(data), 127):
        lines += ["310", data[i:i + 127].hex().upper()]
    return lines


def case_proxy_graphics(msp, doc):
    # An object of a program that is not at hand, shown by its proxy graphics: a
    # polyline, a circle, an arc, a filled polygon and a text. Written into the file
    # after ezdxf has saved it (ezdxf writes no proxy entities).
    def point(x, y):
        return struct.pack("<3d", x, y, 0)
    commands = [
        (6, struct.pack("<L", 4) + point(20, 20) + point(90, 20) + point(90, 80) + point(20, 80)),
        (2, point(55, 50) + struct.pack("<d", 20) + point(0, 0)),
        (4, point(140, 40) + struct.pack("<d", 30) + struct.pack("<3d", 0, 0, 1) + point(1, 0) +
         struct.pack("<dL", math.pi * 0.75, 0)),
        (20, struct.pack("<L", 1)),
        (7, struct.pack("<L", 3) + point(120, 70) + point(180, 70) + point(150, 90)),
        (10, point(110, 15) + point(0, 0) + point(1, 0) + struct.pack("<3d", 8, 1, 0) +
         b"WALL-3\0\0"),
    ]
    return ["  0", "ACAD_PROXY_ENTITY", "  5", "FFF01", "330", msp.layout_key, "100",
            "AcDbEntity", "  8", "0", "100", "AcDbProxyEntity", " 90", "498", " 91", "500",
            " 95", "0", " 70", "0"] + proxy_graphics(commands) + [" 93", "0", " 94", "0"]


def case_wipeout_mesh(msp, doc):
    # Lines masked by a wipeout drawn after them, one drawn after it on top; a mesh of
    # two quadrilaterals.
    for y in range(20, 90, 10):
        msp.add_line((10, y), (110, y))
    msp.add_wipeout([(30, 30), (90, 30), (90, 70), (30, 70)])
    msp.add_line((10, 15), (110, 85))
    mesh = msp.add_mesh()
    with mesh.edit_data() as data:
        data.vertices = [(130, 20, 0), (160, 20, 0), (190, 20, 0), (130, 80, 0), (160, 80, 0),
                         (190, 80, 0)]
        data.faces = [(0, 1, 4, 3), (1, 2, 5, 4)]


def case_insert_attrib(msp, doc):
    blk = doc.blocks.new("PART", base_point=(0, 0))
    blk.add_lwpolyline([(0, 0), (20, 0), (20, 10), (0, 10)], close=True)
    blk.add_circle((10, 5), 3)
    blk.add_attdef("NO", (2, 12), dxfattribs={"height": 3})
    nest = doc.blocks.new("PAIR")
    nest.add_blockref("PART", (0, 0))
    nest.add_blockref("PART", (30, 0), dxfattribs={"rotation": 90})
    msp.add_blockref("PAIR", (20, 20), dxfattribs={"xscale": 1.5, "yscale": 1.5})
    ref = msp.add_blockref("PART", (120, 60), dxfattribs={"rotation": -20})
    ref.add_auto_attribs({"NO": "A7"})


def case_minsert(msp, doc):
    blk = doc.blocks.new("HOLE")
    blk.add_circle((0, 0), 5)
    blk.add_line((-7, 0), (7, 0))
    msp.add_blockref("HOLE", (20, 20), dxfattribs={
        "column_count": 5, "row_count": 3, "column_spacing": 35, "row_spacing": 28})


def case_dimension(msp, doc):
    d = msp.add_linear_dim(base=(100, 70), p1=(30, 30), p2=(170, 30), dimstyle="EZDXF")
    d.render()


def case_viewport(msp, doc):
    # Paper space active: the frame drawn there, and a viewport at 0.8 : 1 onto model
    # space far from the model's frame, cutting the line at its edges, with layer
    # HIDDEN frozen in it.
    doc.header["$TILEMODE"] = 0
    msp.add_circle((1000, 1000), 40)
    msp.add_line((900, 1000), (1100, 1000))
    doc.layers.add("HIDDEN")
    msp.add_line((960, 960), (1040, 1040), dxfattribs={"layer": "HIDDEN"})
    msp.add_text("VP", dxfattribs={"height": 10}).set_placement((990, 1020))
    psp = doc.layout("Layout1")
    psp.add_lwpolyline([(0, 0), (W, 0), (W, H), (0, H)], close=True)
    doc.layers.add("VIEWPORTS").dxf.plot = 0  # the frame of the viewport is not plotted
    viewport = psp.add_viewport(center=(100, 50), size=(120, 80),
                                view_center_point=(1000, 1000), view_height=100)
    viewport.frozen_layers = ["HIDDEN"]


CASES = [
    (case_line, False), (case_xline_ray, False), (case_circle_arc, False),
    (case_mirrored_arc, False), (case_ellipse, False), (case_lwpolyline, False),
    (case_polyline, False), (case_spline_control, False), (case_spline_fit, False),
    (case_point, False), (case_solid_trace_face, False), (case_hatch, False),
    (case_hatch_pattern, False),
    (case_text, True), (case_mtext, True), (case_mtext_wrap, True), (case_mtext_format, True),
    (case_multileader, False), (case_mline, False), (case_proxy_graphics, False),
    (case_wipeout_mesh, False),
    (case_insert_attrib, False),
    (case_minsert, False), (case_dimension, False), (case_viewport, False),
]


def add_entity(dxf, groups):
    with open(dxf, encoding="utf-8") as f:
        lines = f.read().split("\n")
    section = next(i for i in range(len(lines) - 1)
                   if lines[i].strip() == "2" and lines[i + 1].strip() == "ENTITIES")
    end = next(i for i in range(section, len(lines) - 1)
               if lines[i].strip() == "0" and lines[i + 1].strip() == "ENDSEC")
    lines[end:end] = groups
    with open(dxf, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def gray_png(path):
    return np.asarray(matplotlib.image.imread(path), dtype=float)


def ink_of(image):
    if image.ndim == 3:
        image = image[..., :3].mean(axis=2)
    return image < 0.75


def ours(cli, dxf, folder):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    out = subprocess.run([cli, "--data-dir", folder, "batch", "--plot", "PDF", "--style",
                          "monochrome.ctb", "--paper", "A4", dxf],
                         capture_output=True, text=True, env=env, check=True).stdout
    plotted = [line for line in out.splitlines() if line.startswith("plotted=")]
    assert plotted, out
    pdf = plotted[0].split("|", 1)[1]  # the PDF written, under a free name
    base = dxf[:-4] + "_ours"
    subprocess.run(["pdftoppm", "-r", str(DPI), "-png", "-gray", "-singlefile", pdf, base],
                   check=True)
    ink = ink_of(gray_png(base + ".png"))
    ys, xs = np.nonzero(ink)
    ink = ink[ys.min():ys.max() + 1, xs.min():xs.max() + 1]
    return np.rot90(ink, k=-1)  # the plot turned the drawing by 90 degrees


def theirs(dxf, shape):
    doc = ezdxf.readfile(dxf)
    h, w = shape
    fig = plt.figure(figsize=(w / 100, h / 100), dpi=100)
    ax = fig.add_axes([0, 0, 1, 1])
    ax.set_axis_off()
    layout = doc.modelspace() if doc.header.get("$TILEMODE", 1) else doc.layout("Layout1")
    ctx = RenderContext(doc)
    paper = LayoutProperties.from_layout(layout)
    paper.set_colors("#ffffff")  # on paper colour 7 draws black
    Frontend(ctx, MatplotlibBackend(ax, adjust_figure=False),
             config=CONFIG).draw_layout(layout, finalize=False, layout_properties=paper)
    ax.set_xlim(0, W)
    ax.set_ylim(0, H)
    ax.set_aspect("auto")
    ax.set_facecolor("white")
    fig.patch.set_facecolor("white")
    path = dxf[:-4] + "_ezdxf.png"
    fig.savefig(path, dpi=100, facecolor="white")
    plt.close(fig)
    image = gray_png(path)
    return ink_of(image)[:h, :w]


def dilate(mask, r=2):
    out = mask.copy()
    padded = np.pad(mask, r)
    for dy in range(-r, r + 1):
        for dx in range(-r, r + 1):
            out |= padded[r + dy:r + dy + mask.shape[0], r + dx:r + dx + mask.shape[1]]
    return out


def inner(mask):
    m = mask.copy()
    m[:BORDER, :] = m[-BORDER:, :] = False
    m[:, :BORDER] = m[:, -BORDER:] = False
    return m


def box(mask):
    out = np.zeros_like(mask)
    ys, xs = np.nonzero(mask)
    if len(ys):
        out[ys.min():ys.max() + 1, xs.min():xs.max() + 1] = True
    return out


def overlap(a, b):
    if not a.any():
        return 0.0
    return float((a & dilate(b)).sum()) / float(a.sum())


def main():
    cli = sys.argv[1]
    keep = sys.argv[2] if len(sys.argv) > 2 else None
    folder = keep or tempfile.mkdtemp(prefix="plot_compare_")
    os.makedirs(folder, exist_ok=True)
    failures = []
    for case, by_box in CASES:
        name = case.__name__[5:]
        doc, msp = new_drawing()
        raw = case(msp, doc)
        dxf = os.path.join(folder, name + ".dxf")
        doc.saveas(dxf)
        if raw:  # groups written into the ENTITIES section as they are
            add_entity(dxf, raw)
        a = inner(ours(cli, dxf, folder))
        b = inner(theirs(dxf, a.shape))
        if by_box:
            a, b = box(a), box(b)
        ab, ba = overlap(a, b), overlap(b, a)
        verdict = "ok" if min(ab, ba) >= THRESHOLD else "DIFFERENT"
        print(f"{name:20s} ours on ezdxf {ab:6.1%}  ezdxf on ours {ba:6.1%}  {verdict}")
        if verdict != "ok":
            failures.append(name)
    if failures:
        print("renderers differ on: " + ", ".join(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
