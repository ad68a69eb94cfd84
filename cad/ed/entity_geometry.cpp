// Extents and pick distances for selection. Extents come from the entity's geometry where the database
// models it and from its DXF points otherwise; pick distances join LINE and polyline vertices as segments,
// measure circles and arcs to their circumference and everything else to its box.

#include "cad/ed/entity_geometry.h"

#include "cad/db/symbol_tables.h"
#include "cad/ed/entity_subject.h"
#include "cad/ed/resbuf.h"
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

double segmentDistance(const AcGePoint3d& point, const double* start, const double* end) {
    const double dx = end[0] - start[0];
    const double dy = end[1] - start[1];
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0.0;
    if (lengthSquared > 0.0) {
        t = std::clamp(((point.x - start[0]) * dx + (point.y - start[1]) * dy) / lengthSquared, 0.0, 1.0);
    }
    return std::hypot(point.x - (start[0] + t * dx), point.y - (start[1] + t * dy));
}

} // namespace

std::optional<AcDbExtents> entityBox(const AcDbDatabase& database, const AcDbEntity& entity) {
    // Modelled kinds know their exact extents (arcs by their sweep, inserts by their block contents);
    // the DXF points remain the measure of kinds the database keeps only as tags.
    AcDbExtents extents;
    if (entity.getGeomExtents(extents) == Acad::eOk) {
        return extents;
    }
    const Points points = collect(database, entity);
    if (points.all.empty()) {
        return std::nullopt;
    }
    AcDbExtents box;
    box.addPoint(asPnt3d(points.all.front().point));
    const std::vector<GroupValue>& used = points.round ? points.vertices : points.all;
    const AcGeVector3d extra(points.round ? points.radius : 0.0, points.round ? points.radius : 0.0, 0.0);
    for (const GroupValue& value : used) {
        box.addPoint(asPnt3d(value.point) - extra);
        box.addPoint(asPnt3d(value.point) + extra);
    }
    return box;
}

std::optional<AcDbExtents> spaceExtents(const AcDbDatabase& database, AcDbObjectId space) {
    const auto* record = AcDbBlockTableRecord::cast(database.peekObject(space));
    if (record == nullptr) {
        return std::nullopt;
    }
    std::optional<AcDbExtents> extents;
    for (const AcDbObjectId& id : record->entityIds()) {
        const AcDbEntity* entity = id.isErased() ? nullptr : AcDbEntity::cast(database.peekObject(id));
        const std::optional<AcDbExtents> box =
            entity != nullptr ? entityBox(database, *entity) : std::nullopt;
        if (box) {
            if (!extents) {
                extents.emplace();
            }
            extents->addExt(*box);
        }
    }
    return extents;
}

std::optional<double> pickDistance(const AcDbDatabase& database, const AcDbEntity& entity,
                                   const AcGePoint3d& point) {
    const Points points = collect(database, entity);
    if (points.all.empty()) {
        return std::nullopt;
    }
    if (points.round && !points.vertices.empty()) {
        const double* center = points.vertices.front().point;
        return std::fabs(std::hypot(point.x - center[0], point.y - center[1]) - points.radius);
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
    const std::optional<AcDbExtents> box = entityBox(database, entity);
    const AcGePoint3d minimum = box->minPoint();
    const AcGePoint3d maximum = box->maxPoint();
    const double dx = std::max({minimum.x - point.x, 0.0, point.x - maximum.x});
    const double dy = std::max({minimum.y - point.y, 0.0, point.y - maximum.y});
    return std::hypot(dx, dy);
}

} // namespace cad::ed
