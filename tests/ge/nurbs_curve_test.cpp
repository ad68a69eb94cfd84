// Splines: de Boor evaluation of rational and non-uniform curves, fit-point interpolation, numeric
// length and area, extents, planarity. References are exact values or ezdxf's evaluation of the same data.
#include "cad/ge/nurbs_curve.h"

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

cad::ge::NurbsCurve quarterCircle() {
    return {2, {0, 0, 0, 1, 1, 1}, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {1, std::sqrt(0.5), 1}, {}};
}

cad::ge::NurbsCurve bezierArch() {
    return {3, {0, 0, 0, 0, 1, 1, 1, 1}, {{0, 0, 0}, {1, 3, 0}, {3, 3, 0}, {4, 0, 0}}, {}, {}};
}

cad::ge::NurbsCurve rationalSpaceCurve() {
    return {2,
            {0, 0, 0, 1, 2.5, 4, 4, 4},
            {{0, 0, 0}, {2, 5, 1}, {5, -2, 3}, {7, 3, -1}, {9, 0, 0}},
            {1, 2, 0.5, 1.5, 1},
            {}};
}

} // namespace

TEST(NurbsCurve, MeasuresKnownCurvesExactly) {
    struct Row {
        const char* name;
        cad::ge::NurbsCurve curve;
        double length;
        double area;
        AcGePoint3d minimum;
        AcGePoint3d maximum;
    };
    const Row rows[] = {
        {"rational quarter circle", quarterCircle(), kPi / 2, kPi / 4 - 0.5, {0, 0, 0}, {1, 1, 0}},
        {"cubic arch (length by ezdxf sampling)", bezierArch(), 6.390976077372, 6.3, {0, 0, 0}, {4, 2.25, 0}},
        {"rational non-uniform space curve (ezdxf sampling)",
         rationalSpaceCurve(),
         15.6686288661,
         -1.0,
         {0, 0, -0.6},
         {9, 4.312826223492, 1.535260384469}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(cad::ge::length(row.curve), row.length, 1e-8);
        if (row.area >= 0.0) {
            EXPECT_NEAR(cad::ge::area(row.curve), row.area, 1e-9);
        }
        const cad::ge::ExtentsResult box = cad::ge::extents(row.curve);
        ASSERT_TRUE(box.isFinite());
        expectPointNear(box.box.minPoint(), row.minimum, 1e-8);
        expectPointNear(box.box.maxPoint(), row.maximum, 1e-8);
    }
}

TEST(NurbsCurve, EvaluatesPointsAndDistancesAlongTheParameterRange) {
    const cad::ge::NurbsCurve circle = quarterCircle();
    for (double parameter = 0.0; parameter <= 1.0; parameter += 0.125) {
        const AcGePoint3d point = *cad::ge::pointAtParameter(circle, parameter);
        EXPECT_NEAR(point.asVector().length(), 1.0, 1e-14) << parameter;
        EXPECT_NEAR(*cad::ge::distanceAtParameter(circle, parameter), std::atan2(point.y, point.x), 1e-10)
            << parameter;
    }
    expectPointNear(*cad::ge::pointAtParameter(circle, 0.5), {std::sqrt(0.5), std::sqrt(0.5), 0}, 1e-15);
    const cad::ge::NurbsCurve space = rationalSpaceCurve();
    EXPECT_DOUBLE_EQ(cad::ge::startParameter(space), 0.0);
    EXPECT_DOUBLE_EQ(cad::ge::endParameter(space), 4.0);
    expectPointNear(*cad::ge::pointAtParameter(space, 1.7),
                    {4.193730729701953, 1.7068345323741012, 1.4552929085303186}, 1e-12);
    expectPointNear(*cad::ge::endPoint(space), {9, 0, 0}, 1e-15);
    EXPECT_FALSE(cad::ge::pointAtParameter(space, 4.5).has_value());
    const AcGeVector3d tangent = *cad::ge::derivativeAtParameter(circle, 0.0);
    EXPECT_TRUE(tangent.isCodirectionalTo(AcGeVector3d::kYAxis));
}

TEST(NurbsCurve, FitPointsAreInterpolatedByChordLengthGlobalInterpolation) {
    cad::ge::NurbsCurve fitted;
    fitted.fitPoints = {{0, 0, 0}, {1, 2, 0.5}, {3, 3, 1}, {6, 1, 0}, {8, 4, -1}, {9, 0, 2}};
    const std::optional<cad::ge::NurbsCurve> form = cad::ge::controlPointForm(fitted);
    ASSERT_TRUE(form.has_value());
    // Chord-length parameters of the fit points and the averaged interior knots, computed by hand.
    const std::vector<double> parameters = {
        0.0, 0.13348673834397026, 0.2669734766879405, 0.484956407602032, 0.7029393385161234, 1.0};
    const std::vector<double> knots = {0, 0, 0, 0, 0.2951388742113143, 0.484956407602032, 1, 1, 1, 1};
    ASSERT_EQ(form->knots.size(), knots.size());
    for (size_t index = 0; index < knots.size(); ++index) {
        EXPECT_NEAR(form->knots[index], knots[index], 1e-12);
    }
    for (size_t index = 0; index < parameters.size(); ++index) {
        expectPointNear(*cad::ge::pointAtParameter(fitted, parameters[index]), fitted.fitPoints[index],
                        1e-12);
    }
    cad::ge::NurbsCurve twoPoints;
    twoPoints.fitPoints = {{0, 0, 0}, {3, 4, 0}};
    EXPECT_NEAR(cad::ge::length(twoPoints), 5.0, 1e-12);
}

TEST(NurbsCurve, PlanarityClosureAndValidityFollowTheControlData) {
    struct Row {
        const char* name;
        std::vector<AcGePoint3d> points;
        bool planar;
    };
    const Row rows[] = {
        {"tilted plane", {{0, 0, 0}, {1, 0, 1}, {1, 1, 1}, {0, 1, 0}, {2, 3, 2}}, true},
        {"twisted", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0.01}}, false},
        {"straight", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {5, 5, 5}}, true},
    };
    for (const Row& row : rows) {
        cad::ge::NurbsCurve curve;
        curve.degree = 1;
        curve.controlPoints = row.points;
        for (size_t index = 0; index <= row.points.size() + 1; ++index) {
            curve.knots.push_back(static_cast<double>(std::clamp<size_t>(index, 1, row.points.size()) - 1));
        }
        ASSERT_TRUE(cad::ge::isValid(curve)) << row.name;
        EXPECT_EQ(cad::ge::isPlanar(curve), row.planar) << row.name;
    }
    cad::ge::NurbsCurve loop{
        2, {0, 0, 0, 1, 2, 3, 3, 3}, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 0, 0}}, {}, {}};
    EXPECT_TRUE(cad::ge::isClosed(loop));
    EXPECT_FALSE(cad::ge::isClosed(bezierArch()));
    cad::ge::NurbsCurve broken = bezierArch();
    broken.knots.pop_back();
    EXPECT_FALSE(cad::ge::isValid(broken));
    EXPECT_EQ(cad::ge::extents(broken).kind, cad::ge::ExtentsKind::Empty);
    EXPECT_FALSE(cad::ge::pointAtParameter(broken, 0.5).has_value());
    cad::ge::NurbsCurve negativeWeight = quarterCircle();
    negativeWeight.weights[1] = -1.0;
    EXPECT_FALSE(cad::ge::isValid(negativeWeight));
}

TEST(NurbsCurve, TransformMovesControlAndFitPoints) {
    const AcGeMatrix3d turn = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, {1, 0, 0});
    const cad::ge::NurbsCurve moved = cad::ge::transformed(rationalSpaceCurve(), turn);
    for (double parameter : {0.0, 0.9, 2.2, 4.0}) {
        expectPointNear(*cad::ge::pointAtParameter(moved, parameter),
                        turn * *cad::ge::pointAtParameter(rationalSpaceCurve(), parameter), 1e-12);
    }
}
