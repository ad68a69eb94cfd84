// The document the window edits: the sample definition opened and saved unchanged gives its bytes back,
// edits mark it modified only when they change something, a refused or failed save writes nothing and
// keeps the changes, and items survive the one-line form the table shows them in.

#include "../filter/filter_test_support.h"
#include "quelto_dom_document.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quelto::dom;
using filter_test::readBytes;

namespace {

const std::filesystem::path kSamplePath =
    std::filesystem::path(QUELTO_SOURCE_DIR) / "samples" / "custom_pipes.dom";

TEST(DefinitionDocument, TheSampleOpenedAndSavedUnchangedGivesTheSameBytes) {
    quelto::testing::TemporaryFolder folder;
    DefinitionDocument document;
    std::string error;
    ASSERT_TRUE(document.open(kSamplePath, error)) << error;
    EXPECT_FALSE(document.modified());
    ASSERT_FALSE(document.file().entities.empty());

    // Setting fields to what they hold is no change.
    document.setSoftware(document.file().softName);
    document.setEntityText(0, DefinitionDocument::EntityText::ClassName,
                           document.file().entities[0].className);
    document.setPropertyItems(0, 0, document.file().entities[0].props[0].items);
    document.setPropertyGroupCode(0, 0, document.file().entities[0].props[0].groupCode);
    EXPECT_FALSE(document.modified());

    ASSERT_TRUE(document.saveAs(folder.path() / "copy.dom", error)) << error;
    EXPECT_EQ(readBytes(folder.path() / "copy.dom"), readBytes(kSamplePath));
    EXPECT_EQ(document.path(), folder.path() / "copy.dom");
}

TEST(DefinitionDocument, ARefusedOrFailedSaveWritesNothingAndKeepsTheChanges) {
    quelto::testing::TemporaryFolder folder;
    DefinitionDocument document;
    document.setSoftware(L"水暖通");
    const int entity = document.addEntity();
    const int prop = document.addProperty(entity);
    document.setPropertyKind(entity, prop, CFreedomProp::Real);
    EXPECT_TRUE(document.modified());

    std::string error;
    EXPECT_FALSE(document.saveAs(folder.path() / "refused.dom", error));
    EXPECT_EQ(error,
              "class 新实体1 (NEW_ENTITY1), property 属性1, group code: group code 10 holds a 3D point, "
              "which a property of kind 3 (real) cannot read");
    ASSERT_TRUE(document.lastProblem().has_value());
    EXPECT_EQ(document.lastProblem()->property, prop);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "refused.dom"));
    EXPECT_TRUE(document.modified());
    EXPECT_TRUE(document.path().empty());

    document.setPropertyGroupCode(entity, prop, 40);
    // A file where the folder should be: no user may write there.
    filter_test::writeBytes(folder.path() / "plain", "x");
    EXPECT_FALSE(document.saveAs(folder.path() / "plain" / "a.dom", error));
    EXPECT_EQ(error, (folder.path() / "plain" / "a.dom").string() +
                         ": cannot be written (is the folder there and writable?)");
    EXPECT_TRUE(document.modified());
    EXPECT_TRUE(document.saveAs(folder.path() / "a.dom", error)) << error;
    EXPECT_FALSE(document.modified());
}

TEST(DefinitionDocument, NewClassesAndPropertiesGetNamesAndCodesNoOtherUses) {
    DefinitionDocument document;
    document.setSoftware(L"S");
    const int first = document.addEntity();
    const int second = document.addEntity();
    document.removeEntity(first);
    const int third = document.addEntity();
    EXPECT_EQ(second, 1);
    EXPECT_EQ(document.file().entities[third].className, L"NEW_ENTITY1");
    EXPECT_EQ(document.file().entities[0].className, L"NEW_ENTITY2");
    for (int count = 0; count < 20; ++count) {
        document.addProperty(0);
    }
    EXPECT_EQ(checkFile(document.file()), std::nullopt);
    EXPECT_EQ(document.file().entities[0].props[8].groupCode, 210);
    EXPECT_TRUE(document.moveProperty(0, 0, 1));
    EXPECT_FALSE(document.moveProperty(0, 0, -1));
    EXPECT_EQ(document.file().entities[0].props[0].groupCode, 11);
}

TEST(DefinitionDocument, ItemsSurviveTheOneLineFormAndUnreadableFilesAreNamed) {
    const CStringArray items = {L"1=钢管", L"2=塑料 管", L"-3=铸铁管"};
    EXPECT_EQ(joinItems(items), L"1=钢管; 2=塑料 管; -3=铸铁管");
    EXPECT_EQ(splitItems(joinItems(items)), items);
    EXPECT_EQ(splitItems(L" 1=a ;;2=b; "), (CStringArray{L"1=a", L"2=b"}));
    EXPECT_TRUE(splitItems(L"  ").empty());

    quelto::testing::TemporaryFolder folder;
    filter_test::writeBytes(folder.path() / "cut.dom", readBytes(kSamplePath).substr(0, 30));
    DefinitionDocument document;
    document.setSoftware(L"kept");
    std::string error;
    EXPECT_FALSE(document.open(folder.path() / "cut.dom", error));
    EXPECT_EQ(error.rfind((folder.path() / "cut.dom").string() + ": damaged: ", 0), 0u) << error;
    EXPECT_FALSE(document.open(folder.path() / "missing.dom", error));
    EXPECT_EQ(document.file().softName, L"kept");
}

} // namespace
