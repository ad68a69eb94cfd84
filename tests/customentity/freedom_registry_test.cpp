// The registry over a real drawing: definitions loaded from the definition folder, values of custom
// entities read from their DXF data into catalogue slots and into criterion values, with the warnings for
// a missing or mistyped group code, user coordinates, enumeration texts and ids no property covers.

#include "customentity_test_support.h"
#include "quelto/customentity/freedom_criteria.h"
#include "quelto/customentity/freedom_entity_file.h"
#include "quelto/customentity/freedom_entity_mangage.h"

#include <gtest/gtest.h>

using customentity_test::CurrentDrawing;
using customentity_test::IsolatedSettings;
using customentity_test::makeProp;

namespace {

// DXF text of one entity of a foreign application's class QLT_PIPE with the given groups.
std::string pipeText(const char* handle, std::initializer_list<std::pair<int, const char*>> groups) {
    std::string text =
        std::string("  0\nQLT_PIPE\n  5\n") + handle + "\n  8\n0\n100\nAcDbEntity\n100\nQltPipe\n";
    for (const auto& [code, value] : groups) {
        text += std::to_string(code) + "\n" + value + "\n";
    }
    return text;
}

// Three pipes: the first with every group and extended data, the second without groups 41, 110 and the
// extended data, the third also without group 40.
std::string pipesDxf() {
    return "  0\nSECTION\n  2\nENTITIES\n" +
           pipeText("A1", {{10, "1"},
                           {20, "2"},
                           {30, "0"},
                           {40, "150"},
                           {41, "2.5"},
                           {70, "1"},
                           {90, "7"},
                           {1, "P-1"},
                           {110, "0"},
                           {120, "0"},
                           {130, "0"},
                           {1001, "QLT_APP"},
                           {1040, "12.5"}}) +
           pipeText("A2", {{10, "5"}, {20, "2"}, {30, "0"}, {40, "200"}, {70, "2"}, {90, "8"}, {1, "P-2"}}) +
           pipeText("A3", {{10, "9"}, {20, "2"}, {30, "0"}, {70, "1"}, {90, "9"}, {1, "P-3"}}) +
           "  0\nENDSEC\n  0\nEOF\n";
}

CFreedomEntity pipeDefinition(const wchar_t* displayName) {
    CFreedomEntity entity;
    entity.displayName = displayName;
    entity.className = L"QLT_PIPE";
    entity.props = {
        makeProp(L"起点", 1, 10),                           // slots 0-2, ids 2055-2057
        makeProp(L"管径", 3, 40),                           // slot 3, id 2003
        makeProp(L"材质", 4, 70, {L"1=钢管", L"2=塑料管"}), // slot 4, id 4011
        makeProp(L"编号", 5, 90),                           // slot 5, id 1101
        makeProp(L"名称", 6, 1),                            // slot 6, id 3002
        makeProp(L"壁厚", 1, 41),                           // a real read as a point: slots 7-9 untouched
        makeProp(L"坐标系", 6, 110),                        // the host holds a point there: slot 10 untouched
        makeProp(L"重量", 3, 1040),                         // extended data, slot 11, id 2035
        makeProp(L"平面点", 2, 11),                         // never agrees: slots 12-13 untouched
    };
    return entity;
}

class Pipes : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder());
        customentity_test::writeBytes(m_settings.folder() / "pipes.dxf", pipesDxf());
        m_drawing = std::make_unique<CurrentDrawing>(m_settings.folder() / "pipes.dxf");
        ASSERT_TRUE(m_drawing->loaded());
    }

    std::filesystem::path folder() const { return m_settings.folder() / "Tarnwell" / "Quelto" / "Freedom"; }

    void saveDefinitions(const char* fileName, const wchar_t* softName,
                         std::vector<CFreedomEntity> entities) {
        CFreedomEntityFile file;
        file.softName = softName;
        file.entities = std::move(entities);
        ASSERT_TRUE(file.Save((folder() / fileName).wstring()));
    }

    AcDbObjectId pipe(const wchar_t* handle) { return m_drawing->idOf(handle); }

    IsolatedSettings m_settings;
    std::unique_ptr<CurrentDrawing> m_drawing;
    cad::ed::QueuedCommandLine m_commandLine;
    cad::ed::ScopedCommandLine m_commandLineScope{m_commandLine};
};

