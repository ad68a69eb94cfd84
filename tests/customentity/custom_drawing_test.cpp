// A corpus drawing whose LIGHT entity belongs to a class the module has no reader for, made selectable
// by a definition in the definition folder: found by the host's selection, its values read by group code.

#include "customentity_test_support.h"
#include "quelto/customentity/freedom_criteria.h"
#include "quelto/customentity/freedom_entity_file.h"
#include "quelto/customentity/freedom_entity_mangage.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using customentity_test::CurrentDrawing;
using customentity_test::IsolatedSettings;

namespace {

std::filesystem::path definitionFolder(const IsolatedSettings& settings) {
    const std::filesystem::path folder = settings.folder() / "Tarnwell" / "Quelto" / "Freedom";
    std::filesystem::create_directories(folder);
    return folder;
}

// The handles of the entities of one DXF type in the drawing, in selection order.
std::vector<std::wstring> handlesOfType(const wchar_t* typeName) {
    resbuf* filter = acutBuildList(RTDXF0, typeName, 0);
    ads_name set;
    const int status = acedSSGet(L"X", nullptr, nullptr, filter, set);
    acutRelRb(filter);
    std::vector<std::wstring> handles;
    if (status != RTNORM) {
        return handles;
    }
    std::int32_t length = 0;
    acedSSLength(set, &length);
    for (std::int32_t index = 0; index < length; ++index) {
        ads_name entity;
        acedSSName(set, index, entity);
        AcDbObjectId id;
        acdbGetObjectId(id, entity);
        handles.push_back(id.handle().toWideHex());
    }
    acedSSFree(set);
    return handles;
}

// The values the catalogue would show for the entity: one text per slot, "-" where nothing was written.
std::vector<CString> readValues(const CFreedomEntityMangage& registry, AcDbObjectId id,
                                std::size_t slotCount) {
    std::vector<CString> values(slotCount, L"-");
    registry.ReadCustomEntity(id, FALSE, [&](const CString&) -> std::optional<std::vector<CString*>> {
        std::vector<CString*> slots;
        for (CString& value : values) {
            slots.push_back(&value);
        }
        return slots;
    });
    return values;
}

TEST(CorpusDrawing, ALightOfAClassWithoutReaderIsReadThroughADefinition) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    const std::filesystem::path drawingFile =
        quelto::testing::corpusFile("real/LibreDWG_libredwg/test/test-data/example_2000.dxf");
    const IsolatedSettings settings;
    CFreedomEntityFile file;
    file.softName = L"渲染";
    CFreedomEntity light;
    light.displayName = L"灯光";
    light.className = L"LIGHT";
    const auto addProp = [&](const wchar_t* name, int kind, int groupCode, CStringArray items = {}) {
        CFreedomProp prop;
        prop.name = name;
        prop.kind = kind;
        prop.groupCode = groupCode;
        prop.items = std::move(items);
        light.props.push_back(prop);
    };
    addProp(L"位置", 1, 10);
    addProp(L"强度", 3, 40);
    addProp(L"类型", 4, 70, {L"1=平行光", L"2=点光源", L"3=聚光灯"});
    addProp(L"名称", 6, 1);
    addProp(L"聚光角", 1, 50); // a real read as a point
    addProp(L"衰减角", 3, 51);
    file.entities.push_back(light);
    ASSERT_TRUE(file.Save((definitionFolder(settings) / "lights.dom").wstring()));

    CurrentDrawing drawing(drawingFile);
    ASSERT_TRUE(drawing.loaded());
    cad::ed::QueuedCommandLine commandLine;
    cad::ed::ScopedCommandLine scope(commandLine);
    CFreedomEntityMangage registry;
    registry.Load(FALSE);
    ASSERT_EQ(handlesOfType(L"LIGHT"), (std::vector<std::wstring>{L"75E"}));
    EXPECT_EQ(readValues(registry, drawing.idOf(L"75E"), 10),
              (std::vector<CString>{L"1861.3777152", L"2318.490305", L"0", L"5.4", L"3", L"Spotlight1", L"-",
                                    L"-", L"-", L"50"}));
    EXPECT_EQ(commandLine.transcript(), L"\n警告：实体灯光（LIGHT）的组码50类型错误（5001）");
    const CFreedomCriteria criteria(registry, drawing.idOf(L"75E"));
    const CFreedomCriterionValue spot = criteria.Evaluate(4011, L"聚光灯", FALSE);
    EXPECT_EQ(spot.kind, CFreedomCriterionValue::Integer);
    EXPECT_EQ(spot.integer, 3);
    EXPECT_EQ(spot.criterionText, L"3");
}

} // namespace
