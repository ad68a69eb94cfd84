// The readers of the point and curve kinds: POINT, ARC, CIRCLE, LINE, LWPOLYLINE, ELLIPSE, RAY, XLINE,
// 3D POLYLINE and SPLINE. Values follow the host's accessors and generic curve queries; a query the
// host cannot answer leaves its value at 0 (points at the origin).

#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "platform/angle_units.h"
#include "quelto/actions/tav_geom.h"
#include "quelto/catalogue/info_map_list.h"
#include "quelto/catalogue/property_writer.h"

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
using platform::kTwoPi;

// Base point, direction point and direction of a ray or construction line, and the direction's angle
// by the line rule, taken in the world.
template <class T>
void readInfiniteLine(CInfoMapList& catalogue, const AcDbEntity& entity, const wchar_t* dxfName) {
    EntityInfo* info = nullptr;
    const T* line = ReaderTarget<T>(catalogue, entity, dxfName, info);
    if (line == nullptr) {
        return;
    }
    const AcGePoint3d base = line->basePoint();
    const AcGePoint3d directionPoint = base + line->unitDir();
    PropertyWriter write(*info, catalogue);
    write.point(base);
    write.point(directionPoint);
    write.vector(line->unitDir());
    write.angle(CTAVGeom::GetAngle(base, directionPoint));
}

} // namespace

void CInfoMapList::ReadPoint(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbPoint* point = ReaderTarget<AcDbPoint>(*this, entity, L"POINT", info);
    if (point == nullptr) {
        return;
    }
    PropertyWriter write(*info, *this);
    write.point(point->position());
    write.real(point->thickness());
}

void CInfoMapList::ReadArc(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbArc* arc = ReaderTarget<AcDbArc>(*this, entity, L"ARC", info);
    if (arc == nullptr) {
        return;
    }
    AcGePoint3d start;
    AcGePoint3d middle;
    AcGePoint3d end;
    arc->getStartPoint(start);
    // Parameter 0.5 itself, as the host's query takes it: the point at 0.5 rad of the arc's own system.
    arc->getPointAtParam(0.5, middle);
    arc->getEndPoint(end);
    const double radius = arc->radius();
    double span = arc->endAngle() - arc->startAngle();
    if (span < 0.0) {
        span += kTwoPi;
    }
    PropertyWriter write(*info, *this);
    write.point(arc->center());
    write.point(start);
    write.point(middle);
    write.point(end);
    write.real(radius);
    write.real(2.0 * radius);
    write.angle(arc->startAngle());
    write.angle(arc->endAngle());
    write.angle(span);
    write.real(radius * span);
    write.real(radius * span * radius * 0.5);
    write.real(arc->thickness());
}

void CInfoMapList::ReadCircle(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbCircle* circle = ReaderTarget<AcDbCircle>(*this, entity, L"CIRCLE", info);
    if (circle == nullptr) {
        return;
    }
    const double radius = circle->radius();
    PropertyWriter write(*info, *this);
    write.point(circle->center());
    write.real(radius);
    write.real(2.0 * radius);
    write.real(radius * kTwoPi);
    write.real(radius * radius * kPi);
    write.real(circle->thickness());
}

void CInfoMapList::ReadLine(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbLine* line = ReaderTarget<AcDbLine>(*this, entity, L"LINE", info);
    if (line == nullptr) {
        return;
    }
    PropertyWriter write(*info, *this);
    // The angle is taken between the world points; everything else between the converted ones.
    const double angle = CTAVGeom::GetAngle(line->startPoint(), line->endPoint());
    const AcGePoint3d start = write.userPoint(line->startPoint());
    const AcGePoint3d end = write.userPoint(line->endPoint());
    const AcGePoint3d middle = write.userPoint(CTAVGeom::GetMidPoint(line->startPoint(), line->endPoint()));
    write.worldPoint(start);
    write.worldPoint(middle);
    write.worldPoint(end);
    write.real(end.x - start.x);
    write.real(end.y - start.y);
    write.real(end.z - start.z);
    write.real(start.distanceTo(end));
    write.angle(angle);
    write.real(line->thickness());
}

