// Moving, scaling, rotating and mirroring entities: the stored values afterwards, worked out by hand,
// including mirrored text under both MIRRTEXT settings and mirrored block references.
#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/text_entities.h"
#include "cad/ge/matrix3d.h"
#include "cad/ge/plane.h"
#include "geometry_test_support.h"

#include <functional>
#include <numbers>

using geometrytest::drawing;
using geometrytest::expectBoxNear;
using geometrytest::expectPointNear;

namespace {

constexpr double kPi = std::numbers::pi;

// Opens the first model-space entity for write, applies `transform` and hands it to `check`.
void transformFirst(AcDbDatabase& database, const AcGeMatrix3d& transform,
                    const std::function<void(AcDbEntity&)>& check, const std::string& name) {
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(entity, geometrytest::modelEntities(database).front(), AcDb::kForWrite),
              Acad::eOk)
        << name;
    EXPECT_EQ(entity->transformBy(transform), Acad::eOk) << name;
    check(*entity);
    entity->close();
}

const AcGeMatrix3d kMirrorInYAxis =
    AcGeMatrix3d::mirroring(AcGePlane(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis));
const AcGeMatrix3d kMirrorInXAxis =
    AcGeMatrix3d::mirroring(AcGePlane(AcGePoint3d::kOrigin, AcGeVector3d::kYAxis));

TEST(EntityTransform, EveryKindTakesTheFourTransforms) {
    struct Row {
        const char* name;
        std::string groups;
        AcGeMatrix3d transform;
        std::function<void(AcDbEntity&)> check;
    };
    const std::string arc = "0\nARC\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n50\n0\n51\n90\n";
    const std::string text = "0\nTEXT\n8\n0\n10\n1\n20\n0\n30\n0\n40\n3\n1\nAB\n";
    const std::vector<Row> rows = {
        {"line moved", "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n",
         AcGeMatrix3d::translation({1, 2, 3}),
         [](AcDbEntity& entity) {
             expectPointNear(AcDbLine::cast(&entity)->startPoint(), {1, 2, 3}, "line start");
             expectPointNear(AcDbLine::cast(&entity)->endPoint(), {2, 2, 3}, "line end");
         }},
        {"circle scaled about a point", "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n",
         AcGeMatrix3d::scaling(2, {1, 0, 0}),
         [](AcDbEntity& entity) {
             expectPointNear(AcDbCircle::cast(&entity)->center(), {-1, 0, 0}, "circle centre");
             EXPECT_DOUBLE_EQ(AcDbCircle::cast(&entity)->radius(), 2);
         }},
        {"arc turned a quarter", arc, AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis),
         [](AcDbEntity& entity) {
             EXPECT_NEAR(AcDbArc::cast(&entity)->startAngle(), kPi / 2, 1e-12);
             EXPECT_NEAR(AcDbArc::cast(&entity)->endAngle(), kPi, 1e-12);
         }},
        {"arc mirrored", arc, kMirrorInYAxis,
         [](AcDbEntity& entity) {
             AcGePoint3d start;
             AcGePoint3d end;
             AcDbCurve::cast(&entity)->getStartPoint(start);
             AcDbCurve::cast(&entity)->getEndPoint(end);
             expectPointNear(start, {0, 1, 0}, "mirrored arc start");
             expectPointNear(end, {-1, 0, 0}, "mirrored arc end");
         }},
        {"ellipse turned",
         "0\nELLIPSE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n2\n21\n0\n31\n0\n40\n0.5\n41\n0\n42\n1\n",
         AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis),
         [](AcDbEntity& entity) {
             expectPointNear(AcGePoint3d::kOrigin + AcDbEllipse::cast(&entity)->majorAxis(), {0, 2, 0},
                             "major axis");
             EXPECT_NEAR(AcDbEllipse::cast(&entity)->endParam(), 1, 1e-12);
         }},
        {"bulged polyline mirrored", "0\nLWPOLYLINE\n8\n0\n90\n2\n70\n0\n10\n0\n20\n0\n42\n1\n10\n2\n20\n0\n",
         kMirrorInXAxis,
         [](AcDbEntity& entity) {
             AcDbExtents extents;
             ASSERT_EQ(entity.getGeomExtents(extents), Acad::eOk);
             expectBoxNear(extents, {0, 0, 0}, {2, 1, 0}, "mirrored half circle");
         }},
        {"text mirrored keeps reading forward", text, kMirrorInYAxis,
         [](AcDbEntity& entity) {
             const AcDbText* mirrored = AcDbText::cast(&entity);
             EXPECT_FALSE(mirrored->isMirroredInX());
             EXPECT_FALSE(mirrored->isMirroredInY());
             EXPECT_NEAR(mirrored->rotation(), 0, 1e-12);
             AcDbExtents extents;
             ASSERT_EQ(entity.getGeomExtents(extents), Acad::eOk);
             expectBoxNear(extents, {-5, 0, 0}, {-1, 3, 0}, "readable text box");
         }},
        {"text mirrored in a horizontal line stays upright", text, kMirrorInXAxis,
         [](AcDbEntity& entity) {
             EXPECT_FALSE(AcDbText::cast(&entity)->isMirroredInY());
             AcDbExtents extents;
             ASSERT_EQ(entity.getGeomExtents(extents), Acad::eOk);
             expectBoxNear(extents, {1, -3, 0}, {5, 0, 0}, "readable text box");
         }},
        {"text turned", text, AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis),
         [](AcDbEntity& entity) {
             EXPECT_NEAR(AcDbText::cast(&entity)->rotation(), kPi / 2, 1e-12);
             expectPointNear(AcDbText::cast(&entity)->position(), {0, 1, 0}, "turned text position");
         }},
        {"multiline text scaled", "0\nMTEXT\n8\n0\n10\n0\n20\n0\n30\n0\n40\n2\n71\n1\n1\nABC\n",
         AcGeMatrix3d::scaling(3),
         [](AcDbEntity& entity) { EXPECT_DOUBLE_EQ(AcDbMText::cast(&entity)->textHeight(), 6); }},
        {"insert mirrored", "0\nINSERT\n8\n0\n2\nB\n10\n1\n20\n0\n30\n0\n", kMirrorInYAxis,
         [](AcDbEntity& entity) {
             const AcDbBlockReference* reference = AcDbBlockReference::cast(&entity);
             EXPECT_DOUBLE_EQ(reference->scaleFactors().sx, -1);
             EXPECT_DOUBLE_EQ(reference->scaleFactors().sy, 1);
             EXPECT_NEAR(reference->rotation(), 0, 1e-12);
             expectPointNear(reference->position(), {-1, 0, 0}, "mirrored insertion point");
         }},
        {"point at an elevation scaled about a point at zero height", "0\nPOINT\n8\n0\n10\n1\n20\n1\n30\n5\n",
         AcGeMatrix3d::scaling(2, {1, 1, 0}),
         [](AcDbEntity& entity) {
             expectPointNear(AcDbPoint::cast(&entity)->position(), {1, 1, 10}, "point");
         }},
        {"image turned",
         "0\nIMAGE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n0\n22\n1\n32\n0\n13\n2\n23\n1\n",
         AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis),
         [](AcDbEntity& entity) {
             AcDbExtents extents;
             ASSERT_EQ(entity.getGeomExtents(extents), Acad::eOk);
             expectBoxNear(extents, {-1, 0, 0}, {0, 2, 0}, "turned image frame");
         }},
    };
    const std::string block = "0\nBLOCK\n8\n0\n2\nB\n70\n0\n10\n0\n20\n0\n30\n0\n"
                              "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n0\nENDBLK\n8\n0\n";
    for (const Row& row : rows) {
        const auto database = drawing(row.groups, block);
        transformFirst(*database, row.transform, row.check, row.name);
    }
}

