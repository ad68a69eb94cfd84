// Arc length dimensions measured from their arc, and multiline extents from the element offsets of
// their style, against values worked out by hand and values other programs stored in real drawings.
#include "cad/db/block_geometry.h"
#include "cad/db/other_entities.h"
#include "cad/ge/matrix3d.h"
#include "cad/ge/plane.h"
#include "db_test_support.h"
#include "geometry_test_support.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

using geometrytest::drawing;
using geometrytest::expectBoxNear;
using geometrytest::firstEntity;

namespace {

constexpr double kPi = std::numbers::pi;

// An arc length dimension of the circle of radius 2 about the origin.
std::string arcDimension(const std::string& first, const std::string& second, double startAngle,
                         double endAngle) {
    return "0\nARC_DIMENSION\n8\n0\n70\n37\n13\n" + first + "\n14\n" + second + "\n15\n0\n25\n0\n40\n" +
           std::to_string(startAngle) + "\n41\n" + std::to_string(endAngle) + "\n";
}

TEST(ArcDimension, MeasuresTheArcBetweenItsExtensionLines) {
    struct Row {
        const char* name;
        std::string groups;
        double expected;
    };
    const std::vector<Row> rows = {
        {"quarter arc", arcDimension("2\n23\n0", "0\n24\n2", 0, kPi / 2), kPi},
        {"arc over half a turn", arcDimension("2\n23\n0", "0\n24\n-2", 0, 3 * kPi / 2), 3 * kPi},
        {"arc crossing zero", arcDimension("0\n23\n-2", "0\n24\n2", 3 * kPi / 2, kPi / 2), 2 * kPi},
        {"partial, points picked clockwise", arcDimension("0\n23\n2", "2\n24\n0", 0, kPi), kPi},
        {"whole circle", arcDimension("2\n23\n0", "2\n24\n0", 0, 0), 4 * kPi},
    };
    for (const Row& row : rows) {
        const auto database = drawing(row.groups);
        const auto* dimension = AcDbArcDimension::cast(firstEntity(*database));
        ASSERT_NE(dimension, nullptr) << row.name;
        EXPECT_NEAR(cad::db::measuredValue(*dimension), row.expected, 1e-9) << row.name;
    }
}

TEST(ArcDimension, KeepsItsMeasurementThroughTheFourTransforms) {
    struct Row {
        const char* name;
        AcGeMatrix3d transform;
        double factor;
    };
    const std::vector<Row> rows = {
        {"move", AcGeMatrix3d::translation({5, -3, 0}), 1},
        {"scale", AcGeMatrix3d::scaling(3, {1, 1, 0}), 3},
        {"rotate", AcGeMatrix3d::rotation(kPi / 3, AcGeVector3d::kZAxis, {1, 2, 0}), 1},
        {"mirror", AcGeMatrix3d::mirroring(AcGeLine3d(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 1, 0))), 1},
    };
    for (const Row& row : rows) {
        const auto database = drawing(arcDimension("2\n23\n0", "0\n24\n-2", 0, 3 * kPi / 2));
        AcDbArcDimension* dimension = nullptr;
        ASSERT_EQ(
            cad::db::openObjectAs(dimension, geometrytest::modelEntities(*database).front(), AcDb::kForWrite),
            Acad::eOk);
        ASSERT_EQ(dimension->transformBy(row.transform), Acad::eOk) << row.name;
        EXPECT_NEAR(cad::db::measuredValue(*dimension), 3 * kPi * row.factor, 1e-9) << row.name;
        EXPECT_NEAR(dimension->measurement(), 3 * kPi * row.factor, 1e-9) << row.name;
        dimension->close();
    }
}

// The arc length the drawing program stored (group 42) is our measurement of the same geometry.
TEST(ArcDimension, AgreesWithTheValuesStoredInRealDrawings) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    int checked = 0;
    for (const char* name : {"example_2000.dxf", "example_2018.dxf"}) {
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxf(
            quelto::testing::corpusDirectory() / "real/LibreDWG_libredwg/test/test-data" / name, error))
            << error.toString();
        database.forEachObject([&](AcDbObjectId id) {
            const auto* dimension = AcDbArcDimension::cast(database.peekObject(id));
            if (dimension == nullptr) {
                return;
            }
            ++checked;
            EXPECT_NEAR(cad::db::measuredValue(*dimension), dimension->measurement(),
                        1e-9 * dimension->measurement())
                << name << " " << dimension->handle().toHex();
        });
    }
    EXPECT_GE(checked, 2);
}

