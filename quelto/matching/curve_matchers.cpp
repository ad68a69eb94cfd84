// Matchers of the curve types: LINE, RAY and XLINE, CIRCLE, ARC, ELLIPSE, LWPOLYLINE, 3D POLYLINE and
// SPLINE. Points are converted before derived values (mid points, increments, lengths, the line angle)
// are computed from them, so those follow the user system too.
#include "platform/angle_units.h"
#include "quelto/matching/type_matchers.h"

#include <numbers>

namespace quelto::matching {

namespace {

using platform::kTwoPi;

constexpr EnumerationItem kPolyline3dTypeItems[] = {{L"无", 0}, {L"二次", 1}};
constexpr EnumerationNames kPolyline3dTypes{kPolyline3dTypeItems, 2};

// The curve's start and end points, the origin when the curve has none.
AcGePoint3d startPointOf(const AcDbCurve& curve) {
    AcGePoint3d point;
    curve.getStartPoint(point);
    return point;
}
AcGePoint3d endPointOf(const AcDbCurve& curve) {
    AcGePoint3d point;
    curve.getEndPoint(point);
    return point;
}
double areaOf(const AcDbCurve& curve) {
    double area = 0.0;
    curve.getArea(area);
    return area;
}

// RAY and XLINE are separate host classes with the same values.
template <class Line>
int matchBaseAndDirection(const MatchContext& context, AcDbObjectId id) {
    return matchAs<Line>(id, [&](const Line& ray) {
        const AcGePoint3d base = context.point(ray.basePoint());
        const AcGeVector3d direction = ray.unitDir();
        const AcGePoint3d directionPoint = base + direction;
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, base, value) ||
                pointComponent(row.propertyId, 204, directionPoint, value) ||
                pointComponent(row.propertyId, 207, AcGePoint3d() + direction, value)) {
                return value;
            }
            if (row.propertyId == 210) {
                return RowValue::real(context.angle(engineLineAngle(base, directionPoint)));
            }
            return RowValue::unknown();
        });
    });
}

} // namespace

int matchLine(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbLine>(id, [&](const AcDbLine& line) {
        const AcGePoint3d start = context.point(line.startPoint());
        const AcGePoint3d end = context.point(line.endPoint());
        const double thickness = line.thickness();
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            const AcGePoint3d middle((start.x + end.x) / 2.0, (start.y + end.y) / 2.0,
                                     (start.z + end.z) / 2.0);
            if (pointComponent(row.propertyId, 201, start, value) ||
                pointComponent(row.propertyId, 204, middle, value) ||
                pointComponent(row.propertyId, 207, end, value)) {
                return value;
            }
            switch (row.propertyId) {
            case 210:
                return RowValue::real(end.x - start.x);
            case 211:
                return RowValue::real(end.y - start.y);
            case 212:
                return RowValue::real(end.z - start.z);
            case 213:
                return RowValue::real(start.distanceTo(end));
            case 214:
                return RowValue::real(context.angle(engineLineAngle(start, end)));
            case 215:
                return RowValue::real(thickness);
            default:
                return RowValue::unknown();
            }
        });
    });
}

int matchRay(const MatchContext& context, AcDbObjectId id) {
    return matchBaseAndDirection<AcDbRay>(context, id);
}

int matchXline(const MatchContext& context, AcDbObjectId id) {
    return matchBaseAndDirection<AcDbXline>(context, id);
}

int matchCircle(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbCircle>(id, [&](const AcDbCircle& circle) {
        const AcGePoint3d center = context.point(circle.center());
        const double radius = circle.radius();
        const double thickness = circle.thickness();
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, center, value)) {
                return value;
            }
            switch (row.propertyId) {
            case 204:
                return RowValue::real(radius);
            case 205:
                return RowValue::real(2.0 * radius);
            case 206:
                return RowValue::real(radius * kTwoPi);
            case 207:
                return RowValue::real(radius * radius * std::numbers::pi);
            case 208:
                return RowValue::real(thickness);
            default:
                return RowValue::unknown();
            }
        });
    });
}

