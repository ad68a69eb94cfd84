// Extents and curve queries of every modelled kind, against boxes, lengths and areas worked out by hand.
#include "cad/db/block_geometry.h"
#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/text_entities.h"
#include "db_test_support.h"
#include "geometry_test_support.h"

#include <cmath>
#include <numbers>

using geometrytest::drawing;
using geometrytest::expectBoxNear;
using geometrytest::expectPointNear;
using geometrytest::firstEntity;

namespace {

constexpr double kPi = std::numbers::pi;

const std::string kBlockB = "0\nBLOCK\n8\n0\n2\nB\n70\n0\n10\n0\n20\n0\n30\n0\n"
                            "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n"
                            "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n0\nENDBLK\n8\n0\n";
const std::string kBlockC = "0\nBLOCK\n8\n0\n2\nC\n70\n0\n10\n0\n20\n0\n30\n0\n"
                            "0\nINSERT\n8\n0\n2\nB\n10\n0\n20\n0\n30\n0\n50\n90\n0\nENDBLK\n8\n0\n";

TEST(EntityGeometry, ExtentsOfEveryKindMatchTheirShapes) {
    const double c10 = std::cos(10.0 * kPi / 180.0);
    const double s10 = std::sin(10.0 * kPi / 180.0);
    struct Row {
        const char* name;
        std::string groups;
        AcGePoint3d minimum;
        AcGePoint3d maximum;
    };
    const std::vector<Row> rows = {
        {"line", "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n10\n21\n5\n31\n2\n", {0, 0, 0}, {10, 5, 2}},
        {"circle", "0\nCIRCLE\n8\n0\n10\n1\n20\n2\n30\n0\n40\n3\n", {-2, -1, 0}, {4, 5, 0}},
        {"arc crossing 0 degrees",
         "0\nARC\n8\n0\n10\n0\n20\n0\n30\n0\n40\n10\n50\n350\n51\n10\n",
         {10 * c10, -10 * s10, 0},
         {10, 10 * s10, 0}},
        {"arc with a downward normal",
         "0\nARC\n8\n0\n10\n5\n20\n0\n30\n0\n40\n1\n210\n0\n220\n0\n230\n-1\n50\n0\n51\n90\n",
         {-6, 0, 0},
         {-5, 1, 0}},
        {"ellipse",
         "0\nELLIPSE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n4\n21\n0\n31\n0\n40\n0.5\n41\n0\n42\n6."
         "283185307179586\n",
         {-4, -2, 0},
         {4, 2, 0}},
        {"closed polyline with a bulged side",
         "0\nLWPOLYLINE\n8\n0\n90\n4\n70\n1\n10\n0\n20\n0\n10\n10\n20\n0\n42\n1\n10\n10\n20\n10\n10\n0\n20\n1"
         "0\n",
         {0, 0, 0},
         {15, 10, 0}},
        {"spline bulging between its control points",
         "0\nSPLINE\n8\n0\n70\n8\n71\n2\n72\n6\n73\n3\n74\n0\n40\n0\n40\n0\n40\n0\n40\n1\n40\n1\n40\n1\n"
         "10\n0\n20\n0\n30\n0\n10\n5\n20\n10\n30\n0\n10\n10\n20\n0\n30\n0\n",
         {0, 0, 0},
         {10, 5, 0}},
        {"point", "0\nPOINT\n8\n0\n10\n3\n20\n4\n30\n5\n", {3, 4, 5}, {3, 4, 5}},
        {"text without descenders",
         "0\nTEXT\n8\n0\n10\n1\n20\n1\n30\n0\n40\n3\n1\nAB\n",
         {1, 1, 0},
         {5, 4, 0}},
        {"text with descenders", "0\nTEXT\n8\n0\n10\n1\n20\n1\n30\n0\n40\n3\n1\ngy\n", {1, 0, 0}, {5, 4, 0}},
        {"multiline text",
         "0\nMTEXT\n8\n0\n10\n0\n20\n10\n30\n0\n40\n2\n71\n1\n1\nABC\n",
         {0, 8, 0},
         {4, 10, 0}},
        {"viewport",
         "0\nVIEWPORT\n8\n0\n10\n5\n20\n5\n30\n0\n40\n4\n41\n2\n68\n1\n69\n2\n",
         {3, 4, 0},
         {7, 6, 0}},
        {"insert with non-uniform scale",
         "0\nINSERT\n8\n0\n2\nB\n10\n10\n20\n0\n30\n0\n41\n2\n42\n1\n43\n1\n",
         {8, -1, 0},
         {12, 1, 0}},
        {"nested insert stretched after a quarter turn",
         "0\nINSERT\n8\n0\n2\nC\n10\n0\n20\n0\n30\n0\n41\n1\n42\n3\n43\n1\n",
         {-1, -3, 0},
         {1, 3, 0}},
        {"hatch bounded by a full circle",
         "0\nHATCH\n8\n0\n10\n0\n20\n0\n30\n0\n2\nSOLID\n70\n1\n71\n0\n91\n1\n92\n1\n93\n1\n72\n2\n10\n2\n20"
         "\n2\n40\n1\n"
         "50\n0\n51\n360\n73\n1\n97\n0\n75\n0\n76\n1\n98\n0\n",
         {1, 1, 0},
         {3, 3, 0}},
    };
    for (const Row& row : rows) {
        const auto database = drawing(row.groups, kBlockB + kBlockC);
        const AcDbEntity* entity = firstEntity(*database);
        ASSERT_NE(entity, nullptr) << row.name;
        AcDbExtents extents;
        ASSERT_EQ(entity->getGeomExtents(extents), Acad::eOk) << row.name;
        expectBoxNear(extents, row.minimum, row.maximum, row.name);
    }
}

TEST(EntityGeometry, UnboundedAndEmptyShapesReportInvalidExtents) {
    const std::vector<std::string> rows = {
        "0\nRAY\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n",
        "0\nXLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n0\n21\n1\n31\n0\n",
        "0\nTEXT\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n1\n\n",
        "0\nLWPOLYLINE\n8\n0\n90\n0\n70\n0\n",
    };
    for (const std::string& groups : rows) {
        const auto database = drawing(groups);
        AcDbExtents extents;
        EXPECT_EQ(firstEntity(*database)->getGeomExtents(extents), Acad::eInvalidExtents) << groups;
    }
}

TEST(EntityGeometry, CurveQueriesAnswerLikeTheHost) {
    const double sweep = 20.0 * kPi / 180.0;
    struct Row {
        const char* name;
        std::string groups;
        double endParameter;
        double probeParameter;
        AcGePoint3d probePoint;
        double lengthAtEnd;
        double area;
        bool closed;
    };
    const std::vector<Row> rows = {
        {"line",
         "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n3\n21\n4\n31\n0\n",
         5,
         2.5,
         {1.5, 2, 0},
         5,
         0,
         false},
        {"circle",
         "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n2\n",
         2 * kPi,
         kPi / 2,
         {0, 2, 0},
         4 * kPi,
         4 * kPi,
         true},
        {"arc crossing 0 degrees",
         "0\nARC\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n50\n350\n51\n10\n",
         350.0 * kPi / 180.0 + sweep,
         0.1,
         {std::cos(0.1), std::sin(0.1), 0},
         sweep,
         (sweep - std::sin(sweep)) / 2,
         false},
        {"ellipse",
         "0\nELLIPSE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n2\n21\n0\n31\n0\n40\n0.5\n41\n0\n42\n6."
         "283185307179586\n",
         2 * kPi,
         kPi / 2,
         {0, 1, 0},
         -1,
         2 * kPi,
         true},
        {"closed square with a bulged side",
         "0\nLWPOLYLINE\n8\n0\n90\n4\n70\n1\n10\n0\n20\n0\n10\n2\n20\n0\n42\n1\n10\n2\n20\n2\n10\n0\n20\n2\n",
         4,
         1.5,
         {3, 1, 0},
         6 + kPi,
         4 + kPi / 2,
         true},
        {"open spatial polyline",
         "0\nPOLYLINE\n8\n0\n66\n1\n70\n8\n0\nVERTEX\n8\n0\n10\n0\n20\n0\n30\n0\n70\n32\n0\nVERTEX\n8\n0\n10"
         "\n3\n20\n0\n"
         "30\n0\n70\n32\n0\nVERTEX\n8\n0\n10\n3\n20\n4\n30\n0\n70\n32\n0\nSEQEND\n8\n0\n",
         2,
         1.5,
         {3, 2, 0},
         7,
         6,
         false},
        {"quadratic spline",
         "0\nSPLINE\n8\n0\n70\n8\n71\n2\n72\n6\n73\n3\n74\n0\n40\n0\n40\n0\n40\n0\n40\n1\n40\n1\n40\n1\n"
         "10\n0\n20\n0\n30\n0\n10\n1\n20\n2\n30\n0\n10\n2\n20\n0\n30\n0\n",
         1,
         0.5,
         {1, 1, 0},
         -1,
         4.0 / 3.0,
         false},
    };
    for (const Row& row : rows) {
        const auto database = drawing(row.groups);
        const AcDbCurve* curve = AcDbCurve::cast(firstEntity(*database));
        ASSERT_NE(curve, nullptr) << row.name;
        double endParameter = 0.0;
        ASSERT_EQ(curve->getEndParam(endParameter), Acad::eOk) << row.name;
        EXPECT_NEAR(endParameter, row.endParameter, 1e-9) << row.name;
        AcGePoint3d point;
        ASSERT_EQ(curve->getPointAtParam(row.probeParameter, point), Acad::eOk) << row.name;
        expectPointNear(point, row.probePoint, row.name);
        double distance = 0.0;
        ASSERT_EQ(curve->getDistAtParam(endParameter, distance), Acad::eOk) << row.name;
        if (row.lengthAtEnd >= 0.0) {
            EXPECT_NEAR(distance, row.lengthAtEnd, 1e-7) << row.name;
        }
        double area = 0.0;
        ASSERT_EQ(curve->getArea(area), Acad::eOk) << row.name;
        EXPECT_NEAR(area, row.area, 1e-7) << row.name;
        EXPECT_EQ(curve->isClosed(), row.closed) << row.name;
        AcGePoint3d start;
        AcGePoint3d end;
        ASSERT_EQ(curve->getStartPoint(start), Acad::eOk) << row.name;
        ASSERT_EQ(curve->getEndPoint(end), Acad::eOk) << row.name;
        AcGePoint3d atEnd;
        ASSERT_EQ(curve->getPointAtParam(endParameter, atEnd), Acad::eOk) << row.name;
        expectPointNear(end, atEnd, row.name + std::string(" end point"));
    }
}

TEST(EntityGeometry, ArcHasNoPointAtParametersOutsideItsSweep) {
    const auto database = drawing("0\nARC\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n50\n350\n51\n10\n");
    const AcDbCurve* arc = AcDbCurve::cast(firstEntity(*database));
    AcGePoint3d point(7, 7, 7);
    EXPECT_EQ(arc->getPointAtParam(0.5, point), Acad::eInvalidInput);
    expectPointNear(point, {7, 7, 7}, "untouched");
}

TEST(EntityGeometry, PlanarityFollowsTheShape) {
    const std::string flatSpline =
        "0\nSPLINE\n8\n0\n70\n8\n71\n1\n72\n5\n73\n3\n74\n0\n40\n0\n40\n0\n40\n1\n40\n2\n40\n2\n"
        "10\n0\n20\n0\n30\n0\n10\n1\n20\n1\n30\n0\n10\n2\n20\n0\n30\n0\n";
    std::string twistedSpline =
        "0\nSPLINE\n8\n0\n70\n0\n71\n1\n72\n6\n73\n4\n74\n0\n40\n0\n40\n0\n40\n1\n40\n2\n40\n3\n"
        "40\n3\n10\n0\n20\n0\n30\n0\n10\n1\n20\n0\n30\n0\n10\n1\n20\n1\n30\n0\n10\n1\n20\n1\n30\n1\n";
    EXPECT_TRUE(firstEntity(*drawing(flatSpline))->isPlanar());
    EXPECT_FALSE(firstEntity(*drawing(twistedSpline))->isPlanar());
    EXPECT_TRUE(firstEntity(*drawing("0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n"))->isPlanar());
}

TEST(EntityGeometry, DimensionsMeasureByTheirKind) {
    struct Row {
        const char* name;
        std::string groups;
        double expected;
    };
    const auto dimension = [](int type, const std::string& points) {
        return "0\nDIMENSION\n8\n0\n70\n" + std::to_string(type) + "\n" + points;
    };
    const std::vector<Row> rows = {
        {"rotated along X", dimension(0, "13\n0\n23\n0\n14\n3\n24\n4\n50\n0\n"), 3},
        {"rotated along Y", dimension(0, "13\n0\n23\n0\n14\n3\n24\n4\n50\n90\n"), 4},
        {"aligned", dimension(1, "13\n0\n23\n0\n14\n3\n24\n4\n"), 5},
        {"two-line angular", dimension(2, "13\n0\n23\n0\n14\n1\n24\n0\n15\n0\n25\n0\n10\n0\n20\n1\n"),
         kPi / 2},
        {"diametric", dimension(3, "15\n1\n25\n0\n10\n-1\n20\n0\n"), 2},
        {"radial", dimension(4, "10\n0\n20\n0\n15\n0\n25\n2\n"), 2},
        {"three-point angular", dimension(5, "15\n0\n25\n0\n13\n1\n23\n0\n14\n1\n24\n1\n"), kPi / 4},
        {"ordinate in X", dimension(70, "10\n1\n20\n1\n13\n4\n23\n6\n"), 3},
        {"ordinate in Y", dimension(6, "10\n1\n20\n1\n13\n4\n23\n6\n"), 5},
    };
    for (const Row& row : rows) {
        const auto database = drawing(row.groups);
        const AcDbDimension* entity = AcDbDimension::cast(firstEntity(*database));
        ASSERT_NE(entity, nullptr) << row.name;
        EXPECT_NEAR(cad::db::measuredValue(*entity), row.expected, 1e-9) << row.name;
    }
}

TEST(EntityGeometry, CorpusDimensionsHaveBlockExtentsAndMeasurements) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(
        database.readDxf(quelto::testing::corpusDirectory() / "generated" / "all_entities_R2010.dxf", error));
    int dimensions = 0;
    for (const AcDbObjectId& id : geometrytest::modelEntities(database)) {
        const AcDbDimension* dimension = AcDbDimension::cast(database.peekObject(id));
        if (dimension == nullptr) {
            continue;
        }
        ++dimensions;
        EXPECT_GT(cad::db::measuredValue(*dimension), 0.0) << "kind " << dimension->dimensionKind();
        AcDbExtents extents;
        EXPECT_EQ(dimension->getGeomExtents(extents), Acad::eOk);
    }
    EXPECT_GE(dimensions, 6);
}

} // namespace
