// Points, vectors, transforms, object coordinate systems and extents boxes.
#include "cad/ge/extents.h"
#include "cad/ge/matrix3d.h"
#include "cad/ge/ocs.h"
#include "cad/ge/scale3d.h"
#include "cad/ge/vector2d.h"

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

} // namespace

TEST(AcGeMatrix3d, FactoriesMovePointsWhereTheHostPutsThem) {
    struct Row {
        const char* name;
        AcGeMatrix3d transform;
        AcGePoint3d input;
        AcGePoint3d expected;
    };
    const Row rows[] = {
        {"translation", AcGeMatrix3d::translation({1, -2, 3}), {4, 5, 6}, {5, 3, 9}},
        {"scaling about a point", AcGeMatrix3d::scaling(2.0, {1, 1, 1}), {3, 0, 1}, {5, -1, 1}},
        {"quarter turn about Z through (1,1)",
         AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, {1, 1, 0}),
         {2, 1, 5},
         {1, 2, 5}},
        {"third turn about (1,1,1) cycles the axes",
         AcGeMatrix3d::rotation(2 * kPi / 3, {1, 1, 1}),
         {1, 0, 0},
         {0, 1, 0}},
        {"mirroring in the plane x = 2",
         AcGeMatrix3d::mirroring(AcGePlane({2, 0, 0}, AcGeVector3d::kXAxis)),
         {5, 1, 1},
         {-1, 1, 1}},
        {"mirroring in a 45 degree line is a half turn about it",
         AcGeMatrix3d::mirroring(AcGeLine3d(AcGePoint3d(0, 0, 0), AcGeVector3d(1, 1, 0))),
         {1, 0, 3},
         {0, 1, -3}},
        {"point reflection", AcGeMatrix3d::mirroring(AcGePoint3d(1, 1, 1)), {3, 0, -1}, {-1, 2, 3}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        expectPointNear(row.transform * row.input, row.expected);
        AcGePoint3d moved = row.input;
        expectPointNear(moved.transformBy(row.transform), row.expected);
    }
}

TEST(AcGeMatrix3d, VectorsIgnoreTranslationAndProductsApplyRightFirst) {
    const AcGeMatrix3d move = AcGeMatrix3d::translation({10, 0, 0});
    const AcGeMatrix3d turn = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis);
    EXPECT_TRUE((move * AcGeVector3d(1, 2, 3)).isEqualTo({1, 2, 3}));
    expectPointNear((move * turn) * AcGePoint3d(1, 0, 0), {10, 1, 0});
    expectPointNear((turn * move) * AcGePoint3d(1, 0, 0), {0, 11, 0});
}

