// The second stage as one call: the host filter list built from a record (items, order, the DIMENSION
// rule, operators), the scopes, and, end to end on every corpus drawing, the handles our second stage
// selects for a few records against those ezdxf computes for the same records.
#include "platform/code_page.h"
#include "quelto/matching/second_stage.h"
#include "support/command_output.h"
#include "support/test_support.h"
#include "tests/matching/matching_drawing.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>

namespace {

using matching_test::Ids;
using quelto::matching::CandidateScope;
using quelto::matching::SecondStageResult;

struct Item {
    int type;
    std::wstring text;
    int number;
};

std::vector<Item> items(const resbuf* list) {
    std::vector<Item> result;
    for (; list != nullptr; list = list->rbnext) {
        if (resbufValueKind(list->restype) == ResbufValueKind::Text) {
            result.push_back({list->restype, list->resval.rstring, 0});
        } else {
            result.push_back({list->restype, L"", list->resval.rint});
        }
    }
    return result;
}

bool operator==(const Item& left, const Item& right) {
    return left.type == right.type && left.text == right.text && left.number == right.number;
}

TEST(HostFilterList, ItemsFollowTheBasicCriteriaInOrder) {
    struct Case {
        const char* name;
        void (*set)(CFilter&);
        CString dxfName;
        std::vector<Item> expected;
        CString typeName;
    };
    const Case cases[] = {
        {"nothing on", [](CFilter&) {}, L"LINE", {}, L""},
        {"dimension kind",
         [](CFilter& f) { f.m_bType = 1; },
         L"DIMENSION33",
         {{RTDXF0, L"DIMENSION", 0}, {70, L"", 33}},
         L"DIMENSION"},
        {"all dimensions",
         [](CFilter& f) { f.m_bType = 1; },
         L"DIMENSION",
         {{RTDXF0, L"DIMENSION", 0}},
         L"DIMENSION"},
        {"unknown display name gives an empty type",
         [](CFilter& f) { f.m_bType = 1; },
         L"",
         {{RTDXF0, L"", 0}},
         L""},
        {"colour with = has no operator item",
         [](CFilter& f) {
             f.m_bColor = 1;
             f.m_strColorOp = L"=";
             f.m_nColor = 3;
         },
         L"LINE",
         {{62, L"", 3}},
         L""},
        {"colour <= ",
         [](CFilter& f) {
             f.m_bColor = 1;
             f.m_strColorOp = L"<=";
             f.m_nColor = 3;
         },
         L"LINE",
         {{-4, L"<=", 0}, {62, L"", 3}},
         L""},
        {"everything with != operators",
         [](CFilter& f) {
             f.m_bType = 1;
             f.m_bLayer = 1;
             f.m_strLayer = L"墙";
             f.m_bColor = 1;
             f.m_strColorOp = L"!=";
             f.m_nColor = 1;
             f.m_bLineWeight = 1;
             f.m_strLineWeightOp = L"!=";
             f.m_nLineWeight = 25;
         },
         L"DIMENSION164",
         {{RTDXF0, L"DIMENSION", 0},
          {70, L"", 164},
          {8, L"墙", 0},
          {-4, L"!=", 0},
          {62, L"", 1},
          {-4, L"!=", 0},
          {370, L"", 25}},
         L"DIMENSION"},
        {"a lower-case prefix is no dimension kind",
         [](CFilter& f) { f.m_bType = 1; },
         L"Dimension33",
         {{RTDXF0, L"Dimension33", 0}},
         L"Dimension33"},
        {"lineweight with an empty operator",
         [](CFilter& f) {
             f.m_bLineWeight = 1;
             f.m_nLineWeight = -1;
         },
         L"LINE",
         {{370, L"", -1}},
         L""},
    };
    for (const Case& item : cases) {
        CFilter filter;
        item.set(filter);
        resbuf* list = quelto::matching::buildHostFilterList(filter, item.dxfName);
        EXPECT_EQ(items(list), item.expected) << item.name;
        acutRelRb(list);
        EXPECT_EQ(quelto::matching::hostFilterTypeName(filter, item.dxfName), item.typeName) << item.name;
    }
}

class SecondStage : public matching_test::MatchingDrawing {
protected:
    void SetUp() override {
        MatchingDrawing::SetUp();
        m_short = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0)));
        auto* wall = new AcDbLine(AcGePoint3d(0, 5, 0), AcGePoint3d(20, 5, 0));
        wall->setLayer(L"WALL");
        m_wall = add(wall);
        m_circle = add(new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d(0, 0, 1), 2));
        m_paperLong =
            add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(30, 0, 0)), m_database.paperSpaceId());
    }

    Ids runStage(const CFilter& filter, const CandidateScope& scope, bool batch = false) {
        SecondStageResult result;
        const int status = quelto::matching::runSecondStage(filter, L"LINE", scope, batch, result);
        EXPECT_EQ(status == 1, result.status == RTNORM);
        Ids ids(result.ids.begin(), result.ids.end());
        if (status == 1) {
            EXPECT_EQ(matching_test::setMembers(result.set), ids);
            acedSSFree(result.set);
        }
        return ids;
    }

    AcDbObjectId m_short, m_wall, m_circle, m_paperLong;
};

