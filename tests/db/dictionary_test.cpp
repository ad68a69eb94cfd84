// Dictionaries and groups as the grouping code uses them: a new named group under ACAD_GROUP with
// entities appended, kept through a save; and a failed save that leaves the target as it was.
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/dictionary.h"
#include "cad/db/symbol_tables.h"
#include "db_test_support.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

TEST(Dictionary, StoresANewGroupWithItsEntitiesThroughASave) {
    AcDbDatabase database;
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(model, database.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectIdArray members;
    for (int index = 0; index < 3; ++index) {
        AcDbObjectId id;
        auto* line = new AcDbLine(AcGePoint3d(index, 0, 0), AcGePoint3d(index, 1, 0));
        ASSERT_EQ(model->appendAcDbEntity(id, line), Acad::eOk);
        line->close();
        members.append(id);
    }
    model->close();

    AcDbDictionary* groups = nullptr;
    ASSERT_EQ(database.getGroupDictionary(groups, AcDb::kForRead), Acad::eOk);
    EXPECT_FALSE(groups->has(L"门窗"));
    AcDbObjectId groupId;
    auto* group = new AcDbGroup(L"选择结果");
    EXPECT_EQ(groups->setAt(L"门窗", group, groupId), Acad::eNotOpenForWrite);
    ASSERT_EQ(groups->upgradeOpen(), Acad::eOk);
    ASSERT_EQ(groups->setAt(L"门窗", group, groupId), Acad::eOk);
    EXPECT_TRUE(groups->has(L"门窗"));
    groups->close();
    EXPECT_EQ(group->append(members), Acad::eOk);
    EXPECT_EQ(group->append(members[0]), Acad::eAlreadyInGroup);
    EXPECT_EQ(group->numEntities(), 3U);
    group->close();

    cad::dxf::TagError error;
    AcDbDatabase reopened(false);
    ASSERT_TRUE(reopened.readDxfBuffer(dbtest::saveToBytes(database), error)) << error.toString();
    AcDbDictionary* savedGroups = nullptr;
    ASSERT_EQ(reopened.getGroupDictionary(savedGroups, AcDb::kForRead), Acad::eOk);
    AcDbObjectId savedGroupId;
    EXPECT_EQ(savedGroups->getAt(L"门窗", savedGroupId), Acad::eOk);
    savedGroups->close();
    const auto* savedGroup = AcDbGroup::cast(reopened.peekObject(savedGroupId));
    ASSERT_NE(savedGroup, nullptr);
    EXPECT_EQ(savedGroup->description(), L"选择结果");
    AcDbObjectIdArray savedMembers;
    ASSERT_EQ(savedGroup->allEntityIds(savedMembers), 3U);
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(savedMembers.at(index).handle(), members.at(index).handle());
    }
}

TEST(Dictionary, LooksUpKeysWithoutRegardToCase) {
    AcDbDatabase database;
    AcDbDictionary* named = nullptr;
    ASSERT_EQ(database.getNamedObjectsDictionary(named, AcDb::kForRead), Acad::eOk);
    struct Case {
        const wchar_t* key;
        Acad::ErrorStatus expected;
    };
    for (const Case& testCase : {Case{L"ACAD_GROUP", Acad::eOk}, Case{L"acad_group", Acad::eOk},
                                 Case{L"ACAD_LAYOUT", Acad::eOk}, Case{L"NO_SUCH_KEY", Acad::eKeyNotFound}}) {
        AcDbObjectId id;
        EXPECT_EQ(named->getAt(testCase.key, id), testCase.expected) << testCase.key;
    }
    named->close();
}

TEST(Dictionary, FailedSaveLeavesTheTargetAsItWas) {
    const quelto::testing::TemporaryFolder temporary;
    const std::filesystem::path& folder = temporary.path();
    const std::filesystem::path target = folder / "keep.dxf";
    { std::ofstream(target) << "original"; }
    AcDbDatabase database;
    cad::dxf::TagError error;
    EXPECT_FALSE(database.writeDxf(folder / "missing" / "x.dxf", {}, error));
    EXPECT_FALSE(error.message.empty());
    ASSERT_TRUE(database.writeDxf(target, {}, error)) << error.toString();
    AcDbDatabase reopened(false);
    EXPECT_TRUE(reopened.readDxf(target, error)) << error.toString();
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename(), "keep.dxf") << "a temporary file was left behind";
    }
}

} // namespace
