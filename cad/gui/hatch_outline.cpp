// Reading hatch boundary loops and pattern definition lines from their groups: 91 loops, each 92 flags
// (bit 2: polyline) followed by a polyline (72 bulges, 73 closed, 93 vertices of 10/20[/42]) or by 93
// edges of type 72 (1 line, 2 arc, 3 elliptic arc, 4 spline); then 78 pattern lines of 53 angle, 43/44
// base, 45/46 offset, 79 dashes of 49.

#include "cad/gui/hatch_outline.h"

#include "cad/gui/curve_outline.h"

#include <cmath>
#include <numbers>

namespace cad::gui {
namespace {

class TagCursor {
public:
    explicit TagCursor(const std::vector<cad::dxf::OwnedTag>& tags) : m_tags(tags) {}
    bool atEnd() const { return m_index >= m_tags.size(); }
    const cad::dxf::OwnedTag& peek() const { return m_tags[m_index]; }
    // The value of the next group if it has that code (and moves past it), else `fallback`.
    double real(int code, double fallback = 0.0) {
        if (atEnd() || m_tags[m_index].code != code) {
            return fallback;
        }
        const cad::dxf::Tag value = m_tags[m_index++].view();
        return value.isDouble() ? value.real : static_cast<double>(value.integer);
    }
    long long integer(int code, long long fallback = 0) {
        if (atEnd() || m_tags[m_index].code != code) {
            return fallback;
        }
        return m_tags[m_index++].integer;
    }
    // Moves to the next group with that code before any group of `stopCode`; false when there is none.
    bool seek(int code, int stopCode = -1) {
        while (!atEnd()) {
            const int current = m_tags[m_index].code;
            if (current == code) {
                return true;
            }
            if (current == stopCode) {
                return false;
            }
            ++m_index;
        }
        return false;
    }
    void skip() { ++m_index; }
    // An x group and its y group, read in that order.
    QPointF point(int code) {
        const double x = real(code);
        return {x, real(code + 10)};
    }

private:
    const std::vector<cad::dxf::OwnedTag>& m_tags;
    std::size_t m_index = 0;
};

constexpr double kDegrees = std::numbers::pi / 180.0;

void readPolylineLoop(TagCursor& cursor, QPolygonF& loop, double tolerance) {
    const bool hasBulges = cursor.integer(72) != 0;
    const bool closed = cursor.integer(73, 1) != 0;
    const long long count = cursor.integer(93);
    ge::BulgePolyline polyline;
    polyline.closed = closed;
    for (long long index = 0; index < count && !cursor.atEnd(); ++index) {
        if (!cursor.seek(10)) {
            return;
        }
        ge::BulgeVertex vertex;
        vertex.point.x = cursor.real(10);
        vertex.point.y = cursor.real(20);
        if (hasBulges) {
            vertex.bulge = cursor.real(42);
        }
        polyline.vertices.push_back(vertex);
    }
    // Boundaries are always closed regions, whatever flag 73 says.
    polyline.closed = true;
    appendBulgePolyline(loop, polyline, tolerance);
}

// Edge type 2 (circular arc) or 3 (elliptic arc). An arc is an ellipse with equal axes. Clockwise
// edges keep counter-clockwise angles of the edge mirrored about its major axis: sample those and
// mirror the points back.
void readArcEdge(TagCursor& cursor, long long type, QPolygonF& loop, double tolerance) {
    const QPointF center = cursor.point(10);
    QPointF major(1.0, 0.0);
    double ratio = 1.0;
    if (type == 2) {
        major *= cursor.real(40);
    } else {
        major = cursor.point(11);
        ratio = cursor.real(40, 1.0);
    }
    double start = cursor.real(50) * kDegrees;
    double end = cursor.real(51) * kDegrees;
    const bool counterClockwise = cursor.integer(73, 1) != 0;
    if (type == 3) {
        start = ge::parameterFromAngle(ratio, start);
        end = ge::parameterFromAngle(ratio, end);
    }
    double sweep = std::fmod(end - start, 2.0 * std::numbers::pi);
    if (sweep <= 1e-12) {
        sweep += 2.0 * std::numbers::pi;
    }
    const QPointF minor(-major.y() * ratio, major.x() * ratio);
    const double radius = std::hypot(major.x(), major.y());
    const int count = arcSegmentCount(radius, sweep, tolerance);
    for (int index = 0; index <= count; ++index) {
        const double parameter = start + sweep * index / count;
        const double across = counterClockwise ? std::sin(parameter) : -std::sin(parameter);
        const QPointF point = center + major * std::cos(parameter) + minor * across;
        if (loop.isEmpty() || loop.back() != point) {
            loop << point;
        }
    }
}

// Edge type 4: a spline by its knots, control points (with weights when every point has one) and fit
// points.
void readSplineEdge(TagCursor& cursor, QPolygonF& loop, double tolerance) {
    ge::NurbsCurve curve;
    curve.degree = static_cast<int>(cursor.integer(94, 3));
    cursor.integer(73);
    cursor.integer(74);
    const long long knotCount = cursor.integer(95);
    const long long controlCount = cursor.integer(96);
    for (long long index = 0; index < knotCount; ++index) {
        curve.knots.push_back(cursor.real(40));
    }
    for (long long index = 0; index < controlCount; ++index) {
        const double x = cursor.real(10);
        curve.controlPoints.emplace_back(x, cursor.real(20), 0.0);
        if (!cursor.atEnd() && cursor.peek().code == 42) {
            curve.weights.push_back(cursor.real(42));
        }
    }
    if (curve.weights.size() != curve.controlPoints.size()) {
        curve.weights.clear();
    }
    const long long fitCount = cursor.integer(97);
    for (long long index = 0; index < fitCount; ++index) {
        const double x = cursor.real(11);
        curve.fitPoints.emplace_back(x, cursor.real(21), 0.0);
    }
    appendNurbs(loop, curve, tolerance);
}

void readEdge(TagCursor& cursor, QPolygonF& loop, double tolerance) {
    const long long type = cursor.integer(72);
    switch (type) {
    case 1: {
        const QPointF start = cursor.point(10);
        const QPointF end = cursor.point(11);
        if (loop.isEmpty() || loop.back() != start) {
            loop << start;
        }
        loop << end;
        break;
    }
    case 2:
    case 3:
        readArcEdge(cursor, type, loop, tolerance);
        break;
    case 4:
        readSplineEdge(cursor, loop, tolerance);
        break;
    default:
        break;
    }
}

} // namespace

HatchOutline readHatchOutline(const std::vector<cad::dxf::OwnedTag>& tags, double tolerance) {
    HatchOutline outline;
    TagCursor cursor(tags);
    if (!cursor.seek(91)) {
        return outline;
    }
    const long long loopCount = cursor.integer(91);
    for (long long loopIndex = 0; loopIndex < loopCount; ++loopIndex) {
        if (!cursor.seek(92)) {
            break;
        }
        const long long flags = cursor.integer(92);
        QPolygonF loop;
        if ((flags & 2) != 0) {
            readPolylineLoop(cursor, loop, tolerance);
        } else {
            const long long edgeCount = cursor.integer(93);
            for (long long edge = 0; edge < edgeCount && cursor.seek(72); ++edge) {
                readEdge(cursor, loop, tolerance);
            }
        }
        if (loop.size() >= 2) {
            outline.loops.push_back(loop);
        }
        // Skip the source boundary handles up to the next loop.
        if (cursor.seek(97, 92)) {
            const long long handles = cursor.integer(97);
            for (long long index = 0; index < handles && !cursor.atEnd() && cursor.peek().code == 330;
                 ++index) {
                cursor.skip();
            }
        }
    }
    if (!cursor.seek(78)) {
        return outline;
    }
    const long long lineCount = cursor.integer(78);
    for (long long index = 0; index < lineCount && cursor.seek(53); ++index) {
        PatternLine line;
        line.angle = cursor.real(53) * kDegrees;
        const double baseX = cursor.real(43);
        line.base = QPointF(baseX, cursor.real(44));
        const double offsetX = cursor.real(45);
        line.offset = QPointF(offsetX, cursor.real(46));
        const long long dashCount = cursor.integer(79);
        for (long long dash = 0; dash < dashCount; ++dash) {
            line.dashes.push_back(cursor.real(49));
        }
        outline.patternLines.push_back(line);
    }
    return outline;
}

} // namespace cad::gui
