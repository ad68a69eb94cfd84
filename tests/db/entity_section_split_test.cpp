// Reading a large ENTITIES section on two threads must give the drawing one thread gives: the same
// entities in the same order and blocks, the same sequences, diagnostics at the same lines or offsets,
// the same error for a damaged file, and the same bytes when saved.
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/symbol_tables.h"
#include "cad/dxf/entity_boundaries.h"
#include "cad/dxf/tag_writer.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

// About 9 MB of ASCII: LINEs, POLYLINEs with VERTEXes, INSERTs with ATTRIBs, and every few hundred
// entities something the loader has to say something about, so that the later part (read by the
// second thread) has its share of diagnostics.
std::string largeDrawing(const std::string& damage = {}) {
    std::string groups;
    int handle = 0x100;
    const auto nextHandle = [&handle] {
        char text[16];
        std::snprintf(text, sizeof text, "%X", handle++);
        return std::string(text);
    };
    constexpr int kEntities = 50000;
    for (int index = 0; index < kEntities; ++index) {
        const std::string x = std::to_string(index % 1000) + ".25";
        const std::string y = std::to_string(index / 1000);
        if (index == kEntities * 4 / 5) {
            groups += damage;
        }
        switch (index % 7) {
        case 0:
            groups += "0\nPOLYLINE\n5\n" + nextHandle() + "\n8\nWALLS\n66\n1\n10\n0\n20\n0\n30\n0\n70\n1\n";
            for (int vertex = 0; vertex < 3; ++vertex) {
                groups += "0\nVERTEX\n5\n" + nextHandle() + "\n8\nWALLS\n10\n" + x + "\n20\n" +
                          std::to_string(vertex) + "\n30\n0\n";
            }
            groups += "0\nSEQEND\n5\n" + nextHandle() + "\n8\nWALLS\n";
            break;
        case 1:
            groups += "0\nINSERT\n5\n" + nextHandle() + "\n8\nDOORS\n66\n1\n2\nDOOR\n10\n" + x + "\n20\n" +
                      y + "\n30\n0\n";
            groups += "0\nATTRIB\n5\n" + nextHandle() + "\n8\nDOORS\n10\n" + x + "\n20\n" + y +
                      "\n30\n0\n40\n2.5\n1\nD" + std::to_string(index) + "\n2\nTAG\n70\n0\n";
            groups += "0\nSEQEND\n5\n" + nextHandle() + "\n8\nDOORS\n";
            break;
        default:
            groups += "0\nLINE\n5\n" + nextHandle() + "\n8\n" + (index % 2 == 0 ? "0" : "TEXT") + "\n10\n" +
                      x + "\n20\n" + y + "\n30\n0\n11\n" + y + "\n21\n" + x + "\n31\n0\n";
        }
        if (index % 997 == 500) {
            groups += "999\na comment between entities\n";
        }
        if (index % 1499 == 700) {
            groups += "0\nLINE\n5\n" + nextHandle() + "\n8\n0\n10\n1\n30\n0\n11\n2\n21\n2\n31\n0\n"; // no 20
        }
        if (index % 2003 == 900) {
            groups += "0\nVERTEX\n5\n" + nextHandle() + "\n8\n0\n10\n0\n20\n0\n30\n0\n"; // outside a POLYLINE
        }
        if (index % 2503 == 1200) {
            groups += "0\nLINE\n5\n100\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n"; // duplicate handle
        }
    }
    return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\n" + nextHandle() +
           "\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + groups +
           "0\nENDSEC\n0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n330\n0\n100\nAcDbDictionary\n0\nENDSEC\n0"
           "\nEOF\n";
}

struct LoadResult {
    bool loaded = false;
    std::string error;
    std::vector<std::string> diagnostics;
    std::vector<std::string> entities; // handle, type and sequence size of each model-space entity
    std::string savedBytes;
};

LoadResult load(std::string_view bytes, bool split) {
    LoadResult result;
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    cad::db::DxfReadOptions options;
    options.entitiesOnTwoThreads = split;
    result.loaded = database.readDxfBuffer(bytes, error, "large.dxf", options);
    result.error = error.toString();
    if (!result.loaded) {
        return result;
    }
    for (const cad::db::Diagnostic& diagnostic : database.diagnostics()) {
        result.diagnostics.push_back(std::to_string(diagnostic.line) + "/" +
                                     std::to_string(diagnostic.offset) + " " + diagnostic.message);
    }
    const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
    for (const AcDbObjectId& id : model->entityIds()) {
        const auto* entity = AcDbEntity::cast(database.peekObject(id));
        const AcDbSequence* sequence = entity->sequence();
        result.entities.push_back(entity->handle().toHex() + " " + entity->dxfName() + " " +
                                  std::to_string(sequence != nullptr ? sequence->entities.size() : 0));
    }
    cad::dxf::BufferTagWriter writer;
    database.writeDxfTags(writer);
    result.savedBytes = writer.bytes();
    return result;
}

