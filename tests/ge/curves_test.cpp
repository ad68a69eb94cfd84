// Curve queries, extents and transforms of lines, rays, circular and elliptical arcs and polylines.
// Expected values come from hand calculation or from dense sampling of the same curves with ezdxf.
#include "cad/ge/circular_arc.h"
#include "cad/ge/ellipse_arc.h"
#include "cad/ge/linear_curves.h"
#include "cad/ge/polyline_path.h"
#include "cad/ge/scale3d.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

double degrees(double value) {
    return value * kPi / 180.0;
}

void expectPointNear(const AcGePoint3d& actual, const AcGePoint3d& expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectBoxNear(const AcDbExtents& box, const AcGePoint3d& minimum, const AcGePoint3d& maximum,
                   double tolerance = 1e-9) {
    expectPointNear(box.minPoint(), minimum, tolerance);
    expectPointNear(box.maxPoint(), maximum, tolerance);
}

cad::ge::CircularArc arc(AcGePoint3d center, double radius, double startDegrees, double endDegrees,
                         AcGeVector3d normal = AcGeVector3d::kZAxis) {
    return {center, radius, degrees(startDegrees), degrees(endDegrees), normal, false};
}

} // namespace

TEST(CircularArc, ExtentsIncludeOnlyTheAxisExtremesInsideTheSweep) {
    struct Row {
        const char* name;
        cad::ge::CircularArc curve;
        AcGePoint3d minimum;
        AcGePoint3d maximum;
    };
    const Row rows[] = {
        {"crossing 0 degrees",
         arc({0, 0, 0}, 2, 350, 10),
         {2 * std::cos(degrees(10)), -2 * std::sin(degrees(10)), 0},
         {2, 2 * std::sin(degrees(10)), 0}},
        {"from 30 to 200 degrees",
         arc({1, 1, 0}, 1, 30, 200),
         {0, 1 - std::sin(degrees(20)), 0},
         {1 + std::cos(degrees(30)), 2, 0}},
        {"full circle", cad::ge::makeCircle({5, 5, 1}, 3), {2, 2, 1}, {8, 8, 1}},
        {"tilted plane (ezdxf sampling)",
         arc({2, -1, 4}, 3, 100, 20, {0.3, -0.5, 0.8}),
         {-0.858928013737, -3.589224137194, 2.232954731881},
         {4.858928013741, 1.161421330716, 5.740199879970}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        expectBoxNear(cad::ge::extents(row.curve), row.minimum, row.maximum);
    }
}

TEST(CircularArc, ParametersAreAnglesAndCrossingZeroKeepsThemIncreasing) {
    const cad::ge::CircularArc curve = arc({0, 0, 0}, 2, 350, 10);
    EXPECT_NEAR(cad::ge::startParameter(curve), degrees(350), 1e-12);
    EXPECT_NEAR(cad::ge::endParameter(curve), degrees(370), 1e-12);
    EXPECT_NEAR(cad::ge::length(curve), 2 * degrees(20), 1e-12);
    EXPECT_NEAR(cad::ge::area(curve), 2 * (degrees(20) - std::sin(degrees(20))), 1e-12);
    expectPointNear(*cad::ge::pointAtParameter(curve, 0.1), {2 * std::cos(0.1), 2 * std::sin(0.1), 0});
    EXPECT_NEAR(*cad::ge::distanceAtParameter(curve, 0.0), 2 * degrees(10), 1e-12);
    EXPECT_FALSE(cad::ge::pointAtParameter(curve, 0.5).has_value());
    expectPointNear(cad::ge::endPoint(curve), {2 * std::cos(degrees(10)), 2 * std::sin(degrees(10)), 0});
    const cad::ge::CircularArc circle = cad::ge::makeCircle({0, 0, 0}, 1);
    EXPECT_NEAR(cad::ge::area(circle), kPi, 1e-12);
    EXPECT_NEAR(cad::ge::length(circle), 2 * kPi, 1e-12);
    EXPECT_NEAR(*cad::ge::distanceAtParameter(circle, kPi), kPi, 1e-12);
}

TEST(CircularArc, TransformsKeepArcsCounterClockwise) {
    struct Row {
        const char* name;
        AcGeMatrix3d transform;
        bool stillAnArc;
        AcGePoint3d center;
        double radius;
        double startDegrees;
        double endDegrees;
        AcGeVector3d normal;
    };
    AcGeMatrix3d stretch;
    AcGeScale3d(1, 3, 1).getMatrix(stretch);
    const Row rows[] = {
        {"mirroring in the Y axis",
         AcGeMatrix3d::mirroring(AcGePlane({0, 0, 0}, AcGeVector3d::kXAxis)),
         true,
         {0, 0, 0},
         1,
         90,
         180,
         {0, 0, 1}},
        {"mirroring in the XY plane flips the normal",
         AcGeMatrix3d::mirroring(AcGePlane::kXYPlane),
         true,
         {0, 0, 0},
         1,
         90,
         180,
         {0, 0, -1}},
        {"rotation by 90 degrees",
         AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis),
         true,
         {0, 0, 0},
         1,
         90,
         180,
         {0, 0, 1}},
        {"scaling about (1,0,0)", AcGeMatrix3d::scaling(2, {1, 0, 0}), true, {-1, 0, 0}, 2, 0, 90, {0, 0, 1}},
        {"non-uniform scaling", stretch, false, {}, 0, 0, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<cad::ge::CircularArc> result =
            cad::ge::transformed(arc({0, 0, 0}, 1, 0, 90), row.transform);
        ASSERT_EQ(result.has_value(), row.stillAnArc);
        if (!result) {
            continue;
        }
        expectPointNear(result->center, row.center);
        EXPECT_NEAR(result->radius, row.radius, 1e-12);
        EXPECT_NEAR(result->startAngle, degrees(row.startDegrees), 1e-12);
        EXPECT_NEAR(result->endAngle, degrees(row.endDegrees), 1e-12);
        EXPECT_TRUE(result->normal.isEqualTo(row.normal));
    }
}

TEST(EllipseArc, LengthsAreaAndExtentsMatchIndependentIntegration) {
    cad::ge::EllipseArc full;
    full.majorAxis.set(2, 0, 0);
    full.radiusRatio = 0.5;
    EXPECT_NEAR(cad::ge::length(full), 2 * 4.844224110273895, 1e-9);
    EXPECT_NEAR(cad::ge::area(full), 2 * kPi, 1e-12);
    expectBoxNear(cad::ge::extents(full), {-2, -1, 0}, {2, 1, 0});

    cad::ge::EllipseArc partial;
    partial.majorAxis.set(3, 0, 0);
    partial.radiusRatio = 0.4;
    partial.startParam = 0.3;
    partial.endParam = 2.1;
    EXPECT_NEAR(*cad::ge::distanceAtParameter(partial, 2.1), 4.592458836968107, 1e-9);
    EXPECT_NEAR(cad::ge::area(partial), 1.487074264424, 1e-9);
    EXPECT_FALSE(cad::ge::distanceAtParameter(partial, 3.0).has_value());

    cad::ge::EllipseArc tilted;
    tilted.center.set(1, 2, 3);
    tilted.majorAxis.set(2, 1, 0);
    tilted.normal.set(1, -2, 0.5);
    tilted.radiusRatio = 0.4;
    tilted.startParam = 0.5;
    tilted.endParam = 5.0;
    expectPointNear(cad::ge::startPoint(tilted), {2.71331743195696, 2.9612779455379434, 3.418476918237854},
                    1e-12);
    expectBoxNear(cad::ge::extents(tilted), {-1.001903855729, 0.984876268392, 2.127128439066},
                  {2.713317431957, 2.961277945538, 3.872871560943});
    EXPECT_NEAR(cad::ge::length(tilted), 7.8265863016, 1e-8);
}

TEST(EllipseArc, AnglesAndParametersConvertBothWays) {
    struct Row {
        double ratio;
        double parameter;
        double angle;
    };
    const Row rows[] = {
        {0.5, kPi / 4, std::atan(0.5)},
        {0.5, 3 * kPi / 4, kPi - std::atan(0.5)},
        {0.25, 1.5 * kPi, 1.5 * kPi},
        {1.0, 2.0, 2.0},
    };
    for (const Row& row : rows) {
        EXPECT_NEAR(cad::ge::angleFromParameter(row.ratio, row.parameter), row.angle, 1e-12) << row.parameter;
        EXPECT_NEAR(cad::ge::parameterFromAngle(row.ratio, row.angle), row.parameter, 1e-12) << row.parameter;
    }
}

TEST(EllipseArc, AffineTransformsMapTheCurveOntoTheResult) {
    cad::ge::EllipseArc source;
    source.center.set(1, 1, 0);
    source.majorAxis.set(2, 1, 0);
    source.radiusRatio = 0.3;
    source.startParam = 5.5;
    source.endParam = 1.0;
    AcGeMatrix3d stretch;
    AcGeScale3d(1, 3, 0.5).getMatrix(stretch);
    const AcGeMatrix3d transforms[] = {
        AcGeMatrix3d::rotation(0.8, {1, 2, 3}, {1, 0, 0}),
        AcGeMatrix3d::mirroring(AcGePlane({0, 2, 0}, {1, 1, 0})),
        AcGeMatrix3d::mirroring(AcGePlane::kXYPlane),
        AcGeMatrix3d::scaling(2.5, {3, 3, 3}),
        stretch,
        stretch * AcGeMatrix3d::rotation(0.3, AcGeVector3d::kZAxis),
    };
    for (size_t index = 0; index < std::size(transforms); ++index) {
        SCOPED_TRACE(index);
        const AcGeMatrix3d& transform = transforms[index];
        const std::optional<cad::ge::EllipseArc> result = cad::ge::transformed(source, transform);
        ASSERT_TRUE(result.has_value());
        EXPECT_LE(result->radiusRatio, 1.0);
        EXPECT_NEAR(result->majorAxis.dotProduct(result->normal), 0.0, 1e-12);
        const bool reflects = transform.det() < 0.0;
        const AcGePoint3d start = transform * cad::ge::startPoint(source);
        const AcGePoint3d end = transform * cad::ge::endPoint(source);
        expectPointNear(cad::ge::startPoint(*result), reflects ? end : start);
        expectPointNear(cad::ge::endPoint(*result), reflects ? start : end);
        const double middle = source.startParam + 0.5 * cad::ge::parameterSweep(source);
        const double resultMiddle = result->startParam + 0.5 * cad::ge::parameterSweep(*result);
        expectPointNear(cad::ge::pointAtParam(*result, resultMiddle),
                        transform * cad::ge::pointAtParam(source, middle));
    }
    const AcGeMatrix3d flatten = [] {
        AcGeMatrix3d matrix;
        AcGeScale3d(1, 0, 1).getMatrix(matrix);
        return matrix;
    }();
    cad::ge::EllipseArc flat;
    flat.majorAxis.set(1, 0, 0);
    flat.radiusRatio = 1.0;
    EXPECT_FALSE(cad::ge::transformed(flat, flatten).has_value());
}

TEST(LinearCurves, LinesMeasureFromTheStartAndRaysHaveNoFiniteExtents) {
    const cad::ge::LineSegment line{{1, 1, 1}, {4, 5, 1}};
    EXPECT_DOUBLE_EQ(cad::ge::length(line), 5.0);
    expectPointNear(*cad::ge::pointAtParameter(line, 2.5), {2.5, 3, 1});
    EXPECT_FALSE(cad::ge::pointAtParameter(line, 5.1).has_value());
    EXPECT_NEAR(*cad::ge::parameterAtPoint(line, {3.4, 4.2, 1}), 4.0, 1e-12);
    EXPECT_FALSE(cad::ge::parameterAtPoint(line, {3.4, 4.3, 1}).has_value());
    const cad::ge::RayLine ray{{0, 0, 0}, {0, 1, 0}, false};
    EXPECT_EQ(cad::ge::extents(ray).kind, cad::ge::ExtentsKind::Unbounded);
    EXPECT_FALSE(cad::ge::pointAtParameter(ray, -1).has_value());
    const cad::ge::RayLine xline{{0, 0, 0}, {0, 1, 0}, true};
    expectPointNear(*cad::ge::pointAtParameter(xline, -2), {0, -2, 0});
}
