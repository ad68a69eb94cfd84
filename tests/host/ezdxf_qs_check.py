#!/usr/bin/python3
"""Independent answers for the QS console tests, computed with Debian's python3-ezdxf.

Usage: ezdxf_qs_check.py lines FILE LAYER LENGTH [WIDTH]
                                                   handles of the LINEs of every layout on LAYER longer
                                                   than LENGTH (and wider in x than WIDTH), one per line
       ezdxf_qs_check.py group FILE NAME           handles of the members of the group NAME, one per line
                                                   (exit status 1 when the drawing has no such group)
       ezdxf_qs_check.py handles FILE               handles of every entity of every layout, one per line
       ezdxf_qs_check.py template FILE LAYER        the longest LINE of model space on LAYER whose
                                                   midpoint no other entity comes near (else the longest
                                                   LINE), as JSON: "handle", "x", "y" (the midpoint),
                                                   "clear" (nothing else near it) and "matches" (the LINEs
                                                   of every layout on the layer with the same colour)
       ezdxf_qs_check.py pieces FILE                the LWPOLYLINEs of every layout as JSON: "polylines"
                                                   (handles), "pieces" (their segments as ezdxf explodes
                                                   them, zero-length ones left out as the host's explode
                                                   leaves them out) and "lines_arcs" (LINEs and ARCs)
       ezdxf_qs_check.py ends FILE                  "handle x1 y1 z1 x2 y2 z2" for every LINE of every
                                                   layout, one per line"""
import json
import sys

import ezdxf
from ezdxf import bbox
from ezdxf import recover
from ezdxf.lldxf.encoding import decode_dxf_unicode


def read(path):
    try:
        return ezdxf.readfile(path)
    except Exception:
        document, _ = recover.readfile(path)
        return document


def entities(document):
    for layout in document.layouts:
        yield from layout


def main(arguments):
    mode, path = arguments[0], arguments[1]
    document = read(path)
    if mode == 'lines':
        layer, threshold = arguments[2], float(arguments[3])
        width = float(arguments[4]) if len(arguments) > 4 else None
        for entity in entities(document):
            if (entity.dxftype() == 'LINE' and entity.dxf.layer == layer
                    and entity.dxf.start.distance(entity.dxf.end) > threshold
                    and (width is None or abs(entity.dxf.end.x - entity.dxf.start.x) > width)):
                print(entity.dxf.handle)
    elif mode == 'group':
        # Files before R2007 spell characters outside their code page as \U+XXXX, dictionary keys too;
        # ezdxf leaves keys as written, so names are compared decoded.
        for name, group in document.groups:
            if decode_dxf_unicode(name) == arguments[2]:
                for entity in group:
                    print(entity.dxf.handle)
                return 0
        return 1
    elif mode == 'handles':
        for entity in entities(document):
            print(entity.dxf.handle)
    elif mode == 'template':
        return template(document, arguments[2])
    elif mode == 'pieces':
        polylines = [e for e in entities(document) if e.dxftype() == 'LWPOLYLINE']
        print(json.dumps({
            'polylines': [e.dxf.handle for e in polylines],
            'pieces': sum(1 for e in polylines for piece in e.virtual_entities()
                          if piece.dxftype() != 'LINE' or not piece.dxf.start.isclose(piece.dxf.end)),
            'lines_arcs': sum(1 for e in entities(document) if e.dxftype() in ('LINE', 'ARC')),
        }))
    elif mode == 'ends':
        for entity in entities(document):
            if entity.dxftype() == 'LINE':
                values = [*entity.dxf.start, *entity.dxf.end]
                print(entity.dxf.handle, ' '.join(repr(value) for value in values))
    return 0


def distance_to_segment(point, start, end):
    direction = end - start
    if direction.magnitude == 0:
        return point.distance(start)
    t = max(0.0, min(1.0, (point - start).dot(direction) / direction.dot(direction)))
    return point.distance(start + direction * t)


def template(document, layer):
    """A line the host's pick at its midpoint can only take when every other line stays clear of the
    point and so does the box of every other entity."""
    everything = list(document.modelspace())
    others = []
    for entity in everything:
        if entity.dxftype() != 'LINE':
            box = bbox.extents([entity])
            if box.has_data:
                others.append(box)
    candidates = sorted((e for e in everything if e.dxftype() == 'LINE' and e.dxf.layer == layer),
                        key=lambda e: -e.dxf.start.distance(e.dxf.end))
    def clear(line):
        middle = line.dxf.start.lerp(line.dxf.end)
        near = 0.01 * line.dxf.start.distance(line.dxf.end)
        if any(other is not line and other.dxftype() == 'LINE'
               and distance_to_segment(middle, other.dxf.start, other.dxf.end) <= near
               for other in everything):
            return False
        return not any(box.extmin.x - near <= middle.x <= box.extmax.x + near
                       and box.extmin.y - near <= middle.y <= box.extmax.y + near for box in others)

    if not candidates:
        return 1
    line = next((candidate for candidate in candidates if clear(candidate)), None)
    if line is None:
        line = candidates[0]
    middle = line.dxf.start.lerp(line.dxf.end)
    colour = line.dxf.color
    matches = [e.dxf.handle for e in entities(document)
               if e.dxftype() == 'LINE' and e.dxf.layer == layer and e.dxf.color == colour]
    print(json.dumps({'handle': line.dxf.handle, 'x': middle.x, 'y': middle.y, 'clear': clear(line),
                      'matches': matches}))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
