// Drawings written in East Asian code pages read by meaning: the layer names and texts must come out as
// the very characters the drafter typed, not merely bytes that survive a round trip (a wrong code page
// keeps the bytes too, so only the decoded characters tell).

#include "cad/db/database.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string drawing(const std::string& codePage, const std::string& layer, const std::string& text) {
    std::string dxf = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\n" + codePage +
                      "\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n0\nLAYER\n2\n" + layer +
                      "\n70\n0\n62\n7\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n";
    dxf += "0\nSECTION\n2\nENTITIES\n0\nTEXT\n8\n" + layer + "\n10\n0\n20\n0\n30\n0\n40\n2.5\n1\n" + text +
           "\n0\nENDSEC\n0\nEOF\n";
    return dxf;
}

TEST(CodePage, DecodesEastAsianLayerNamesAndTextsCharacterForCharacter) {
    struct Row {
        const char* codePage;
        std::string layerBytes;
        std::wstring layer;
        std::string textBytes;
        std::wstring text;
    };
    const Row rows[] = {
        {"ANSI_936", "\xC7\xBD\xCC\xE5", L"墙体", "\xC3\xC5\xB4\xB0\xB1\xED", L"门窗表"},
        {"ANSI_949", "\xBA\xAE\xC3\xBC", L"벽체", "\xC3\xA2\xB9\xAE", L"창문"},
        // Shift-JIS trail bytes include 0x5C, the backslash that starts escapes in single-byte pages.
        {"DOS932", "\x95\xC7", L"壁", "\x91\x8B\x83\x4B\x83\x89\x83\x58 \x83\x5C\x83\x74\x83\x40",
         L"窓ガラス ソファ"},
        // A Western drawing spells East Asian characters as \M+n escapes: 5 is GB2312, 1 Shift-JIS.
        {"ANSI_1252", "\\M+5C7BD\\M+5CCE5", L"墙体", "\\M+182A0-\\M+5C7BD", L"あ-墙"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.codePage);
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxfBuffer(drawing(row.codePage, row.layerBytes, row.textBytes), error))
            << error.toString();
        const auto* layer = AcDbLayerTableRecord::cast(
            database.peekObject(database.recordIdByName(database.layerTableId(), row.layer)));
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->name(), row.layer);
        const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
        ASSERT_EQ(model->entityIds().size(), 1u);
        const auto* text = AcDbText::cast(database.peekObject(model->entityIds().front()));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->textString(), row.text);
        EXPECT_EQ(text->layerName(), row.layer);
    }
}

} // namespace
