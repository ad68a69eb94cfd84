#!/usr/bin/python3
"""Prints what the console-host test checks in a saved drawing, as read by ezdxf: the lines and arcs on
layer A with their coordinates, and every group with the handles of its members, sorted (ezdxf does not keep their order)."""
import sys

import ezdxf


def number(value):
    return '%.6f' % (round(value, 6) + 0.0)


doc = ezdxf.readfile(sys.argv[1])
for entity in doc.modelspace().query('LINE ARC[layer=="A"]'):
    if entity.dxftype() == 'LINE':
        points = [entity.dxf.start, entity.dxf.end]
        print(entity.dxf.handle, 'LINE', ' '.join(number(c) for p in points for c in (p.x, p.y, p.z)))
    else:
        print(entity.dxf.handle, 'ARC', number(entity.dxf.center.x), number(entity.dxf.center.y),
              number(entity.dxf.radius))
for name, group in doc.groups:
    print('GROUP', name, ' '.join(sorted(entity.dxf.handle for entity in group)))