TEST_F(Pipes, LoadAppendsEveryFileAndTheLaterFileWinsForOneClass) {
    saveDefinitions("a.dom", L"管网", {pipeDefinition(L"管道"), CFreedomEntity{}});
    saveDefinitions("b.dom", L"新管网", {pipeDefinition(L"新管道")});
    CFreedomEntityMangage registry;
    registry.Load(TRUE);
    ASSERT_EQ(registry.GetCount(), 3);
    EXPECT_EQ(registry.entities[0].displayName, L"管网 - 管道");
    EXPECT_EQ(registry.entities[1].displayName, L"管网 - ");
    EXPECT_EQ(registry.entities[2].displayName, L"新管网 - 新管道");
    EXPECT_EQ(registry.entities[0].props[2].id, 4011);
    ASSERT_NE(registry.FindByClassName(L"QLT_PIPE"), nullptr);
    EXPECT_EQ(registry.FindByClassName(L"QLT_PIPE")->displayName, L"新管网 - 新管道");
    EXPECT_EQ(registry.FindByClassName(L"qlt_pipe"), nullptr);

    CFreedomEntityMangage plain;
    plain.Load(FALSE);
    EXPECT_EQ(plain.entities[0].displayName, L"管道");
    plain.Load(FALSE);
    EXPECT_EQ(plain.GetCount(), 6); // Load appends
}

TEST_F(Pipes, ADamagedFileIsReportedOnceAndSkippedWhileTheOthersLoad) {
    saveDefinitions("a.dom", L"管网", {pipeDefinition(L"管道")});
    saveDefinitions("c.dom", L"其他", {pipeDefinition(L"其他管道")});
    CFreedomEntityFile damaged;
    damaged.entities = {pipeDefinition(L"坏")};
    const std::string bytes = damaged.SaveBytes().substr(0, 40);
    customentity_test::writeBytes(folder() / "b.dom", bytes);

    CFreedomEntityMangage first;
    first.Load(TRUE);
    CFreedomEntityMangage second;
    second.Load(TRUE);
    EXPECT_EQ(first.GetCount(), 2);
    EXPECT_EQ(second.GetCount(), 2);
    // The class name starts at byte 34 and needs 20 bytes.
    EXPECT_EQ(m_commandLine.transcript(), L"\n警告：自定义实体定义文件" + (folder() / "b.dom").wstring() +
                                              L"已损坏（文件在第34字节处提前结束），已跳过\n");
    EXPECT_EQ(customentity_test::readBytes(folder() / "b.dom"), bytes);
}

class PipeValues : public Pipes {
protected:
    void SetUp() override {
        Pipes::SetUp();
        saveDefinitions("a.dom", L"管网", {pipeDefinition(L"管道")});
        m_registry.Load(TRUE);
    }

    // Reads the entity into fourteen slots that start as "旧" and answers them.
    std::vector<CString> read(const wchar_t* handle, BOOL useUserCoord = FALSE) {
        std::vector<CString> values(14, L"旧");
        m_registry.ReadCustomEntity(pipe(handle), useUserCoord,
                                    [&](const CString& typeName) -> std::optional<std::vector<CString*>> {
                                        EXPECT_EQ(typeName, L"QLT_PIPE");
                                        std::vector<CString*> slots;
                                        for (CString& value : values) {
                                            slots.push_back(&value);
                                        }
                                        return slots;
                                    });
        return values;
    }

    CFreedomEntityMangage m_registry;
};

const wchar_t* const kOld = L"旧";

TEST_F(PipeValues, ReadCustomEntityFillsTheSlotsInOrderAndWarnsForMissingAndMistypedCodes) {
    EXPECT_EQ(read(L"A1"), (std::vector<CString>{L"1", L"2", L"0", L"150", L"1", L"7", L"P-1", kOld, kOld,
                                                 kOld, kOld, L"12.5", kOld, kOld}));
    EXPECT_EQ(m_commandLine.transcript(), L"\n警告：实体管网 - 管道（QLT_PIPE）的组码41类型错误（5001）"
                                          L"\n警告：实体管网 - 管道（QLT_PIPE）的组码110类型错误（5005）"
                                          L"\n警告：实体管网 - 管道（QLT_PIPE）的组码11不存在");
    m_commandLine.clear();
    EXPECT_EQ(read(L"A3"), (std::vector<CString>{L"9", L"2", L"0", kOld, L"1", L"9", L"P-3", kOld, kOld, kOld,
                                                 kOld, kOld, kOld, kOld}));
    EXPECT_EQ(m_commandLine.transcript(), L"\n警告：实体管网 - 管道（QLT_PIPE）的组码40不存在"
                                          L"\n警告：实体管网 - 管道（QLT_PIPE）的组码41不存在"
                                          L"\n警告：实体管网 - 管道（QLT_PIPE）的组码110不存在"
                                          L"\n警告：实体管网 - 管道（QLT_PIPE）的组码1040不存在"
                                          L"\n警告：实体管网 - 管道（QLT_PIPE）的组码11不存在");
}

