// The database's own behaviour: load errors with their position, handles of new objects, ids that
// survive a save, the open/close discipline, and the drawing's structure as the host reports it.
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/dictionary.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "db_test_support.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace {

std::string lines(std::initializer_list<const char*> parts) {
    std::string text;
    for (const char* part : parts) {
        text += part;
        text += '\n';
    }
    return text;
}

TEST(Database, ReportsDamagedFilesWithLineAndExpectation) {
    struct Case {
        const char* name;
        std::string text;
        std::uint64_t line;
        const char* message;
    };
    const Case cases[] = {
        {"section without name", lines({"0", "SECTION", "8", "X"}), 3, "expected 2 and the section name"},
        {"entities cut short", lines({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "8", "0"}), 0,
         "0 ENDSEC"},
        {"group where an entity starts", lines({"0", "SECTION", "2", "ENTITIES", "8", "0", "0", "ENDSEC"}), 5,
         "expected 0 and an entity type"},
        {"table without ENDTAB",
         lines({"0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER", "0", "ENDSEC"}), 9,
         "expected 0 and a table record type"},
        {"block without ENDBLK",
         lines({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B", "0", "ENDSEC"}), 9,
         "expected 0 ENDBLK"},
    };
    for (const Case& testCase : cases) {
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        EXPECT_FALSE(database.readDxfBuffer(testCase.text, error, "bad.dxf")) << testCase.name;
        if (testCase.line != 0) {
            EXPECT_EQ(error.line, testCase.line) << testCase.name;
        }
        EXPECT_NE(error.message.find(testCase.message), std::string::npos)
            << testCase.name << ": " << error.message;
        EXPECT_EQ(database.objectCount(), 0U) << testCase.name << ": a failed load leaves no drawing";
    }
}

TEST(Database, KeepsAnomaliesAsDiagnostics) {
    const std::string text =
        lines({"0", "SECTION", "2", "ENTITIES", "0",    "LINE", "5", "A", "8", "0", "10",     "1", "11",
               "2", "21",      "3", "0",        "LINE", "5",    "A", "8", "0", "0", "ENDSEC", "0", "EOF"});
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxfBuffer(text, error)) << error.toString();
    ASSERT_EQ(database.diagnostics().size(), 2U);
    EXPECT_NE(database.diagnostics()[0].message.find("without its y group 20"), std::string::npos);
    EXPECT_EQ(database.diagnostics()[0].line, 5U);
    EXPECT_NE(database.diagnostics()[1].message.find("duplicate handle A"), std::string::npos);
    const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
    ASSERT_EQ(model->entityIds().size(), 2U);
    EXPECT_NE(model->entityIds()[0].handle(), model->entityIds()[1].handle());
}

TEST(Database, RepairsStructuralAnomaliesAndSaysSo) {
    struct Case {
        const char* name;
        std::string text;
        const char* diagnostic;
        std::size_t modelEntities;
    };
    const std::string blocks =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n5\n20\n2\nB\n70\n0\n0\nPOINT\n8\n0\n0\nENDBLK\n"
        "0\nBLOCK\n5\n21\n2\nB\n70\n0\n0\nCIRCLE\n8\n0\n0\nENDBLK\n0\nENDSEC\n";
    const Case cases[] = {
        {"stray ENDSEC", "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n0\nENDSEC\n0\nEOF\n",
         "ENDSEC without SECTION", 1},
        {"groups between sections",
         "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n0\nENDSEC\n9\n$EXTMIN\n10\n0\n0\nENDSEC\n0\nEOF\n",
         "outside any section", 1},
        {"missing EOF", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n0\nENDSEC\n", "without 0 EOF", 1},
        {"ATTRIB without INSERT", "0\nSECTION\n2\nENTITIES\n0\nATTRIB\n8\n0\n2\nT\n0\nENDSEC\n0\nEOF\n",
         "outside an INSERT", 1},
        {"two blocks of one name", blocks + "0\nEOF\n", "second block named B", 0},
        {"entity owned by a block in ENTITIES",
         blocks + "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\n30\n330\n20\n8\n0\n0\nENDSEC\n0\nEOF\n",
         "as owner, not a space", 1},
    };
    for (const Case& testCase : cases) {
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxfBuffer(testCase.text, error))
            << testCase.name << ": " << error.toString();
        bool found = false;
        for (const cad::db::Diagnostic& diagnostic : database.diagnostics()) {
            found = found || diagnostic.message.find(testCase.diagnostic) != std::string::npos;
        }
        EXPECT_TRUE(found) << testCase.name;
        const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
        EXPECT_EQ(model->entityIds().size(), testCase.modelEntities) << testCase.name;
        // What was kept is written once: the saved drawing reads back without new complaints.
        AcDbDatabase reopened(false);
        ASSERT_TRUE(reopened.readDxfBuffer(dbtest::saveToBytes(database), error)) << testCase.name;
        const auto* savedModel = AcDbBlockTableRecord::cast(reopened.peekObject(reopened.modelSpaceId()));
        EXPECT_EQ(savedModel->entityIds().size(), testCase.modelEntities) << testCase.name;
    }
}

TEST(Database, GivesNewObjectsHandlesAboveTheSeedAndKeepsIdsAcrossSave) {
    AcDbDatabase database;
    const AcDbHandle seed = database.handseed();
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(model, database.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId lineId;
    ASSERT_EQ(model->appendAcDbEntity(lineId, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0))),
              Acad::eOk);
    AcDbObjectId circleId;
    ASSERT_EQ(
        model->appendAcDbEntity(circleId, new AcDbCircle(AcGePoint3d(1, 2, 0), AcGeVector3d::kZAxis, 3)),
        Acad::eOk);
    model->close();
    for (const AcDbObjectId& id : {lineId, circleId}) {
        EXPECT_FALSE(seed.value() > id.handle().value());
        AcDbObject* object = nullptr;
        ASSERT_EQ(cad::db::openObject(object, id, AcDb::kForRead), Acad::eWasOpenForWrite);
        id.slot()->object->close();
    }
    EXPECT_NE(lineId.handle(), circleId.handle());

    const quelto::testing::TemporaryFolder folder;
    const std::filesystem::path path = folder / "ids.dxf";
    cad::dxf::TagError error;
    ASSERT_TRUE(database.writeDxf(path, {}, error)) << error.toString();
    EXPECT_EQ(database.objectIdOf(lineId.handle()), lineId);
    AcDbLine* line = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(line, lineId, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(line->endPoint().x, 10.0);
    line->close();

    AcDbDatabase reopened(false);
    ASSERT_TRUE(reopened.readDxf(path, error)) << error.toString();
    const AcDbObjectId again = reopened.objectIdOf(lineId.handle());
    ASSERT_FALSE(again.isNull());
    EXPECT_TRUE(AcDbLine::cast(reopened.peekObject(again)) != nullptr);
    EXPECT_GT(reopened.handseed().value(), circleId.handle().value());
    std::filesystem::remove(path);
}

TEST(Database, FollowsTheOpenAndCloseDiscipline) {
    AcDbDatabase database;
    const AcDbObjectId layerTable = database.layerTableId();
    struct Step {
        const char* what;
        AcDb::OpenMode mode;
        Acad::ErrorStatus expected;
    };
    AcDbObject* first = nullptr;
    ASSERT_EQ(cad::db::openObject(first, layerTable, AcDb::kForRead), Acad::eOk);
    const Step whileRead[] = {{"second reader", AcDb::kForRead, Acad::eOk},
                              {"writer while read", AcDb::kForWrite, Acad::eWasOpenForRead}};
    for (const Step& step : whileRead) {
        AcDbObject* object = nullptr;
        EXPECT_EQ(cad::db::openObject(object, layerTable, step.mode), step.expected) << step.what;
        if (object != nullptr) {
            object->close();
        }
    }
    EXPECT_EQ(first->close(), Acad::eOk);
    EXPECT_EQ(first->close(), Acad::eNotOpenForRead);

    AcDbObject* writer = nullptr;
    ASSERT_EQ(cad::db::openObject(writer, layerTable, AcDb::kForWrite), Acad::eOk);
    AcDbObject* other = nullptr;
    EXPECT_EQ(cad::db::openObject(other, layerTable, AcDb::kForWrite), Acad::eWasOpenForWrite);
    EXPECT_EQ(cad::db::openObject(other, layerTable, AcDb::kForRead), Acad::eWasOpenForWrite);
    writer->close();

    AcDbLine* notALine = nullptr;
    EXPECT_EQ(cad::db::openObjectAs(notALine, layerTable, AcDb::kForRead), Acad::eNotThatKindOfClass);
    EXPECT_EQ(cad::db::openObject(other, AcDbObjectId(), AcDb::kForRead), Acad::eNullObjectId);

    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(layer, database.recordIdByName(layerTable, L"0"), AcDb::kForRead),
              Acad::eOk);
    EXPECT_EQ(layer->setIsFrozen(true), Acad::eNotOpenForWrite);
    EXPECT_EQ(layer->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(layer->setIsFrozen(true), Acad::eOk);
    EXPECT_EQ(layer->erase(), Acad::eOk);
    layer->close();
    EXPECT_EQ(cad::db::openObject(other, layer->objectId(), AcDb::kForRead), Acad::eWasErased);
    EXPECT_EQ(cad::db::openObject(other, layer->objectId(), AcDb::kForRead, true), Acad::eOk);
    other->close();
}

TEST(Database, ReadsLayoutsGroupsAndEntityPropertiesOfAGeneratedDrawing) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(
        database.readDxf(quelto::testing::corpusDirectory() / "generated/all_entities_R2010.dxf", error))
        << error.toString();
    const auto* layouts = AcDbDictionary::cast(database.peekObject(database.layoutDictionaryId()));
    ASSERT_NE(layouts, nullptr);
    std::map<std::wstring, std::size_t> entitiesPerLayout;
    for (const AcDbDictionaryEntry& entry : layouts->entries()) {
        const auto* layout = AcDbLayout::cast(database.peekObject(database.objectIdOf(entry.handle())));
        ASSERT_NE(layout, nullptr);
        const auto* block = AcDbBlockTableRecord::cast(database.peekObject(layout->getBlockTableRecordId()));
        ASSERT_NE(block, nullptr) << layout->layoutName().size();
        entitiesPerLayout[layout->layoutName()] = block->entityIds().size();
    }
    EXPECT_GT(entitiesPerLayout[L"Model"], 20U);
    EXPECT_GT(entitiesPerLayout[L"布局1"], 0U);
    const auto* groups = AcDbDictionary::cast(database.peekObject(database.groupDictionaryId()));
    ASSERT_NE(groups, nullptr);
    ASSERT_GE(groups->numEntries(), 1U);
    const auto* group =
        AcDbGroup::cast(database.peekObject(database.objectIdOf(groups->entries()[0].handle())));
    ASSERT_NE(group, nullptr);
    AcDbObjectIdArray members;
    EXPECT_GT(group->allEntityIds(members), 0U);
    for (const AcDbObjectId& member : members) {
        EXPECT_NE(AcDbEntity::cast(database.peekObject(member)), nullptr);
    }
}

TEST(Database, SavesWhatEzdxfReadsWithTheSameCounts) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0) {
        GTEST_SKIP() << "ezdxf is not installed";
    }
    const std::string script = std::string(QUELTO_SOURCE_DIR) + "/tests/db/ezdxf_compare.py";
    for (const char* name :
         {"generated/all_entities_R2010.dxf", "generated/all_entities_R2018.dxf",
          "real/qcad_qcad/examples/flange.dxf", "real/skymakerolof_dxf/test/resources/floorplan.dxf"}) {
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxf(quelto::testing::corpusDirectory() / name, error)) << error.toString();
        const quelto::testing::TemporaryFolder folder;
        const std::filesystem::path saved = folder / "saved.dxf";
        ASSERT_TRUE(database.writeDxf(saved, {}, error)) << error.toString();
        const std::string command = "/usr/bin/python3 " + script + " '" +
                                    (quelto::testing::corpusDirectory() / name).string() + "' '" +
                                    saved.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << name;
    }
}

} // namespace
