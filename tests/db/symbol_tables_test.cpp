// Table records and style variables: layer state bits, adding records, implied layers for the names
// entities use but the file does not define, text style typefaces and the dimension's own style
// overrides.
#include "cad/db/database.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "db_test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string tablesFile(const std::string& records, const std::string& entities = {}) {
    return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n" + records +
           "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

TEST(SymbolTables, ReadLayerStateFromFlagsAndColourSign) {
    struct Case {
        const char* flags;
        const char* color;
        bool off, frozen, locked;
        int colorIndex;
    };
    const Case cases[] = {{"0", "7", false, false, false, 7},
                          {"1", "7", false, true, false, 7},
                          {"4", "-3", true, false, true, 3},
                          {"5", "-1", true, true, true, 1}};
    for (const Case& testCase : cases) {
        const std::string records =
            std::string("0\nTABLE\n2\nLAYER\n5\n2\n70\n1\n0\nLAYER\n5\n10\n2\nL1\n70\n") + testCase.flags +
            "\n62\n" + testCase.color + "\n6\nDASHED\n370\n25\n0\nENDTAB\n";
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxfBuffer(tablesFile(records), error)) << error.toString();
        const auto* layer = AcDbLayerTableRecord::cast(
            database.peekObject(database.recordIdByName(database.layerTableId(), L"l1")));
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->isOff(), testCase.off) << testCase.flags;
        EXPECT_EQ(layer->isFrozen(), testCase.frozen) << testCase.flags;
        EXPECT_EQ(layer->isLocked(), testCase.locked) << testCase.flags;
        EXPECT_EQ(layer->colorIndex(), testCase.colorIndex) << testCase.flags;
        EXPECT_EQ(layer->linetypeName(), L"DASHED");
        EXPECT_EQ(layer->lineWeight(), AcDb::kLnWt025);
    }
}

// How often `value` stands alone on a line of the saved text (lines end in CR LF).
std::size_t valueLines(const std::string& text, const std::string& value) {
    const std::string line = "\n" + value + "\r\n";
    std::size_t count = 0;
    for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
        ++count;
    }
    return count;
}

// Layers the entities name and the file does not define are found like defined ones, and stay out of
// the saved file (which is written as read) until one of them is changed.
TEST(SymbolTables, LayersTheFileLeavesOutAreImpliedAndWrittenOnlyOnceChanged) {
    const struct {
        const char* name;
        std::string file;
        std::size_t layerLines; // "LAYER" lines in the saved file before any change: the file's own
    } files[] = {
        {"no TABLES section",
         "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nWALL\n10\n0\n20\n0\n11\n1\n21\n0\n"
         "0\nCIRCLE\n8\nwall\n10\n0\n20\n0\n40\n1\n0\nCIRCLE\n10\n0\n20\n0\n40\n2\n"
         "0\nENDSEC\n0\nEOF\n",
         0},
        {"a LAYER table without them",
         tablesFile("0\nTABLE\n2\nLAYER\n5\n2\n70\n1\n0\nLAYER\n5\n10\n2\nDIM\n70\n0\n62\n7\n6\nCONTINUOUS\n"
                    "0\nENDTAB\n",
                    "0\nLINE\n5\n20\n8\nWALL\n10\n0\n20\n0\n11\n1\n21\n0\n0\nLINE\n5\n21\n8\n0\n10\n0\n20\n0"
                    "\n11\n1\n"
                    "21\n0\n"),
         2},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxfBuffer(file.file, error)) << error.toString();
        const AcDbObjectId wall = database.recordIdByName(database.layerTableId(), L"WALL");
        ASSERT_FALSE(wall.isNull());
        EXPECT_FALSE(database.recordIdByName(database.layerTableId(), L"0").isNull());
        const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
        EXPECT_EQ(AcDbEntity::cast(database.peekObject(model->entityIds().front()))->layerId(), wall);

        AcDbDatabase unchanged(false);
        ASSERT_TRUE(unchanged.readDxfBuffer(dbtest::saveToBytes(database), error)) << error.toString();
        EXPECT_EQ(dbtest::saveToBytes(unchanged), dbtest::saveToBytes(database));
        EXPECT_EQ(valueLines(dbtest::saveToBytes(database), "LAYER"), file.layerLines);

        AcDbLayerTableRecord* record = nullptr;
        ASSERT_EQ(cad::db::openObjectAs(record, wall, AcDb::kForWrite), Acad::eOk);
        record->setColorIndex(3);
        record->close();
        const std::string saved = dbtest::saveToBytes(database);
        // The changed layer's record, and the table's header when the file had none; "0" stays implied.
        EXPECT_EQ(valueLines(saved, "LAYER"), file.layerLines + (file.layerLines == 0 ? 2 : 1));
        AcDbDatabase reopened(false);
        ASSERT_TRUE(reopened.readDxfBuffer(saved, error)) << error.toString();
        const auto* kept = AcDbLayerTableRecord::cast(
            reopened.peekObject(reopened.recordIdByName(reopened.layerTableId(), L"WALL")));
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->colorIndex(), 3);
    }
}

