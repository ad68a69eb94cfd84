"""The property values quelto-props shows, computed independently with ezdxf for the model-space
entities of one drawing: lines, circles, arcs, lightweight polylines, texts, multi-line texts, block
references, points, rays, construction lines, ellipses, splines, hatches and dimensions. World
coordinates and degrees. One line per value: HANDLE<TAB>NAME<TAB>N:number or T:text.
Exit status 3 when ezdxf cannot read the drawing."""

import math
import re
import sys

import ezdxf

LEADING_NUMBER = re.compile(r"\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eEdD][+-]?\d+)?)")
JUSTIFICATION = {
    0: ["左", "中心", "右", "对齐", "中间", "调整"],
    3: ["左上", "中上", "右上"],
    2: ["左中", "正中", "右中"],
    1: ["左下", "中下", "右下"],
}


UNICODE_ESCAPE = re.compile(r"\\U\+([0-9A-Fa-f]{4})")


CARET = re.compile(r"\^([ @-_])")


def decoded(document, text):
    """The text as a CAD program reads it and quelto-props shows it. DXF writes control characters as a
    caret and a letter ("^J", "^ " for the caret itself), and drawings before R2007 characters outside
    their code page as \\U+XXXX escapes; ezdxf keeps both. quelto-props shows control characters as
    caret and letter again."""
    if document.dxfversion < "AC1021":
        text = UNICODE_ESCAPE.sub(lambda match: chr(int(match.group(1), 16)), text)
    text = CARET.sub(lambda match: "^" if match.group(1) == " " else chr(ord(match.group(1)) - 64), text)
    return "".join("^" + chr(ord(c) + 64) if ord(c) < 32 else c for c in text)


def record_name(table, name, present=None):
    """The name of the table's record that `name` refers to (names compare without case), or the empty
    text when the table has no such record. ezdxf adds a "Standard" dimension style to drawings that
    lack one; `present` (upper-case names found in the file, or None for any) leaves such records out."""
    wanted = name.upper()
    for record in table:
        if record.dxf.name.upper() == wanted and (present is None or wanted in present):
            return record.dxf.name
    return ""


def file_dimension_styles(path):
    """Upper-case names of the DIMSTYLE records of an ASCII drawing; None for a binary one."""
    with open(path, "rb") as stream:
        data = stream.read()
    if data.startswith(b"AutoCAD Binary DXF"):
        return None
    lines = [line.strip() for line in data.decode("latin-1").splitlines()]
    names = set()
    for index in range(0, len(lines) - 3):
        if lines[index] == "0" and lines[index + 1] == "DIMSTYLE":
            for position in range(index + 2, min(index + 40, len(lines) - 1), 2):
                if lines[position] == "0":
                    break
                if lines[position] == "2":
                    names.add(lines[position + 1].upper())
                    break
    return names


def leading_number(text):
    match = LEADING_NUMBER.match(text)
    if not match:
        return 0.0
    number = match.group(1).replace("d", "e").replace("D", "e")
    try:
        return float(number)
    except ValueError:
        return float(re.sub(r"[eE][+-]?\d*$", "", number) or 0)


def angle_rule(start, end):
    """asin(dy / d) when the X step is positive, else pi - asin(dy / d); 0 for coinciding points."""
    dx, dy, dz = end[0] - start[0], end[1] - start[1], end[2] - start[2]
    distance = math.sqrt(dx * dx + dy * dy + dz * dz)
    if distance == 0:
        return 0.0
    angle = math.asin(max(-1.0, min(1.0, dy / distance)))
    return angle if dx > 0 else math.pi - angle


def bulge_segment(start, end, bulge):
    """Length of the segment and the area between its arc and its chord (signed like the bulge)."""
    chord = math.dist(start, end)
    if bulge == 0 or chord == 0:
        return chord, 0.0
    theta = 4 * math.atan(bulge)
    radius = chord / (2 * math.sin(abs(theta) / 2))
    length = radius * abs(theta)
    segment = radius * radius * (abs(theta) - math.sin(abs(theta))) / 2
    return length, math.copysign(segment, bulge)


class Writer:
    def __init__(self, handle):
        self.handle = handle

    def number(self, name, value):
        print(f"{self.handle}\t{name}\tN:{value!r}")

    def text(self, name, value):
        print(f"{self.handle}\t{name}\tT:{value}")

    def point(self, prefix, point):
        for axis, value in zip("XYZ", point):
            self.number(prefix + axis, value)

    def yes_no(self, name, value):
        self.text(name, "是" if value else "否")


def line(entity, out):
    start, end = tuple(entity.dxf.start), tuple(entity.dxf.end)
    middle = tuple((a + b) / 2 for a, b in zip(start, end))
    out.point("起点", start)
    out.point("中点", middle)
    out.point("终点", end)
    for axis, index in zip("XYZ", range(3)):
        out.number(axis + "增量", end[index] - start[index])
    out.number("长度", math.dist(start, end))
    out.number("角度", math.degrees(angle_rule(start, end)))
    out.number("厚度", entity.dxf.thickness)


