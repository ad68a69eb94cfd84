// quelto-batch with the real module over the drawings of the shared corpus, checked against counts that
// python3-ezdxf computes on its own (ezdxf_line_counts.py): LINEs of one layer longer than a length.
// Then 200 copies with a damaged drawing in the middle, run by one worker and by two.

#include "support/test_support.h"
#include "tests/filter/filter_test_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char character : text) {
        result += character == '\'' ? std::string("'\\''") : std::string(1, character);
    }
    return result + "'";
}

// Runs the command; its standard output, and its exit status in `status`.
std::string capture(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, count);
    }
    const int result = ::pclose(pipe);
    status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
}

// The one corpus drawing the two readers take differently: its writer puts the layer (group 8) of every
// LINE after the AcDbLine subclass marker, where our loader keeps it as an unknown group of that subclass
// (the line stays on layer 0) and ezdxf takes it as the layer. Left out of the comparison, not the run.
bool readDifferentlyByDesign(const std::string& path) {
    return path.ends_with("skymakerolof_dxf/test/resources/supported_entities.dxf");
}

struct EzdxfCount {
    std::string layer;
    std::string length;
    int count = 0;
};

// ezdxf's counts by path; drawings ezdxf cannot read are left out.
std::map<std::string, EzdxfCount> ezdxfCounts(const std::string& arguments,
                                              const std::vector<fs::path>& files) {
    std::string command = "/usr/bin/python3 " +
                          quoted(std::string(QUELTO_SOURCE_DIR) + "/tests/host/ezdxf_line_counts.py") + " " +
                          arguments;
    for (const fs::path& file : files) {
        command += " " + quoted(file.string());
    }
    int status = -1;
    const std::string output = capture(command + " 2>/dev/null", status);
    std::map<std::string, EzdxfCount> counts;
    if (status != 0) {
        return counts;
    }
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const nlohmann::json value = nlohmann::json::parse(line);
        if (!value["count"].is_null() && !readDifferentlyByDesign(value["path"])) {
            counts[value["path"]] = {value["layer"], value["length"], value["count"]};
        }
    }
    return counts;
}

int writeConfiguration(const fs::path& file, const std::string& layer, const std::string& length) {
    int status = -1;
    capture(std::string(QUELTO_BATCH_CONFIG_PROGRAM) + " " + quoted(file.string()) + " --type 直线 --layer " +
                quoted(layer) + " --row " + quoted("213,>," + length),
            status);
    return status;
}

std::string batchCommand(const fs::path& configuration, const std::string& arguments) {
    return std::string(QUELTO_BATCH_PROGRAM) + " --module " + QUELTO_MODULE + " --no-progress --config " +
           quoted(configuration.string()) + " " + arguments;
}

class BatchCorpus : public testing::Test {
protected:
    void SetUp() override { QUELTO_SKIP_WITHOUT_CORPUS(); }

    // The module's settings and default configuration stay out of the user's folders.
    filter_test::IsolatedSettings m_settings;
    const fs::path& m_folder = m_settings.folder();
};

TEST_F(BatchCorpus, LinesOfTheBusiestLayerLongerThanTheMedianAsEzdxfCountsThem) {
    const std::vector<fs::path> drawings = quelto::testing::corpusDrawings();
    const std::map<std::string, EzdxfCount> expected = ezdxfCounts("busiest", drawings);
    ASSERT_GT(expected.size(), 40u) << "python3-ezdxf gave too few counts";
    int compared = 0;
    int lines = 0;
    for (const auto& [path, independent] : expected) {
        const fs::path configuration = m_folder / ("config" + std::to_string(compared) + ".cfg");
        ASSERT_EQ(writeConfiguration(configuration, independent.layer, independent.length), 0);
        int status = -1;
        capture(batchCommand(configuration,
                             "--report " + quoted((m_folder / "r.json").string()) + " " + quoted(path)),
                status);
        std::ifstream report(m_folder / "r.json");
        const nlohmann::json rows = nlohmann::json::parse(report, nullptr, false);
        ASSERT_TRUE(rows.is_array() && rows.size() == 1) << path;
        EXPECT_TRUE(rows[0]["error"].is_null()) << path << ": " << rows[0]["error"];
        EXPECT_EQ(rows[0]["count"], independent.count)
            << path << " layer " << independent.layer << " length > " << independent.length;
        ++compared;
        lines += independent.count;
    }
    std::cout << "compared " << compared << " of " << drawings.size() << " corpus drawings, " << lines
              << " matching lines in all\n";
}

