// Filter lists compiled and evaluated against small in-memory entities: every relational and grouping
// operator, wild-card values, the defaults of groups an entity does not store, and malformed lists.

#include "cad/ed/resbuf.h"
#include "cad/ed/selection_filter.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

using cad::ed::GroupValue;

// An entity as a map of group values; groups 62/370/6 fall back to the host defaults when absent.
struct FakeEntity final : cad::ed::FilterSubject {
    std::wstring name;
    std::wstring layerName;
    std::multimap<int, GroupValue> groups;
    std::vector<std::wstring> texts; // keeps the views of text groups alive
    std::uint32_t layerKey = 0;

    FakeEntity(std::wstring type, std::wstring layerText)
        : name(std::move(type)), layerName(std::move(layerText)) {
        texts.reserve(16);
    }
    FakeEntity& with(int code, GroupValue value) {
        groups.emplace(code, value);
        return *this;
    }
    FakeEntity& withText(int code, std::wstring value) {
        texts.push_back(std::move(value));
        return with(code, GroupValue::ofText(texts.back()));
    }
    std::wstring_view dxfName() const override { return name; }
    std::wstring_view layer() const override { return layerName; }
    int colorIndex() const override {
        const auto found = groups.find(62);
        return found == groups.end() ? 256 : static_cast<int>(found->second.integer);
    }
    int lineWeight() const override {
        const auto found = groups.find(370);
        return found == groups.end() ? -1 : static_cast<int>(found->second.integer);
    }
    std::wstring_view linetype() const override {
        const auto found = groups.find(6);
        return found == groups.end() ? std::wstring_view(L"BYLAYER") : found->second.text;
    }
    std::uint32_t textKey(int code) const override { return code == 8 ? layerKey : 0; }
    void groupValues(int code, std::vector<GroupValue>& values) const override {
        const auto [first, last] = groups.equal_range(code);
        for (auto it = first; it != last; ++it) {
            values.push_back(it->second);
        }
    }
};

std::vector<std::unique_ptr<FakeEntity>> sampleEntities() {
    std::vector<std::unique_ptr<FakeEntity>> entities;
    auto add = [&entities](const wchar_t* type, const wchar_t* layer) -> FakeEntity& {
        entities.push_back(std::make_unique<FakeEntity>(type, layer));
        return *entities.back();
    };
    // 0: red line on WALL, lineweight 0.35 mm
    add(L"LINE", L"WALL")
        .with(62, GroupValue::ofInteger(1))
        .with(370, GroupValue::ofInteger(35))
        .with(10, GroupValue::ofPoint(0, 0, 0))
        .with(11, GroupValue::ofPoint(10, 5, 0));
    // 1: BYLAYER circle on WALL-2 with radius 2.5 and a dashed linetype
    add(L"CIRCLE", L"WALL-2")
        .with(40, GroupValue::ofReal(2.5))
        .withText(6, L"DASHED")
        .with(10, GroupValue::ofPoint(20, 20, 0));
    // 2: rotated dimension (70 = 32 | 1 aligned) on DIM, colour 5
    add(L"DIMENSION", L"DIM").with(70, GroupValue::ofInteger(33)).with(62, GroupValue::ofInteger(5));
    // 3: text on layer 0, colour 7, with extended data of application QUELTO
    add(L"TEXT", L"0").with(62, GroupValue::ofInteger(7)).withText(1, L"门窗表").withText(1001, L"QUELTO");
    // 4: lwpolyline on a Chinese layer, colour 3, closed (70 bit 1), vertices at x 0 and 30
    add(L"LWPOLYLINE", L"墙体")
        .with(62, GroupValue::ofInteger(3))
        .with(70, GroupValue::ofInteger(1))
        .with(10, GroupValue::ofPoint(0, 0, 0))
        .with(10, GroupValue::ofPoint(30, 0, 0));
    return entities;
}

resbuf* text(int code, const wchar_t* value) {
    return acutBuildList(code, value, 0);
}
resbuf* op(const wchar_t* word) {
    return acutBuildList(-4, word, 0);
}
resbuf* shortValue(int code, int value) {
    return acutBuildList(code, value, 0);
}
resbuf* real(int code, double value) {
    return acutBuildList(code, value, 0);
}
resbuf* point(int code, double x, double y, double z) {
    const double coordinates[3] = {x, y, z};
    return acutBuildList(code, coordinates, 0);
}

// Links single buffers into one chain, each at the tail, as the module builds its lists.
resbuf* chain(std::initializer_list<resbuf*> items) {
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (resbuf* item : items) {
        if (head == nullptr) {
            head = item;
        } else {
            tail->rbnext = item;
        }
        tail = item;
    }
    return head;
}

