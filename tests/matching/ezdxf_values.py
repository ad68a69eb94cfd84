"""Prints, for every entity of every layout of a drawing, property values the selection engine compares,
computed here with ezdxf from the entity's DXF data: one line per value, tab-separated,
    handle  DXF type  property id  kind (R real, I integer, T text, E enumeration item)  value
World coordinates, angles in degrees, the engine's own rules (its line angle, the text justification
names, the yes/no items)."""
import math
import sys

import ezdxf

PI = 3.141592653589793
YES, NO = "是", "否"
JUSTIFY_BASELINE = ["左", "中心", "右", "对齐", "中间", "调整"]
JUSTIFY_ROWS = {3: ["左上", "中上", "右上"], 2: ["左中", "正中", "右中"], 1: ["左下", "中下", "右下"]}


def degrees(radians):
    return radians * 180.0 / PI


def engine_angle(start, end):
    dx, dy, dz = end[0] - start[0], end[1] - start[1], end[2] - start[2]
    length = math.sqrt(dx * dx + dy * dy + dz * dz)
    if length <= 1e-10:
        return 0.0
    angle = math.acos(max(-1.0, min(1.0, dx / length)))
    if end[1] <= start[1]:
        angle = -angle
    if angle < 0.0:
        angle += 2.0 * math.pi
    return degrees(angle)


def point(first_id, p):
    return [(first_id + axis, "R", p[axis]) for axis in range(3)]


def yes_no(flag):
    return YES if flag else NO


def justification(text):
    horizontal, vertical = text.dxf.get("halign", 0), text.dxf.get("valign", 0)
    if vertical == 0:
        return JUSTIFY_BASELINE[horizontal] if 0 <= horizontal <= 5 else "正中"
    if vertical in JUSTIFY_ROWS and 0 <= horizontal <= 2:
        return JUSTIFY_ROWS[vertical][horizontal]
    return "正中"


def flat(entity):
    return tuple(entity.dxf.get("extrusion", (0, 0, 1))) == (0, 0, 1)


