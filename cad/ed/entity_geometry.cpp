// Extents and pick distances for selection. Extents come from the entity's geometry where the database
// models it and from its DXF points otherwise; pick distances join LINE and polyline vertices as segments,
// measure circles and arcs to their circumference and everything else to its box.

#include "cad/ed/entity_geometry.h"

#include "cad/ed/entity_subject.h"
#include "cad/ge/extents.h"

#include <algorithm>
#include <cmath>

namespace cad::ed {
namespace {

struct Points {
    std::vector<GroupValue> all;      // every point group, in order
    std::vector<GroupValue> vertices; // group 10 only
    double radius = 0.0;
    bool round = false;
    bool closed = false;
    bool line = false;
};

Points collect(const AcDbDatabase& database, const AcDbEntity& entity) {
    EntitySubject subject(database);
    subject.reset(entity);
    Points points;
    for (int code = 10; code <= 18; ++code) {
        subject.groupValues(code, points.all);
    }
    subject.groupValues(10, points.vertices);
    const std::wstring_view type = subject.dxfName();
    points.round = type == L"CIRCLE" || type == L"ARC";
    points.line = type == L"LINE";
    if (points.round) {
        std::vector<GroupValue> radius;
        subject.groupValues(40, radius);
        points.radius = radius.empty() ? 0.0 : radius.front().real;
    }
    if (type == L"LWPOLYLINE") {
        std::vector<GroupValue> flags;
        subject.groupValues(70, flags);
        points.closed = !flags.empty() && (flags.front().integer & 1) != 0;
    }
    return points;
}

double segmentDistance(const double point[3], const double* start, const double* end) {
    const double dx = end[0] - start[0];
    const double dy = end[1] - start[1];
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0.0;
    if (lengthSquared > 0.0) {
        t = std::clamp(((point[0] - start[0]) * dx + (point[1] - start[1]) * dy) / lengthSquared, 0.0, 1.0);
    }
    return std::hypot(point[0] - (start[0] + t * dx), point[1] - (start[1] + t * dy));
}

} // namespace

std::optional<Box> entityBox(const AcDbDatabase& database, const AcDbEntity& entity) {
    // Modelled kinds know their exact extents (arcs by their sweep, inserts by their block contents);
    // the DXF points remain the measure of kinds the database keeps only as tags.
    AcDbExtents extents;
    if (entity.getGeomExtents(extents) == Acad::eOk) {
        const AcGePoint3d minimum = extents.minPoint();
        const AcGePoint3d maximum = extents.maxPoint();
        return Box{{minimum.x, minimum.y, minimum.z}, {maximum.x, maximum.y, maximum.z}};
    }
    const Points points = collect(database, entity);
    if (points.all.empty()) {
        return std::nullopt;
    }
    Box box;
    for (int axis = 0; axis < 3; ++axis) {
        box.minimum[axis] = points.all.front().point[axis];
        box.maximum[axis] = points.all.front().point[axis];
    }
    const std::vector<GroupValue>& used = points.round ? points.vertices : points.all;
    for (const GroupValue& value : used) {
        for (int axis = 0; axis < 3; ++axis) {
            const double extra = points.round && axis < 2 ? points.radius : 0.0;
            box.minimum[axis] = std::min(box.minimum[axis], value.point[axis] - extra);
            box.maximum[axis] = std::max(box.maximum[axis], value.point[axis] + extra);
        }
    }
    return box;
}

std::optional<double> pickDistance(const AcDbDatabase& database, const AcDbEntity& entity,
                                   const double point[3]) {
    const Points points = collect(database, entity);
    if (points.all.empty()) {
        return std::nullopt;
    }
    if (points.round && !points.vertices.empty()) {
        const double* center = points.vertices.front().point;
        return std::fabs(std::hypot(point[0] - center[0], point[1] - center[1]) - points.radius);
    }
    if (points.line && points.all.size() >= 2) {
        return segmentDistance(point, points.all[0].point, points.all[1].point);
    }
    if (points.vertices.size() >= 2) {
        double best = segmentDistance(point, points.vertices[0].point, points.vertices[1].point);
        for (std::size_t index = 1; index + 1 < points.vertices.size(); ++index) {
            best = std::min(
                best, segmentDistance(point, points.vertices[index].point, points.vertices[index + 1].point));
        }
        if (points.closed) {
            best = std::min(
                best, segmentDistance(point, points.vertices.back().point, points.vertices.front().point));
        }
        return best;
    }
    const std::optional<Box> box = entityBox(database, entity);
    const double dx = std::max({box->minimum[0] - point[0], 0.0, point[0] - box->maximum[0]});
    const double dy = std::max({box->minimum[1] - point[1], 0.0, point[1] - box->maximum[1]});
    return std::hypot(dx, dy);
}

} // namespace cad::ed
