#!/usr/bin/python3
"""Independent counts for the batch tests, computed with Debian's python3-ezdxf: for each drawing, the
LINE entities of model space and of the paper-space layouts on one layer that are longer than a length.

Usage: ezdxf_line_counts.py busiest FILE...      the layer with the most LINEs, the length chosen between
                                                 two neighbouring line lengths near the median
       ezdxf_line_counts.py fixed LAYER LENGTH FILE...
Prints one JSON object per drawing ezdxf can read: {"path", "layer", "length", "count"}; drawings it
cannot read (even with ezdxf.recover) are printed with "count": null."""
import json
import sys

import ezdxf
from ezdxf import recover


def read(path):
    try:
        return ezdxf.readfile(path)
    except Exception:
        try:
            document, _ = recover.readfile(path)
            return document
        except Exception:
            return None


def lines(document):
    for layout in document.layouts:
        for entity in layout:
            if entity.dxftype() == 'LINE':
                yield entity


def length(line):
    return line.dxf.start.distance(line.dxf.end)


def busiest_layer(document):
    per_layer = {}
    for line in lines(document):
        per_layer.setdefault(line.dxf.layer, []).append(length(line))
    if not per_layer:
        return '0', 0.0
    layer = max(sorted(per_layer), key=lambda name: len(per_layer[name]))
    lengths = sorted(set(per_layer[layer]))
    # A threshold well between two lengths, so that the comparison's tolerance decides nothing.
    middle = len(lengths) // 2
    for index in list(range(middle, 0, -1)) + list(range(middle + 1, len(lengths))):
        if lengths[index] - lengths[index - 1] > 0.01:
            return layer, (lengths[index] + lengths[index - 1]) / 2
    return layer, lengths[0] - 1.0


def count(document, layer, threshold):
    return sum(1 for line in lines(document) if line.dxf.layer == layer and length(line) > threshold)


def main(arguments):
    mode = arguments[0]
    files = arguments[1:] if mode == 'busiest' else arguments[3:]
    for path in files:
        document = read(path)
        if document is None:
            print(json.dumps({'path': path, 'layer': None, 'length': None, 'count': None}))
            continue
        if mode == 'busiest':
            layer, threshold = busiest_layer(document)
        else:
            layer, threshold = arguments[1], float(arguments[2])
        print(json.dumps({'path': path, 'layer': layer, 'length': repr(threshold),
                          'count': count(document, layer, threshold)}, ensure_ascii=False))


if __name__ == '__main__':
    main(sys.argv[1:])
