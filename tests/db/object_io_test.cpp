// Reading and writing single objects through their attribute tables: the group order of a read object
// is kept, changed objects gain the groups they were read without in the usual place, lists write their
// current size, and new objects are written in the form of the target version.
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/object_io.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> codesOf(const AcDbObject& object, int version) {
    cad::dxf::TextCodec codec = cad::dxf::TextCodec::utf8();
    cad::db::TextContext context(codec);
    cad::dxf::TagCollector collector;
    cad::db::writeObjectTags(object, collector, context, version);
    std::vector<int> codes;
    for (const cad::dxf::OwnedTag& tag : collector.tags()) {
        codes.push_back(tag.code);
    }
    return codes;
}

// Loads "0 SECTION 2 ENTITIES <groups> 0 ENDSEC 0 EOF" and opens its first entity for write.
struct LoadedEntity {
    AcDbDatabase database{false};
    AcDbEntity* entity = nullptr;
    explicit LoadedEntity(const std::string& groups) {
        cad::dxf::TagError error;
        if (!database.readDxfBuffer("0\nSECTION\n2\nENTITIES\n" + groups + "0\nENDSEC\n0\nEOF\n", error)) {
            return;
        }
        const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
        cad::db::openObjectAs(entity, model->entityIds().front(), AcDb::kForWrite);
    }
    ~LoadedEntity() {
        if (entity != nullptr) {
            entity->close();
        }
    }
};

TEST(ObjectIo, ParsesHandlesAsHexadecimal) {
    struct Case {
        const char* text;
        bool valid;
        std::uint64_t value;
    };
    const Case cases[] = {
        {"1F", true, 31}, {"1f", true, 31}, {"FFFFFFFFFFFFFFFF", true, ~0ULL}, {"", false, 0},
        {"G1", false, 0}, {"1 ", false, 0}, {"10000000000000000", false, 0}};
    for (const Case& testCase : cases) {
        AcDbHandle handle(7);
        EXPECT_EQ(AcDbHandle::parseHex(testCase.text, handle), testCase.valid) << testCase.text;
        EXPECT_EQ(handle.value(), testCase.valid ? testCase.value : 7U) << testCase.text;
    }
    EXPECT_EQ(AcDbHandle(0x2AULL).toHex(), "2A");
}

TEST(ObjectIo, WritesGroupsBackInTheOrderTheyWereRead) {
    const std::vector<std::pair<std::string, std::vector<int>>> cases{
        {"0\nLINE\n8\n0\n5\nA1\n11\n1\n21\n1\n31\n0\n10\n0\n20\n0\n30\n0\n",
         {0, 8, 5, 11, 21, 31, 10, 20, 30}},
        {"0\nLINE\n5\nA1\n999\nnote\n8\n0\n10\n0\n20\n0\n", {0, 5, 999, 8, 10, 20}},
        {"0\nLINE\n5\nA1\n8\n0\n62\n1\n62\n2\n10\n0\n20\n0\n30\n0\n", {0, 5, 8, 62, 62, 10, 20, 30}},
        {"0\nPOINT\n5\nA1\n102\n{ACAD_REACTORS\n330\nB\n102\n}"
         "\n8\n0\n10\n0\n20\n0\n30\n0\n1001\nAPP\n1010\n1\n1020\n2\n",
         {0, 5, 102, 330, 102, 8, 10, 20, 30, 1001, 1010, 1020}},
    };
    for (const auto& [groups, expected] : cases) {
        LoadedEntity loaded(groups);
        ASSERT_NE(loaded.entity, nullptr) << groups;
        EXPECT_EQ(codesOf(*loaded.entity, cad::db::kVersionR12), expected) << groups;
    }
}

TEST(ObjectIo, KeepsASecondGroupOfAMappedCodeUnmapped) {
    LoadedEntity loaded("0\nLINE\n5\nA1\n8\n0\n62\n1\n62\n2\n10\n0\n20\n0\n30\n0\n");
    ASSERT_NE(loaded.entity, nullptr);
    EXPECT_EQ(loaded.entity->colorIndex(), 1);
    ASSERT_EQ(loaded.entity->extraTags().size(), 1U);
    EXPECT_EQ(loaded.entity->extraTags()[0].integer, 2);
}

