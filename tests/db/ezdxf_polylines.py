"""Reads a drawing with ezdxf and prints, per POLYLINE of model space, its handle, its kind and one line
per vertex (x y z bulge); then the messages of ezdxf's audit errors, if any, each on a line starting
with "audit:"."""
import sys

import ezdxf


def main():
    document = ezdxf.readfile(sys.argv[1])
    for polyline in document.modelspace().query("POLYLINE"):
        kind = "3d" if polyline.is_3d_polyline else "2d" if polyline.is_2d_polyline else "mesh"
        print(f"polyline {polyline.dxf.handle} {kind} {len(polyline.vertices)}")
        for vertex in polyline.vertices:
            x, y, z = vertex.dxf.location
            print(f"{x!r} {y!r} {z!r} {vertex.dxf.bulge!r}")
    auditor = document.audit()
    for error in auditor.errors:
        print(f"audit: {error.message}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