def circle(entity, out):
    radius = entity.dxf.radius
    out.point("圆心", tuple(entity.dxf.center))
    out.number("半径", radius)
    out.number("直径", 2 * radius)
    out.number("周长", radius * 6.283185307179586)
    out.number("面积", radius * radius * 3.141592653589793)
    out.number("厚度", entity.dxf.thickness)


def arc(entity, out):
    center, radius = entity.dxf.center, entity.dxf.radius
    start, end = entity.dxf.start_angle, entity.dxf.end_angle
    span = math.radians(end) - math.radians(start)
    if span < 0:
        span += 6.283185307179586

    def at(angle):
        return (center[0] + radius * math.cos(angle), center[1] + radius * math.sin(angle), center[2])

    out.point("圆心", tuple(center))
    out.point("起点", at(math.radians(start)))
    # The point at parameter 0.5 rad, where the arc reaches it; else it stays at the origin.
    reaches = math.fmod(0.5 - math.radians(start), 2 * math.pi) % (2 * math.pi) <= span
    out.point("中点", at(0.5) if reaches else (0.0, 0.0, 0.0))
    out.point("终点", at(math.radians(end)))
    out.number("半径", radius)
    out.number("直径", 2 * radius)
    out.number("起点角度", start)
    out.number("终点角度", end)
    out.number("总角度", math.degrees(span))
    out.number("弧长", radius * span)
    out.number("面积", radius * span * radius * 0.5)
    out.number("厚度", entity.dxf.thickness)


def lwpolyline(entity, out):
    points = list(entity.get_points("xyseb"))
    count = len(points)
    out.number("顶点数", count)
    out.number("起点宽度", points[0][2] if points else 0.0)
    out.number("终点宽度", points[-1][3] if points else 0.0)
    out.number("标高", entity.dxf.elevation)
    closed = entity.closed
    segments = count if closed else count - 1
    length = 0.0
    for index in range(max(segments, 0)):
        first, second = points[index], points[(index + 1) % count]
        length += bulge_segment(first[:2], second[:2], first[4])[0]
    area = 0.0
    for index in range(count):
        first, second = points[index], points[(index + 1) % count]
        area += (first[0] * second[1] - second[0] * first[1]) / 2
        area += bulge_segment(first[:2], second[:2], first[4])[1]
    if count > 1:
        out.number("面积", abs(area))
    out.number("长度", length)
    out.number("厚度", entity.dxf.thickness)
    out.yes_no("闭合", closed)
    out.yes_no("无圆弧", all(point[4] == 0 for point in points))


def text(entity, out):
    content = decoded(entity.doc, entity.dxf.text)
    out.point("位置", tuple(entity.dxf.insert))
    if entity.dxf.hasattr("align_point"):
        out.point("对齐", tuple(entity.dxf.align_point))
    out.number("高度", entity.dxf.height)
    out.number("宽高比", entity.dxf.width)
    out.number("倾斜", entity.dxf.oblique)
    out.number("旋转", entity.dxf.rotation)
    out.number("厚度", entity.dxf.thickness)
    out.number("文本数值", leading_number(content))
    out.text("文本样式", record_name(entity.doc.styles, entity.dxf.style))
    horizontal, vertical = entity.dxf.halign, entity.dxf.valign
    items = JUSTIFICATION.get(vertical, [])
    out.text("对正", items[horizontal] if 0 <= horizontal < len(items) else "正中")
    out.text("文本内容", content)
    out.yes_no("倒置", entity.dxf.text_generation_flag & 4)
    out.yes_no("反向", entity.dxf.text_generation_flag & 2)


def mtext(entity, out):
    content = decoded(entity.doc, entity.text)
    out.point("位置", tuple(entity.dxf.insert))
    out.number("文字高度", entity.dxf.char_height)
    out.number("最大宽度", entity.dxf.width)
    out.number("旋转", entity.get_rotation())
    out.number("行距比例", entity.dxf.line_spacing_factor)
    out.number("文本数值", leading_number(content))
    out.text("文本样式", record_name(entity.doc.styles, entity.dxf.style))
    out.text("文本内容", content)
    flow = {1: "水平", 3: "垂直", 5: "随样式"}.get(entity.dxf.flow_direction)
    if flow:
        out.text("方向", flow)
    spacing = {1: "至少", 2: "精确"}.get(entity.dxf.line_spacing_style)
    if spacing:
        out.text("行距样式", spacing)


