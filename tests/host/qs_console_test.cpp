// QS end to end in the console host on corpus drawings, driven by script lines on the offscreen dialog:
// the lines of the busiest layer longer than a length (the length row on "实体特性") and wider than a
// width ("外观宽度：" on "扩展选项"), grouped under a name; the selected handles, the saved group and the
// count against python3-ezdxf; "<上一次配制>" in the configuration file and shown at the next QS; a template
// line from the pick-first set and from the pick; the edits of the command page (erase, move, scale, rotate,
// mirror, explode) in the saved drawing.
#include "platform/known_folders.h"
#include "quelto/filter/filter_cfg_file.h"
#include "quelto/filter/qlt_system_param.h"
#include "support/test_support.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

namespace {

using Handles = std::set<std::string>;

std::string runCommand(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        output += buffer.data();
    }
    const int result = ::pclose(pipe);
    if (status != nullptr) {
        *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    }
    return output;
}

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

Handles lines(const std::string& output) {
    Handles handles;
    std::istringstream stream(output);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty()) {
            handles.insert(line);
        }
    }
    return handles;
}

std::string ezdxf(const std::string& arguments) {
    return runCommand("/usr/bin/python3 " QUELTO_SOURCE_DIR "/tests/host/ezdxf_qs_check.py " + arguments);
}

// Both ends of every LINE of every layout: x1 y1 z1 x2 y2 z2 by handle.
using LineEnds = std::map<std::string, std::array<double, 6>>;

LineEnds lineEnds(const std::filesystem::path& drawing) {
    LineEnds ends;
    std::istringstream stream(ezdxf("ends " + quoted(drawing.string())));
    std::string handle;
    std::array<double, 6> values{};
    while (stream >> handle >> values[0] >> values[1] >> values[2] >> values[3] >> values[4] >> values[5]) {
        ends[handle] = values;
    }
    return ends;
}

struct Busiest {
    std::string layer;
    std::string length;
    int count = 0;
};

Busiest busiestLayer(const std::filesystem::path& drawing) {
    const std::string output =
        runCommand("/usr/bin/python3 " QUELTO_SOURCE_DIR "/tests/host/ezdxf_line_counts.py busiest " +
                   quoted(drawing.string()));
    const nlohmann::json answer = nlohmann::json::parse(output);
    return {answer["layer"], answer["length"], answer["count"]};
}

class QsConsole : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        QUELTO_SKIP_WITHOUT_CORPUS();
        ::setenv("QUELTO_REGISTRY_DIR", m_folder.path().c_str(), 1);
        ::setenv("QUELTO_COMMON_APPDATA", m_folder.path().c_str(), 1);
        std::filesystem::create_directories(m_folder.path() / "Tarnwell" / "Quelto");
        CQLTSystemParam settings;
        settings.SetStartTemp(0);
        settings.SetInitShow(0);
    }
    void TearDown() override {
        ::unsetenv("QUELTO_REGISTRY_DIR");
        ::unsetenv("QUELTO_COMMON_APPDATA");
    }

    // Runs the script on the drawing; the transcript.
    std::string runScript(const std::filesystem::path& drawing, const std::string& script, int* status) {
        const std::filesystem::path file = m_folder.path() / "qs.scr";
        std::ofstream(file, std::ios::binary) << script;
        return runCommand(std::string(QUELTO_CAD_PROGRAM) + " --console " + quoted(drawing.string()) +
                              " --load " + QUELTO_MODULE + " --script " + quoted(file.string()) + " 2>&1",
                          status);
    }

    std::string criteria(const Busiest& busiest) const {
        return "@check 对象类型：\n@choose 对象类型： 直线\n@check 对象图层：\n@choose 对象图层： " +
               busiest.layer + "\n@tab 扩展选项\n@check 外观宽度：\n@choose 外观宽度： >\n@type 外观宽度： " +
               kWidth + "\n@tab 实体特性\n@row A 长度 > " + busiest.length +
               "\n@tab 常规选项\n@check 在全部实体中过滤\n";
    }
    // What criteria() selects, by ezdxf.
    Handles selectedByCriteria(const std::filesystem::path& drawing, const Busiest& busiest) const {
        return lines(ezdxf("lines " + quoted(drawing.string()) + " " + quoted(busiest.layer) + " " +
                           busiest.length + " " + kWidth));
    }
    // The width row of "扩展选项": lines wider (in x) than this.
    static constexpr const char* kWidth = "0.37";

    quelto::testing::TemporaryFolder m_folder;
};

