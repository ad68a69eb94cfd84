// Every type matcher on real entities: the generated corpus drawings hold each kind the engine reads, in
// model space and in a paper layout; ezdxf computes the values the engine compares (ezdxf_values.py),
// and a row "=" with that value must select the entity while "!=" must not. Built entities then pin the
// rules the corpus cannot vary: enumeration translations, the justification index, ids a matcher does
// not evaluate.
#include "platform/code_page.h"
#include "support/command_output.h"
#include "support/test_support.h"
#include "tests/matching/matching_drawing.h"

#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

namespace {

using matching_test::Ids;

std::optional<std::string> ezdxfValues(const std::filesystem::path& drawing) {
    const std::string command = "/usr/bin/python3 '" + std::string(QUELTO_SOURCE_DIR) +
                                "/tests/matching/ezdxf_values.py' '" + drawing.string() + "' 2>/dev/null";
    return quelto::testing::commandOutput(command);
}

// The engine over a set of one entity, with one row.
bool selects(AcDbObjectId id, const CString& typeName, int propertyId, const wchar_t* op,
             const CString& value) {
    ads_name set;
    ads_name name;
    acdbGetAdsName(name, id);
    acedSSAdd(name, nullptr, set);
    CFilter filter;
    filter.m_bType = 1;
    filter.m_arrPropId = {propertyId};
    filter.m_arrPropRow = {0};
    filter.m_arrPropOp = {op};
    filter.m_arrPropValue = {value};
    CEntityExtendFilter engine;
    engine.LoadFromFilter(filter);
    AcDbObjectIdArray ids;
    engine.FilterSelection(set, typeName, ids);
    acedSSFree(set);
    return ids.size() == 1;
}

TEST(TypeMatchers, AgreeWithEzdxfOnEveryKindOfTheGeneratedDrawings) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    filter_test::IsolatedSettings settings;
    CQLTSystemParam().SetUseUserCoord(0);
    std::map<std::string, int> comparedByKind;
    for (const char* name : {"all_entities_R2004.dxf", "all_entities_R2010.dxf", "all_entities_R2018.dxf"}) {
        const std::filesystem::path path = quelto::testing::corpusFile("generated") / name;
        const std::optional<std::string> output = ezdxfValues(path);
        if (!output) {
            GTEST_SKIP() << "python3-ezdxf cannot compute the values of " << name;
        }
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxf(path, error)) << error.toString();
        cad::ed::EditorState editor;
        editor.database = &database;
        cad::ed::setCurrentEditor(&editor);
        std::stringstream lines(*output);
        std::string line;
        while (std::getline(lines, line)) {
            std::stringstream fields(line);
            std::string handle, type, id, kind, value;
            std::getline(fields, handle, '\t');
            std::getline(fields, type, '\t');
            std::getline(fields, id, '\t');
            std::getline(fields, kind, '\t');
            std::getline(fields, value);
            AcDbHandle parsed;
            ASSERT_TRUE(AcDbHandle::parseHex(handle, parsed)) << line;
            const AcDbObjectId entity = database.objectIdOf(parsed);
            const CString typeName = platform::utf8ToWide(type);
            const CString valueText = platform::utf8ToWide(value);
            EXPECT_TRUE(selects(entity, typeName, std::stoi(id), L"=", valueText)) << name << ": " << line;
            if (kind != "E") {
                EXPECT_FALSE(selects(entity, typeName, std::stoi(id), L"!=", valueText))
                    << name << ": " << line;
            }
            ++comparedByKind[type];
        }
        cad::ed::setCurrentEditor(nullptr);
    }
    std::string summary;
    for (const auto& [kind, count] : comparedByKind) {
        summary += " " + kind + " " + std::to_string(count);
    }
    std::printf("[ values ] compared with ezdxf:%s\n", summary.c_str());
    EXPECT_EQ(comparedByKind.size(), 20u) << "every built-in kind but REGION";
}

class BuiltEntities : public matching_test::MatchingDrawing {};

