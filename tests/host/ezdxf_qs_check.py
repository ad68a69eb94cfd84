#!/usr/bin/python3
"""Independent answers for the QS console tests, computed with Debian's python3-ezdxf.

Usage: ezdxf_qs_check.py lines FILE LAYER LENGTH   handles of the LINEs of every layout on LAYER longer
                                                   than LENGTH, one per line
       ezdxf_qs_check.py group FILE NAME           handles of the members of the group NAME, one per line
                                                   (exit status 1 when the drawing has no such group)
       ezdxf_qs_check.py handles FILE               handles of every entity of every layout, one per line"""
import sys

import ezdxf
from ezdxf import recover


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
        for entity in entities(document):
            if (entity.dxftype() == 'LINE' and entity.dxf.layer == layer
                    and entity.dxf.start.distance(entity.dxf.end) > threshold):
                print(entity.dxf.handle)
    elif mode == 'group':
        if arguments[2] not in document.groups:
            return 1
        for entity in document.groups.get(arguments[2]):
            print(entity.dxf.handle)
    elif mode == 'handles':
        for entity in entities(document):
            print(entity.dxf.handle)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
