"""ezdxf writing the entities of a release-12 file that Movra exported, for bench_exchange.

The LINE, CIRCLE and TEXT entities of the file are read with a plain pair reader (untimed), added
to a new release-12 drawing and written with ezdxf; the script prints the entity count and the
seconds that adding and writing took: "entities <n> seconds <s>".
"""
import sys
import time

import ezdxf


def read_entities(path):
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    start = lines.index(b"ENTITIES")
    entities = []
    i = start + 2
    while i < len(lines) and lines[i] != b"ENDSEC":
        kind = lines[i].decode("ascii")
        values = {}
        i += 1
        while lines[i] != b"  0":
            values[lines[i].strip().decode("ascii")] = lines[i + 1]
            i += 2
        i += 1
        entities.append((kind, values))
    return entities


def main():
    entities = read_entities(sys.argv[1])
    out = sys.argv[2]
    start = time.perf_counter()
    doc = ezdxf.new("R12", setup=True)
    doc.header["$DWGCODEPAGE"] = "ANSI_936"
    msp = doc.modelspace()
    for kind, v in entities:
        color = int(v["62"])
        if kind == "LINE":
            msp.add_line((float(v["10"]), float(v["20"])), (float(v["11"]), float(v["21"])),
                         dxfattribs={"layer": "0", "color": color, "linetype": v["6"].decode("ascii")})
        elif kind == "CIRCLE":
            msp.add_circle((float(v["10"]), float(v["20"])), float(v["40"]),
                           dxfattribs={"layer": "0", "color": color, "linetype": v["6"].decode("ascii")})
        elif kind == "TEXT":
            msp.add_text(v["1"].decode("gbk"), height=float(v["40"]), rotation=float(v["50"]),
                         dxfattribs={"layer": "0", "color": color, "insert": (float(v["10"]), float(v["20"]))})
    doc.saveas(out)
    seconds = time.perf_counter() - start
    print("entities %d seconds %.3f" % (len(entities), seconds))


if __name__ == "__main__":
    main()