TEST_F(BuiltEntities, EnumerationsAndDerivedValuesFollowTheEngineRules) {
    auto* text = new AcDbText();
    text->setTextString(L"12.5 mm");
    text->setHeight(2.5);
    text->setHorizontalMode(AcDb::kTextRight);
    text->setVerticalMode(AcDb::kTextTop);
    const AcDbObjectId topRight = add(text);
    auto* fitted = new AcDbText();
    fitted->setHorizontalMode(AcDb::kTextFit);
    fitted->setVerticalMode(AcDb::kTextTop);
    const AcDbObjectId oddJustification = add(fitted);
    const AcDbObjectId arc = add(new AcDbArc(AcGePoint3d(0, 0, 0), 2.0, 350.0 * 3.141592653589793 / 180.0,
                                             10.0 * 3.141592653589793 / 180.0));
    auto* polyline = new AcDbPolyline();
    polyline->addVertexAt(0, AcGePoint2d(0, 0));
    polyline->addVertexAt(1, AcGePoint2d(3, 0));
    polyline->addVertexAt(2, AcGePoint2d(3, 4), 1.0);
    polyline->setClosed(true);
    const AcDbObjectId closedWithArc = add(polyline);
    const AcDbObjectId emptyPolyline = add(new AcDbPolyline());
    const AcDbObjectId circle = add(new AcDbCircle(AcGePoint3d(1, 2, 3), AcGeVector3d(0, 0, 1), 1.0));
    struct Case {
        AcDbObjectId entity;
        const wchar_t* type;
        int id;
        const wchar_t* op;
        const wchar_t* value;
        bool selected;
    };
    const Case cases[] = {
        {topRight, L"TEXT", 403, L"=", L"右上", true},
        {topRight, L"TEXT", 403, L"!=", L"右上", true}, // enumerations always test equality
        {topRight, L"TEXT", 403, L"=", L"右", false},
        {topRight, L"TEXT", 403, L"=", L"没有", false},
        {oddJustification, L"TEXT", 403, L"=", L"正中", true},
        {topRight, L"TEXT", 401, L"=", L"否", true},
        {topRight, L"TEXT", 401, L"=", L"不是", true}, // any name but "是" is 0
        {topRight, L"TEXT", 212, L"=", L"12.5", true},
        {topRight, L"TEXT", 302, L"通配符", L"12*MM", true},
        {topRight, L"TEXT", 302, L"特征", L"实数", false},
        {arc, L"ARC", 217, L"=", L"20", true},
        {arc, L"ARC", 218, L"=", L"0.6981317", true},
        {closedWithArc, L"LWPOLYLINE", 401, L"=", L"是", true},
        {closedWithArc, L"LWPOLYLINE", 402, L"=", L"否", true},
        {closedWithArc, L"LWPOLYLINE", 101, L"%2=", L"1", true},
        {closedWithArc, L"LWPOLYLINE", 101, L"&", L"2", true},
        {emptyPolyline, L"LWPOLYLINE", 201, L"=", L"0", true},
        {emptyPolyline, L"LWPOLYLINE", 206, L"=", L"0", true},
        {circle, L"CIRCLE", 206, L"=", L"6.2831853", true},
        {circle, L"CIRCLE", 207, L"=", L"3.1415927", true},
        {circle, L"CIRCLE", 203, L"=", L"3", true},
        {circle, L"CIRCLE", 299, L"=", L"whatever", true}, // an id the matcher does not know
        {circle, L"ARC", 213, L"=", L"1", false},          // a circle is no arc
    };
    for (const Case& item : cases) {
        const CFilter filter = rowsFilter({{item.id, item.op, item.value}});
        EXPECT_EQ(run(filter, item.type, {item.entity}).size() == 1, item.selected)
            << testing::PrintToString(std::wstring(item.type)) << " " << item.id << " "
            << testing::PrintToString(std::wstring(item.op)) << " "
            << testing::PrintToString(std::wstring(item.value));
    }
}

} // namespace
