// quelto-batch's own parts: options, result texts, report rows, the progress bar and the frames found
// in a drawing, then the program itself over a stand-in module that crashes, hangs or complains on
// request, to show that workers keep the given order and that one bad drawing costs only itself.

#include "cad/app/document_manager.h"
#include "tests/filter/filter_test_support.h"
#include "tools/quelto_batch_progress.h"
#include "tools/quelto_batch_report.h"
#include "tools/quelto_batch_worker.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

namespace {

using namespace quelto::batch;

std::string readText(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

std::string line(double x1, double y1, double x2, double y2) {
    return "0\nLINE\n8\n0\n10\n" + std::to_string(x1) + "\n20\n" + std::to_string(y1) + "\n11\n" +
           std::to_string(x2) + "\n21\n" + std::to_string(y2) + "\n";
}

std::string rectangle(const char* layer, std::vector<std::pair<double, double>> corners, bool closed,
                      const char* extra = "") {
    std::string text = std::string("0\nLWPOLYLINE\n8\n") + layer + "\n90\n" + std::to_string(corners.size()) +
                       "\n70\n" + (closed ? "1" : "0") + "\n";
    for (const auto& [x, y] : corners) {
        text += "10\n" + std::to_string(x) + "\n20\n" + std::to_string(y) + "\n" + extra;
    }
    return text;
}

std::string drawingText(const std::string& entities) {
    const std::string block = "0\nBLOCK\n8\n0\n2\n*Model_Space\n70\n0\n10\n0\n20\n0\n30\n0\n0\nENDBLK\n8\n0\n"
                              "0\nBLOCK\n8\n0\n2\nTB\n70\n0\n10\n0\n20\n0\n30\n0\n" +
                              rectangle("0", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true) +
                              "0\nENDBLK\n8\n0\n";
    return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n" + block +
           "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

// Five lines: three in the square 0..10, one in 100..120, one outside both. Two frames on layer
// "Frames" and two INSERTs of "TB" cover the same squares; the other polylines are no frames.
std::string framedDrawing() {
    return drawingText(rectangle("Frames", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true) +
                       rectangle("Frames", {{50, 0}, {55, 5}, {50, 10}, {45, 5}}, true) +
                       rectangle("Frames", {{60, 0}, {70, 0}, {70, 10}, {60, 10}}, false) +
                       rectangle("Other", {{80, 0}, {90, 0}, {90, 10}, {80, 10}}, true) +
                       rectangle("Frames", {{30, 0}, {40, 0}, {40, 10}, {30, 10}}, true, "42\n0.5\n") +
                       rectangle("Frames", {{120, 20}, {100, 20}, {100, 0}, {120, 0}}, true) +
                       "0\nINSERT\n8\n0\n2\nTB\n10\n0\n20\n0\n30\n0\n" +
                       "0\nINSERT\n8\n0\n2\ntb\n10\n100\n20\n0\n30\n0\n41\n2\n42\n2\n43\n1\n" +
                       line(1, 1, 2, 2) + line(3, 3, 4, 4) + line(5, 5, 6, 6) + line(105, 5, 110, 10) +
                       line(200, 200, 201, 201));
}

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

ToolRun runTool(const std::filesystem::path& folder, const std::string& arguments) {
    const std::filesystem::path out = folder / "stdout.txt";
    const std::filesystem::path err = folder / "stderr.txt";
    const std::string command = std::string(QUELTO_BATCH_PROGRAM) + " --module " + QUELTO_BATCH_TEST_MODULE +
                                " " + arguments + " >" + out.string() + " 2>" + err.string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(out), readText(err)};
}

TEST(BatchOptions, FrameTextsAreFourNumbersOfAFrameWithArea) {
    const struct {
        const char* text;
        bool valid;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    } rows[] = {
        {"0,0,10,20", true, 0, 0, 10, 20},
        {" -5.5 , 1e3,+7,0.25 ", true, -5.5, 1000, 7, 0.25},
        {"10,20,0,0", true, 10, 20, 0, 0},
        {"0,0,10", false},
        {"0,0,10,20,30", false},
        {"0,0,0,20", false},
        {"0,5,10,5", false},
        {"a,0,10,20", false},
        {"0,0,10,20x", false},
        {"0,,10,20", false},
        {"nan,0,10,20", false},
    };
    for (const auto& row : rows) {
        const std::optional<Frame> frame = parseFrame(row.text);
        ASSERT_EQ(frame.has_value(), row.valid) << row.text;
        if (frame) {
            EXPECT_EQ(frame->first.x, row.x1) << row.text;
            EXPECT_EQ(frame->first.y, row.y1) << row.text;
            EXPECT_EQ(frame->second.x, row.x2) << row.text;
            EXPECT_EQ(frame->second.y, row.y2) << row.text;
        }
    }
}

TEST(BatchOptions, BadUsageEndsWithStatusTwo) {
    const std::vector<std::vector<const char*>> rows = {
        {"quelto-batch"},
        {"quelto-batch", "a.dxf", "--jobs", "0"},
        {"quelto-batch", "a.dxf", "--report", "out.txt"},
        {"quelto-batch", "a.dxf", "--frame", "1,2,3"},
        {"quelto-batch", "a.dxf", "--frames-layer", "F", "--frames-block", "B"},
        {"quelto-batch", "a.dxf", "--frame", "0,0,1,1", "--frames-layer", "F"},
        {"quelto-batch", "a.dxf", "--config", "/no/such/file.cfg"},
        {"quelto-batch", "a.dxf", "--unknown"},
    };
    for (const auto& arguments : rows) {
        int exitCode = -1;
        EXPECT_FALSE(parseBatchOptions(static_cast<int>(arguments.size()), arguments.data(), exitCode));
        EXPECT_EQ(exitCode, kExitUsage) << arguments.back();
    }
    const char* good[] = {"quelto-batch", "a.dxf",   "b.dxf", "--frame", "0,0,1,1",
                          "--frame",      "2,2,3,3", "-j",    "4"};
    int exitCode = -1;
    const std::optional<BatchOptions> options = parseBatchOptions(9, good, exitCode);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->drawings, (std::vector<std::string>{"a.dxf", "b.dxf"}));
    EXPECT_EQ(options->frameSource, FrameSource::Listed);
    EXPECT_EQ(options->frames.size(), 2u);
    EXPECT_EQ(options->jobs, 4);
}

TEST(BatchResults, CountsAreReadBackFromTheResultText) {
    const struct {
        const char* text;
        bool perFrame;
        std::optional<std::vector<long>> counts;
    } rows[] = {
        {"共0个", false, std::vector<long>{0}},
        {"共1234567个", false, std::vector<long>{1234567}},
        {"共个", false, std::nullopt},
        {"共-1个", false, std::nullopt},
        {"12", false, std::nullopt},
        {"12+0+3", true, std::vector<long>{12, 0, 3}},
        {"7", true, std::vector<long>{7}},
        {"没有图框", true, std::nullopt},
        {"12++3", true, std::nullopt},
        {"12+", true, std::nullopt},
        {"", true, std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(countsOfResultText(row.text, row.perFrame), row.counts) << row.text;
    }
}

TEST(BatchResults, ReportHasOneRowPerDrawingAndFrame) {
    DrawingResult whole{"a.dxf", false, {}, "共12个", 1, 1, {12}, ""};
    DrawingResult framed{
        "b,c.dxf", true, {{{0, 0, 0}, {10, 5.5, 0}}, {{-1, -2, 0}, {1e6, 2, 0}}}, "4+0", 1, 1, {4, 0}, ""};
    DrawingResult noFrames{"d.dxf", true, {}, "没有图框", 1, 0, {}, ""};
    DrawingResult failed{"e.dxf", false, {}, "",
                         0,       0,     {}, "cannot read the drawing: line 7: \"x\" is no number"};
    const std::vector<DrawingResult> results = {whole, framed, noFrames, failed};

    // The worker's hand-over survives the pipe unchanged; a cut-off text is no result.
    for (const DrawingResult& result : results) {
        const std::optional<DrawingResult> back = resultFromJson(toJson(result).dump());
        ASSERT_TRUE(back);
        EXPECT_EQ(toJson(*back), toJson(result));
    }
    EXPECT_FALSE(resultFromJson(toJson(framed).dump().substr(0, 40)));

    filter_test::TemporaryFolder scratch;
    const std::filesystem::path& folder = scratch.path();
    std::string error;
    ASSERT_TRUE(writeReport((folder / "r.csv").string(), results, error)) << error;
    EXPECT_EQ(readText(folder / "r.csv"),
              "path,frame,x1,y1,x2,y2,count,success,text,error\n"
              "a.dxf,,,,,,12,1,共12个,\n"
              "\"b,c.dxf\",1,0,0,10,5.5,4,1,4+0,\n"
              "\"b,c.dxf\",2,-1,-2,1e+06,2,0,1,4+0,\n"
              "d.dxf,,,,,,,0,没有图框,\n"
              "e.dxf,,,,,,,0,,\"cannot read the drawing: line 7: \"\"x\"\" is no number\"\n");

    ASSERT_TRUE(writeReport((folder / "r.json").string(), results, error)) << error;
    const nlohmann::json rows = nlohmann::json::parse(readText(folder / "r.json"));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2]["frame"], 2);
    EXPECT_EQ(rows[2]["corner2"], nlohmann::json::array({1e6, 2.0}));
    EXPECT_EQ(rows[2]["count"], 0);
    EXPECT_TRUE(rows[3]["count"].is_null());
    EXPECT_EQ(rows[3]["text"], "没有图框");
    EXPECT_EQ(rows[4]["error"], failed.error);
    EXPECT_TRUE(rows[0]["error"].is_null());