TEST(ObjectIo, ChangedObjectsGainMissingGroupsWhereNewObjectsHaveThem) {
    struct Case {
        const char* name;
        std::function<void(AcDbEntity&)> change;
        std::vector<int> expected;
    };
    const std::string line =
        "0\nLINE\n5\nA1\n100\nAcDbEntity\n8\n0\n100\nAcDbLine\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n";
    const Case cases[] = {
        {"colour",
         [](AcDbEntity& entity) { entity.setColorIndex(3); },
         {0, 5, 330, 100, 8, 62, 100, 10, 20, 30, 11, 21, 31}},
        {"linetype and lineweight",
         [](AcDbEntity& entity) {
             entity.setLinetype(L"DASHED");
             entity.setLineWeight(AcDb::kLnWt030);
         },
         {0, 5, 330, 100, 8, 6, 370, 100, 10, 20, 30, 11, 21, 31}},
        {"thickness",
         [](AcDbEntity& entity) { AcDbLine::cast(&entity)->setThickness(2.0); },
         {0, 5, 330, 100, 8, 100, 39, 10, 20, 30, 11, 21, 31}},
        {"value that is the default",
         [](AcDbEntity& entity) { entity.setColorIndex(256); },
         {0, 5, 330, 100, 8, 100, 10, 20, 30, 11, 21, 31}},
    };
    for (const Case& testCase : cases) {
        LoadedEntity loaded(line);
        ASSERT_NE(loaded.entity, nullptr);
        testCase.change(*loaded.entity);
        EXPECT_EQ(codesOf(*loaded.entity, cad::db::kVersionR2000), testCase.expected) << testCase.name;
        EXPECT_EQ(loaded.entity->ownerId(), loaded.database.modelSpaceId()) << testCase.name;
    }
}

TEST(ObjectIo, ListsWriteTheirCurrentSize) {
    const std::string groups =
        "0\nLWPOLYLINE\n5\nB\n8\n0\n90\n3\n70\n0\n10\n0\n20\n0\n10\n1\n20\n0\n42\n1\n10\n2\n20\n0\n";
    struct Case {
        const char* name;
        std::function<void(AcDbPolyline&)> change;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"unchanged", [](AcDbPolyline&) {}, {0, 5, 8, 90, 70, 10, 20, 10, 20, 42, 10, 20}},
        {"last vertex removed",
         [](AcDbPolyline& polyline) { polyline.removeVertexAt(2); },
         {0, 5, 8, 90, 70, 10, 20, 10, 20, 42}},
        {"vertex added",
         [](AcDbPolyline& polyline) { polyline.addVertexAt(3, AcGePoint2d(5, 5), 0.5); },
         {0, 5, 8, 90, 70, 10, 20, 10, 20, 42, 10, 20, 10, 20, 42}},
    };
    for (const Case& testCase : cases) {
        LoadedEntity loaded(groups);
        auto* polyline = AcDbPolyline::cast(loaded.entity);
        ASSERT_NE(polyline, nullptr);
        testCase.change(*polyline);
        EXPECT_EQ(codesOf(*polyline, cad::db::kVersionR12), testCase.expected) << testCase.name;
        cad::dxf::TextCodec codec = cad::dxf::TextCodec::utf8();
        cad::db::TextContext context(codec);
        cad::dxf::TagCollector collector;
        cad::db::writeObjectTags(*polyline, collector, context, cad::db::kVersionR12);
        EXPECT_EQ(collector.tags()[3].integer, polyline->numVerts()) << testCase.name;
    }
}

TEST(ObjectIo, WritesNewObjectsInTheTargetVersionsForm) {
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
    line.setColorIndex(2);
    EXPECT_EQ(codesOf(line, cad::db::kVersionR12), (std::vector<int>{0, 8, 62, 10, 20, 30, 11, 21, 31}));
    EXPECT_EQ(codesOf(line, cad::db::kVersionR2000),
              (std::vector<int>{0, 330, 100, 8, 62, 100, 10, 20, 30, 11, 21, 31}));
    AcDbText text;
    text.setTextString(L"标注");
    text.setHeight(2.5);
    EXPECT_EQ(codesOf(text, cad::db::kVersionR12), (std::vector<int>{0, 8, 10, 20, 30, 40, 1}));
}

} // namespace