void CInfoMapList::ReadLwPolyline(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbPolyline* polyline = ReaderTarget<AcDbPolyline>(*this, entity, L"LWPOLYLINE", info);
    if (polyline == nullptr) {
        return;
    }
    const unsigned int count = polyline->numVerts();
    double startWidth = 0.0;
    double endWidth = 0.0;
    double ignored = 0.0;
    if (count > 0) {
        polyline->getWidthsAt(0, startWidth, ignored);
        polyline->getWidthsAt(count - 1, ignored, endWidth);
    }
    double constantWidth = 0.0;
    polyline->getConstantWidth(constantWidth);
    double area = 0.0;
    polyline->getArea(area);
    double endParameter = 0.0;
    double length = 0.0;
    if (polyline->getEndParam(endParameter) == Acad::eOk) {
        polyline->getDistAtParam(endParameter, length);
    }
    PropertyWriter write(*info, *this);
    write.integer(static_cast<int>(count));
    write.real(startWidth);
    write.real(endWidth);
    write.real(constantWidth);
    write.real(polyline->elevation());
    write.real(area);
    write.real(length);
    write.real(polyline->thickness());
    write.yesNo(polyline->isClosed());
    write.yesNo(polyline->isOnlyLines());
}

void CInfoMapList::ReadEllipse(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbEllipse* ellipse = ReaderTarget<AcDbEllipse>(*this, entity, L"ELLIPSE", info);
    if (ellipse == nullptr) {
        return;
    }
    AcGePoint3d start;
    AcGePoint3d end;
    ellipse->getStartPoint(start);
    ellipse->getEndPoint(end);
    double area = 0.0;
    ellipse->getArea(area);
    PropertyWriter write(*info, *this);
    write.point(start);
    write.point(ellipse->center());
    write.point(end);
    write.real(ellipse->majorAxis().length());
    write.real(ellipse->minorAxis().length());
    write.real(ellipse->radiusRatio());
    write.angle(ellipse->startAngle());
    write.angle(ellipse->endAngle());
    write.vector(ellipse->majorAxis());
    write.vector(ellipse->minorAxis());
    write.real(area);
}

void CInfoMapList::ReadRay(const AcDbEntity& entity) {
    readInfiniteLine<AcDbRay>(*this, entity, L"RAY");
}

void CInfoMapList::ReadXline(const AcDbEntity& entity) {
    readInfiniteLine<AcDbXline>(*this, entity, L"XLINE");
}

void CInfoMapList::ReadPolyline(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDb3dPolyline* polyline = ReaderTarget<AcDb3dPolyline>(*this, entity, L"POLYLINE", info);
    if (polyline == nullptr) {
        return;
    }
    PropertyWriter write(*info, *this);
    switch (polyline->polyType()) {
    case AcDb::k3dSimplePoly:
        write.text(L"无");
        break;
    case AcDb::k3dQuadSplinePoly:
        write.text(L"二次");
        break;
    case AcDb::k3dCubicSplinePoly:
        write.text(L"三次");
        break;
    default:
        write.keep();
        break;
    }
    write.yesNo(polyline->isClosed());
}

void CInfoMapList::ReadSpline(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbSpline* spline = ReaderTarget<AcDbSpline>(*this, entity, L"SPLINE", info);
    if (spline == nullptr) {
        return;
    }
    double area = 0.0;
    spline->getArea(area);
    PropertyWriter write(*info, *this);
    write.integer(spline->numControlPoints());
    write.integer(spline->numFitPoints());
    write.integer(spline->degree());
    write.real(spline->fitTolerance());
    write.real(area);
    write.yesNo(spline->isClosed());
    write.yesNo(spline->isPlanar());
    write.yesNo(spline->hasFitData());
}