    EXPECT_FALSE(writeReport((folder / "missing" / "r.csv").string(), results, error));
    EXPECT_NE(error.find("r.csv"), std::string::npos);
}

TEST(BatchProgress, BarShowsDoneTotalElapsedAndEstimate) {
    const struct {
        std::size_t done, total;
        double elapsed;
        const char* text;
    } rows[] = {
        {0, 4, 0.2, "[--------] 0/4  0:00 elapsed"},
        {1, 4, 10, "[##------] 1/4  0:10 elapsed, about 0:30 left"},
        {3, 8, 75, "[###-----] 3/8  1:15 elapsed, about 2:05 left"},
        {4, 4, 3725, "[########] 4/4  1:02:05 elapsed"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ProgressDisplay::barText(row.done, row.total, row.elapsed, 8), row.text);
    }
}

TEST(BatchFrames, RectanglesOnALayerAndExtentsOfBlockReferences) {
    filter_test::TemporaryFolder scratch;
    const std::filesystem::path& folder = scratch.path();
    writeText(folder / "frames.dxf", framedDrawing());
    std::string error;
    AcApDocument* document = acDocManager->openDocument(folder / "frames.dxf", error);
    ASSERT_NE(document, nullptr) << error;
    const auto corners = [](const std::vector<Frame>& frames) {
        std::vector<std::vector<double>> values;
        for (const Frame& frame : frames) {
            values.push_back({frame.first.x, frame.first.y, frame.second.x, frame.second.y});
        }
        return values;
    };
    const std::vector<std::vector<double>> expected = {{0, 0, 10, 10}, {120, 20, 100, 0}};
    EXPECT_EQ(corners(framesOnLayer(*document->database(), "frames")), expected);
    EXPECT_EQ(corners(framesOfBlock(*document->database(), "Tb")),
              (std::vector<std::vector<double>>{{0, 0, 10, 10}, {100, 0, 120, 20}}));
    EXPECT_TRUE(framesOnLayer(*document->database(), "Other2").empty());
    acDocManager->closeAll();
}

