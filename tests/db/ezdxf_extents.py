"""Builds a drawing of many kinds with ezdxf, saves it to the path given first, and prints what ezdxf
computes for it: per entity of model space "extents <handle> minx miny minz maxx maxy maxz" (precise
bounding boxes, fast=False), per block reference "explode <handle> TYPE=count ..." from its virtual
entities, per arc and circle "centre <handle> x y z" and per light polyline "vertices <handle> x y z
..." in world coordinates (the file keeps them in the entity's own system). Text is left out: its box depends on font metrics that differ between programs."""
import math
import sys
from collections import Counter

import ezdxf
from ezdxf import bbox


def build(document):
    inner = document.blocks.new("INNER", base_point=(1, 0))
    inner.add_line((0, 0), (2, 1))
    inner.add_circle((1, 1), 0.75)
    inner.add_arc((0, 0), 1.5, 330, 100)
    inner.add_lwpolyline([(0, 0), (1, -1), (2, 0)])
    outer = document.blocks.new("OUTER")
    outer.add_blockref("INNER", (2, 0))
    outer.add_line((0, 0), (0, 4))
    outer.add_ellipse((3, 3), major_axis=(1, 0.5), ratio=0.5)

    space = document.modelspace()
    space.add_line((0, 0, 0), (3, 4, 1))
    space.add_arc((1, 1), 2, 300, 60)
    space.add_arc((4, 0, 2), 1, 200, 20, dxfattribs={"extrusion": (1, 1, 1)})
    space.add_arc((3, -2, 1), 1.5, 10, 120, dxfattribs={"extrusion": (0, 0, -1)})
    space.add_circle((5, 5), 1.5)
    space.add_circle((0, 0, 3), 2, dxfattribs={"extrusion": (0, 1, 1)})
    space.add_ellipse((0, 0), major_axis=(3, 1), ratio=0.4, start_param=0.5, end_param=4.0)
    space.add_ellipse((2, 2, 2), major_axis=(0, 2, 1), ratio=0.5, dxfattribs={"extrusion": (1, 0, 0)})
    space.add_lwpolyline([(0, 0, 0.5), (4, 0, 0), (4, 3, -1), (0, 3, 0)], format="xyb", close=True)
    space.add_lwpolyline([(1, 1), (3, 1), (3, 2)], dxfattribs={"extrusion": (0, 0, -1), "elevation": 2})
    space.add_polyline2d([(0, 0, 1), (2, 0, 0), (2, 2, 0)], format="xyb", close=True)
    space.add_polyline3d([(0, 0, 0), (1, 2, 3), (4, -1, 2)])
    space.add_open_spline([(0, 0), (1, 3), (3, -2), (5, 1), (6, 0)], degree=3)
    space.add_rational_spline([(0, 0, 0), (2, 4, 1), (4, 0, 2), (6, 3, 0)], weights=[1, 3, 0.5, 1], degree=3)
    hatch = space.add_hatch(color=3)
    hatch.paths.add_polyline_path([(0, 0, 0), (5, 0, 1), (5, 4, 0), (0, 4, 0)], is_closed=True)
    edges = space.add_hatch(color=4)
    path = edges.paths.add_edge_path()
    path.add_line((10, 0), (14, 0))
    path.add_arc((12, 0), 2, 0, 180)
    space.add_blockref("INNER", (20, 0), dxfattribs={"xscale": 1.5, "yscale": 1.5, "rotation": 45})
    space.add_blockref("INNER", (30, 0), dxfattribs={"xscale": 1, "yscale": 3})
    space.add_blockref("OUTER", (40, 10), dxfattribs={"xscale": 2, "yscale": 0.5, "rotation": 30})
    space.add_blockref("OUTER", (50, 10), dxfattribs={"xscale": -1, "yscale": 1})
    picture = document.add_image_def(filename="plan.png", size_in_pixel=(640, 480))
    space.add_image(picture, insert=(10, 20), size_in_units=(6.4, 4.8), rotation=30)
    space.add_image(picture, insert=(20, 20), size_in_units=(6.4, 4.8)).set_boundary_path([(100, 50), (300, 400)])
    space.add_image(picture, insert=(30, 20), size_in_units=(6.4, 4.8), rotation=-20).set_boundary_path(
        [(0, 0), (600, 100), (300, 470)]
    )
    space.add_wipeout([(0, 30), (4, 30), (3, 34)])


def main():
    document = ezdxf.new("R2010")
    build(document)
    document.saveas(sys.argv[1])
    for entity in document.modelspace():
        box = bbox.extents([entity], fast=False)
        if box.has_data:
            values = " ".join(repr(value) for value in (*box.extmin, *box.extmax))
            print(f"extents {entity.dxf.handle} {values}")
        if entity.dxftype() in ("ARC", "CIRCLE"):
            centre = entity.ocs().to_wcs(entity.dxf.center)
            print(f"centre {entity.dxf.handle} " + " ".join(repr(value) for value in centre))
        if entity.dxftype() == "LWPOLYLINE":
            points = [value for vertex in entity.vertices_in_wcs() for value in vertex]
            print(f"vertices {entity.dxf.handle} " + " ".join(repr(value) for value in points))
        if entity.dxftype() == "INSERT":
            counts = Counter(piece.dxftype() for piece in entity.virtual_entities())
            print(f"explode {entity.dxf.handle} " + " ".join(f"{name}={count}" for name, count in sorted(counts.items())))
    return 0


if __name__ == "__main__":
    sys.exit(main())