TEST(AcGeMatrix3d, InverseUndoesEveryFactoryAndShapeTestsClassifyThem) {
    struct Row {
        const char* name;
        AcGeMatrix3d transform;
        bool uniScaledOrtho;
        bool scaledOrtho;
        double determinantSign;
    };
    AcGeMatrix3d nonUniform;
    AcGeScale3d(2, 3, 1).getMatrix(nonUniform);
    AcGeMatrix3d sheared;
    sheared.entry[0][1] = 0.5;
    const Row rows[] = {
        {"rotation", AcGeMatrix3d::rotation(0.7, {1, 2, 3}, {4, 5, 6}), true, true, 1},
        {"scaling", AcGeMatrix3d::scaling(3.0, {1, 0, 0}), true, true, 1},
        {"mirroring", AcGeMatrix3d::mirroring(AcGePlane({0, 0, 0}, {1, 1, 0})), true, true, -1},
        {"non-uniform scale", nonUniform, false, true, 1},
        {"shear", sheared, false, false, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE((row.transform * row.transform.inverse()).isEqualTo(AcGeMatrix3d::kIdentity));
        EXPECT_EQ(row.transform.isUniScaledOrtho(), row.uniScaledOrtho);
        EXPECT_EQ(row.transform.isScaledOrtho(), row.scaledOrtho);
        EXPECT_GT(row.transform.det() * row.determinantSign, 0.0);
    }
    AcGeMatrix3d singular;
    singular.entry[2][2] = 0.0;
    AcGeMatrix3d untouched = AcGeMatrix3d::translation({1, 2, 3});
    EXPECT_FALSE(singular.inverse(untouched, 1e-12));
    EXPECT_TRUE(untouched.isEqualTo(AcGeMatrix3d::translation({1, 2, 3})));
    EXPECT_TRUE(singular.isSingular());
}

TEST(AcGeVector3d, AnglesAndDirectionTestsFollowTheHost) {
    EXPECT_NEAR(AcGeVector3d::kXAxis.angleTo(AcGeVector3d::kYAxis), kPi / 2, 1e-15);
    EXPECT_NEAR(AcGeVector3d::kXAxis.angleTo(-AcGeVector3d::kYAxis, AcGeVector3d::kZAxis), 1.5 * kPi, 1e-15);
    EXPECT_NEAR(AcGeVector2d(0, -1).angle(), 1.5 * kPi, 1e-15);
    EXPECT_TRUE(AcGeVector3d(2, 0, 0).isCodirectionalTo({5, 0, 0}));
    EXPECT_FALSE(AcGeVector3d(2, 0, 0).isCodirectionalTo({-5, 0, 0}));
    EXPECT_TRUE(AcGeVector3d(2, 0, 0).isParallelTo({-5, 0, 0}));
    EXPECT_TRUE(AcGeVector3d(1, 1, 0).isPerpendicularTo({-1, 1, 7e-12}));
    EXPECT_TRUE(AcGeVector3d(0, 0, 0).normal().isZeroLength());
    AcGeVector3d mirrored(1, 2, 3);
    EXPECT_TRUE(mirrored.mirror(AcGeVector3d::kZAxis).isEqualTo({1, 2, -3}));
}

TEST(Ocs, ArbitraryAxisRuleMatchesIndependentValues) {
    // Expected axes for (1,1,1) and the near-Z normal were computed with ezdxf's OCS; (0,0,-1) by hand.
    struct Row {
        AcGeVector3d normal;
        AcGeVector3d xAxis;
        AcGeVector3d yAxis;
    };
    const Row rows[] = {
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
        {{1, 1, 1},
         {-0.7071067811865476, 0.7071067811865476, 0},
         {-0.4082482904638631, -0.4082482904638631, 0.8164965809277261}},
        {{0.01, 0, 1}, {0.9999500037496877, 0, -0.009999500037496877}, {0, 1, 0}},
    };
    for (const Row& row : rows) {
        const cad::ge::OcsAxes axes = cad::ge::ocsAxes(row.normal);
        EXPECT_TRUE(axes.xAxis.isEqualTo(row.xAxis, AcGeTol())) << row.normal.x << "," << row.normal.z;
        EXPECT_TRUE(axes.yAxis.isEqualTo(row.yAxis, AcGeTol())) << row.normal.x << "," << row.normal.z;
        const AcGePoint3d local(2, 3, 4);
        expectPointNear(cad::ge::wcsToOcs(cad::ge::ocsToWcs(local, row.normal), row.normal), local, 1e-12);
        EXPECT_TRUE((AcGeMatrix3d::planeToWorld(row.normal) * AcGeVector3d::kXAxis).isEqualTo(row.xAxis));
    }
    expectPointNear(cad::ge::ocsToWcs(AcGePoint3d(2, 3, 4), AcGeVector3d(1, 1, 1)),
                    {-0.32955735700618094, 2.4988697677400094, 4.758890819541682}, 1e-12);
}

TEST(AcDbExtents, GrowsFromAnInvertedBoxAndTransformsItsCorners) {
    AcDbExtents box;
    AcDbExtents untouched = box;
    box.addExt(untouched);
    EXPECT_GT(box.minPoint().x, box.maxPoint().x);
    box.addPoint({1, 2, 3});
    expectPointNear(box.minPoint(), {1, 2, 3});
    expectPointNear(box.maxPoint(), {1, 2, 3});
    box.addPoint({-1, 5, 0});
    box.expandBy({2, -1, 0});
    expectPointNear(box.minPoint(), {-1, 1, 0});
    expectPointNear(box.maxPoint(), {3, 5, 3});
    box.transformBy(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis));
    expectPointNear(box.minPoint(), {-5, -1, 0});
    expectPointNear(box.maxPoint(), {-1, 3, 3});
    EXPECT_FALSE(box.set({1, 0, 0}, {0, 1, 1}));
    expectPointNear(box.minPoint(), {-5, -1, 0});
}
