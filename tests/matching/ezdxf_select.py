"""Chooses a few quick-selection records for one drawing from what ezdxf reads in it, and computes with
ezdxf which entities each record selects, so that the test can run the same records through our second
stage and compare handles. The candidates are every entity of model space and the paper layouts (what
a whole-drawing selection takes); the values follow the rules of the selection engine (lengths, the
engine's line angle in [0, 360), circle radii, text containment), computed here from ezdxf's data.

Output, UTF-8, one record per block of tab-separated lines:
    RECORD name / TYPE dxfname / LAYER name (optional) / LOGIC mode expression /
    ROW id operator value (one per row) / EXPECT handle... / END
and last one line CANDIDATE handle type layer per candidate.
"""
import math
import re
import statistics
import sys

import ezdxf
from ezdxf import recover

PI = 3.141592653589793
# Characters that a selection filter reads as wild-card syntax in a layer name.
PATTERN_CHARACTERS = set("#@.*?~[]`,-")


def decoded(text):
    """ezdxf 0.18 leaves the \\U+XXXX escapes of some names in place; the host decodes them."""
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda match: chr(int(match.group(1), 16)), text)


def layer_of(entity):
    try:
        return decoded(entity.dxf.get("layer", "0"))
    except ezdxf.DXFError:
        return "0"


def number_text(value):
    text = "%.7f" % value
    text = text.rstrip("0")
    return text[:-1] if text.endswith(".") else text


def read(path):
    try:
        return ezdxf.readfile(path)
    except Exception:
        document, _ = recover.readfile(path)
        return document


def candidates(document):
    for layout in document.layouts:
        for entity in layout:
            yield entity


def length(line):
    start, end = line.dxf.start, line.dxf.end
    dx, dy, dz = start[0] - end[0], start[1] - end[1], start[2] - end[2]
    return math.sqrt(dx * dx + dy * dy + dz * dz)


def engine_angle(line):
    start, end = line.dxf.start, line.dxf.end
    distance = length(line)
    if distance <= 1e-10:
        return 0.0
    cosine = max(-1.0, min(1.0, (end[0] - start[0]) / distance))
    angle = math.acos(cosine) if end[1] > start[1] else -math.acos(cosine)
    if angle < 0.0:
        angle += 2.0 * math.pi
    return angle * 180.0 / PI


def safe_layer(name):
    return name and not (set(name) & PATTERN_CHARACTERS) and all(ord(c) < 128 or ord(c) >= 0x3000 for c in name)


def emit(name, dxftype, rows, expected, layer=None, mode=0, expression=""):
    print(f"RECORD\t{name}")
    print(f"TYPE\t{dxftype}")
    if layer is not None:
        print(f"LAYER\t{layer}")
    print(f"LOGIC\t{mode}\t{expression}")
    for row in rows:
        print("ROW\t%d\t%s\t%s" % row)
    print("EXPECT\t" + "\t".join(expected))
    print("END")


def main():
    document = read(sys.argv[1])
    entities = list(candidates(document))
    lines = [e for e in entities if e.dxftype() == "LINE"]
    circles = [e for e in entities if e.dxftype() == "CIRCLE"]
    texts = [e for e in entities if e.dxftype() == "TEXT" and e.dxf.get("text", "")]

    layered = [line for line in lines if safe_layer(layer_of(line))]
    if layered:
        layer = layer_of(layered[0])
        on_layer = [line for line in lines if layer_of(line).upper() == layer.upper()]
        limit = number_text(statistics.median(length(line) for line in on_layer))
        expected = [line.dxf.handle for line in on_layer if length(line) >= float(limit)]
        emit("type, layer and length", "LINE", [(213, ">=", limit)], expected, layer=layer)

    if texts:
        part = texts[0].dxf.text[0]
        expected = [text.dxf.handle for text in texts if part in text.dxf.text]
        emit("text contains", "TEXT", [(302, "包含", part)], expected)

    if circles:
        radii = sorted(circle.dxf.radius for circle in circles)
        low = number_text(radii[len(radii) // 4])
        high = number_text(radii[(3 * len(radii)) // 4])
        expected = [c.dxf.handle for c in circles if c.dxf.radius < float(low) or c.dxf.radius > float(high)]
        emit("circle radius outside a range, any row", "CIRCLE", [(204, "<", low), (204, ">", high)], expected,
             mode=1)

    if lines:
        limit = number_text(statistics.median(length(line) for line in lines))
        start_x = number_text(statistics.median(line.dxf.start[0] for line in lines))
        expected = [line.dxf.handle for line in lines
                    if (length(line) > float(limit) and engine_angle(line) < 180.0) or line.dxf.start[0] < float(start_x)]
        emit("three rows in an expression", "LINE", [(213, ">", limit), (214, "<", "180"), (201, "<", start_x)],
             expected, mode=2, expression="(A&B)|C")
    for entity in entities:
        print(f"CANDIDATE\t{entity.dxf.handle}\t{entity.dxftype()}\t{layer_of(entity)}")


if __name__ == "__main__":
    main()