TEST(SymbolTables, AddRecordsOnlyOncePerNameAndOnlyWhenOpenForWrite) {
    AcDbDatabase database;
    AcDbSymbolTable* layers = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(layers, database.layerTableId(), AcDb::kForRead), Acad::eOk);
    auto* record = new AcDbLayerTableRecord();
    record->setName(L"墙体");
    EXPECT_EQ(layers->add(record), Acad::eNotOpenForWrite);
    ASSERT_EQ(layers->upgradeOpen(), Acad::eOk);
    AcDbObjectId id;
    ASSERT_EQ(layers->add(id, record), Acad::eOk);
    record->setIsOff(true);
    record->close();
    auto* duplicate = new AcDbLayerTableRecord();
    duplicate->setName(L"墙体");
    EXPECT_EQ(layers->add(duplicate), Acad::eDuplicateKey);
    delete duplicate;
    layers->close();

    cad::dxf::TagError error;
    AcDbDatabase reopened(false);
    ASSERT_TRUE(reopened.readDxfBuffer(dbtest::saveToBytes(database), error)) << error.toString();
    const auto* saved = AcDbLayerTableRecord::cast(
        reopened.peekObject(reopened.recordIdByName(reopened.layerTableId(), L"墙体")));
    ASSERT_NE(saved, nullptr);
    EXPECT_TRUE(saved->isOff());
    EXPECT_EQ(saved->handle(), id.handle());
}

// Group 70 of the saved LAYER table.
std::int64_t savedLayerTableCount(const AcDbDatabase& database) {
    cad::dxf::TagReader reader;
    cad::dxf::TagError error;
    const std::string bytes = dbtest::saveToBytes(database);
    EXPECT_TRUE(reader.openBuffer(bytes, error)) << error.toString();
    std::vector<dbtest::ComparableTag> tags;
    EXPECT_TRUE(dbtest::readTags(reader, tags));
    for (std::size_t index = 0; index + 2 < tags.size(); ++index) {
        if (tags[index].code == 0 && tags[index].text == L"TABLE" && tags[index + 1].text == L"LAYER") {
            for (std::size_t group = index + 2; group < tags.size() && tags[group].code != 0; ++group) {
                if (tags[group].code == 70) {
                    return tags[group].integer;
                }
            }
        }
    }
    return -1;
}

TEST(SymbolTables, CountAddedRecordsInTheTablesGroup70) {
    const std::string records = "0\nTABLE\n2\nLAYER\n5\n2\n70\n0\n0\nLAYER\n5\n10\n2\n0\n70\n0\n62\n7\n6\n"
                                "CONTINUOUS\n0\nENDTAB\n";
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxfBuffer(tablesFile(records), error)) << error.toString();
    EXPECT_EQ(savedLayerTableCount(database), 0) << "an unchanged table keeps its count as read";
    AcDbSymbolTable* layers = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(layers, database.layerTableId(), AcDb::kForWrite), Acad::eOk);
    for (const wchar_t* name : {L"WALLS", L"DOORS"}) {
        auto* record = new AcDbLayerTableRecord();
        record->setName(name);
        ASSERT_EQ(layers->add(record), Acad::eOk);
        record->close();
    }
    layers->close();
    EXPECT_EQ(savedLayerTableCount(database), 3);
}

