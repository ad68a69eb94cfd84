// Exploding: which pieces each kind breaks into, where they lie, and the kinds that refuse.
#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/text_entities.h"
#include "geometry_test_support.h"

#include <map>
#include <memory>

using geometrytest::drawing;
using geometrytest::expectBoxNear;
using geometrytest::firstEntity;

namespace {

const std::string kBlock = "0\nBLOCK\n8\n0\n2\nB\n70\n0\n10\n0\n20\n0\n30\n0\n"
                           "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n"
                           "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n0\nENDBLK\n8\n0\n";

TEST(EntityExplode, KindsBreakIntoTheirPieces) {
    struct Row {
        const char* name;
        std::string groups;
        std::map<std::string, int> pieces;
        AcGePoint3d minimum;
        AcGePoint3d maximum;
    };
    const std::vector<Row> rows = {
        {"closed polyline with a bulged side",
         "0\nLWPOLYLINE\n8\nWALLS\n90\n4\n70\n1\n10\n0\n20\n0\n10\n2\n20\n0\n42\n1\n10\n2\n20\n2\n10\n0\n20\n"
         "2\n",
         {{"LINE", 3}, {"ARC", 1}},
         {0, 0, 0},
         {3, 2, 0}},
        {"spatial polyline",
         "0\nPOLYLINE\n8\n0\n66\n1\n70\n8\n0\nVERTEX\n8\n0\n10\n0\n20\n0\n30\n0\n70\n32\n0\nVERTEX\n8\n0\n10"
         "\n3\n20\n0\n"
         "30\n1\n70\n32\n0\nVERTEX\n8\n0\n10\n3\n20\n4\n30\n0\n70\n32\n0\nSEQEND\n8\n0\n",
         {{"LINE", 2}},
         {0, 0, 0},
         {3, 4, 1}},
        {"insert scaled evenly",
         "0\nINSERT\n8\n0\n2\nB\n10\n10\n20\n0\n30\n0\n41\n2\n42\n2\n43\n2\n",
         {{"LINE", 1}, {"CIRCLE", 1}},
         {8, -2, 0},
         {12, 2, 0}},
        {"insert stretched turns its circle into an ellipse",
         "0\nINSERT\n8\n0\n2\nB\n10\n10\n20\n0\n30\n0\n41\n2\n42\n1\n43\n1\n",
         {{"LINE", 1}, {"ELLIPSE", 1}},
         {8, -1, 0},
         {12, 1, 0}},
        {"multiline text",
         "0\nMTEXT\n8\n0\n10\n0\n20\n10\n30\n0\n40\n2\n71\n1\n1\nAB\\PCD\n",
         {{"TEXT", 2}},
         {0, 10 - 2 - 2 * 5.0 / 3.0, 0},
         {8.0 / 3.0, 10, 0}},
    };
    for (const Row& row : rows) {
        const auto database = drawing(row.groups, kBlock);
        const AcDbEntity* entity = firstEntity(*database);
        AcDbVoidPtrArray pieces;
        ASSERT_EQ(entity->explode(pieces), Acad::eOk) << row.name;
        std::map<std::string, int> kinds;
        AcDbExtents box;
        for (void* piece : pieces) {
            std::unique_ptr<AcDbEntity> owned(static_cast<AcDbEntity*>(piece));
            ++kinds[owned->dxfName()];
            EXPECT_EQ(owned->layerName(), entity->layerName()) << row.name;
            AcDbExtents part;
            ASSERT_EQ(owned->getGeomExtents(part), Acad::eOk) << row.name;
            box.addExt(part);
        }
        EXPECT_EQ(kinds, row.pieces) << row.name;
        expectBoxNear(box, row.minimum, row.maximum, row.name, 1e-6);
    }
}

TEST(EntityExplode, KindsWithoutPiecesRefuse) {
    const std::vector<std::string> rows = {
        "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n",
        "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n",
        "0\nTEXT\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n1\nA\n",
        "0\nPOINT\n8\n0\n10\n0\n20\n0\n30\n0\n",
    };
    for (const std::string& groups : rows) {
        const auto database = drawing(groups);
        AcDbVoidPtrArray pieces;
        EXPECT_EQ(firstEntity(*database)->explode(pieces), Acad::eNotApplicable) << groups;
        EXPECT_TRUE(pieces.empty());
    }
}

TEST(EntityExplode, CloneCopiesEveryGroupButTheIdentity) {
    const auto database = drawing("0\nCIRCLE\n8\nPARTS\n62\n3\n10\n1\n20\n2\n30\n0\n40\n4\n");
    const AcDbEntity* original = firstEntity(*database);
    std::unique_ptr<AcDbEntity> copy(original->clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->isNewObject());
    EXPECT_EQ(copy->layerName(), L"PARTS");
    EXPECT_EQ(copy->colorIndex(), 3);
    EXPECT_DOUBLE_EQ(AcDbCircle::cast(copy.get())->radius(), 4);
    EXPECT_TRUE(copy->handle().isNull());
}

} // namespace
