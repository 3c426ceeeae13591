"""Reads a DXF file with two independent readers and prints what they found.

ezdxf opens the file and audits it; GDAL's ogrinfo reads it and ogr2ogr turns it into GeoJSON.
Output, one item a line:
  audit <errors> <fixes>        followed by one "audit-message ..." line per error or fix
  ogrinfo-errors <count>        followed by the lines of ogrinfo that name an error
  feature <kind>|<layer>|<linetype>|<text>|x y;x y;...
  header-extents <minx> <miny> <maxx> <maxy>   $EXTMIN and $EXTMAX as ezdxf reads them
  ezdxf-arc <cx> <cy> <radius> <start> <end>   every ARC as ezdxf reads it, angles in degrees
  ogrinfo-extent <text>         the extent line ogrinfo reports for the entities
Exits with 2 when a reader is missing, so that the calling test fails.
"""
import json
import shutil
import subprocess
import sys


def main():
    path = sys.argv[1]
    try:
        import ezdxf
    except ImportError:
        print("missing peer: python3-ezdxf", file=sys.stderr)
        return 2
    for tool in ("ogrinfo", "ogr2ogr"):
        if shutil.which(tool) is None:
            print("missing peer: " + tool + " (gdal-bin)", file=sys.stderr)
            return 2

    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print("audit %d %d" % (len(auditor.errors), len(auditor.fixes)))
    for entry in list(auditor.errors) + list(auditor.fixes):
        print("audit-message " + str(entry.message).replace("\n", " "))

    low = doc.header.get("$EXTMIN", (0, 0, 0))
    high = doc.header.get("$EXTMAX", (0, 0, 0))
    print("header-extents %r %r %r %r" % (low[0], low[1], high[0], high[1]))

    for arc in doc.modelspace().query("ARC"):
        c = arc.dxf.center
        print("ezdxf-arc %r %r %r %r %r" % (c[0], c[1], arc.dxf.radius, arc.dxf.start_angle, arc.dxf.end_angle))

    info = subprocess.run(["ogrinfo", "-ro", "-al", path], capture_output=True, text=True)
    for l in info.stdout.splitlines():
        if l.startswith("Extent:"):
            print("ogrinfo-extent " + l[len("Extent:"):].strip())
    errors = [l for l in (info.stdout + info.stderr).splitlines() if "ERROR" in l]
    if info.returncode != 0:
        errors.append("ogrinfo exit %d" % info.returncode)
    print("ogrinfo-errors %d" % len(errors))
    for l in errors:
        print("ogrinfo-message " + l)

    conv = subprocess.run(["ogr2ogr", "-f", "GeoJSON", "/vsistdout/", path], capture_output=True)
    if conv.returncode != 0:
        print("ogr2ogr failed: " + conv.stderr.decode("utf-8", "replace"), file=sys.stderr)
        return 1
    data = json.loads(conv.stdout.decode("utf-8"))
    for f in data["features"]:
        props = f.get("properties") or {}
        geom = f.get("geometry") or {}
        coords = geom.get("coordinates", [])
        if geom.get("type") == "Point":
            coords = [coords]
        text = props.get("Text")
        if text is not None:
            kind = "TEXT"
        elif geom.get("type") == "Point":
            kind = "POINT"
        elif geom.get("type") == "LineString" and len(coords) == 2:
            kind = "LINE"
        else:
            kind = "CURVE"
        points = ";".join("%r %r" % (c[0], c[1]) for c in coords)
        print("feature %s|%s|%s|%s|%s" % (kind, props.get("Layer") or "", props.get("Linetype") or "",
                                           text or "", points))
    return 0


if __name__ == "__main__":
    sys.exit(main())