std::string binaryCopy(const std::string& ascii) {
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    EXPECT_TRUE(database.readDxfBuffer(ascii, error)) << error.toString();
    cad::dxf::WriterOptions options;
    options.format = cad::dxf::DxfFormat::Binary;
    cad::dxf::BufferTagWriter writer(options);
    database.writeDxfTags(writer);
    return writer.bytes();
}

// The offsets of every group 0 the reader meets from the ENTITIES section on.
std::set<std::uint64_t> groupZeroOffsets(cad::dxf::TagReader& reader) {
    std::set<std::uint64_t> offsets;
    cad::dxf::Tag tag;
    while (true) {
        const std::uint64_t offset = reader.bytesConsumed();
        if (!reader.next(tag)) {
            break;
        }
        if (tag.code == 0) {
            offsets.insert(offset);
        }
    }
    return offsets;
}

TEST(EntitySectionSplit, CutsTheSectionOnlyAtGroupZeros) {
    const std::string ascii = largeDrawing();
    const std::string binary = binaryCopy(ascii);
    for (const std::string* bytes : {&ascii, &binary}) {
        cad::dxf::TagReader reader;
        cad::dxf::TagError error;
        ASSERT_TRUE(reader.openBuffer(*bytes, error)) << error.toString();
        cad::dxf::Tag tag;
        while (reader.next(tag) && !(tag.code == 2 && tag.text == "ENTITIES")) {
        }
        const std::uint64_t sectionStart = reader.bytesConsumed();
        cad::dxf::TagReader walker = reader.forkAt(sectionStart);
        const std::set<std::uint64_t> groupZeros = groupZeroOffsets(walker);
        const std::uint64_t sectionBytes = bytes->size() - sectionStart;
        for (const std::uint64_t chunkBytes : {sectionBytes / 2, sectionBytes / 7, std::uint64_t{100000}}) {
            const std::vector<std::uint64_t> starts =
                cad::dxf::findEntityBoundaries(reader, chunkBytes, 1 << 20);
            ASSERT_GE(starts.size(), sectionBytes / chunkBytes - 1) << "chunks of " << chunkBytes;
            EXPECT_EQ(starts.front(), sectionStart);
            EXPECT_TRUE(std::is_sorted(starts.begin(), starts.end()));
            for (const std::uint64_t start : starts) {
                EXPECT_EQ(groupZeros.count(start), 1U)
                    << "offset " << start << " is not the start of a group 0";
            }
            // The last chunk starts before the OBJECTS section.
            EXPECT_LT(starts.back(), bytes->find("OBJECTS"));
        }
        EXPECT_TRUE(cad::dxf::findEntityBoundaries(reader, 100000, bytes->size()).empty())
            << "a section smaller than the threshold is read by one thread";
    }
}

TEST(EntitySectionSplit, TwoThreadsReadTheSameDrawingAsOne) {
    const std::string ascii = largeDrawing();
    const std::string binary = binaryCopy(ascii);
    for (const std::string* bytes : {&ascii, &binary}) {
        const LoadResult single = load(*bytes, false);
        const LoadResult split = load(*bytes, true);
        ASSERT_TRUE(single.loaded) << single.error;
        ASSERT_TRUE(split.loaded) << split.error;
        EXPECT_GT(single.diagnostics.size(), 40U) << "the drawing should exercise the diagnostics";
        EXPECT_EQ(split.diagnostics, single.diagnostics);
        ASSERT_EQ(split.entities.size(), single.entities.size());
        EXPECT_EQ(split.entities, single.entities);
        EXPECT_TRUE(split.savedBytes == single.savedBytes) << "saved drawings differ";
    }
}

TEST(EntitySectionSplit, DamageInTheLaterPartGivesTheSameError) {
    struct Case {
        const char* name;
        std::string damage;
    };
    const std::vector<Case> cases = {
        {"junk group code", "0\nLINE\n5\nFFFFF\nX1\n0\n"},
        {"group where an entity must start", "8\nWALLS\n"},
        {"section cut short", "0\nENDSEC\n0\nEOF\n"},
    };
    for (const Case& testCase : cases) {
        const std::string ascii = largeDrawing(testCase.damage);
        const LoadResult single = load(ascii, false);
        const LoadResult split = load(ascii, true);
        EXPECT_EQ(split.loaded, single.loaded) << testCase.name;
        EXPECT_EQ(split.error, single.error) << testCase.name;
        EXPECT_EQ(split.diagnostics, single.diagnostics) << testCase.name;
        EXPECT_EQ(split.entities, single.entities) << testCase.name;
    }
}

} // namespace
