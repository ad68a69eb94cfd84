// The loader's shortcuts for large drawings must not change what it reads: recently seen names, the
// handle index sized from $HANDSEED, and list room taken from the counts files announce.
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/symbol_tables.h"
#include "db_test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string lineGroups(const std::string& handle, const std::string& layer) {
    return "0\nLINE\n5\n" + handle + "\n8\n" + layer + "\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n";
}

std::string drawingWith(const std::string& handseed, const std::string& entityGroups) {
    return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\n" + handseed +
           "\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entityGroups + "0\nENDSEC\n0\nEOF\n";
}

std::vector<const AcDbEntity*> modelSpaceEntities(const AcDbDatabase& database) {
    std::vector<const AcDbEntity*> entities;
    const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
    for (const AcDbObjectId& id : model->entityIds()) {
        entities.push_back(AcDbEntity::cast(database.peekObject(id)));
    }
    return entities;
}

TEST(DxfLoader, GivesEveryEntityTheLayerItNamesWhenNamesLookAlike) {
    struct Case {
        const char* name;
        std::vector<std::string> layers;
    };
    const std::vector<Case> cases = {
        {"same length and end bytes", {"A1Z", "A2Z", "A3Z", "AZZ"}},
        {"one a prefix of another", {"WALL", "WALLS", "WALLS_", "W"}},
        {"differing in the middle only", {"LAYER_0001_X", "LAYER_0002_X", "LAYER_0011_X"}},
        {"case only", {"Doors", "DOORS", "doors"}},
        {"default name among others", {"0", "00", "0", "O"}},
    };
    for (const Case& testCase : cases) {
        std::string groups;
        std::vector<std::string> expected;
        for (int index = 0; index < 40; ++index) {
            const std::string& layer = testCase.layers[(index * 7 / 3) % testCase.layers.size()];
            groups += lineGroups(std::to_string(100 + index), layer);
            expected.push_back(layer);
        }
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxfBuffer(drawingWith("400", groups), error)) << error.toString();
        const std::vector<const AcDbEntity*> entities = modelSpaceEntities(database);
        ASSERT_EQ(entities.size(), expected.size()) << testCase.name;
        for (std::size_t index = 0; index < entities.size(); ++index) {
            EXPECT_EQ(entities[index]->layerName(),
                      std::wstring(expected[index].begin(), expected[index].end()))
                << testCase.name << ", entity " << index;
        }
    }
}

TEST(DxfLoader, FindsEveryHandleAndGivesNewOnesAboveThemWhateverHandseedSays) {
    struct Case {
        const char* name;
        std::string handseed;
    };
    const std::vector<Case> cases = {
        {"right", "2000"}, {"far too large", "FFFFFFFFFFFF"}, {"below the handles in use", "2"},
        {"zero", "0"},     {"not hexadecimal", "XYZ"},
    };
    constexpr int kLineCount = 3000; // more than the smallest index holds
    std::string groups;
    for (int index = 0; index < kLineCount; ++index) {
        std::string layer = index % 2 == 0 ? "0" : "EVEN";
        groups += lineGroups(AcDbHandle(static_cast<std::uint64_t>(0x100 + index)).toHex(), layer);
    }
    for (const Case& testCase : cases) {
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxfBuffer(drawingWith(testCase.handseed, groups), error))
            << testCase.name << ": " << error.toString();
        std::uint64_t largest = 0;
        for (const AcDbEntity* entity : modelSpaceEntities(database)) {
            const AcDbObjectId found = database.objectIdOf(entity->handle());
            ASSERT_FALSE(found.isNull()) << testCase.name << ", handle " << entity->handle().toHex();
            EXPECT_EQ(database.peekObject(found), entity) << testCase.name;
            largest = std::max(largest, entity->handle().value());
        }
        EXPECT_EQ(largest, static_cast<std::uint64_t>(0x100 + kLineCount - 1)) << testCase.name;

        AcDbBlockTableRecord* model = nullptr;
        ASSERT_EQ(cad::db::openObjectAs(model, database.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
        AcDbObjectId added;
        auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
        ASSERT_EQ(model->appendAcDbEntity(added, line), Acad::eOk);
        line->close();
        model->close();
        EXPECT_GT(added.handle().value(), largest) << testCase.name;
        EXPECT_EQ(database.objectIdOf(added.handle()), added) << testCase.name;
    }
}

TEST(DxfLoader, KeepsTheVerticesAPolylineHoldsWhateverItsCountSays) {
    const std::vector<std::string> counts = {"3", "0", "1", "-7", "1000000000", "2147483647"};
    for (const std::string& count : counts) {
        const std::string groups = "0\nLWPOLYLINE\n5\n100\n8\n0\n90\n" + count +
                                   "\n70\n0\n10\n1\n20\n2\n10\n3\n20\n4\n10\n5\n20\n6\n";
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxfBuffer(drawingWith("200", groups), error)) << error.toString();
        const std::vector<const AcDbEntity*> entities = modelSpaceEntities(database);
        ASSERT_EQ(entities.size(), 1u) << count;
        const auto* polyline = AcDbPolyline::cast(entities.front());
        ASSERT_NE(polyline, nullptr) << count;
        ASSERT_EQ(polyline->numVerts(), 3u) << count;
        for (unsigned int vertex = 0; vertex < 3; ++vertex) {
            AcGePoint2d point;
            ASSERT_EQ(polyline->getPointAt(vertex, point), Acad::eOk);
            EXPECT_EQ(point.x, 1.0 + 2 * vertex) << count;
            EXPECT_EQ(point.y, 2.0 + 2 * vertex) << count;
        }
    }
}

} // namespace
