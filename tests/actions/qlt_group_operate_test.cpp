// Grouping rules on the groups of a real drawing: an existing group, a missing one, an empty name and an
// empty selection, with the members each rule leaves behind.
#include "edit_drawing.h"
#include "platform/code_page.h"
#include "quelto/actions/qlt_group_operate.h"

#include <optional>
#include <string>
#include <vector>

namespace {

using actiontest::EditDrawing;

class GroupOperate : public EditDrawing {
protected:
    // Member kinds of the group stored under the name, in order; nothing when there is no such group.
    std::optional<std::vector<std::string>> members(const wchar_t* name) const {
        const auto* groups = AcDbDictionary::cast(database().peekObject(database().groupDictionaryId()));
        AcDbObjectId groupId;
        if (groups->getAt(name, groupId) != Acad::eOk) {
            return std::nullopt;
        }
        AcDbObjectIdArray ids;
        peek<AcDbGroup>(groupId)->allEntityIds(ids);
        std::vector<std::string> kinds;
        for (const AcDbObjectId& id : ids) {
            kinds.push_back(database().peekObject(id)->dxfName());
        }
        return kinds;
    }
    std::size_t groupCount() const {
        return AcDbDictionary::cast(database().peekObject(database().groupDictionaryId()))->numEntries();
    }
};

using Kinds = std::vector<std::string>;

TEST_F(GroupOperate, EachRuleOnExistingMissingAndUnnamedGroups) {
    struct Row {
        int rule;
        const wchar_t* name;
        bool emptySelection;
        int result;
        std::optional<Kinds> existingAfter; // members of "门窗" afterwards
        std::optional<Kinds> namedAfter;    // members of the group named in the row, when not "门窗"
    };
    const Kinds original = {"LINE", "ARC"};
    const Kinds selected = {"TEXT", "HATCH"};
    const Kinds appended = {"LINE", "ARC", "TEXT", "HATCH"};
    const std::vector<Row> rows = {
        {0, L"门窗", false, 1, original, std::nullopt},  {0, L"", false, 1, original, std::nullopt},
        {1, L"门窗", false, 0, original, std::nullopt},  {1, L"新组", false, 1, original, selected},
        {2, L"门窗", false, 1, selected, std::nullopt},  {2, L"门窗", true, 1, Kinds{}, std::nullopt},
        {2, L"新组", false, 1, original, selected},      {3, L"门窗", false, 1, appended, std::nullopt},
        {3, L"新组", false, 0, original, std::nullopt},  {4, L"门窗", false, 1, appended, std::nullopt},
        {4, L"新组", false, 1, original, selected},      {4, L"新组", true, 1, original, Kinds{}},
        {5, L"门窗", false, 1, original, std::nullopt}, // neither selected entity is a member
        {5, L"新组", false, 0, original, std::nullopt},  {6, L"门窗", false, 0, original, std::nullopt},
        {-1, L"门窗", false, 0, original, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("rule " + std::to_string(row.rule) + " on " + platform::wideToUtf8(row.name) +
                     (row.emptySelection ? " with no entities" : ""));
        reload();
        AcDbObjectIdArray ids;
        if (!row.emptySelection) {
            ids = {find("TEXT"), find("HATCH")};
        }
        const std::size_t groupsBefore = groupCount();
        CQLTGroupOperate operate;
        EXPECT_EQ(operate.Apply(row.name, row.rule, ids), row.result);
        EXPECT_EQ(members(L"门窗"), row.existingAfter);
        if (std::wstring(row.name) != L"门窗") {
            EXPECT_EQ(members(row.name), row.namedAfter);
            EXPECT_EQ(groupCount(), groupsBefore + (row.namedAfter ? 1 : 0));
        }
    }
}

TEST_F(GroupOperate, AnEmptyNameDoesNothingWhateverTheRule) {
    const std::size_t groupsBefore = groupCount();
    for (int rule = 1; rule <= 5; ++rule) {
        CQLTGroupOperate operate;
        EXPECT_EQ(operate.Apply(L"", rule, {find("TEXT")}), 0) << "rule " << rule;
        EXPECT_TRUE(operate.FindOrCreateGroup(L"").isNull());
    }
    EXPECT_EQ(groupCount(), groupsBefore);
    EXPECT_EQ(members(L"门窗"), (Kinds{"LINE", "ARC"}));
}

TEST_F(GroupOperate, RemovingLeavesAnEmptyGroupAndAppendingTwiceKeepsOneOfEach) {
    CQLTGroupOperate operate;
    EXPECT_EQ(operate.Apply(L"门窗", 5, {find("LINE", L"A")}), 1);
    EXPECT_EQ(members(L"门窗"), Kinds{"ARC"});
    EXPECT_EQ(operate.Apply(L"门窗", 5, {find("ARC")}), 1);
    EXPECT_EQ(members(L"门窗"), Kinds{});

    // The host's append refuses an entity the group already holds, so a second run adds nothing.
    const AcDbObjectIdArray ids = {find("TEXT"), find("HATCH")};
    EXPECT_EQ(operate.Apply(L"另一组", 4, ids), 1);
    EXPECT_EQ(operate.Apply(L"另一组", 4, ids), 1);
    EXPECT_EQ(members(L"另一组"), (Kinds{"TEXT", "HATCH"}));
    // Find-or-create answers the same group once it exists.
    EXPECT_EQ(operate.FindOrCreateGroup(L"另一组"), operate.FindOrCreateGroup(L"另一组"));
}

TEST_F(GroupOperate, NothingIsDoneWithoutAWorkingDrawing) {
    cad::ed::setCurrentEditor(nullptr);
    CQLTGroupOperate operate;
    EXPECT_TRUE(operate.FindOrCreateGroup(L"新组").isNull());
    EXPECT_EQ(operate.Apply(L"新组", 4, {find("TEXT")}), 0);
    EXPECT_EQ(operate.OpenGroupForWrite(AcDbObjectId()), nullptr);
}

} // namespace
