// Bulged lightweight polylines and 3D polylines: parameters, lengths, areas, extents, explode, transforms.
#include "cad/ge/polyline_path.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

void expectPointNear(const AcGePoint3d& actual, const AcGePoint3d& expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The unit square, counter-clockwise, with the given bulge on its bottom edge.
cad::ge::BulgePolyline square(double bottomBulge, bool closed = true) {
    cad::ge::BulgePolyline polyline;
    polyline.vertices = {{{0, 0}, bottomBulge}, {{1, 0}, 0}, {{1, 1}, 0}, {{0, 1}, 0}};
    polyline.closed = closed;
    return polyline;
}

} // namespace

TEST(BulgePolyline, AreasLengthsAndExtentsFollowTheBulges) {
    struct Row {
        const char* name;
        cad::ge::BulgePolyline polyline;
        double signedArea;
        double length;
        AcGePoint3d minimum;
        AcGePoint3d maximum;
    };
    cad::ge::BulgePolyline clockwise = square(0.0);
    std::reverse(clockwise.vertices.begin(), clockwise.vertices.end());
    cad::ge::BulgePolyline lastBulgeOfOpen = square(0.0, false);
    lastBulgeOfOpen.vertices.back().bulge = 1.0;
    cad::ge::BulgePolyline flipped = square(1.0);
    flipped.normal.set(0, 0, -1);
    flipped.elevation = 2.0;
    const Row rows[] = {
        {"half circle bulging out", square(1.0), 1 + kPi / 8, 3 + kPi / 2, {0, -0.5, 0}, {1, 1, 0}},
        {"half circle bulging in", square(-1.0), 1 - kPi / 8, 3 + kPi / 2, {0, 0, 0}, {1, 1, 0}},
        {"quarter-turn bulge",
         square(std::tan(kPi / 8)),
         1 + (kPi / 2 - 1) / 4,
         3 + kPi * std::sqrt(0.5) / 2,
         {0, 0.5 - std::sqrt(0.5), 0},
         {1, 1, 0}},
        {"clockwise square", clockwise, -1, 4, {0, 0, 0}, {1, 1, 0}},
        {"open polyline ignores the last bulge", lastBulgeOfOpen, 1, 3, {0, 0, 0}, {1, 1, 0}},
        {"normal -Z mirrors X and takes the elevation to -Z",
         flipped,
         1 + kPi / 8,
         3 + kPi / 2,
         {-1, -0.5, -2},
         {0, 1, -2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(cad::ge::signedArea(row.polyline), row.signedArea, 1e-12);
        EXPECT_NEAR(cad::ge::length(row.polyline), row.length, 1e-12);
        const cad::ge::ExtentsResult box = cad::ge::extents(row.polyline);
        ASSERT_TRUE(box.isFinite());
        expectPointNear(box.box.minPoint(), row.minimum);
        expectPointNear(box.box.maxPoint(), row.maximum);
    }
    EXPECT_EQ(cad::ge::extents(cad::ge::BulgePolyline()).kind, cad::ge::ExtentsKind::Empty);
}

TEST(BulgePolyline, ParametersCountVerticesAndArcsAdvanceByAngle) {
    const cad::ge::BulgePolyline polyline = square(1.0);
    EXPECT_DOUBLE_EQ(cad::ge::endParameter(polyline), 4.0);
    expectPointNear(*cad::ge::pointAtParameter(polyline, 0.5), {0.5, -0.5, 0});
    expectPointNear(*cad::ge::pointAtParameter(polyline, 0.25),
                    {0.5 - std::sqrt(0.125), -std::sqrt(0.125), 0});
    expectPointNear(*cad::ge::pointAtParameter(polyline, 1.5), {1, 0.5, 0});
    expectPointNear(*cad::ge::pointAtParameter(polyline, 4.0), {0, 0, 0});
    EXPECT_NEAR(*cad::ge::distanceAtParameter(polyline, 2.0), kPi / 2 + 1, 1e-12);
    EXPECT_FALSE(cad::ge::pointAtParameter(polyline, 4.5).has_value());
    EXPECT_FALSE(cad::ge::isOnlyLines(polyline));
    EXPECT_TRUE(cad::ge::isOnlyLines(square(0.0)));
}

TEST(BulgePolyline, ExplodesIntoLinesAndCounterClockwiseArcs) {
    struct Row {
        double bulge;
        double startAngle;
        double endAngle;
    };
    const Row rows[] = {{1.0, kPi, 0.0}, {-1.0, 0.0, kPi}};
    for (const Row& row : rows) {
        const std::vector<cad::ge::PolylineSegment> segments = cad::ge::explodeSegments(square(row.bulge));
        ASSERT_EQ(segments.size(), 4u);
        const auto* first = std::get_if<cad::ge::CircularArc>(&segments[0]);
        ASSERT_NE(first, nullptr);
        expectPointNear(first->center, {0.5, 0, 0});
        EXPECT_NEAR(first->radius, 0.5, 1e-12);
        EXPECT_NEAR(first->startAngle, row.startAngle, 1e-12) << row.bulge;
        EXPECT_NEAR(first->endAngle, row.endAngle, 1e-12) << row.bulge;
        const auto* closing = std::get_if<cad::ge::LineSegment>(&segments[3]);
        ASSERT_NE(closing, nullptr);
        expectPointNear(closing->start, {0, 1, 0});
        expectPointNear(closing->end, {0, 0, 0});
    }
}

TEST(BulgePolyline, TransformsCarryEveryParameterAlong) {
    cad::ge::BulgePolyline source = square(0.7);
    source.vertices[2].bulge = -0.4;
    source.elevation = 1.5;
    source.normal.set(0.2, 0.1, 1.0);
    const AcGeMatrix3d transforms[] = {
        AcGeMatrix3d::rotation(1.1, {0, 0, 1}, {3, 2, 0}),
        AcGeMatrix3d::mirroring(AcGePlane({1, 0, 0}, {1, 0.5, 0})),
        AcGeMatrix3d::scaling(0.5, {-2, 1, 4}),
        AcGeMatrix3d::rotation(0.6, {1, 1, 0}) * AcGeMatrix3d::translation({1, 2, 3}),
    };
    for (size_t index = 0; index < std::size(transforms); ++index) {
        SCOPED_TRACE(index);
        const std::optional<cad::ge::BulgePolyline> result = cad::ge::transformed(source, transforms[index]);
        ASSERT_TRUE(result.has_value());
        for (double parameter = 0.0; parameter <= 4.0; parameter += 0.25) {
            expectPointNear(*cad::ge::pointAtParameter(*result, parameter),
                            transforms[index] * *cad::ge::pointAtParameter(source, parameter));
        }
        const double scale = transforms[index].scale();
        EXPECT_NEAR(cad::ge::area(*result), cad::ge::area(source) * scale * scale, 1e-12);
    }
    AcGeMatrix3d shear;
    shear.entry[0][1] = 1.0;
    EXPECT_FALSE(cad::ge::transformed(source, shear).has_value());
}

TEST(Polyline3d, MeasuresStraightSegmentsInSpace) {
    cad::ge::Polyline3d polyline;
    polyline.points = {{0, 0, 0}, {3, 0, 0}, {3, 4, 0}, {3, 4, 12}};
    EXPECT_DOUBLE_EQ(cad::ge::length(polyline), 19.0);
    expectPointNear(*cad::ge::pointAtParameter(polyline, 1.5), {3, 2, 0});
    EXPECT_DOUBLE_EQ(*cad::ge::distanceAtParameter(polyline, 2.5), 13.0);
    polyline.closed = true;
    EXPECT_DOUBLE_EQ(cad::ge::endParameter(polyline), 4.0);
    EXPECT_NEAR(cad::ge::length(polyline), 19.0 + 13.0, 1e-12);
    cad::ge::Polyline3d upright;
    upright.points = {{0, 0, 0}, {3, 0, 0}, {0, 0, 4}};
    upright.closed = true;
    EXPECT_NEAR(cad::ge::area(upright), 6.0, 1e-12);
    EXPECT_EQ(cad::ge::explodeSegments(upright).size(), 3u);
    EXPECT_EQ(cad::ge::extents(cad::ge::Polyline3d()).kind, cad::ge::ExtentsKind::Empty);
}