int matchArc(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbArc>(id, [&](const AcDbArc& arc) {
        const AcGePoint3d center = context.point(arc.center());
        const AcGePoint3d start = context.point(startPointOf(arc));
        // Parameter 0.5 is an angle of the arc's own system, not its middle; outside the arc the point
        // stays at the origin.
        AcGePoint3d atHalf;
        arc.getPointAtParam(0.5, atHalf);
        atHalf = context.point(atHalf);
        const AcGePoint3d end = context.point(endPointOf(arc));
        const double radius = arc.radius();
        const double startAngle = arc.startAngle();
        const double endAngle = arc.endAngle();
        double totalAngle = endAngle - startAngle;
        if (startAngle > endAngle) {
            totalAngle += kTwoPi;
        }
        const double thickness = arc.thickness();
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, center, value) ||
                pointComponent(row.propertyId, 204, start, value) ||
                pointComponent(row.propertyId, 207, atHalf, value) ||
                pointComponent(row.propertyId, 210, end, value)) {
                return value;
            }
            switch (row.propertyId) {
            case 213:
                return RowValue::real(radius);
            case 214:
                return RowValue::real(2.0 * radius);
            case 215:
                return RowValue::real(context.angle(startAngle));
            case 216:
                return RowValue::real(context.angle(endAngle));
            case 217:
                return RowValue::real(context.angle(totalAngle));
            case 218:
                return RowValue::real(radius * totalAngle);
            case 219:
                return RowValue::real(radius * totalAngle * radius * 0.5);
            case 220:
                return RowValue::real(thickness);
            default:
                return RowValue::unknown();
            }
        });
    });
}

int matchEllipse(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbEllipse>(id, [&](const AcDbEllipse& ellipse) {
        const AcGePoint3d start = context.point(startPointOf(ellipse));
        const AcGePoint3d center = context.point(ellipse.center());
        const AcGePoint3d end = context.point(endPointOf(ellipse));
        const AcGeVector3d major = ellipse.majorAxis();
        const AcGeVector3d minor = ellipse.minorAxis();
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, start, value) ||
                pointComponent(row.propertyId, 204, center, value) ||
                pointComponent(row.propertyId, 207, end, value) ||
                pointComponent(row.propertyId, 215, AcGePoint3d() + major, value) ||
                pointComponent(row.propertyId, 218, AcGePoint3d() + minor, value)) {
                return value;
            }
            switch (row.propertyId) {
            case 210:
                return RowValue::real(major.length());
            case 211:
                return RowValue::real(minor.length());
            case 212:
                return RowValue::real(ellipse.radiusRatio());
            case 213:
                return RowValue::real(context.angle(ellipse.startAngle()));
            case 214:
                return RowValue::real(context.angle(ellipse.endAngle()));
            case 221:
                return RowValue::real(areaOf(ellipse));
            default:
                return RowValue::unknown();
            }
        });
    });
}

int matchLightweightPolyline(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbPolyline>(id, [&](const AcDbPolyline& polyline) {
        const unsigned int vertexCount = polyline.numVerts();
        double startWidth = 0.0;
        double endWidth = 0.0;
        if (vertexCount > 0) {
            double ignored = 0.0;
            polyline.getWidthsAt(0, startWidth, ignored);
            polyline.getWidthsAt(vertexCount - 1, ignored, endWidth);
        }
        return context.rows.evaluate([&](const PropertyRow& row) {
            switch (row.propertyId) {
            case 101:
                return RowValue::integer(static_cast<int>(vertexCount));
            case 201:
                return RowValue::real(startWidth);
            case 202:
                return RowValue::real(endWidth);
            case 203: {
                double width = 0.0;
                polyline.getConstantWidth(width);
                return RowValue::real(width);
            }
            case 204:
                return RowValue::real(polyline.elevation());
            case 205:
                return RowValue::real(areaOf(polyline));
            case 206: {
                double endParameter = 0.0;
                double length = 0.0;
                polyline.getEndParam(endParameter);
                polyline.getDistAtParam(endParameter, length);
                return RowValue::real(length);
            }
            case 207:
                return RowValue::real(polyline.thickness());
            case 401:
                return RowValue::yesNo(polyline.isClosed());
            case 402:
                return RowValue::yesNo(polyline.isOnlyLines());
            default:
                return RowValue::unknown();
            }
        });
    });
}

int matchPolyline3d(const MatchContext& context, AcDbObjectId id) {
    return evaluateAs<AcDb3dPolyline>(context, id, [&](const AcDb3dPolyline& polyline, int propertyId) {
        switch (propertyId) {
        case 401:
            return RowValue::enumeration(static_cast<int>(polyline.polyType()), kPolyline3dTypes);
        case 402:
            return RowValue::yesNo(polyline.isClosed());
        default:
            return RowValue::unknown();
        }
    });
}

int matchSpline(const MatchContext& context, AcDbObjectId id) {
    return evaluateAs<AcDbSpline>(context, id, [&](const AcDbSpline& spline, int propertyId) {
        switch (propertyId) {
        case 101:
            return RowValue::integer(spline.numControlPoints());
        case 102:
            return RowValue::integer(spline.numFitPoints());
        case 103:
            return RowValue::integer(spline.degree());
        case 201:
            return RowValue::real(spline.fitTolerance());
        case 202:
            return RowValue::real(areaOf(spline));
        case 401:
            return RowValue::yesNo(spline.isClosed());
        case 402:
            return RowValue::yesNo(spline.isPlanar());
        case 403:
            return RowValue::yesNo(spline.hasFitData());
        default:
            return RowValue::unknown();
        }
    });
}

} // namespace quelto::matching