TEST(BatchTool, FramesComeFromOptionsFromALayerOrFromBlockReferences) {
    filter_test::TemporaryFolder scratch;
    const std::filesystem::path& folder = scratch.path();
    const std::string drawing = (folder / "frames.dxf").string();
    writeText(drawing, framedDrawing());
    const struct {
        std::string options;
        std::string line;
    } rows[] = {
        {"", drawing + ": 共5个 (success 1)\n"},
        {"--frame 0,0,10,10 --frame 100,0,120,20 --frame 300,300,301,301", drawing + ": 3+1+0 (success 1)\n"},
        {"--frames-layer FRAMES", drawing + ": 3+1 (success 1)\n"},
        {"--frames-block TB", drawing + ": 3+1 (success 1)\n"},
        {"--frames-block 图框", drawing + ": 没有图框 (success 0)\n"},
    };
    for (const auto& row : rows) {
        const ToolRun run = runTool(folder, drawing + " --no-progress " + row.options);
        EXPECT_EQ(run.status, 0) << row.options << "\n" << run.err;
        EXPECT_EQ(run.out, row.line) << row.options;
        EXPECT_EQ(run.err, "") << row.options;
    }
}

TEST(BatchTool, WorkersKeepTheGivenOrderAndOneBadDrawingCostsOnlyItself) {
    filter_test::TemporaryFolder scratch;
    const std::filesystem::path& folder = scratch.path();
    const std::string text = framedDrawing();
    for (const char* name : {"a.dxf", "crash.dxf", "hang.dxf", "msgbox.dxf", "b.dxf"}) {
        writeText(folder / name, text);
    }
    writeText(folder / "damaged.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n");
    const std::vector<std::string> names = {"a.dxf",    "crash.dxf",  "missing.dxf", "damaged.dxf",
                                            "hang.dxf", "msgbox.dxf", "b.dxf"};
    std::string arguments = "--jobs 3 --timeout 2 --report " + (folder / "report.csv").string();
    for (const std::string& name : names) {
        arguments += " " + (folder / name).string();
    }

    const ToolRun run = runTool(folder, arguments);
    EXPECT_EQ(run.status, kExitSomeFailed);
    EXPECT_EQ(run.out, (folder / "a.dxf").string() + ": 共5个 (success 1)\n" + (folder / "b.dxf").string() +
                           ": 共5个 (success 1)\n");
    const std::vector<std::string> expectedErrors = {
        "crash.dxf: failed: the worker process died of signal 6 (Aborted)",
        "missing.dxf: failed: cannot open the drawing: no such file",
        "damaged.dxf: failed: cannot read the drawing: ",
        "hang.dxf: failed: the drawing took longer than 2 s; its worker was stopped",
        "msgbox.dxf: failed: the module showed a message: [无法读取] 配置文件损坏",
    };
    std::size_t previous = 0;
    for (const std::string& expected : expectedErrors) {
        const std::size_t found = run.err.find(expected);
        ASSERT_NE(found, std::string::npos) << expected << "\n" << run.err;
        EXPECT_GT(found, previous) << "errors out of the given order:\n" << run.err;
        previous = found;
    }

    const std::string report = readText(folder / "report.csv");
    std::vector<std::string> reportLines;
    for (std::size_t start = 0, end; (end = report.find('\n', start)) != std::string::npos; start = end + 1) {
        reportLines.push_back(report.substr(start, end - start));
    }
    ASSERT_EQ(reportLines.size(), names.size() + 1);
    for (std::size_t index = 0; index < names.size(); ++index) {
        EXPECT_TRUE(reportLines[index + 1].starts_with((folder / names[index]).string() + ","))
            << reportLines[index + 1];
    }
    EXPECT_EQ(reportLines[7], (folder / "b.dxf").string() + ",,,,,,5,1,共5个,");
}

TEST(BatchTool, MissingModuleOrBadUsageStopsBeforeAnyDrawing) {
    filter_test::TemporaryFolder scratch;
    const std::filesystem::path& folder = scratch.path();
    writeText(folder / "a.dxf", framedDrawing());
    const std::string program = QUELTO_BATCH_PROGRAM;
    const std::string drawing = (folder / "a.dxf").string();
    const std::string quiet = " >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --module /no/such/module.so " + drawing + quiet).c_str())),
              kExitSomeFailed);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --frame 1,2 " + drawing + quiet).c_str())), kExitUsage);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --help" + quiet).c_str())), kExitAllProcessed);
}

} // namespace
