// Every drawing of the shared corpus: it opens, it is written back group for group as it was read, and
// reopening what was saved gives the same entities in every block.
#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "cad/db/object_io.h"
#include "cad/db/symbol_tables.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

namespace {

// Files whose round trip differs by design: the database repairs them while reading.
bool isRepairedOnLoad(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return name == "duplicate_handles.dxf" || name == "recover01.dxf" ||
           name == "R12_with_trash_beyond_EOF.dxf";
}

struct EntitySummary {
    std::string type;
    std::uint64_t handle = 0;
    std::wstring layer;
    int color = 0;
    std::vector<dbtest::ComparableTag> data;
};

// Per block record (by name): its entities with their written groups (geometry included).
std::map<std::wstring, std::vector<EntitySummary>> summarize(const AcDbDatabase& database) {
    std::map<std::wstring, std::vector<EntitySummary>> blocks;
    cad::db::TextContext context(database.textCodec());
    for (const AcDbObjectId& recordId : database.blockRecordIds()) {
        const auto* record = AcDbBlockTableRecord::cast(database.peekObject(recordId));
        if (record == nullptr) {
            continue;
        }
        auto& entities = blocks[record->name()];
        for (const AcDbObjectId& id : record->entityIds()) {
            const auto* entity = AcDbEntity::cast(database.peekObject(id));
            if (entity == nullptr) {
                continue;
            }
            EntitySummary summary{
                entity->dxfName(), entity->handle().value(), entity->layerName(), entity->colorIndex(), {}};
            cad::dxf::TagCollector collector;
            cad::db::writeObjectTags(*entity, collector, context, database.version());
            for (const cad::dxf::OwnedTag& tag : collector.tags()) {
                dbtest::ComparableTag comparable;
                comparable.code = tag.code;
                comparable.text = database.textCodec().decode(tag.text);
                comparable.real = tag.real;
                comparable.integer = tag.integer;
                summary.data.push_back(std::move(comparable));
            }
            entities.push_back(std::move(summary));
        }
    }
    return blocks;
}

class CorpusDrawing : public testing::TestWithParam<std::filesystem::path> {};

TEST_P(CorpusDrawing, OpensAndWritesBackEveryGroupAsRead) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    const std::filesystem::path path = GetParam();
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxf(path, error)) << error.toString();
    EXPECT_FALSE(database.modelSpaceId().isNull());

    const std::string saved = dbtest::saveToBytes(database);
    if (isRepairedOnLoad(path)) {
        return;
    }
    cad::dxf::TagReader originalReader;
    ASSERT_TRUE(originalReader.openFile(path, error)) << error.toString();
    std::vector<dbtest::ComparableTag> original;
    ASSERT_TRUE(dbtest::readTags(originalReader, original));
    cad::dxf::TagReader savedReader;
    ASSERT_TRUE(savedReader.openBuffer(saved, error, "saved")) << error.toString();
    std::vector<dbtest::ComparableTag> written;
    ASSERT_TRUE(dbtest::readTags(savedReader, written));
    const std::size_t common = std::min(original.size(), written.size());
    for (std::size_t index = 0; index < common; ++index) {
        ASSERT_TRUE(dbtest::sameTag(original[index], written[index]))
            << "first difference at original position " << original[index].position << ": code "
            << original[index].code << " vs " << written[index].code;
    }
    EXPECT_EQ(original.size(), written.size());
}

TEST_P(CorpusDrawing, ReopensWithTheSameEntitiesInEveryBlock) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxf(GetParam(), error)) << error.toString();
    const std::string saved = dbtest::saveToBytes(database);
    AcDbDatabase reopened(false);
    ASSERT_TRUE(reopened.readDxfBuffer(saved, error, "saved")) << error.toString();
    const auto before = summarize(database);
    const auto after = summarize(reopened);
    ASSERT_EQ(before.size(), after.size());
    for (const auto& [name, entities] : before) {
        const auto found = after.find(name);
        ASSERT_NE(found, after.end());
        ASSERT_EQ(entities.size(), found->second.size());
        for (std::size_t index = 0; index < entities.size(); ++index) {
            const EntitySummary& left = entities[index];
            const EntitySummary& right = found->second[index];
            EXPECT_EQ(left.type, right.type);
            EXPECT_EQ(left.handle, right.handle);
            EXPECT_EQ(left.layer, right.layer);
            EXPECT_EQ(left.color, right.color);
            ASSERT_EQ(left.data.size(), right.data.size()) << left.type;
            for (std::size_t tag = 0; tag < left.data.size(); ++tag) {
                EXPECT_TRUE(dbtest::sameTag(left.data[tag], right.data[tag]))
                    << left.type << " group " << left.data[tag].code;
            }
        }
    }
}

std::string testName(const testing::TestParamInfo<std::filesystem::path>& info) {
    if (info.param.empty()) {
        return "NoCorpus";
    }
    std::string name = std::filesystem::relative(info.param, quelto::testing::corpusDirectory()).string();
    for (char& character : name) {
        if (!std::isalnum(static_cast<unsigned char>(character))) {
            character = '_';
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusDrawing,
                         testing::ValuesIn(quelto::testing::corpusDrawingsOrPlaceholder()), testName);

} // namespace