struct FilterCase {
    const char* description;
    std::function<resbuf*()> build;
    std::vector<int> expected; // indexes of the sample entities that pass
};

std::vector<int> passing(const cad::ed::SelectionFilter& filter,
                         const std::vector<std::unique_ptr<FakeEntity>>& entities) {
    std::vector<int> result;
    for (std::size_t index = 0; index < entities.size(); ++index) {
        if (filter.matches(*entities[index])) {
            result.push_back(static_cast<int>(index));
        }
    }
    return result;
}

TEST(SelectionFilter, SelectsWhatEachOperatorAndGroupingAsksFor) {
    const FilterCase cases[] = {
        {"no filter items", [] { return static_cast<resbuf*>(nullptr); }, {0, 1, 2, 3, 4}},
        {"type through RTDXF0", [] { return text(RTDXF0, L"LINE"); }, {0}},
        {"type case-insensitive with alternatives", [] { return text(RTDXF0, L"line,circle"); }, {0, 1}},
        {"wild-card layer", [] { return text(8, L"WALL*"); }, {0, 1}},
        {"exact layer does not match a longer name", [] { return text(8, L"WALL"); }, {0}},
        {"Chinese layer", [] { return text(8, L"墙体"); }, {4}},
        {"negated wild-card layer", [] { return text(8, L"~WALL*"); }, {2, 3, 4}},
        {"colour BYLAYER is 256 when not stored", [] { return shortValue(62, 256); }, {1}},
        {"colour <= 5",
         [] {
             return chain({op(L"<="), shortValue(62, 5)});
         },
         {0, 2, 4}},
        {"colour < 5",
         [] {
             return chain({op(L"<"), shortValue(62, 5)});
         },
         {0, 4}},
        {"colour > 5",
         [] {
             return chain({op(L">"), shortValue(62, 5)});
         },
         {1, 3}},
        {"colour >= 7",
         [] {
             return chain({op(L">="), shortValue(62, 7)});
         },
         {1, 3}},
        {"colour != 1",
         [] {
             return chain({op(L"!="), shortValue(62, 1)});
         },
         {1, 2, 3, 4}},
        {"colour /= 1",
         [] {
             return chain({op(L"/="), shortValue(62, 1)});
         },
         {1, 2, 3, 4}},
        {"colour <> 1",
         [] {
             return chain({op(L"<>"), shortValue(62, 1)});
         },
         {1, 2, 3, 4}},
        {"explicit = ",
         [] {
             return chain({op(L"="), shortValue(62, 3)});
         },
         {4}},
        {"lineweight BYLAYER is -1 when not stored", [] { return shortValue(370, -1); }, {1, 2, 3, 4}},
        {"linetype BYLAYER when not stored", [] { return text(6, L"BYLAYER"); }, {0, 2, 3, 4}},
        {"any value of a stored group",
         [] {
             return chain({op(L"*"), real(40, 0.0)});
         },
         {1}},
        {"bitwise and",
         [] {
             return chain({op(L"&"), shortValue(70, 1)});
         },
         {2, 4}},
        {"bitwise masked equal",
         [] {
             return chain({op(L"&="), shortValue(70, 33)});
         },
         {2}},
        {"dimension type with its group 70",
         [] {
             return chain({text(RTDXF0, L"DIMENSION"), shortValue(70, 33)});
         },
         {2}},
        {"real radius",
         [] {
             return chain({op(L">"), real(40, 2.0)});
         },
         {1}},
        {"point per axis, any vertex",
         [] {
             return chain({op(L">,=,*"), point(10, 25, 0, 99)});
         },
         {4}},
        {"point equality", [] { return point(11, 10, 5, 0); }, {0}},
        {"text content wild-card", [] { return text(1, L"门*"); }, {3}},
        {"extended data application",
         [] {
             return chain({acutBuildList(-3, 0), text(1001, L"quelto")});
         },
         {3}},
        {"<OR of types",
         [] {
             return chain({op(L"<OR"), text(RTDXF0, L"LINE"), text(RTDXF0, L"TEXT"), op(L"OR>")});
         },
         {0, 3}},
        {"<AND inside <OR",
         [] {
             return chain({op(L"<OR"), op(L"<AND"), text(RTDXF0, L"LINE"), shortValue(62, 1), op(L"AND>"),
                           text(8, L"0"), op(L"OR>")});
         },
         {0, 3}},
        {"<XOR",
         [] {
             return chain({op(L"<XOR"), text(8, L"WALL*"), shortValue(62, 1), op(L"XOR>")});
         },
         {1}},
        {"<NOT",
         [] {
             return chain({op(L"<NOT"), text(RTDXF0, L"LINE"), op(L"NOT>")});
         },
         {1, 2, 3, 4}},
        {"lower-case grouping words",
         [] {
             return chain({op(L"<not"), op(L"<or"), text(RTDXF0, L"LINE"), text(RTDXF0, L"TEXT"), op(L"or>"),
                           op(L"not>")});
         },
         {1, 2, 4}},
        {"seven items in a row",
         [] {
             return chain({text(RTDXF0, L"DIMENSION"), shortValue(70, 33), text(8, L"DIM"), op(L"!="),
                           shortValue(62, 1), op(L"!="), shortValue(370, 35)});
         },
         {2}},
    };
    const auto entities = sampleEntities();
    for (const FilterCase& row : cases) {
        resbuf* list = row.build();
        cad::ed::FilterError error;
        const auto filter = cad::ed::SelectionFilter::compile(list, &error);
        acutRelRb(list);
        ASSERT_TRUE(filter.has_value()) << row.description;
        EXPECT_EQ(passing(*filter, entities), row.expected) << row.description;
    }
}