TEST_P(QsConsole, SelectsGroupsAndRemembersTheLastCriteria) {
    const std::filesystem::path drawing = quelto::testing::corpusFile(GetParam());
    const Busiest busiest = busiestLayer(drawing);
    const Handles expected = selectedByCriteria(drawing, busiest);
    ASSERT_FALSE(expected.empty());
    const std::string count = std::to_string(expected.size());
    const std::filesystem::path saved = m_folder.path() / "saved.dxf";
    const std::string script = "QS\n" + criteria(busiest) +
                               "@choose 原则： 追加（没有时新建）\n@type 组名： QS组\n@press 确定\n"
                               "QS\n@expect count " +
                               count + "\n@press 取消\nSAVEAS\n" + saved.string() + "\nQUIT\n";
    int status = -1;
    const std::string transcript = runScript(drawing, script, &status);
    ASSERT_EQ(status, 0) << transcript;
    EXPECT_EQ(transcript.find("Script stopped"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("有效选择" + count + "个\n"), std::string::npos) << transcript;
    EXPECT_EQ(lines(ezdxf("group " + quoted(saved.string()) + " QS组")), expected);

    // "<上一次配制>" in the file: version 6, and the criteria of the run.
    CFilterCfgFile file;
    std::ifstream stream(platform::wideToPath(file.m_strFileName), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x16\x27\0\0", 4));
    ASSERT_EQ(file.ReadCfgFile(), 1);
    const CFilter& last = file.m_arrFilter[1];
    EXPECT_EQ(last.m_strName, L"<上一次配制>");
    EXPECT_EQ(last.m_strType, L"直线");
    EXPECT_EQ(platform::pathToWide(busiest.layer), last.m_strLayer);
    EXPECT_EQ(last.m_bWidth, 1);
    EXPECT_EQ(last.m_strWidthOp, L">");
    EXPECT_DOUBLE_EQ(last.m_dWidth, 0.37);
    EXPECT_EQ(last.m_arrPropId, (CArray<int>{213}));
    EXPECT_EQ(last.m_strGroupName, L"QS组");
}

TEST_P(QsConsole, EraseOfTheCommandPageReachesTheSavedDrawing) {
    const std::filesystem::path drawing = quelto::testing::corpusFile(GetParam());
    const Busiest busiest = busiestLayer(drawing);
    const Handles selected = selectedByCriteria(drawing, busiest);
    const Handles before = lines(ezdxf("handles " + quoted(drawing.string())));
    const std::filesystem::path saved = m_folder.path() / "erased.dxf";
    const std::string script =
        "QS\n" + criteria(busiest) +
        "@tab 选后操作\n@check 快速选择有效时执行以下命令\n@uncheck 命令执行前提示确认\n"
        "@check 删除\n@press 确定\nSAVEAS\n" +
        saved.string() + "\nQUIT\n";
    int status = -1;
    const std::string transcript = runScript(drawing, script, &status);
    ASSERT_EQ(status, 0) << transcript;
    EXPECT_EQ(transcript.find("Script stopped"), std::string::npos) << transcript;
    Handles remaining;
    for (const std::string& handle : before) {
        if (!selected.contains(handle)) {
            remaining.insert(handle);
        }
    }
    EXPECT_EQ(lines(ezdxf("handles " + quoted(saved.string()))), remaining);
}

TEST_P(QsConsole, ExplodeOfTheCommandPageLeavesThePolylinesSegmentsInTheSavedDrawing) {
    const std::filesystem::path drawing = quelto::testing::corpusFile(GetParam());
    const nlohmann::json before = nlohmann::json::parse(ezdxf("pieces " + quoted(drawing.string())));
    if (before["polylines"].empty()) {
        GTEST_SKIP() << GetParam() << " has no LWPOLYLINE";
    }
    const std::filesystem::path saved = m_folder.path() / "exploded.dxf";
    const std::string script =
        "QS\n@check 对象类型：\n@choose 对象类型： 多段线\n@check 在全部实体中过滤\n"
        "@tab 选后操作\n@check 快速选择有效时执行以下命令\n@uncheck 命令执行前提示确认\n"
        "@check 分解\n@press 确定\nSAVEAS\n" +
        saved.string() + "\nQUIT\n";
    int status = -1;
    const std::string transcript = runScript(drawing, script, &status);
    ASSERT_EQ(status, 0) << transcript;
    EXPECT_EQ(transcript.find("Script stopped"), std::string::npos) << transcript;
    const nlohmann::json after = nlohmann::json::parse(ezdxf("pieces " + quoted(saved.string())));
    EXPECT_TRUE(after["polylines"].empty()) << after["polylines"];
    EXPECT_EQ(after["lines_arcs"].get<int>(), before["lines_arcs"].get<int>() + before["pieces"].get<int>());
    const Handles remaining = lines(ezdxf("handles " + quoted(saved.string())));
    for (const nlohmann::json& polyline : before["polylines"]) {
        EXPECT_FALSE(remaining.contains(polyline.get<std::string>())) << polyline;
    }
}

TEST_P(QsConsole, TemplateFromThePickFirstSetOrFromThePickGivesItsTypeLayerAndColour) {
    const std::filesystem::path drawing = quelto::testing::corpusFile(GetParam());
    const Busiest busiest = busiestLayer(drawing);
    const nlohmann::json answer =
        nlohmann::json::parse(ezdxf("template " + quoted(drawing.string()) + " " + quoted(busiest.layer)));
    const std::string handle = answer["handle"];
    Handles expected;
    for (const nlohmann::json& match : answer["matches"]) {
        expected.insert(match.get<std::string>());
    }
    ASSERT_TRUE(expected.contains(handle));
    // A point picks the line only where nothing else comes near its midpoint; elsewhere the prompt
    // takes the handle, as a drafter's typed handle.
    char point[64];
    std::snprintf(point, sizeof point, "%.17g,%.17g", answer["x"].get<double>(), answer["y"].get<double>());
    const std::string picked = answer["clear"].get<bool>() ? std::string(point) : handle;
    const std::string prompt = "请选择模板实体(直接会车忽略模板实体):";
    CQLTSystemParam().SetStartTemp(1);
    const struct {
        const char* name;
        std::string start;
        bool prompted;
    } ways[] = {
        {"pick-first set of one", "SSSETFIRST\n" + handle + "\n\nQS\n", false},
        {"pick at the prompt", "QS\n" + picked + "\n", true},
    };
    for (const auto& way : ways) {
        const std::filesystem::path saved = m_folder.path() / "template.dxf";
        const std::string script = way.start +
                                   "@check 在全部实体中过滤\n@choose 原则： 新建（存在时覆盖）\n"
                                   "@type 组名： 模板\n@press 确定\nSAVEAS\n" +
                                   saved.string() + "\nQUIT\n";
        int status = -1;
        const std::string transcript = runScript(drawing, script, &status);
        ASSERT_EQ(status, 0) << way.name << transcript;
        EXPECT_EQ(transcript.find("Script stopped"), std::string::npos) << way.name << transcript;
        EXPECT_EQ(transcript.find(prompt) != std::string::npos, way.prompted) << way.name;
        EXPECT_NE(transcript.find("有效选择" + std::to_string(expected.size()) + "个\n"), std::string::npos)
            << way.name << transcript;
        EXPECT_EQ(lines(ezdxf("group " + quoted(saved.string()) + " 模板")), expected) << way.name;
    }
}

TEST_P(QsConsole, MoveScaleRotateAndMirrorOfTheCommandPageReachTheSavedDrawing) {
    const std::filesystem::path drawing = quelto::testing::corpusFile(GetParam());
    const Busiest busiest = busiestLayer(drawing);
    const Handles selected = selectedByCriteria(drawing, busiest);
    ASSERT_FALSE(selected.empty());
    const LineEnds before = lineEnds(drawing);
    using Point = std::array<double, 3>;
    using Transform = std::function<Point(const Point&, const std::array<double, 6>&)>;
    const struct {
        const char* name;
        std::string controls;
        Transform expected;
    } edits[] = {
        {"move", "@check 平移\n@type 横向平移： 10\n@type 竖向平移： -5\n@type 纵向平移： 0\n",
         [](const Point& p, const auto&) {
             return Point{p[0] + 10, p[1] - 5, p[2]};
         }},
        {"scale about the middle", "@check 缩放\n@choose 基准位置： 正中\n@type 缩放比例： 2\n",
         [](const Point& p, const auto& line) {
             const double mx = (line[0] + line[3]) / 2, my = (line[1] + line[4]) / 2,
                          mz = (line[2] + line[5]) / 2;
             return Point{2 * p[0] - mx, 2 * p[1] - my, 2 * p[2] - mz};
         }},
        {"rotate about the origin", "@check 旋转\n@choose 基准位置： 原点\n@type 旋转角度： 90\n",
         [](const Point& p, const auto&) {
             return Point{-p[1], p[0], p[2]};
         }},
        {"mirror on the bottom edge", "@check 镜像\n@choose 基准位置： 左下\n@type 轴线角度： 0\n",
         [](const Point& p, const auto& line) {
             return Point{p[0], 2 * std::min(line[1], line[4]) - p[1], p[2]};
         }},
    };
    for (const auto& edit : edits) {
        const std::filesystem::path saved = m_folder.path() / "edited.dxf";
        const std::string script = "QS\n" + criteria(busiest) +
                                   "@tab 选后操作\n@check 快速选择有效时执行以下命令\n"
                                   "@uncheck 命令执行前提示确认\n" +
                                   edit.controls + "@press 确定\nSAVEAS\n" + saved.string() + "\nQUIT\n";
        int status = -1;
        const std::string transcript = runScript(drawing, script, &status);
        ASSERT_EQ(status, 0) << edit.name << transcript;
        EXPECT_EQ(transcript.find("Script stopped"), std::string::npos) << edit.name << transcript;
        const LineEnds after = lineEnds(saved);
        ASSERT_EQ(after.size(), before.size()) << edit.name;
        int wrong = 0;
        for (const auto& [handle, line] : before) {
            std::array<double, 6> wanted = line;
            if (selected.contains(handle)) {
                const Point start = edit.expected({line[0], line[1], line[2]}, line);
                const Point end = edit.expected({line[3], line[4], line[5]}, line);
                wanted = {start[0], start[1], start[2], end[0], end[1], end[2]};
            }
            const std::array<double, 6>& got = after.at(handle);
            for (std::size_t index = 0; index < wanted.size(); ++index) {
                if (std::abs(got[index] - wanted[index]) > 1e-9 * (1.0 + std::abs(wanted[index]))) {
                    ADD_FAILURE() << edit.name << ": line " << handle << " value " << index << " is "
                                  << got[index] << ", expected " << wanted[index];
                    ++wrong;
                    break;
                }
            }
            if (wrong > 5) {
                break;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, QsConsole,
                         testing::Values("real/qcad_qcad/examples/flange.dxf",
                                         "real/skymakerolof_dxf/test/resources/floorplan.dxf",
                                         "real/qcad_qcad/examples/entities.dxf"));

} // namespace