TEST_F(SecondStage, ScopesDecideWhereCandidatesComeFrom) {
    CFilter longLines = rowsFilter({{213, L">", L"5"}});
    EXPECT_EQ(runStage(longLines, CandidateScope::wholeDrawing()), (Ids{m_wall, m_paperLong}));
    longLines.m_bLayer = 1;
    longLines.m_strLayer = L"wall";
    EXPECT_EQ(runStage(longLines, CandidateScope::wholeDrawing()), (Ids{m_wall}));
    longLines.m_bLayer = 0;
    const ads_point low = {-1, -1, 0};
    const ads_point high = {25, 10, 0};
    EXPECT_EQ(runStage(longLines, CandidateScope::window(low, high)), (Ids{m_wall}));

    ads_name given;
    acedSSAdd(nullptr, nullptr, given);
    for (const AcDbObjectId& id : {m_circle, m_paperLong, m_short}) {
        ads_name name;
        acdbGetAdsName(name, id);
        acedSSAdd(name, given, given);
    }
    EXPECT_EQ(runStage(longLines, CandidateScope::givenSet(given)), (Ids{m_paperLong}));
    EXPECT_EQ(runStage(rowsFilter({}), CandidateScope::givenSet(given)), (Ids{m_paperLong, m_short}));
    acedSSFree(given);

    SecondStageResult result;
    CFilter arcs = rowsFilter({});
    EXPECT_EQ(quelto::matching::runSecondStage(arcs, L"ARC", CandidateScope::wholeDrawing(), false, result),
              0);
    EXPECT_EQ(result.status, RTERROR);
    EXPECT_TRUE(result.ids.empty());
}

TEST_F(SecondStage, BatchVariantCombinesRowsByAnd) {
    const CFilter either = rowsFilter({{213, L"<", L"3"}, {213, L">", L"25"}}, 1);
    EXPECT_EQ(runStage(either, CandidateScope::wholeDrawing()), (Ids{m_short, m_paperLong}));
    EXPECT_EQ(runStage(either, CandidateScope::wholeDrawing(), true), (Ids{}));
}

// ---- End to end over the corpus, against ezdxf ----

struct CorpusRecord {
    std::string name;
    CFilter filter;
    CString dxfName;
    std::vector<std::wstring> expected;
};

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> result;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t')) {
        result.push_back(field);
    }
    if (!line.empty() && line.back() == '\t') {
        result.emplace_back();
    }
    return result;
}

std::optional<std::string> ezdxfSelection(const std::filesystem::path& drawing) {
    const std::string command = "/usr/bin/python3 '" + std::string(QUELTO_SOURCE_DIR) +
                                "/tests/matching/ezdxf_select.py' '" + drawing.string() + "' 2>/dev/null";
    return quelto::testing::commandOutput(command);
}

std::vector<CorpusRecord> parseRecords(const std::string& output, std::vector<std::wstring>& candidates) {
    // A candidate is described by its handle, type and layer, tab-separated.
    std::vector<CorpusRecord> records;
    std::stringstream stream(output);
    std::string line;
    while (std::getline(stream, line)) {
        const std::vector<std::string> parts = fields(line);
        if (parts.empty()) {
            continue;
        }
        const std::string& key = parts[0];
        auto wide = [&](std::size_t index) {
            return index < parts.size() ? platform::utf8ToWide(parts[index]) : std::wstring();
        };
        if (key == "RECORD") {
            records.push_back({parts.size() > 1 ? parts[1] : "", CFilter(), L"", {}});
            records.back().filter.m_bType = 1;
        } else if (key == "CANDIDATE") {
            candidates.push_back(wide(1) + L"\t" + wide(2) + L"\t" + wide(3));
        } else if (records.empty()) {
            continue;
        } else if (key == "TYPE") {
            records.back().dxfName = wide(1);
        } else if (key == "LAYER") {
            records.back().filter.m_bLayer = 1;
            records.back().filter.m_strLayer = wide(1);
        } else if (key == "LOGIC") {
            records.back().filter.m_nLogicMode = std::stoi(parts.at(1));
            records.back().filter.m_bLogic = records.back().filter.m_nLogicMode != 0;
            records.back().filter.m_strLogic = wide(2);
        } else if (key == "ROW") {
            CFilter& filter = records.back().filter;
            filter.m_arrPropId.push_back(std::stoi(parts.at(1)));
            filter.m_arrPropRow.push_back(static_cast<int>(filter.m_arrPropRow.size()));
            filter.m_arrPropOp.push_back(wide(2));
            filter.m_arrPropValue.push_back(wide(3));
        } else if (key == "EXPECT") {
            for (std::size_t index = 1; index < parts.size(); ++index) {
                if (!parts[index].empty()) {
                    records.back().expected.push_back(wide(index));
                }
            }
        }
    }
    return records;
}