def insert(entity, out):
    out.point("位置", tuple(entity.dxf.insert))
    out.point("比例", (entity.dxf.xscale, entity.dxf.yscale, entity.dxf.zscale))
    out.number("旋转", entity.dxf.rotation)
    out.text("名称", record_name(entity.doc.block_records, entity.dxf.name))


def point(entity, out):
    out.point("位置", tuple(entity.dxf.location))
    out.number("厚度", entity.dxf.thickness)


def infinite_line(entity, out):
    base = tuple(entity.dxf.start)
    direction = tuple(ezdxf.math.Vec3(entity.dxf.unit_vector).normalize())
    target = tuple(b + d for b, d in zip(base, direction))
    out.point("基点", base)
    out.point("方向点", target)
    out.point("方向矢量", direction)
    out.number("XY角度", math.degrees(angle_rule(base, target)))


def ellipse(entity, out):
    major = ezdxf.math.Vec3(entity.dxf.major_axis)
    minor = entity.minor_axis
    out.point("中心", tuple(entity.dxf.center))
    out.point("起点", tuple(entity.start_point))
    out.point("终点", tuple(entity.end_point))
    out.number("长轴半径", major.magnitude)
    out.number("短轴半径", minor.magnitude)
    out.number("半径比例", entity.dxf.ratio)
    out.point("长轴矢量", tuple(major))
    out.point("短轴矢量", tuple(minor))
    full = abs(entity.dxf.end_param - entity.dxf.start_param - 2 * math.pi) < 1e-12
    if full:
        out.number("面积", math.pi * major.magnitude * minor.magnitude)


def spline(entity, out):
    out.number("控制点数", len(entity.control_points))
    out.number("拟合点数", len(entity.fit_points))
    out.number("阶数", entity.dxf.degree)
    out.yes_no("拟合", len(entity.fit_points) > 0)


def hatch(entity, out):
    types = {0: "用户定义", 1: "预定义", 2: "自定义"}
    out.text("类型", types[entity.dxf.pattern_type])
    out.text("图案名", entity.dxf.pattern_name)
    if not entity.dxf.solid_fill:
        out.number("角度", entity.dxf.pattern_angle)
        out.number("比例", entity.dxf.pattern_scale)
    out.number("标高", entity.dxf.elevation[2])
    out.yes_no("关联", entity.dxf.associative)
    out.text("孤岛检测", {0: "普通", 1: "外部", 2: "忽略"}[entity.dxf.hatch_style])


def dimension(entity, out):
    if entity.dxf.hasattr("actual_measurement"):
        out.number("测量单位", entity.dxf.actual_measurement)
    out.point("文本位置", tuple(entity.dxf.text_midpoint))
    out.text("替换文本", decoded(entity.doc, entity.dxf.text))
    out.text("标注样式", record_name(entity.doc.dimstyles, entity.dxf.dimstyle, DIMENSION_STYLES))


DIMENSION_STYLES = None


def duplicate_handles(data):
    """Whether an ASCII drawing gives two objects the same handle (group 5): readers then renumber one
    of them each in their own way, and handles no longer name the same entity."""
    lines = [line.strip() for line in data.decode("latin-1").splitlines()]
    handles = [lines[index + 1] for index in range(0, len(lines) - 1, 2) if lines[index] == "5"]
    return len(handles) != len(set(handles))

READERS = {
    "LINE": line, "CIRCLE": circle, "ARC": arc, "LWPOLYLINE": lwpolyline, "TEXT": text, "MTEXT": mtext,
    "INSERT": insert, "POINT": point, "RAY": infinite_line, "XLINE": infinite_line, "ELLIPSE": ellipse,
    "SPLINE": spline, "HATCH": hatch, "DIMENSION": dimension,
}


def main():
    try:
        document = ezdxf.readfile(sys.argv[1])
    except Exception as error:  # noqa: BLE001 - any reading failure means: not comparable
        print(f"ezdxf cannot read {sys.argv[1]}: {error}", file=sys.stderr)
        return 3
    with open(sys.argv[1], "rb") as stream:
        data = stream.read()
    handled = document.dxfversion > "AC1009" or b"$HANDLING" in data
    if not handled or document.header.get("$HANDLING", 1) == 0 or duplicate_handles(data):
        print(f"{sys.argv[1]} has no handles to compare by", file=sys.stderr)
        return 3
    global DIMENSION_STYLES
    DIMENSION_STYLES = file_dimension_styles(sys.argv[1])
    print(f"VERSION\t{document.dxfversion}")
    for entity in document.modelspace():
        reader = READERS.get(entity.dxftype())
        # Entities in their own object system are left out: their points are given in different systems.
        extrusion = entity.dxf.get("extrusion", (0, 0, 1)) if entity.dxf.is_supported("extrusion") else (0, 0, 1)
        if reader is None or tuple(extrusion) != (0, 0, 1):
            continue
        reader(entity, Writer(entity.dxf.handle.upper()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