TEST(EntityTransform, MirroredTextFollowsMirrtext) {
    struct Row {
        const char* name;
        AcGeMatrix3d transform;
        bool backward;
        bool upsideDown;
        AcGePoint3d minimum;
        AcGePoint3d maximum;
    };
    const std::vector<Row> rows = {
        {"mirror in a vertical line", kMirrorInYAxis, true, false, {-5, 0, 0}, {-1, 3, 0}},
        {"mirror in a horizontal line", kMirrorInXAxis, false, true, {1, -3, 0}, {5, 0, 0}},
    };
    for (const Row& row : rows) {
        const auto database =
            drawing("0\nTEXT\n8\n0\n10\n1\n20\n0\n30\n0\n40\n3\n1\nAB\n", {}, "9\n$MIRRTEXT\n70\n1\n");
        transformFirst(
            *database, row.transform,
            [&](AcDbEntity& entity) {
                EXPECT_EQ(AcDbText::cast(&entity)->isMirroredInX(), row.backward) << row.name;
                EXPECT_EQ(AcDbText::cast(&entity)->isMirroredInY(), row.upsideDown) << row.name;
                AcDbExtents extents;
                ASSERT_EQ(entity.getGeomExtents(extents), Acad::eOk);
                expectBoxNear(extents, row.minimum, row.maximum, row.name);
            },
            row.name);
    }
}

TEST(EntityTransform, RefusesWhatTheKindCannotRepresent) {
    const AcGeMatrix3d stretch = [] {
        AcGeMatrix3d matrix;
        matrix(0, 0) = 2.0;
        return matrix;
    }();
    const std::vector<std::string> rows = {
        "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n",
        "0\nTEXT\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n1\nA\n",
    };
    for (const std::string& groups : rows) {
        const auto database = drawing(groups);
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(
            cad::db::openObjectAs(entity, geometrytest::modelEntities(*database).front(), AcDb::kForWrite),
            Acad::eOk);
        EXPECT_EQ(entity->transformBy(stretch), Acad::eNotApplicable) << groups;
        entity->close();
    }
}

} // namespace