// Handle, DXF type and layer of every entity, sorted.
std::vector<std::wstring> describedEntities(const Ids& ids) {
    std::vector<std::wstring> described;
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) == Acad::eOk) {
            described.push_back(id.handle().toWideHex() + L"\t" + platform::utf8ToWide(entity->dxfName()) +
                                L"\t" + entity->layer());
            entity->close();
        }
    }
    std::sort(described.begin(), described.end());
    return described;
}

std::vector<std::wstring> sortedHandles(const AcDbObjectIdArray& ids) {
    std::vector<std::wstring> handles;
    for (const AcDbObjectId& id : ids) {
        handles.push_back(id.handle().toWideHex());
    }
    std::sort(handles.begin(), handles.end());
    return handles;
}

TEST(SecondStageCorpus, SelectsWhatEzdxfComputesOnEveryDrawing) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0) {
        GTEST_SKIP() << "python3-ezdxf is not installed";
    }
    filter_test::IsolatedSettings settings;
    CQLTSystemParam().SetUseUserCoord(0);
    int drawings = 0;
    int records = 0;
    int candidates = 0;
    std::size_t selected = 0;
    std::vector<std::string> unread;
    std::vector<std::string> readDifferently;
    for (const std::filesystem::path& path : quelto::testing::corpusDrawings()) {
        const std::optional<std::string> output = ezdxfSelection(path);
        if (!output) {
            unread.push_back(path.filename().string() + " (ezdxf)");
            continue;
        }
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        if (!database.readDxf(path, error)) {
            unread.push_back(path.filename().string() + " (ours: " + error.toString() + ")");
            continue;
        }
        cad::ed::EditorState editor;
        editor.database = &database;
        cad::ed::setCurrentEditor(&editor);
        std::vector<std::wstring> ezdxfCandidates;
        const std::vector<CorpusRecord> drawingRecords = parseRecords(*output, ezdxfCandidates);
        std::sort(ezdxfCandidates.begin(), ezdxfCandidates.end());
        // The comparison is of the selection, so it needs both readers to see the same candidates: the
        // same handles, types and layers. Drawings read differently (entities without handles, which
        // each reader numbers on its own, or a host reading fault) are listed instead.
        ads_name all;
        Ids ourCandidates;
        if (acedSSGet(L"X", nullptr, nullptr, nullptr, all) == RTNORM) {
            ourCandidates = matching_test::setMembers(all);
            acedSSFree(all);
        }
        // Only the kinds the records select matter.
        const auto selectable = [](std::vector<std::wstring> described) {
            std::erase_if(described, [](const std::wstring& entity) {
                return entity.find(L"\tLINE\t") == std::wstring::npos &&
                       entity.find(L"\tTEXT\t") == std::wstring::npos &&
                       entity.find(L"\tCIRCLE\t") == std::wstring::npos;
            });
            return described;
        };
        const std::vector<std::wstring> ourDescribed = selectable(describedEntities(ourCandidates));
        ezdxfCandidates = selectable(std::move(ezdxfCandidates));
        if (ourDescribed != ezdxfCandidates) {
            std::size_t differing = 0;
            for (const std::wstring& candidate : ezdxfCandidates) {
                differing += std::binary_search(ourDescribed.begin(), ourDescribed.end(), candidate) ? 0 : 1;
            }
            readDifferently.push_back(path.filename().string() + ": " + std::to_string(differing) + " of " +
                                      std::to_string(ezdxfCandidates.size()) +
                                      " lines, texts and circles read differently");
            cad::ed::setCurrentEditor(nullptr);
            continue;
        }
        for (const CorpusRecord& record : drawingRecords) {
            SecondStageResult result;
            quelto::matching::runSecondStage(record.filter, record.dxfName, CandidateScope::wholeDrawing(),
                                             false, result);
            if (result.status == RTNORM) {
                EXPECT_EQ(matching_test::setMembers(result.set), Ids(result.ids.begin(), result.ids.end()));
                acedSSFree(result.set);
            }
            std::vector<std::wstring> expected = record.expected;
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(sortedHandles(result.ids), expected) << path.string() << ": " << record.name;
            selected += expected.size();
            ++records;
        }
        cad::ed::setCurrentEditor(nullptr);
        candidates += static_cast<int>(ourCandidates.size());
        ++drawings;
    }
    std::printf(
        "[ corpus ] %d drawings, %d candidate entities, %d records, %zu selections compared with ezdxf\n",
        drawings, candidates, records, selected);
    for (const std::string& file : readDifferently) {
        std::printf("[ corpus ] not compared, %s\n", file.c_str());
    }
    for (const std::string& file : unread) {
        std::printf("[ corpus ] not compared: %s\n", file.c_str());
    }
    EXPECT_GT(drawings, 35);
}

} // namespace
