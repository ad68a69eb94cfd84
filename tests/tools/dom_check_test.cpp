// The checks quelto-dom runs before writing a definition: each thing the module would reject or misread,
// made from one good file by one change, is refused with the class, the property and the field named.

#include "../customentity/customentity_test_support.h"
#include "quelto_dom_check.h"
#include "quelto_dom_document.h"

#include <functional>
#include <gtest/gtest.h>

using namespace quelto::dom;
using customentity_test::makeProp;

namespace {

// Two classes whose properties use every kind the module can read.
CFreedomEntityFile goodFile() {
    CFreedomEntityFile file;
    file.softName = L"管网软件";
    CFreedomEntity pipe;
    pipe.displayName = L"管道";
    pipe.className = L"QLT_PIPE";
    pipe.props = {makeProp(L"起点", 1, 10),   makeProp(L"终点", 1, 11),
                  makeProp(L"管径", 3, 40),   makeProp(L"材质", 4, 70, {L"1=钢管", L"2=塑料管"}),
                  makeProp(L"编号", 6, 1),    makeProp(L"长度", 5, 90),
                  makeProp(L"扩展", 4, 1060), makeProp(L"法向", 1, 210)};
    CFreedomEntity valve;
    valve.displayName = L"阀门";
    valve.className = L"QLT_VALVE";
    valve.props = {makeProp(L"位置", 1, 10)};
    file.entities = {pipe, valve};
    return file;
}

TEST(DefinitionChecks, RefuseWhatTheModuleWouldRejectOrMisreadNamingClassPropertyAndField) {
    ASSERT_EQ(checkFile(goodFile()), std::nullopt);
    struct Row {
        std::function<void(CFreedomEntityFile&)> change;
        std::string message;
    };
    const auto pipeProp = [](int index) {
        return [index](CFreedomEntityFile& file) -> CFreedomProp& { return file.entities[0].props[index]; };
    };
    const Row rows[] = {
        {[](auto& file) { file.softName.clear(); },
         "software name: must not be empty: the type list shows it before each class"},
        {[](auto& file) { file.entities[1].displayName.clear(); },
         "class 2 (QLT_VALVE), name: must not be empty: it is what the type list shows"},
        {[](auto& file) { file.entities[1].className.clear(); },
         "class 阀门, class name: must name the DXF type of the entities (group 0)"},
        {[](auto& file) { file.entities[1].className = L"QLT VALVE"; },
         "class 阀门 (QLT VALVE), class name: must be one word, as DXF type names in group 0 are"},
        {[](auto& file) { file.entities[1].className = L"QLT_PIPE"; },
         "class 阀门 (QLT_PIPE), class name: QLT_PIPE is also the class of 管道 (class 1); the module would "
         "only ever use the later definition"},
        {[&](auto& file) { pipeProp(2)(file).name.clear(); },
         "class 管道 (QLT_PIPE), property 3, name: must not be empty: it is what the criteria show"},
        {[&](auto& file) { pipeProp(2)(file).kind = 7; },
         "class 管道 (QLT_PIPE), property 管径, kind: must be 1 (3D point), 2 (2D point), 3 (real), 4 (short "
         "integer), 5 (long integer) or 6 (text), not 7"},
        {[&](auto& file) { pipeProp(0)(file).kind = 2; },
         "class 管道 (QLT_PIPE), property 起点, group code: group code 10 holds a 3D point, which a property "
         "of "
         "kind 2 (2D point) cannot read"},
        {[&](auto& file) { pipeProp(2)(file).kind = 1; },
         "class 管道 (QLT_PIPE), property 管径, group code: group code 40 holds a real, which a property of "
         "kind 1 (3D point) cannot read"},
        {[&](auto& file) { pipeProp(4)(file).groupCode = 330; },
         "class 管道 (QLT_PIPE), property 编号, group code: group code 330 has no property id, so no "
         "criterion "
         "could name it"},
        {[&](auto& file) { pipeProp(4)(file).groupCode = 5000; },
         "class 管道 (QLT_PIPE), property 编号, group code: group code 5000 has no property id, so no "
         "criterion could name it"},
        {[&](auto& file) { pipeProp(2)(file).items = {L"1=细"}; },
         "class 管道 (QLT_PIPE), property 管径, items: are only for kind 4 (short integer): other kinds get "
         "no "
         "usable id"},
        {[&](auto& file) { pipeProp(3)(file).items[1] = L"塑料管"; },
         "class 管道 (QLT_PIPE), property 材质, item 2: must be written value=text with an integer value, as "
         "1=red"},
        {[&](auto& file) { pipeProp(3)(file).items[1] = L"2="; },
         "class 管道 (QLT_PIPE), property 材质, item 2: must be written value=text with an integer value, as "
         "1=red"},
        {[&](auto& file) { pipeProp(3)(file).items[0] = L"a=钢管"; },
         "class 管道 (QLT_PIPE), property 材质, item 1: must be written value=text with an integer value, as "
         "1=red"},
        {[&](auto& file) { pipeProp(3)(file).items[1] = L"40000=塑料管"; },
         "class 管道 (QLT_PIPE), property 材质, item 2: value 40000 does not fit the 16-bit integer the "
         "entity "
         "stores, so it never matches"},
        {[&](auto& file) { pipeProp(3)(file).items[1] = L"3=钢管"; },
         "class 管道 (QLT_PIPE), property 材质, item 2: shows the same text as item 1, so a criterion could "
         "never choose it"},
        // Codes 90 and 1070 share id 1101; a second point on code 10 covers the first one's ids.
        {[&](auto& file) { pipeProp(6)(file).groupCode = 1070; },
         "class 管道 (QLT_PIPE), property 扩展, group code: group code 1070 gives id 1101, which 长度 (group "
         "code 90) already covers; a criterion would always read that one"},
        {[&](auto& file) { pipeProp(1)(file).groupCode = 10; },
         "class 管道 (QLT_PIPE), property 终点, group code: group code 10 gives id 2055, which 起点 (group "
         "code 10) already covers; a criterion would always read that one"},
    };
    for (const Row& row : rows) {
        CFreedomEntityFile file = goodFile();
        row.change(file);
        const std::optional<Problem> problem = checkFile(file);
        ASSERT_TRUE(problem.has_value()) << row.message;
        EXPECT_EQ(describeProblem(file, *problem), row.message);
    }
}

TEST(DefinitionChecks, AnEmptyFileNeedsNoSoftwareAndIdsAreTheRegistrysOwn) {
    EXPECT_EQ(checkFile(CFreedomEntityFile()), std::nullopt);
    // Ids as a freshly loaded record gets them, whatever id the record held before.
    struct Row {
        CFreedomProp prop;
        int id;
    };
    CFreedomProp stale = makeProp(L"a", 6, 330);
    stale.id = 3005;
    const Row rows[] = {{makeProp(L"a", 1, 10), 2055},
                        {makeProp(L"a", 4, 62, {L"1=红", L"2=黄"}), 4003},
                        {makeProp(L"a", 3, 40, {L"1=x"}), 5003},
                        {stale, 0},
                        {makeProp(L"a", 5, 1071), 1112}};
    for (const Row& row : rows) {
        EXPECT_EQ(computedId(row.prop), row.id) << row.prop.groupCode;
    }
}

} // namespace