TEST_F(PipeValues, PointsFollowTheUserCoordinateSystemWhenAsked) {
    cad::ed::UserCoordinateSystem system;
    system.origin[0] = 10.0;
    cad::ed::setUserCoordinateSystem(m_drawing->database(), false, system);
    const std::vector<CString> user = read(L"A2", TRUE);
    EXPECT_EQ(std::vector<CString>(user.begin(), user.begin() + 3),
              (std::vector<CString>{L"-5", L"2", L"0"}));
    const std::vector<CString> world = read(L"A2", FALSE);
    EXPECT_EQ(std::vector<CString>(world.begin(), world.begin() + 3),
              (std::vector<CString>{L"5", L"2", L"0"}));
    const CFreedomCriteria criteria(m_registry, pipe(L"A2"));
    EXPECT_EQ(criteria.Evaluate(2055, L"", TRUE).real, -5.0);
    EXPECT_EQ(criteria.Evaluate(2055, L"", FALSE).real, 5.0);
}

TEST_F(PipeValues, CriteriaGiveTheValueOfTheirPropertyOrSayWhyTheRowIsLeftOut) {
    using Value = CFreedomCriterionValue;
    struct Row {
        const wchar_t* handle;
        int id;
        const wchar_t* criterion;
        Value::Kind kind;
        double real;
        int integer;
        const wchar_t* text;
        const wchar_t* comparedWith;
        int resultType;
    };
    const Row rows[] = {
        {L"A1", 2055, L"1", Value::Real, 1.0, 0, L"", L"1", 5009},
        {L"A1", 2056, L"2", Value::Real, 2.0, 0, L"", L"2", 5009},
        {L"A2", 2057, L"0", Value::Real, 0.0, 0, L"", L"0", 5009},
        {L"A2", 2003, L"150", Value::Real, 200.0, 0, L"", L"150", 5001},
        {L"A1", 4011, L"钢管", Value::Integer, 0.0, 1, L"", L"1", 5003},
        {L"A2", 4011, L"塑料管", Value::Integer, 0.0, 2, L"", L"2", 5003},
        {L"A2", 4011, L"铸铁管", Value::Unmatched, 0.0, 2, L"", L"铸铁管", 5003},
        {L"A2", 1101, L"8", Value::Integer, 0.0, 8, L"", L"8", 5010},
        {L"A3", 3002, L"P-*", Value::Text, 0.0, 0, L"P-3", L"P-*", 5005},
        {L"A1", 2035, L"12", Value::Real, 12.5, 0, L"", L"12", 5001},
        {L"A1", 9999, L"1", Value::Skip, 0.0, 0, L"", L"1", 0}, // a criterion of an edited definition
        {L"A3", 2003, L"1", Value::MissingGroup, 0.0, 0, L"", L"1", 5001},
        {L"A1", 2004, L"1", Value::WrongType, 0.0, 0, L"", L"1", 5001},
        {L"A1", 3015, L"1", Value::WrongType, 0.0, 0, L"", L"1", 5005}, // group 110 holds a point
    };
    for (const Row& row : rows) {
        const CFreedomCriteria criteria(m_registry, pipe(row.handle));
        ASSERT_TRUE(criteria.IsUsable());
        const Value value = criteria.Evaluate(row.id, row.criterion, FALSE);
        SCOPED_TRACE(testing::Message() << "id " << row.id);
        EXPECT_EQ(value.kind, row.kind);
        EXPECT_EQ(value.real, row.real);
        EXPECT_EQ(value.integer, row.integer);
        EXPECT_EQ(value.text, row.text);
        EXPECT_EQ(value.criterionText, row.comparedWith);
        EXPECT_EQ(value.resultType, row.resultType);
    }
    // The engine prints the warnings; evaluating prints nothing.
    EXPECT_TRUE(m_commandLine.transcript().empty());
}

TEST_F(PipeValues, EntitiesWithoutDefinitionOrDataAreNotUsable) {
    CFreedomEntityMangage empty;
    EXPECT_FALSE(CFreedomCriteria(empty, pipe(L"A1")).IsUsable());
    EXPECT_FALSE(CFreedomCriteria(m_registry, AcDbObjectId()).IsUsable());
    bool asked = false;
    empty.ReadCustomEntity(pipe(L"A1"), FALSE, [&](const CString&) -> std::optional<std::vector<CString*>> {
        asked = true;
        return std::nullopt;
    });
    EXPECT_FALSE(asked);
    EXPECT_TRUE(m_commandLine.transcript().empty());
}

} // namespace
