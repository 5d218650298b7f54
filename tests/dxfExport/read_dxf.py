#!/usr/bin/python3
"""Reads a DXF file with ezdxf, an independent reader, and prints what the
tests check as JSON: the version, the units, the audit's findings, the layers
and every entity of model space with its coordinates (a polyline with its area, a text, its \\U+XXXX
escapes decoded, with the box ezdxf measures for it)."""
import json
import sys

import ezdxf
import ezdxf.bbox
import ezdxf.math
from ezdxf.lldxf.encoding import decode_dxf_unicode


def main(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    entities = []
    for e in doc.modelspace():
        item = {"type": e.dxftype(), "layer": e.dxf.layer}
        if e.dxftype() == "POLYLINE":
            item["closed"] = bool(e.is_closed)
            item["points"] = [[v[0], v[1]] for v in e.points()]
            item["area"] = ezdxf.math.area(item["points"])
        elif e.dxftype() == "LINE":
            item["start"] = [e.dxf.start[0], e.dxf.start[1]]
            item["end"] = [e.dxf.end[0], e.dxf.end[1]]
        elif e.dxftype() == "TEXT":
            item["text"] = decode_dxf_unicode(e.dxf.text)
            item["insert"] = [e.dxf.insert[0], e.dxf.insert[1]]
            item["height"] = e.dxf.height
            box = ezdxf.bbox.extents([e])
            item["box"] = [box.extmin.x, box.extmin.y, box.extmax.x, box.extmax.y]
        entities.append(item)
    json.dump({
        "version": doc.dxfversion,
        "insunits": doc.header.get("$INSUNITS", 0),
        "auditErrors": len(auditor.errors),
        "layers": sorted(layer.dxf.name for layer in doc.layers),
        "entities": entities,
    }, sys.stdout)


if __name__ == "__main__":
    main(sys.argv[1])