TEST(SymbolTables, TakeTheTypefaceFromTheStylesExtendedData) {
    const std::string records = "0\nTABLE\n2\nSTYLE\n5\n3\n70\n2\n0\nSTYLE\n5\n11\n2\nTT\n70\n0\n3\nsimsun."
                                "ttc\n1001\nACAD\n1000\n\\U+5B8B\\U+4F53\n1071\n0\n"
                                "0\nSTYLE\n5\n12\n2\nSHX\n70\n0\n3\ntxt.shx\n0\nENDTAB\n";
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxfBuffer(tablesFile(records), error)) << error.toString();
    for (const auto& [name, typeface] : {std::pair{L"TT", L"宋体"}, std::pair{L"SHX", L""}}) {
        const auto* style = AcDbTextStyleTableRecord::cast(
            database.peekObject(database.recordIdByName(database.textStyleTableId(), name)));
        ASSERT_NE(style, nullptr);
        EXPECT_EQ(style->typeface(), typeface);
    }
}

TEST(SymbolTables, AnswerTheFontQueryWithTypefaceAndFlags) {
    // 0x3008622: bold and italic, character set 134 (GB2312), pitch and family 0x22.
    const std::string records = "0\nTABLE\n2\nSTYLE\n5\n3\n70\n2\n0\nSTYLE\n5\n11\n2\nTT\n70\n0\n3\nsimsun."
                                "ttc\n1001\nACAD\n1000\n\\U+5B8B\\U+4F53\n1071\n50365986\n"
                                "0\nSTYLE\n5\n12\n2\nSHX\n70\n0\n3\ntxt.shx\n0\nENDTAB\n";
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxfBuffer(tablesFile(records), error)) << error.toString();
    struct Case {
        const wchar_t* name;
        const wchar_t* typeface;
        bool bold, italic;
        int charset, pitchAndFamily;
    };
    for (const Case& row :
         {Case{L"TT", L"宋体", true, true, 134, 0x22}, Case{L"SHX", L"", false, false, 0, 0}}) {
        const auto* style = AcDbTextStyleTableRecord::cast(
            database.peekObject(database.recordIdByName(database.textStyleTableId(), row.name)));
        ASSERT_NE(style, nullptr);
        ACHAR* typeface = nullptr;
        Adesk::Boolean bold = false;
        Adesk::Boolean italic = false;
        int charset = -1;
        int pitchAndFamily = -1;
        ASSERT_EQ(style->font(typeface, bold, italic, charset, pitchAndFamily), Acad::eOk);
        ASSERT_NE(typeface, nullptr);
        EXPECT_EQ(std::wstring(typeface), row.typeface);
        std::free(typeface);
        EXPECT_EQ(bold, row.bold) << row.name;
        EXPECT_EQ(italic, row.italic) << row.name;
        EXPECT_EQ(charset, row.charset) << row.name;
        EXPECT_EQ(pitchAndFamily, row.pitchAndFamily) << row.name;
    }
}

TEST(SymbolTables, DimensionsPreferTheirOwnStyleOverrides) {
    const std::string records =
        "0\nTABLE\n2\nDIMSTYLE\n5\nA\n70\n1\n0\nDIMSTYLE\n105\n27\n2\nISO\n70\n0\n3\n<> mm\n40\n2\n"
        "41\n3\n78\n8\n271\n2\n0\nENDTAB\n";
    const std::string plain = "0\nDIMENSION\n5\n40\n8\n0\n2\n*D1\n70\n0\n3\nISO\n";
    const std::string overridden =
        "0\nDIMENSION\n5\n41\n8\n0\n2\n*D2\n70\n0\n3\nISO\n1001\nACAD\n1000\nDSTYLE\n1002\n{\n"
        "1070\n271\n1070\n5\n1070\n40\n1040\n4.0\n1002\n}\n";
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxfBuffer(tablesFile(records, plain + overridden), error)) << error.toString();
    struct Case {
        std::uint64_t handle;
        int dimdec;
        double dimscale;
    };
    for (const Case& testCase : {Case{0x40, 2, 2.0}, Case{0x41, 5, 4.0}}) {
        const auto* dimension =
            AcDbDimension::cast(database.peekObject(database.objectIdOf(testCase.handle)));
        ASSERT_NE(dimension, nullptr);
        EXPECT_EQ(dimension->dimdec(), testCase.dimdec);
        EXPECT_EQ(dimension->dimscale(), testCase.dimscale);
        EXPECT_EQ(dimension->dimasz(), 3.0);
        EXPECT_EQ(dimension->dimzin(), 8);
        EXPECT_EQ(dimension->dimpost(), L"<> mm");
    }
}

} // namespace