def values(entity):
    kind = entity.dxftype()
    dxf = entity.dxf
    if kind == "LINE":
        length = math.dist(dxf.start, dxf.end)
        return point(201, dxf.start) + point(207, dxf.end) + [
            (213, "R", length), (214, "R", engine_angle(dxf.start, dxf.end)), (215, "R", dxf.get("thickness", 0))]
    if kind == "CIRCLE" and flat(entity):
        r = dxf.radius
        return point(201, dxf.center) + [(204, "R", r), (205, "R", 2 * r), (206, "R", r * 6.283185307179586),
                                         (207, "R", r * r * PI), (208, "R", dxf.get("thickness", 0))]
    if kind == "ARC" and flat(entity):
        r, start, end = dxf.radius, dxf.start_angle, dxf.end_angle
        total = end - start + (360.0 if start > end else 0.0)
        return point(201, dxf.center) + point(204, entity.start_point) + point(210, entity.end_point) + [
            (213, "R", r), (215, "R", start), (216, "R", end), (217, "R", total),
            (218, "R", r * math.radians(total))]
    if kind == "ELLIPSE":
        major = dxf.major_axis
        return point(204, dxf.center) + point(215, major) + [
            (210, "R", major.magnitude), (211, "R", major.magnitude * dxf.ratio), (212, "R", dxf.ratio)]
    if kind == "TEXT" and flat(entity):
        flags = dxf.get("text_generation_flag", 0)
        return point(201, dxf.insert) + [
            (207, "R", dxf.height), (208, "R", dxf.get("width", 1)), (210, "R", dxf.get("rotation", 0)),
            (302, "T", dxf.text), (301, "T", dxf.get("style", "Standard")), (401, "E", yes_no(flags & 4)),
            (402, "E", yes_no(flags & 2)), (403, "E", justification(entity))]
    if kind == "MTEXT" and flat(entity):
        direction = {1: "水平", 3: "垂直"}.get(dxf.get("flow_direction", 1))
        rows = point(201, dxf.insert) + [(209, "R", dxf.char_height), (210, "R", dxf.get("width", 0)),
                                         (404, "E", "至少" if dxf.get("line_spacing_style", 1) == 1 else "精确")]
        return rows + ([(403, "E", direction)] if direction else [])
    if kind == "LWPOLYLINE":
        return [(101, "I", len(entity)), (401, "E", yes_no(entity.closed)), (204, "R", dxf.get("elevation", 0)),
                (203, "R", dxf.get("const_width", 0)), (207, "R", dxf.get("thickness", 0))]
    if kind == "POLYLINE" and entity.is_3d_polyline:
        return [(402, "E", yes_no(entity.is_closed))]
    if kind in ("RAY", "XLINE"):
        direction = dxf.unit_vector.normalize()
        return point(201, dxf.start) + point(207, direction) + [
            (210, "R", engine_angle(dxf.start, dxf.start + direction))]
    if kind == "MLINE":
        return [(101, "I", len(entity.vertices)), (201, "R", dxf.scale_factor),
                (401, "E", ["上", "中", "下"][dxf.justification]), (402, "E", yes_no(dxf.flags & 2)),
                (301, "T", dxf.style_name)]
    if kind == "SPLINE":
        fit_count = len(entity.fit_points)
        return [(101, "I", len(entity.control_points)), (102, "I", fit_count), (103, "I", dxf.degree),
                (403, "E", yes_no(fit_count > 0))]
    if kind == "POINT":
        return point(201, dxf.location) + [(204, "R", dxf.get("thickness", 0))]
    if kind == "INSERT" and flat(entity):
        return point(201, dxf.insert) + [
            (204, "R", dxf.get("xscale", 1)), (205, "R", dxf.get("yscale", 1)), (206, "R", dxf.get("zscale", 1)),
            (207, "R", dxf.get("rotation", 0)), (301, "T", dxf.name)]
    if kind == "HATCH":
        rows = [(301, "T", dxf.pattern_name), (401, "E", ["用户定义", "预定义", "自定义"][dxf.pattern_type]),
                (402, "E", yes_no(dxf.associative)), (403, "E", ["普通", "外部", "忽略"][dxf.hatch_style]),
                (204, "R", dxf.elevation[2])]
        if not dxf.solid_fill:
            rows += [(201, "R", dxf.get("pattern_angle", 0)), (202, "R", dxf.get("pattern_scale", 1))]
        return rows
    if kind == "DIMENSION":
        return [(202, "R", dxf.actual_measurement), (302, "T", dxf.get("dimstyle", "Standard")),
                (301, "T", dxf.get("text", ""))]
    if kind in ("IMAGE", "WIPEOUT"):
        size = dxf.image_size
        rows = point(201, dxf.insert) + [
            (101, "I", dxf.get("brightness", 50)), (102, "I", dxf.get("contrast", 50)), (103, "I", dxf.get("fade", 0)),
            (206, "R", dxf.u_pixel.magnitude * size[0]), (207, "R", dxf.v_pixel.magnitude * size[1])]
        if kind == "IMAGE" and entity.image_def is not None:
            rows.append((301, "T", entity.image_def.dxf.filename))
        return rows
    if kind == "SHAPE":
        return point(201, dxf.insert) + [(204, "R", dxf.get("rotation", 0)), (205, "R", dxf.size),
                                         (301, "T", dxf.name)]
    if kind == "VIEWPORT":
        return point(201, dxf.center) + [(204, "R", dxf.width), (205, "R", dxf.height)]
    return []


def main():
    document = ezdxf.readfile(sys.argv[1])
    for layout in document.layouts:
        for entity in layout:
            for property_id, kind, value in values(entity):
                if value is None:
                    continue
                text = "%.9f" % value if kind == "R" else str(value)
                if "\t" not in text and "\n" not in text:
                    print(f"{entity.dxf.handle}\t{entity.dxftype()}\t{property_id}\t{kind}\t{text}")


if __name__ == "__main__":
    main()
