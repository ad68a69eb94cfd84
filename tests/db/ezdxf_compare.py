"""Reads an original drawing and our saved copy with ezdxf and compares, per layout, the entity counts
by type, plus the layer names; exits non-zero (with the differences) when they differ or when ezdxf's
audit reports errors in our copy."""
import sys
from collections import Counter

import ezdxf


def summary(path):
    document = ezdxf.readfile(path)
    layouts = {layout.name: Counter(entity.dxftype() for entity in layout) for layout in document.layouts}
    layers = sorted(layer.dxf.name for layer in document.layers)
    return document, layouts, layers


def main():
    _, original_layouts, original_layers = summary(sys.argv[1])
    saved, saved_layouts, saved_layers = summary(sys.argv[2])
    problems = []
    if original_layouts != saved_layouts:
        problems.append(f"layouts differ: {original_layouts} != {saved_layouts}")
    if original_layers != saved_layers:
        problems.append(f"layers differ: {original_layers} != {saved_layers}")
    auditor = saved.audit()
    if auditor.has_errors:
        problems.append(f"audit errors: {[str(error.message) for error in auditor.errors]}")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
