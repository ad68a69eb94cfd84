// `quelto-cad --render` run as users script it: PNG and vector PDF output, the documented exit statuses
// for missing and unreadable drawings and unknown layouts, and the command-line forms it refuses.

#include "cad/gui/desktop_host.h"

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;

int runProgram(const std::string& arguments) {
    const std::string command =
        std::string("QT_QPA_PLATFORM=offscreen ") + QUELTO_CAD_PROGRAM + " " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

TEST(RenderOption, WritesPngAndVectorPdfAndReportsBadInputByStatus) {
    const fs::path folder = fs::temp_directory_path() / "quelto_render_test";
    fs::create_directories(folder);
    const std::string sample = QUELTO_SOURCE_DIR "/tests/data/gui/dashes_and_hatches.dxf";
    const fs::path broken = folder / "broken.dxf";
    std::ofstream(broken) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n";
    struct Row {
        std::string arguments;
        int status;
    };
    const Row rows[] = {
        {"--render " + (folder / "plot.png").string() + " --size 320x200 " + sample, 0},
        {"--render " + (folder / "plot.pdf").string() + " " + sample, 0},
        {"--render " + (folder / "missing.png").string() + " " + (folder / "no_such.dxf").string(), 2},
        {"--render " + (folder / "broken.png").string() + " " + broken.string(), 3},
        {"--render " + (folder / "layout.png").string() + " --layout NoSuchLayout " + sample, 1},
        {"--render " + (folder / "plot.svg").string() + " " + sample, 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(runProgram(row.arguments), row.status) << row.arguments;
    }
    const QImage png(QString::fromStdString((folder / "plot.png").string()));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(320, 200));
    // Paper colours: a white sheet with the blue solid hatch on it.
    EXPECT_EQ(png.pixelColor(1, 1), QColor(Qt::white));
    bool blue = false;
    for (int x = 0; x < png.width() && !blue; ++x) {
        for (int y = 0; y < png.height() && !blue; ++y) {
            blue = png.pixelColor(x, y) == QColor(0, 0, 255);
        }
    }
    EXPECT_TRUE(blue);
    const std::string pdf = readFile(folder / "plot.pdf");
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0U);
    // Vector output: drawn paths, no embedded picture of the drawing.
    EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "missing.png"));
    fs::remove_all(folder);
}

TEST(DesktopArguments, AcceptsTheDocumentedFormsAndSaysWhatIsWrongWithOthers) {
    struct Row {
        std::vector<std::string> arguments;
        std::string error; // empty: accepted
    };
    const Row rows[] = {
        {{}, ""},
        {{"a.dxf", "--load", "m.so"}, ""},
        {{"--render", "o.png", "--layout", "A", "--size", "640x480", "a.dxf"}, ""},
        {{"--render", "o.png"}, "--render needs a drawing"},
        {{"--size", "640x480", "a.dxf"}, "--layout and --size go with --render"},
        {{"--render", "o.png", "--size", "640by480", "a.dxf"},
         "--size wants WIDTHxHEIGHT in pixels (16 to 20000), not 640by480"},
        {{"a.dxf", "b.dxf"}, "only one drawing can be opened: b.dxf"},
        {{"--fast"}, "unknown option --fast"},
        {{"--load"}, "--load needs a file name"},
        {{"--script", "s.scr"}, "--script goes with --console"},
    };
    for (const Row& row : rows) {
        std::string error;
        const std::optional<cad::gui::DesktopOptions> options =
            cad::gui::parseDesktopArguments(row.arguments, error);
        EXPECT_EQ(options.has_value(), row.error.empty()) << testing::PrintToString(row.arguments);
        EXPECT_EQ(error, row.error) << testing::PrintToString(row.arguments);
    }
    std::string error;
    const auto plot =
        cad::gui::parseDesktopArguments({"--render", "o.pdf", "--size", "640x480", "a.dxf"}, error);
    ASSERT_TRUE(plot && plot->plot);
    EXPECT_EQ(plot->plot->output, "o.pdf");
    EXPECT_EQ(plot->plot->drawing, "a.dxf");
    EXPECT_EQ(plot->plot->size, QSize(640, 480));
}

} // namespace
