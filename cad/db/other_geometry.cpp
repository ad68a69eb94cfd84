// Geometry of POINT, HATCH, REGION, MLINE, IMAGE, WIPEOUT and VIEWPORT. Hatches are measured by their
// boundary paths (lines, arcs, elliptic arcs, splines and bulged polyline paths in the hatch's object
// system); their transform lives in hatch_transform.cpp. Region bodies stay as read ACIS data, so a
// region cannot be transformed.
#include "cad/db/curve_geometry.h"
#include "cad/db/dictionary.h"
#include "cad/db/other_entities.h"
#include "cad/db/shared_geometry.h"
#include "cad/ge/ocs.h"
#include "platform/angle_units.h"

#include <algorithm>
#include <cmath>

namespace {

using platform::kDegreesPerRadian;

// Walks the boundary groups of a hatch and grows `box` by every edge, in world coordinates.
class HatchBoundaryBox {
public:
    HatchBoundaryBox(const std::vector<cad::dxf::OwnedTag>& tags, double elevation,
                     const AcGeVector3d& normal)
        : m_tags(tags), m_elevation(elevation), m_normal(normal) {}

    cad::ge::ExtentsResult measure() {
        const int paths = static_cast<int>(integerAfter(91));
        for (int path = 0; path < paths && m_index < m_tags.size(); ++path) {
            readPath();
        }
        return m_any ? cad::ge::ExtentsResult::finite(m_box) : cad::ge::ExtentsResult::empty();
    }

private:
    // Moves to the next group with `code` and returns it; past the end when there is none.
    const cad::dxf::OwnedTag* next(int code) {
        while (m_index < m_tags.size()) {
            const cad::dxf::OwnedTag& tag = m_tags[m_index++];
            if (tag.code == code) {
                return &tag;
            }
        }
        return nullptr;
    }
    std::int64_t integerAfter(int code) {
        const cad::dxf::OwnedTag* tag = next(code);
        return tag != nullptr ? tag->integer : 0;
    }
    double realAfter(int code) {
        const cad::dxf::OwnedTag* tag = next(code);
        return tag != nullptr ? tag->real : 0.0;
    }
    // The next group only when it carries `code` (optional groups).
    const cad::dxf::OwnedTag* optional(int code) {
        if (m_index < m_tags.size() && m_tags[m_index].code == code) {
            return &m_tags[m_index++];
        }
        return nullptr;
    }
    AcGePoint3d world(double x, double y) const {
        return cad::ge::ocsToWcs(AcGePoint3d(x, y, m_elevation), m_normal);
    }
    AcGePoint2d point(int xCode) {
        const double x = realAfter(xCode);
        const double y = realAfter(xCode + 10);
        return {x, y};
    }

    void readPath() {
        const std::int64_t flags = integerAfter(92);
        if ((flags & 2) != 0) {
            cad::ge::BulgePolyline polyline;
            const bool hasBulge = integerAfter(72) != 0;
            polyline.closed = integerAfter(73) != 0;
            const std::int64_t count = integerAfter(93);
            for (std::int64_t vertex = 0; vertex < count && m_index < m_tags.size(); ++vertex) {
                const AcGePoint2d location = point(10);
                const cad::dxf::OwnedTag* bulge = hasBulge ? optional(42) : nullptr;
                polyline.vertices.push_back({location, bulge != nullptr ? bulge->real : 0.0});
            }
            polyline.elevation = m_elevation;
            polyline.normal = m_normal;
            addResult(cad::ge::extents(polyline));
            return;
        }
        const std::int64_t edges = integerAfter(93);
        for (std::int64_t edge = 0; edge < edges && m_index < m_tags.size(); ++edge) {
            readEdge(integerAfter(72));
        }
    }