// A drawing with one multiline of style handle 22 (element offsets `offsets`) through `vertices`.
std::string mlineDrawing(const std::string& offsets, int elements, double scale, int justification,
                         const std::string& vertices, int vertexCount) {
    return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
           "0\nMLINE\n5\n30\n100\nAcDbEntity\n8\n0\n100\nAcDbMline\n2\nWALL\n340\n22\n40\n" +
           std::to_string(scale) + "\n70\n" + std::to_string(justification) + "\n71\n1\n72\n" +
           std::to_string(vertexCount) + "\n73\n" + std::to_string(elements) + "\n10\n0\n20\n0\n30\n0\n" +
           vertices +
           "0\nENDSEC\n0\nSECTION\n2\nOBJECTS\n0\nMLINESTYLE\n5\n22\n100\nAcDbMlineStyle\n2\nWALL\n70\n0\n3\n"
           "\n"
           "62\n256\n51\n90\n52\n90\n71\n" +
           std::to_string(elements) + "\n" + offsets + "0\nENDSEC\n0\nEOF\n";
}

std::string mlineVertex(double x, double y, double directionX, double directionY, double miterX,
                        double miterY) {
    auto number = [](double value) { return std::to_string(value); };
    return "11\n" + number(x) + "\n21\n" + number(y) + "\n31\n0\n12\n" + number(directionX) + "\n22\n" +
           number(directionY) + "\n32\n0\n13\n" + number(miterX) + "\n23\n" + number(miterY) + "\n33\n0\n";
}

TEST(MlineGeometry, ExtentsReachTheOuterElementsOfTheStyle) {
    const std::string straight = mlineVertex(0, 0, 1, 0, 0, 1) + mlineVertex(10, 0, 1, 0, 0, 1);
    const double half = std::sqrt(0.5);
    const std::string corner = mlineVertex(0, 0, 1, 0, 0, 1) + mlineVertex(10, 0, 0, 1, -half, half) +
                               mlineVertex(10, 10, 0, 1, -1, 0);
    const std::string wideStyle = "49\n2\n62\n256\n6\nBYLAYER\n49\n-1\n62\n256\n6\nBYLAYER\n";
    const std::string narrowStyle = "49\n1\n62\n256\n6\nBYLAYER\n49\n-1\n62\n256\n6\nBYLAYER\n";
    struct Row {
        const char* name;
        std::string drawing;
        AcGePoint3d minimum;
        AcGePoint3d maximum;
    };
    const std::vector<Row> rows = {
        {"top justified, scale 2", mlineDrawing(wideStyle, 2, 2, 0, straight, 2), {0, -6, 0}, {10, 0, 0}},
        {"zero justified, scale 2", mlineDrawing(wideStyle, 2, 2, 1, straight, 2), {0, -2, 0}, {10, 4, 0}},
        {"bottom justified, scale 2", mlineDrawing(wideStyle, 2, 2, 2, straight, 2), {0, 0, 0}, {10, 6, 0}},
        {"mitred corner", mlineDrawing(narrowStyle, 2, 1, 1, corner, 3), {0, -1, 0}, {11, 10, 0}},
    };
    for (const Row& row : rows) {
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxfBuffer(row.drawing, error)) << error.toString();
        const AcDbEntity* mline =
            AcDbEntity::cast(database.peekObject(database.objectIdOf(AcDbHandle(0x30))));
        ASSERT_NE(AcDbMline::cast(mline), nullptr) << row.name;
        AcDbExtents box;
        ASSERT_EQ(mline->getGeomExtents(box), Acad::eOk) << row.name;
        expectBoxNear(box, row.minimum, row.maximum, row.name, 1e-6);
    }
}

// The writer of the generated drawings stores each element's distance along the miter (the first group
// 41 of the element at each vertex); the points it gives bound the same box as the style offsets.
TEST(MlineGeometry, ExtentsAgreeWithTheElementParametersOfRealDrawings) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(
        database.readDxf(quelto::testing::corpusDirectory() / "generated" / "all_entities_R2010.dxf", error));
    int checked = 0;
    database.forEachObject([&](AcDbObjectId id) {
        const auto* mline = AcDbMline::cast(database.peekObject(id));
        if (mline == nullptr) {
            return;
        }
        // Per vertex, per element: group 74 (parameter count), the parameters (41), group 75 and the
        // fill parameters (42); the element count is the style's.
        const int elements =
            static_cast<int>(std::count_if(mline->extraTags().begin(), mline->extraTags().end(),
                                           [](const auto& tag) { return tag.code == 74; }));
        ASSERT_GT(mline->numVertices(), 0);
        const int perVertex = elements / mline->numVertices();
        AcDbExtents fromParameters;
        int element = -1;
        bool firstParameter = false;
        for (const cad::dxf::OwnedTag& tag : mline->extraTags()) {
            if (tag.code == 74) {
                ++element;
                firstParameter = true;
            } else if (tag.code == 41 && firstParameter) {
                const int vertex = element / perVertex;
                fromParameters.addPoint(mline->vertexAt(vertex) + mline->miterAt(vertex) * tag.real);
                firstParameter = false;
            }
        }
        AcDbExtents ours;
        ASSERT_EQ(mline->getGeomExtents(ours), Acad::eOk);
        expectBoxNear(ours, fromParameters.minPoint(), fromParameters.maxPoint(),
                      "multiline " + mline->handle().toHex(), 1e-6);
        ++checked;
    });
    EXPECT_GE(checked, 1);
}

} // namespace
