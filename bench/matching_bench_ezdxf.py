"""The selections of matching_bench done with ezdxf on the same drawing: after loading, each is a query
for LINE entities and a filter function with the engine's rules (length, the engine's direction angle
in [0, 360) degrees, start point), timed on its own. Prints seconds and count of each."""
import math
import sys
import time

import ezdxf

PI = 3.141592653589793


def values(line):
    start, end = line.dxf.start, line.dxf.end
    dx, dy, dz = end[0] - start[0], end[1] - start[1], end[2] - start[2]
    length = math.sqrt(dx * dx + dy * dy + dz * dz)
    if length <= 1e-10:
        angle = 0.0
    else:
        angle = math.acos(max(-1.0, min(1.0, dx / length)))
        if end[1] <= start[1]:
            angle = -angle
        if angle < 0.0:
            angle += 2.0 * math.pi
    return length, angle * 180.0 / PI, start[0], start[1]


def two_rows(line):
    length, angle, _, _ = values(line)
    return length > 0.7 and angle < 180.0


def four_rows(line):
    length, angle, x, y = values(line)
    return (length > 0.7 and angle < 180.0) or (x < 500.0 and y < 500.0)


def timed(document, test):
    started = time.perf_counter()
    selected = [entity for entity in document.query("LINE") if test(entity)]
    return time.perf_counter() - started, len(selected)


def main():
    document = ezdxf.readfile(sys.argv[1])
    two_seconds, two_count = timed(document, two_rows)
    four_seconds, four_count = timed(document, four_rows)
    print(two_seconds, two_count, four_seconds, four_count)


if __name__ == "__main__":
    main()