struct MalformedCase {
    const char* description;
    std::function<resbuf*()> build;
    int itemIndex;
    const wchar_t* message;
};

TEST(SelectionFilter, RejectsMalformedListsNamingTheItem) {
    const MalformedCase cases[] = {
        {"unclosed <AND",
         [] {
             return chain({op(L"<AND"), text(RTDXF0, L"LINE")});
         },
         2, L"the list ends before \"AND>\""},
        {"closing without opening",
         [] {
             return chain({text(RTDXF0, L"LINE"), op(L"OR>")});
         },
         1, L"\"OR>\" closes no group"},
        {"mismatched closing",
         [] {
             return chain({op(L"<AND"), text(RTDXF0, L"LINE"), op(L"OR>")});
         },
         2, L"\"OR>\" where \"AND>\" was expected"},
        {"<XOR with one operand",
         [] {
             return chain({op(L"<XOR"), text(RTDXF0, L"LINE"), op(L"XOR>")});
         },
         0, L"\"<XOR\" takes exactly two operands, found 1"},
        {"<NOT with two operands",
         [] {
             return chain({op(L"<NOT"), text(RTDXF0, L"LINE"), text(8, L"0"), op(L"NOT>")});
         },
         0, L"\"<NOT\" takes exactly one operand, found 2"},
        {"empty <OR",
         [] {
             return chain({op(L"<OR"), op(L"OR>")});
         },
         0, L"\"<OR\" takes at least one operand, found 0"},
        {"operator without value",
         [] {
             return chain({text(RTDXF0, L"LINE"), op(L"<=")});
         },
         1, L"the operator \"<=\" is not followed by a value"},
        {"unknown operator",
         [] {
             return chain({op(L"=>"), shortValue(62, 1)});
         },
         0, L"unknown operator \"=>\""},
        {"bitwise on text",
         [] {
             return chain({op(L"&"), text(8, L"0")});
         },
         0, L"the operator \"&\" needs an integer group"},
        {"three operators on a number",
         [] {
             return chain({op(L"<,<,*"), shortValue(62, 1)});
         },
         0, L"unknown operator \"<,<,*\""},
    };
    for (const MalformedCase& row : cases) {
        resbuf* list = row.build();
        cad::ed::FilterError error;
        const auto filter = cad::ed::SelectionFilter::compile(list, &error);
        acutRelRb(list);
        EXPECT_FALSE(filter.has_value()) << row.description;
        EXPECT_EQ(error.itemIndex, row.itemIndex) << row.description;
        EXPECT_EQ(error.message, row.message) << row.description;
    }
}