    void readEdge(std::int64_t type) {
        if (type == 1) {
            const AcGePoint2d start = point(10);
            const AcGePoint2d end = point(11);
            addPoint(world(start.x, start.y));
            addPoint(world(end.x, end.y));
        } else if (type == 2 || type == 3) {
            const AcGePoint2d center = point(10);
            const AcGePoint2d major = type == 3 ? point(11) : AcGePoint2d(0.0, 0.0);
            const double radiusOrRatio = realAfter(40);
            double start = realAfter(50) / kDegreesPerRadian;
            double end = realAfter(51) / kDegreesPerRadian;
            // Clockwise edges store their angles mirrored.
            if (integerAfter(73) == 0) {
                const double swap = start;
                start = -end;
                end = -swap;
            }
            cad::ge::EllipseArc ellipse;
            ellipse.center = world(center.x, center.y);
            ellipse.normal = m_normal;
            if (type == 2) {
                ellipse.majorAxis = cad::ge::ocsToWcs(AcGeVector3d(radiusOrRatio, 0.0, 0.0), m_normal);
                ellipse.radiusRatio = 1.0;
            } else {
                ellipse.majorAxis = cad::ge::ocsToWcs(AcGeVector3d(major.x, major.y, 0.0), m_normal);
                ellipse.radiusRatio = radiusOrRatio;
            }
            const bool full = std::fabs(end - start) >= cad::db::kFullTurn - 1e-12;
            ellipse.startParam =
                full ? 0.0 : (type == 3 ? cad::ge::parameterFromAngle(radiusOrRatio, start) : start);
            ellipse.endParam = full ? cad::db::kFullTurn
                                    : (type == 3 ? cad::ge::parameterFromAngle(radiusOrRatio, end) : end);
            if (ellipse.majorAxis.isZeroLength()) {
                addPoint(ellipse.center);
            } else {
                m_box.addExt(cad::ge::extents(ellipse)), m_any = true;
            }
        } else if (type == 4) {
            cad::ge::NurbsCurve spline;
            spline.degree = static_cast<int>(integerAfter(94));
            const bool rational = integerAfter(73) != 0;
            integerAfter(74);
            const std::int64_t knots = integerAfter(95);
            const std::int64_t controls = integerAfter(96);
            for (std::int64_t knot = 0; knot < knots && m_index < m_tags.size(); ++knot) {
                spline.knots.push_back(realAfter(40));
            }
            for (std::int64_t control = 0; control < controls && m_index < m_tags.size(); ++control) {
                const AcGePoint2d location = point(10);
                spline.controlPoints.push_back(world(location.x, location.y));
                if (rational) {
                    const cad::dxf::OwnedTag* weight = optional(42);
                    spline.weights.push_back(weight != nullptr ? weight->real : 1.0);
                }
            }
            if (const cad::dxf::OwnedTag* fits = optional(97)) {
                for (std::int64_t fit = 0; fit < fits->integer && m_index < m_tags.size(); ++fit) {
                    const AcGePoint2d location = point(11);
                    if (spline.controlPoints.empty()) {
                        spline.fitPoints.push_back(world(location.x, location.y));
                    }
                }
            }
            addResult(cad::ge::extents(spline));
        }
    }

    void addPoint(const AcGePoint3d& point) {
        m_box.addPoint(point);
        m_any = true;
    }
    void addResult(const cad::ge::ExtentsResult& result) {
        if (result.isFinite()) {
            m_box.addExt(result.box);
            m_any = true;
        }
    }

    const std::vector<cad::dxf::OwnedTag>& m_tags;
    double m_elevation;
    AcGeVector3d m_normal;
    std::size_t m_index = 0;
    AcDbExtents m_box;
    bool m_any = false;
};

} // namespace

// ---- POINT ----

