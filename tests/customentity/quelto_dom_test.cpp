// quelto-dom run as a program: files laid out by the test come back byte for byte through dump and write,
// descriptions that would give unusable properties are refused with the field and the reason and write
// nothing, new never empties an existing file, and without a display the window is not tried.

#include "customentity_test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

using customentity_test::DomLayout;
using customentity_test::readBytes;
using customentity_test::writeBytes;

namespace {

class QueltoDom : public testing::Test {
protected:
    // Runs quelto-dom with the arguments (and the input file on stdin when given), after the environment
    // prefix when given; answers its exit status.
    int run(const std::string& arguments, const std::filesystem::path& input = "/dev/null",
            const std::string& environment = "") {
        const std::string command = environment + std::string(QUELTO_DOM_PROGRAM) + " " + arguments + " <'" +
                                    input.string() + "' >'" + out().string() + "' 2>'" + err().string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::filesystem::path path(const char* name) const { return m_folder.path() / name; }
    std::filesystem::path out() const { return path("stdout.txt"); }
    std::filesystem::path err() const { return path("stderr.txt"); }

    filter_test::TemporaryFolder m_folder;
};

// Files as the definition editor writes them: Unicode texts with the shortest length form.
std::vector<std::string> editorFiles() {
    std::vector<std::string> files;
    files.push_back(DomLayout().integer(1).integer(1).text(u"").text(u"").text(u"").integer(0).bytes());
    DomLayout pipes;
    pipes.integer(1)
        .integer(1)
        .text(u"管网软件")
        .text(std::u16string(300, u'注'), customentity_test::LengthForm::TwoBytes);
    pipes.text(std::u16string(70000, u'长'), customentity_test::LengthForm::FourBytes).integer(2);
    pipes.integer(1).text(u"管道").text(u"QLT_PIPE").text(u"实体说明").integer(3);
    pipes.integer(1).text(u"起点").integer(1).text(u"说明").text(u"说明2").integer(10).integer(0);
    pipes.integer(1).text(u"材质").integer(4).text(u"").text(u"").integer(70).integer(2).text(u"1=钢管").text(
        u"2=塑料管");
    pipes.integer(1).text(u"重量").integer(3).text(u"").text(u"").integer(1040).integer(0);
    pipes.integer(1).text(u"阀门").text(u"QLT_VALVE").text(u"").integer(1);
    pipes.integer(1).text(u"编号").integer(6).text(u"").text(u"").integer(1).integer(0);
    files.push_back(pipes.bytes());
    return files;
}

TEST_F(QueltoDom, DumpThenWriteGivesTheSameBytes) {
    for (const std::string& bytes : editorFiles()) {
        writeBytes(path("laid-out.dom"), bytes);
        ASSERT_EQ(run("dump '" + path("laid-out.dom").string() + "'"), 0) << readBytes(err());
        std::filesystem::copy_file(out(), path("description.json"),
                                   std::filesystem::copy_options::overwrite_existing);
        ASSERT_EQ(run("write '" + path("written.dom").string() + "'", path("description.json")), 0)
            << readBytes(err());
        EXPECT_EQ(readBytes(path("written.dom")), bytes);
    }
    const std::string json = readBytes(path("description.json"));
    EXPECT_NE(json.find("\"className\": \"QLT_PIPE\""), std::string::npos);
    EXPECT_NE(json.find("\"id\": 4011"), std::string::npos);
    EXPECT_NE(json.find("\"id\": 2035"), std::string::npos);
}

TEST_F(QueltoDom, DescriptionsThatWouldGiveUnusablePropertiesAreRefusedWithFieldAndReason) {
    const std::string good =
        R"({"software": "S", "entities": [{"name": "管道", "className": "P", "properties": [)";
    struct Row {
        std::string description;
        std::string message;
    };
    const Row rows[] = {
        {good + R"({"name": "a", "kind": 9, "groupCode": 10}]}]})",
         "entities[0].properties[0].kind: must be 1 (3D point), 2 (2D point), 3 (real), 4 (short integer), 5 "
         "(long "
         "integer) or 6 (text), not 9"},
        {good + R"({"name": "a", "kind": "1", "groupCode": 10}]}]})",
         "entities[0].properties[0].kind: must be a 32-bit integer"},
        {good + R"({"name": "a", "kind": 1, "groupCode": 40}]}]})",
         "entities[0].properties[0].groupCode: group code 40 holds a real, which a property of kind 1 (3D "
         "point) "
         "cannot read"},
        {good + R"({"name": "a", "kind": 2, "groupCode": 10}]}]})",
         "entities[0].properties[0].groupCode: group code 10 holds a 3D point, which a property of kind 2 "
         "(2D "
         "point) cannot read"},
        {good + R"({"name": "a", "kind": 6, "groupCode": 330}]}]})",
         "entities[0].properties[0].groupCode: group code 330 has no property id, so no criterion could name "
         "it"},
        {good + R"({"name": "a", "kind": 3, "groupCode": 40, "items": ["1=x"]}]}]})",
         "entities[0].properties[0].items: are only for kind 4 (short integer): other kinds get no usable "
         "id"},
        {good + R"({"name": "a", "kind": 4, "groupCode": 70, "items": ["红"]}]}]})",
         "entities[0].properties[0].items[0]: must be written value=text with an integer value, as 1=red"},
        {good + R"({"name": "a", "kind": 4, "groupCode": 70, "id": 4011}]}]})",
         "entities[0].properties[0].id: is computed from the group code and must be 1011 (or left out)"},
        {good + R"({"name": "a", "kind": 4, "groupCode": 70, "colour": 1}]}]})",
         "entities[0].properties[0].colour: is not a field of this description"},
        {R"({"software": "S", "entities": [{"name": "管道", "className": ""}]})",
         "entities[0].className: must name the DXF type of the entities (group 0)"},
        {good + R"({"name": "a", "kind": 1, "groupCode": 10}, {"name": "b", "kind": 1, "groupCode": 10}]}]})",
         "entities[0].properties[1].groupCode: group code 10 gives id 2055, which a (group code 10) already "
         "covers; a criterion would always read that one"},
        {R"({"software": "S", "entities": [{"name": "管道", "className": "P"}, {"name": "阀门", "className": "P"}]})",
         "entities[1].className: P is also the class of 管道 (class 1); the module would only ever use the "
         "later "
         "definition"},
        {R"({"entities": []})", "software: is missing"},
        {R"([1, 2])", "description: must be an object"},
    };
    for (const Row& row : rows) {
        writeBytes(path("bad.json"), row.description);
        EXPECT_EQ(run("write '" + path("bad.dom").string() + "'", path("bad.json")), 1) << row.description;
        EXPECT_EQ(readBytes(err()), "quelto-dom: refused, nothing written: " + row.message + "\n");
        EXPECT_FALSE(std::filesystem::exists(path("bad.dom")));
    }
    writeBytes(path("bad.json"), "{\"software\": ");
    EXPECT_EQ(run("write '" + path("bad.dom").string() + "'", path("bad.json")), 1);
    EXPECT_EQ(readBytes(err()).rfind("quelto-dom: the description is not JSON (byte 14)", 0), 0u)
        << readBytes(err());
}

TEST_F(QueltoDom, NewWritesAnEmptyFileButNeverReplacesOneAndDumpReportsDamage) {
    ASSERT_EQ(run("new '" + path("empty.dom").string() + "'"), 0);
    EXPECT_EQ(readBytes(path("empty.dom")), editorFiles()[0]);
    writeBytes(path("empty.dom"), editorFiles()[1]);
    EXPECT_EQ(run("new '" + path("empty.dom").string() + "'"), 1);
    EXPECT_EQ(readBytes(path("empty.dom")), editorFiles()[1]);

    writeBytes(path("cut.dom"), editorFiles()[1].substr(0, 30));
    EXPECT_EQ(run("dump '" + path("cut.dom").string() + "'"), 1);
    EXPECT_EQ(readBytes(err()),
              "quelto-dom: " + path("cut.dom").string() + ": damaged: 文件在第20字节处提前结束\n");
    EXPECT_EQ(run("dump '" + path("missing.dom").string() + "'"), 3);
    EXPECT_EQ(run("frobnicate"), 2);
}

TEST_F(QueltoDom, WithoutADisplayTheWindowIsNotTriedAndTheUsageIsShown) {
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    for (const std::string& arguments : {std::string(), "'" + path("a.dom").string() + "'"}) {
        EXPECT_EQ(run(arguments, "/dev/null", noDisplay), 2) << arguments;
        const std::string error = readBytes(err());
        EXPECT_NE(error.find("Usage: "), std::string::npos) << error;
        EXPECT_NE(
            error.find("quelto-dom: no display for the window (DISPLAY is not set); use dump, write or new "
                       "on a console\n"),
            std::string::npos)
            << error;
        EXPECT_FALSE(std::filesystem::exists(path("a.dom")));
    }
}

} // namespace