TEST_F(BatchCorpus, TwoWorkersReportWhatOneReportsAndADamagedDrawingCostsOnlyItself) {
    const std::vector<fs::path> corpus = quelto::testing::corpusDrawings();
    std::vector<fs::path> copies;
    std::vector<fs::path> sources;
    for (std::size_t index = 0; copies.size() < 200; ++index) {
        const fs::path copy = m_folder / (std::to_string(copies.size()) + "_" +
                                          corpus[index % corpus.size()].filename().string());
        if (copies.size() == 100) {
            std::ofstream(m_folder / "100_damaged.dxf")
                << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n1.5e\n";
            copies.push_back(m_folder / "100_damaged.dxf");
            sources.emplace_back();
            continue;
        }
        fs::copy_file(corpus[index % corpus.size()], copy);
        copies.push_back(copy);
        sources.push_back(corpus[index % corpus.size()]);
    }
    const fs::path configuration = m_folder / "layer0.cfg";
    ASSERT_EQ(writeConfiguration(configuration, "0", "1"), 0);
    std::string drawings;
    for (const fs::path& copy : copies) {
        drawings += " " + quoted(copy.string());
    }

    int oneStatus = -1;
    int twoStatus = -1;
    const std::string oneOutput =
        capture(batchCommand(configuration,
                             "--jobs 1 --report " + quoted((m_folder / "one.csv").string()) + drawings) +
                    " 2>/dev/null",
                oneStatus);
    const std::string twoOutput =
        capture(batchCommand(configuration,
                             "--jobs 2 --report " + quoted((m_folder / "two.csv").string()) + drawings) +
                    " 2>/dev/null",
                twoStatus);
    EXPECT_EQ(oneStatus, 1);
    EXPECT_EQ(twoStatus, 1);
    EXPECT_EQ(twoOutput, oneOutput);
    std::ifstream oneFile(m_folder / "one.csv");
    std::ifstream twoFile(m_folder / "two.csv");
    const std::string one{std::istreambuf_iterator<char>(oneFile), std::istreambuf_iterator<char>()};
    const std::string two{std::istreambuf_iterator<char>(twoFile), std::istreambuf_iterator<char>()};
    EXPECT_EQ(two, one);

    // One row per drawing: only the damaged one failed; every other count is ezdxf's.
    const std::map<std::string, EzdxfCount> expected = ezdxfCounts("fixed 0 1", corpus);
    std::istringstream rows(one);
    std::string row;
    std::getline(rows, row);
    int failed = 0;
    int compared = 0;
    for (std::size_t index = 0; std::getline(rows, row); ++index) {
        ASSERT_LT(index, copies.size());
        ASSERT_TRUE(row.starts_with(copies[index].string() + ",")) << row;
        const bool rowFailed = !row.ends_with(",");
        failed += rowFailed ? 1 : 0;
        EXPECT_EQ(rowFailed, index == 100) << row;
        const auto found = expected.find(sources[index].string());
        if (found == expected.end() || rowFailed) {
            continue;
        }
        // path,frame,x1,y1,x2,y2,count,...: the count follows the six fields of path and frame.
        const std::size_t start = copies[index].string().size() + 6;
        const std::string count = row.substr(start, row.find(',', start) - start);
        EXPECT_EQ(count, std::to_string(found->second.count)) << row;
        ++compared;
    }
    EXPECT_EQ(failed, 1);
    std::cout << "200 drawings by one and by two workers: same report; " << compared
              << " counts equal to ezdxf's\n";
}

} // namespace

// The sample of scripts/run.sh: the walls of batch_config.cfg in batch_sample.dxf, as its script says.
TEST(BatchSample, SampleConfigurationFindsTheWallsOfTheSampleDrawing) {
    filter_test::IsolatedSettings settings;
    const fs::path drawing = settings.folder() / "batch_sample.dxf";
    fs::copy_file(fs::path(QUELTO_SOURCE_DIR) / "samples/batch_sample.dxf", drawing);
    const fs::path configuration = fs::path(QUELTO_SOURCE_DIR) / "samples/batch_config.cfg";
    int status = -1;
    EXPECT_EQ(capture(batchCommand(configuration, quoted(drawing.string())), status),
              drawing.string() + ": 共10个 (success 1)\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(capture(batchCommand(configuration, "--frames-block 图框 " + quoted(drawing.string())), status),
              drawing.string() + ": 5+0+3 (success 1)\n");
    EXPECT_EQ(status, 0);
}