TEST(SelectionFilter, SkipsIgnoredGroupsAndFollowsTheHostRulesForPointsApplicationsAndCase) {
    std::vector<std::unique_ptr<FakeEntity>> entities;
    const auto add = [&entities](const wchar_t* type, const wchar_t* layer) -> FakeEntity& {
        entities.push_back(std::make_unique<FakeEntity>(type, layer));
        return *entities.back();
    };
    add(L"LINE", L"Éclairage").with(10, GroupValue::ofPoint(0, 0, 0));
    add(L"TEXT", L"0").withText(1001, L"APP1").withText(1001, L"APP2").withText(1000, L"door");
    add(L"CIRCLE", L"ДВЕРЬ").withText(1001, L"APP1").with(10, GroupValue::ofPoint(20, 20, 0));
    add(L"LWPOLYLINE", L"ｗａｌｌ")
        .with(10, GroupValue::ofPoint(0, 0, 0))
        .with(10, GroupValue::ofPoint(30, 0, 0));

    static const ads_name kSomeEntity = {5, 0x454E54};
    static const char kBytes[] = {1, 2};
    static const ads_binary kChunk = {2, const_cast<char*>(kBytes)};
    const FilterCase cases[] = {
        {"entity name",
         [] {
             return chain({acutBuildList(-1, kSomeEntity, 0), text(RTDXF0, L"LINE")});
         },
         {0}},
        {"handle",
         [] {
             return chain({text(5, L"2A"), text(RTDXF0, L"LINE")});
         },
         {0}},
        {"extended-data value outside -3",
         [] {
             return chain({text(1000, L"window"), text(RTDXF0, L"TEXT")});
         },
         {1}},
        {"binary chunk", [] { return acutBuildList(310, &kChunk, 0); }, {0, 1, 2, 3}},
        {"result type that is no group", [] { return acutBuildList(RTSTR, L"LINE", 0); }, {0, 1, 2, 3}},
        {"ignored operand of <OR decides nothing",
         [] {
             return chain({op(L"<OR"), text(5, L"2A"), text(RTDXF0, L"LINE"), op(L"OR>")});
         },
         {0}},
        {"ignored operand of <NOT",
         [] {
             return chain({op(L"<NOT"), acutBuildList(-1, kSomeEntity, 0), op(L"NOT>")});
         },
         {0, 1, 2, 3}},
        {"point operator without its Z part",
         [] {
             return chain({op(L"=,<>"), point(10, 0, 5, 99)});
         },
         {0, 3}},
        {"point operator with a blank Y part",
         [] {
             return chain({op(L"=,,>"), point(10, 0, 99, -1)});
         },
         {0, 3}},
        {"several applications are all required",
         [] {
             return chain({acutBuildList(-3, 0), text(1001, L"APP1"), text(1001, L"app2")});
         },
         {1}},
        {"alternatives inside one application name",
         [] {
             return chain({acutBuildList(-3, 0), text(1001, L"APP1,APP2")});
         },
         {1, 2}},
        {"Latin-1 letters without case", [] { return text(8, L"éCLAIRAGE"); }, {0}},
        {"Cyrillic letters without case in a wild card", [] { return text(8, L"дв*"); }, {2}},
        {"full-width letters without case", [] { return text(8, L"ＷＡＬＬ"); }, {3}},
        {"ordering of folded Cyrillic",
         [] {
             return chain({op(L">="), text(8, L"д")});
         },
         {2, 3}},
    };
    for (const FilterCase& row : cases) {
        resbuf* list = row.build();
        cad::ed::FilterError error;
        const auto filter = cad::ed::SelectionFilter::compile(list, &error);
        acutRelRb(list);
        ASSERT_TRUE(filter.has_value()) << row.description << ": " << testing::PrintToString(error.message);
        EXPECT_EQ(passing(*filter, entities), row.expected) << row.description;
    }
}

TEST(SelectionFilter, TestsEachKeyedNameOnceAndKeepsKeysApart) {
    struct Row {
        const wchar_t* layer;
        std::uint32_t key;
        bool passes;
    };
    // Keyed names answer from the first test of their key; unkeyed ones are always tested.
    const Row rows[] = {
        {L"DOOR", 6, false},  {L"WALL-1", 5, true}, {L"DOOR", 6, false},      {L"WALL-1", 5, true},
        {L"WALL-2", 0, true}, {L"DOOR", 0, false},  {L"WALL-9", 70000, true},
    };
    resbuf* list = acutBuildList(8, L"WALL*", 0);
    const auto filter = cad::ed::SelectionFilter::compile(list);
    resbuf* negatedList = chain({op(L"<NOT"), list, op(L"NOT>")});
    const auto negated = cad::ed::SelectionFilter::compile(negatedList);
    acutRelRb(negatedList);
    ASSERT_TRUE(filter && negated);
    for (const Row& row : rows) {
        FakeEntity entity(L"LINE", row.layer);
        entity.layerKey = row.key;
        EXPECT_EQ(filter->matches(entity), row.passes) << testing::PrintToString(std::wstring(row.layer));
        EXPECT_EQ(negated->matches(entity), !row.passes) << testing::PrintToString(std::wstring(row.layer));
    }
}

TEST(SelectionFilter, KnowsTheHostDefaultsOfUnstoredGroups) {
    EXPECT_EQ(cad::ed::defaultGroupValue(62)->integer, 256);
    EXPECT_EQ(cad::ed::defaultGroupValue(370)->integer, -1);
    EXPECT_EQ(cad::ed::defaultGroupValue(6)->text, L"BYLAYER");
    EXPECT_DOUBLE_EQ(cad::ed::defaultGroupValue(48)->real, 1.0);
    EXPECT_FALSE(cad::ed::defaultGroupValue(40).has_value());
}

} // namespace