Acad::ErrorStatus AcDbPoint::getGeomExtents(AcDbExtents& extents) const {
    extents = AcDbExtents(m_position, m_position);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_position = transform * m_position;
    const AcGeVector3d normal = transform * m_normal;
    if (!normal.isZeroLength()) {
        m_normal = normal.normal();
    }
    const double scale = cad::db::similarityScale(transform);
    m_thickness *= scale > 0.0 ? scale : 1.0;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbPoint::isPlanar() const {
    return true;
}

// ---- HATCH ----

Acad::ErrorStatus AcDbHatch::getGeomExtents(AcDbExtents& extents) const {
    const std::vector<cad::dxf::OwnedTag> tags = boundaryTags();
    return cad::db::reportExtents(HatchBoundaryBox(tags, m_elevationPoint.z, m_normal).measure(), extents);
}
// Pattern lines are not generated, so there is nothing to explode into.
Acad::ErrorStatus AcDbHatch::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbHatch::isPlanar() const {
    return true;
}

// ---- REGION ----

Acad::ErrorStatus AcDbRegion::transformBy(const AcGeMatrix3d&) {
    return Acad::eNotApplicable;
}
bool AcDbRegion::isPlanar() const {
    return true;
}

// ---- MLINE ----

namespace {

// The element offsets of a multiline style (group 49, one per element, as MLINESTYLE lists them).
std::vector<double> elementOffsets(const AcDbDatabase& database, const AcDbMline& mline) {
    std::vector<double> offsets;
    const AcDbObject* style = database.peekObject(mline.style());
    if (style == nullptr) {
        const auto* dictionary = AcDbDictionary::cast(database.peekObject(database.mLStyleDictionaryId()));
        AcDbObjectId id;
        if (dictionary != nullptr && dictionary->getAt(mline.styleName().c_str(), id) == Acad::eOk) {
            style = database.peekObject(id);
        }
    }
    if (AcDbMlineStyle::cast(style) == nullptr) {
        return offsets;
    }
    for (const cad::dxf::OwnedTag& tag : style->extraTags()) {
        if (tag.code == 49) {
            offsets.push_back(tag.view().isDouble() ? tag.real : static_cast<double>(tag.integer));
        }
    }
    return offsets;
}

} // namespace

// Every element line of the multiline: each element lies at its style offset from the reference line,
// moved by the justification (top puts the largest offset on the reference line, bottom the smallest)
// and multiplied by the scale; at a vertex it meets the miter, so the point is found along the miter
// direction at the perpendicular distance of the element. Without its style (a multiline copied out of
// its drawing) only the reference line is measured.
Acad::ErrorStatus AcDbMline::getGeomExtents(AcDbExtents& extents) const {
    if (m_vertices.empty()) {
        return Acad::eInvalidExtents;
    }
    std::vector<double> offsets;
    if (const AcDbDatabase* owner = database()) {
        offsets = elementOffsets(*owner, *this);
    }
    if (offsets.empty()) {
        offsets.push_back(0.0);
    }
    double shift = 0.0;
    if (m_justification == kTop) {
        shift = *std::max_element(offsets.begin(), offsets.end());
    } else if (m_justification == kBottom) {
        shift = *std::min_element(offsets.begin(), offsets.end());
    }
    AcDbExtents box;
    for (const Vertex& vertex : m_vertices) {
        const AcGeVector3d across = m_normal.crossProduct(vertex.direction);
        const double lean = vertex.miter.dotProduct(across);
        for (const double offset : offsets) {
            const double distance = (offset - shift) * m_scale;
            if (std::fabs(lean) > 1e-9) {
                box.addPoint(vertex.position + vertex.miter * (distance / lean));
            } else {
                box.addPoint(vertex.position + across * distance);
            }
        }
    }
    extents = box;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMline::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const double scale = cad::db::similarityScale(transform);
    if (scale <= 0.0) {
        return Acad::eNotApplicable;
    }
    for (Vertex& vertex : m_vertices) {
        vertex.position = transform * vertex.position;
        vertex.direction = transform * vertex.direction / scale;
        vertex.miter = transform * vertex.miter / scale;
    }
    m_start = transform * m_start;
    m_normal = (transform * m_normal).normal();
    m_scale *= scale;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMline::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbMline::isPlanar() const {
    return true;
}

// ---- IMAGE and WIPEOUT ----

// The frame of the whole image; a clip boundary lies inside it.
// A clipped image (and a wipeout, always clipped) shows only what lies inside its clip boundary. The
// boundary is in pixels: pixel centres at whole numbers and rows counted downwards from the top, so the
// whole image spans (-0.5, -0.5) to (columns - 0.5, rows - 0.5). Two vertices are opposite corners of
// a rectangle, more are a polygon.
Acad::ErrorStatus AcDbRasterImage::getGeomExtents(AcDbExtents& extents) const {
    AcDbExtents box;
    if (isClipped() && m_clipVertices.size() >= 2) {
        const AcGePoint3d topLeftCentre = m_origin + m_u * 0.5 + m_v * (m_size.y - 0.5);
        const auto toWorld = [&](double column, double row) {
            return topLeftCentre + m_u * column - m_v * row;
        };
        if (m_clipVertices.size() == 2) {
            const AcGePoint2d& first = m_clipVertices[0];
            const AcGePoint2d& second = m_clipVertices[1];
            for (const AcGePoint3d& corner : {toWorld(first.x, first.y), toWorld(second.x, first.y),
                                              toWorld(second.x, second.y), toWorld(first.x, second.y)}) {
                box.addPoint(corner);
            }
        } else {
            for (const AcGePoint2d& vertex : m_clipVertices) {
                box.addPoint(toWorld(vertex.x, vertex.y));
            }
        }
    } else {
        AcGePoint3d origin;
        AcGeVector3d width;
        AcGeVector3d height;
        getOrientation(origin, width, height);
        for (const AcGePoint3d& corner : {origin, origin + width, origin + width + height, origin + height}) {
            box.addPoint(corner);
        }
    }
    extents = box;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRasterImage::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_origin = transform * m_origin;
    m_u = transform * m_u;
    m_v = transform * m_v;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRasterImage::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbRasterImage::isPlanar() const {
    return true;
}

// ---- VIEWPORT ----

Acad::ErrorStatus AcDbViewport::getGeomExtents(AcDbExtents& extents) const {
    const AcGeVector3d half(0.5 * m_width, 0.5 * m_height, 0.0);
    extents = AcDbExtents(m_center - half, m_center + half);
    return Acad::eOk;
}
// A viewport's frame stays upright on the sheet: it moves and scales, and turns only by whole
// quarter turns (which swap its width and height).
Acad::ErrorStatus AcDbViewport::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const double scale = cad::db::similarityScale(transform);
    const AcGeVector3d xImage = transform * AcGeVector3d::kXAxis;
    if (scale <= 0.0 || (std::fabs(xImage.x) > 1e-9 * scale && std::fabs(xImage.y) > 1e-9 * scale)) {
        return Acad::eNotApplicable;
    }
    if (std::fabs(xImage.x) <= 1e-9 * scale) {
        std::swap(m_width, m_height);
    }
    m_center = transform * m_center;
    m_width *= scale;
    m_height *= scale;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbViewport::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbViewport::isPlanar() const {
    return true;
}
