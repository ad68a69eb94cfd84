// Moving, scaling, rotating and mirroring a HATCH: its boundary paths, pattern lines and seed points stay
// as read groups in the hatch's object system, so the transform rewrites those groups in place.
// Arc angles (groups 50/51 of circular edges) are taken as the directions of the arc's ends; a mirror
// keeps each arc's direction flag and swaps its ends, and negates polyline bulges. Knots, weights and
// the ellipse ratio do not change under the similarity transforms a hatch accepts.
#include "cad/db/other_entities.h"
#include "cad/db/shared_geometry.h"
#include "cad/ge/ocs.h"
#include "platform/angle_units.h"

#include <cmath>

namespace {

using platform::kDegreesPerRadian;

class HatchMapping {
public:
    HatchMapping(const AcGeMatrix3d& transform, const AcGeVector3d& normal, double elevation)
        : m_transform(transform), m_oldNormal(normal), m_elevation(elevation) {
        m_newNormal = (transform * normal).normal();
        const cad::ge::OcsAxes axes = cad::ge::ocsAxes(normal);
        m_mirrored =
            (transform * axes.xAxis).crossProduct(transform * axes.yAxis).dotProduct(m_newNormal) < 0.0;
        m_newElevation = point(0.0, 0.0).z;
    }

    AcGePoint3d point(double x, double y) const {
        const AcGePoint3d world = cad::ge::ocsToWcs(AcGePoint3d(x, y, m_elevation), m_oldNormal);
        return cad::ge::wcsToOcs(m_transform * world, m_newNormal);
    }
    AcGeVector3d vector(double x, double y) const {
        const AcGeVector3d world = cad::ge::ocsToWcs(AcGeVector3d(x, y, 0.0), m_oldNormal);
        return cad::ge::wcsToOcs(m_transform * world, m_newNormal);
    }
    double angle(double radians) const {
        const AcGeVector3d direction = vector(std::cos(radians), std::sin(radians));
        return cad::db::normalizedAngle(std::atan2(direction.y, direction.x));
    }
    bool mirrored() const { return m_mirrored; }
    AcGeVector3d newNormal() const { return m_newNormal; }
    double newElevation() const { return m_newElevation; }

private:
    AcGeMatrix3d m_transform;
    AcGeVector3d m_oldNormal;
    AcGeVector3d m_newNormal;
    double m_elevation;
    double m_newElevation = 0.0;
    bool m_mirrored = false;
};

enum class Section { Other, PolylinePath, EdgePath, Pattern, Seeds };

class HatchTagRewriter {
public:
    HatchTagRewriter(std::vector<cad::dxf::OwnedTag>& tags, const HatchMapping& mapping, double scale)
        : m_tags(tags), m_mapping(mapping), m_scale(scale) {}

    void rewrite() {
        for (std::size_t index = 0; index < m_tags.size(); ++index) {
            cad::dxf::OwnedTag& tag = m_tags[index];
            if (tag.code >= 1000) {
                break; // extended data follows the hatch's own groups
            }
            switch (tag.code) {
            case 92:
                m_section = (tag.integer & 2) != 0 ? Section::PolylinePath : Section::EdgePath;
                break;
            case 72:
                if (m_section == Section::EdgePath) {
                    m_edgeType = tag.integer;
                }
                break;
            case 78:
                m_section = Section::Pattern;
                break;
            case 98:
                m_section = Section::Seeds;
                break;
            case 10:
            case 11:
            case 12:
            case 13:
                rewritePair(index);
                break;
            case 40:
                if (m_section == Section::EdgePath && m_edgeType == 2) {
                    tag.real *= m_scale;
                }
                break;
            case 42:
                if (m_section == Section::PolylinePath && m_mapping.mirrored()) {
                    tag.real = -tag.real;
                }
                break;
            case 50:
                if (m_section == Section::EdgePath && index + 1 < m_tags.size() &&
                    m_tags[index + 1].code == 51) {
                    rewriteEnds(tag, m_tags[index + 1]);
                }
                break;
            case 53:
                tag.real = m_mapping.angle(tag.real / kDegreesPerRadian) * kDegreesPerRadian;
                break;
            case 43:
            case 45:
                rewritePair(index);
                break;
            case 49:
                tag.real *= m_scale;
                break;
            case 460:
                tag.real = m_mapping.angle(tag.real);
                break;
            default:
                break;
            }
        }
    }

private:
    // X at `index`, Y in the group 10 (or, for pattern lines, 1) above it right after.
    void rewritePair(std::size_t index) {
        cad::dxf::OwnedTag& first = m_tags[index];
        const int yCode = first.code >= 43 ? first.code + 1 : first.code + 10;
        if (index + 1 >= m_tags.size() || m_tags[index + 1].code != yCode) {
            return;
        }
        cad::dxf::OwnedTag& second = m_tags[index + 1];
        const bool isVector = first.code == 45 || first.code == 12 || first.code == 13 ||
                              (first.code == 11 && m_section == Section::EdgePath && m_edgeType == 3);
        if (isVector) {
            const AcGeVector3d mapped = m_mapping.vector(first.real, second.real);
            first.real = mapped.x;
            second.real = mapped.y;
        } else {
            const AcGePoint3d mapped = m_mapping.point(first.real, second.real);
            first.real = mapped.x;
            second.real = mapped.y;
        }
    }

    // Circular edges store the directions of their ends; elliptical edges parameters, which a rotation
    // keeps and a mirror negates (the minor axis turns round).
    void rewriteEnds(cad::dxf::OwnedTag& start, cad::dxf::OwnedTag& end) {
        double first = start.real / kDegreesPerRadian;
        double second = end.real / kDegreesPerRadian;
        if (m_edgeType == 2) {
            first = m_mapping.angle(first);
            second = m_mapping.angle(second);
        } else if (m_edgeType == 3 && m_mapping.mirrored()) {
            first = cad::db::normalizedAngle(-first);
            second = cad::db::normalizedAngle(-second);
        } else {
            return;
        }
        if (m_mapping.mirrored()) {
            std::swap(first, second);
        }
        start.real = first * kDegreesPerRadian;
        end.real = second * kDegreesPerRadian;
    }

    std::vector<cad::dxf::OwnedTag>& m_tags;
    const HatchMapping& m_mapping;
    double m_scale;
    Section m_section = Section::Other;
    std::int64_t m_edgeType = 0;
};

} // namespace

// Only transforms that keep shapes similar: a hatch's arcs and pattern cannot be stretched.
Acad::ErrorStatus AcDbHatch::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const double scale = cad::db::similarityScale(transform);
    if (scale <= 0.0) {
        return Acad::eNotApplicable;
    }
    const HatchMapping mapping(transform, m_normal, m_elevationPoint.z);
    std::vector<cad::dxf::OwnedTag> tags = extraTags();
    HatchTagRewriter(tags, mapping, scale).rewrite();
    replaceExtraTags(std::move(tags));
    m_patternAngleDegrees = mapping.angle(patternAngle()) * kDegreesPerRadian;
    m_patternScaleOrSpace *= scale;
    m_normal = mapping.newNormal();
    m_elevationPoint = AcGePoint3d(0.0, 0.0, mapping.newElevation());
    return Acad::eOk;
}
