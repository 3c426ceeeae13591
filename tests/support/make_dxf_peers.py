#!/usr/bin/python3
"""Writes DXF files of other programs for the import tests into the folder given.

r2000.dxf (code page 936) and r2018.dxf (UTF-8) from ezdxf with the same content (lines,
polylines, circles, arcs, texts, a formatted text and insertions of named blocks), r12.dxf from
ezdxf in release 12 (no subclass markers), hatch.dxf (only a hatch and a point), far.dxf (a line
reaching 1e308 beside a sound one), and ogr.dxf from a CSV of WKT lines through ogr2ogr.
Exits non-zero when a peer is missing or fails.
"""
import os
import subprocess
import sys

import ezdxf


def fill(doc):
    doc.layers.add("道路", color=1)
    doc.layers.add("房屋", color=5)
    msp = doc.modelspace()
    msp.add_line((1.25, 2.5), (30.125, 40.0625), dxfattribs={"layer": "道路"})
    msp.add_lwpolyline([(0, 0), (10, 0), (10, 10)], dxfattribs={"layer": "道路"})
    msp.add_lwpolyline([(100, 100), (110, 100), (110, 110), (100, 110), (95, 105)], close=True,
                       dxfattribs={"layer": "房屋"})
    msp.add_circle((50.5, 60.25), 7.5, dxfattribs={"layer": "房屋"})
    msp.add_arc((70, 80), 3, 30, 120, dxfattribs={"layer": "道路"})
    # Texts and insertions of named blocks on a layer of their own.
    doc.layers.add("注记", color=3)
    for name in ("TREE", "水准点"):
        doc.blocks.new(name).add_circle((0, 0), 1)
    msp.add_text("中文注记", dxfattribs={"layer": "注记", "height": 2.5, "insert": (10, 20)})
    msp.add_text("斜字", dxfattribs={"layer": "注记", "height": 2, "insert": (30, 40), "rotation": 90})
    msp.add_mtext("多行注记", dxfattribs={"layer": "注记", "char_height": 3, "insert": (50, 60)})
    msp.add_blockref("TREE", (70, 80), dxfattribs={"layer": "注记", "rotation": 30, "xscale": 2, "yscale": 2})
    msp.add_blockref("水准点", (90, 100), dxfattribs={"layer": "注记"})


def main(folder):
    doc = ezdxf.new("R2000")
    fill(doc)
    doc.saveas(os.path.join(folder, "r2000.dxf"), encoding="cp936")
    doc = ezdxf.new("R2018")
    fill(doc)
    doc.saveas(os.path.join(folder, "r2018.dxf"))
    doc = ezdxf.new("R12")
    doc.layers.add("道路", color=1)
    doc.modelspace().add_line((0, 0), (5, 5), dxfattribs={"layer": "道路"})
    doc.saveas(os.path.join(folder, "r12.dxf"), encoding="cp936")
    # Only kinds the program does not keep: a hatch and a point.
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_hatch(color=2).paths.add_polyline_path([(0, 0), (10, 0), (10, 10)], is_closed=True)
    msp.add_point((5, 5))
    doc.saveas(os.path.join(folder, "hatch.dxf"), encoding="cp936")
    # One line at a coordinate no map can hold, beside one that is fine.
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_line((0, 0), (1e308, 5))
    msp.add_line((1, 1), (2, 2))
    doc.saveas(os.path.join(folder, "far.dxf"), encoding="cp936")
    csv = os.path.join(folder, "lines.csv")
    with open(csv, "w") as out:
        out.write('WKT,id\n"LINESTRING (0.5 0.25,10 5,20 0)",1\n"LINESTRING (1 1,2 2)",2\n')
    subprocess.run(["ogr2ogr", "-f", "DXF", os.path.join(folder, "ogr.dxf"), csv, "-oo", "KEEP_GEOM_COLUMNS=NO",
                    "-select", ""], check=True,
                   stderr=subprocess.DEVNULL)


if __name__ == "__main__":
    main(sys.argv[1])
