#include "filter_test_support.h"
#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "quelto/filter/filter_cfg_file.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

using filter_test::ByteLayout;
using filter_test::IsolatedSettings;
using filter_test::readBytes;
using filter_test::writeBytes;

namespace {

const std::wstring kTemplateName = L"<本次模板>";
const std::wstring kLastName = L"<上一次配制>";
const std::wstring kBatchName = L"<批量处理配置>";

// One record of the given data version, every item at its default except the name and the colour.
void appendRecord(ByteLayout& layout, const std::wstring& name, int version, int color) {
    layout.text(name).integer(1).text(L"直线").integer(0).text(L"0").integer(1);
    if (version >= 2) {
        layout.text(L"=");
    }
    layout.integer(color).integer(0);
    if (version >= 2) {
        layout.text(L"");
    }
    layout.integer(0);
    if (version >= 6) {
        layout.integer(0).text(L"=").text(L"[*模型*]");
    }
    if (version >= 3) {
        layout.integer(0).text(L"=").text(L"ByLayer").integer(0).text(L"=").real(1.0);
    }
    if (version >= 4) {
        layout.integer(0).text(L"=").integer(0).integer(0).text(L"=").integer(1);
        layout.integer(0).text(L"=").real(0.0).integer(0).text(L"=").real(0.0);
    }
    layout.integer(0);
    if (version >= 6) {
        layout.integer(0).integer(0).text(L"");
    }
    if (version >= 5) {
        layout.integer(0).integer(0).text(L"");
    }
    if (version >= 6) {
        layout.integer(0).integer(1).integer(1).integer(4).integer(0).integer(0).integer(0);
        for (const double value : {0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0}) {
            layout.real(value);
        }
    }
}

std::string cfgFile(int version, const std::vector<std::pair<std::wstring, int>>& records) {
    ByteLayout layout;
    if (version > 1) {
        layout.integer(10000 + version);
    }
    layout.integer(static_cast<int>(records.size()));
    for (const auto& [name, color] : records) {
        appendRecord(layout, name, version, color);
    }
    return layout.bytes();
}

std::vector<std::wstring> namesOf(const CFilterCfgFile& file) {
    std::vector<std::wstring> names;
    for (const CFilter& record : file.m_arrFilter) {
        names.push_back(record.m_strName);
    }
    return names;
}

std::filesystem::path cfgPath(const IsolatedSettings& settings) {
    return settings.folder() / "Tarnwell" / "Quelto" / "ZEBFilter.cfg";
}

std::vector<std::filesystem::path> damagedCopies(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with("ZEBFilter.cfg.damaged-")) {
            found.push_back(entry.path());
        }
    }
    return found;
}

} // namespace

TEST(FilterCfgFile, FileNameFollowsTheCommonApplicationDataFolder) {
    struct Row {
        const char* commonAppData;
        const char* xdgDataHome;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {"/srv/common", "/x/data", L"/srv/common/Tarnwell/Quelto/ZEBFilter.cfg"},
        {"/srv/common/", nullptr, L"/srv/common/Tarnwell/Quelto/ZEBFilter.cfg"},
        {nullptr, "/x/data", L"/x/data/Tarnwell/Quelto/ZEBFilter.cfg"},
        {nullptr, "relative", L"/home/u/.local/share/Tarnwell/Quelto/ZEBFilter.cfg"},
        {"relative", nullptr, L"/home/u/.local/share/Tarnwell/Quelto/ZEBFilter.cfg"},
    };
    const std::string savedHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "/root";
    ::setenv("HOME", "/home/u", 1);
    for (const Row& row : rows) {
        for (const auto& [name, value] : {std::pair{"QUELTO_COMMON_APPDATA", row.commonAppData},
                                          std::pair{"XDG_DATA_HOME", row.xdgDataHome}}) {
            value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
        }
        EXPECT_EQ(CFilterCfgFile().m_strFileName, row.expected);
    }
    ::setenv("HOME", savedHome.c_str(), 1);
    ::unsetenv("QUELTO_COMMON_APPDATA");
    ::unsetenv("XDG_DATA_HOME");
}

TEST(FilterCfgFile, ReadingPutsTheReservedRecordsInPlace) {
    struct Row {
        const char* what;
        std::string bytes; // empty: no file at all
        int result;
        int fileVersion;
        std::vector<std::wstring> names;
        bool tooNewMessage;
    };
    const Row rows[] = {
        {"no file", "", 1, 0, {kTemplateName, kLastName, kBatchName}, false},
        {"version 1 with three records",
         cfgFile(1, {{L"a", 1}, {L"b", 2}, {L"c", 3}}),
         1,
         1,
         {kTemplateName, kLastName, kBatchName, L"a", L"b", L"c"},
         false},
        {"version 5 with user records",
         cfgFile(5, {{L"甲", 1}, {L"乙", 2}}),
         1,
         5,
         {kTemplateName, kLastName, kBatchName, L"甲", L"乙"},
         false},
        {"version 6 with reserved records out of place",
         cfgFile(6, {{L"x", 1}, {kBatchName, 2}, {kTemplateName, 3}, {L"y", 4}}),
         1,
         6,
         {L"x", kLastName, kBatchName, kTemplateName, L"y"},
         false},
        {"near-miss names are user records",
         cfgFile(6, {{L"<本次模板> ", 1}, {L"<上一次配置>", 2}}),
         1,
         6,
         {kTemplateName, kLastName, kBatchName, L"<本次模板> ", L"<上一次配置>"},
         false},
        {"a newer version",
         cfgFile(6, {{L"x", 1}}).replace(0, 4, ByteLayout().integer(10007).bytes()),
         0,
         7,
         {kTemplateName, kLastName, kBatchName},
         true},
        {"a version-1 file with a negative count",
         ByteLayout().integer(-5).bytes(),
         1,
         1,
         {kTemplateName, kLastName, kBatchName},
         false},
    };
    for (const Row& row : rows) {
        const IsolatedSettings settings;
        std::filesystem::create_directories(cfgPath(settings).parent_path());
        if (!row.bytes.empty()) {
            writeBytes(cfgPath(settings), row.bytes);
        }
        platform::QueuedMessageBoxService boxes;
        const platform::ScopedMessageBoxService scope(boxes);
        CFilterCfgFile file;
        EXPECT_EQ(file.ReadCfgFile(), row.result) << row.what;
        EXPECT_EQ(file.m_nFileVersion, row.fileVersion) << row.what;
        EXPECT_EQ(namesOf(file), row.names) << row.what;
        for (const CFilter& record : file.m_arrFilter) {
            const bool reserved = record.m_strName == kTemplateName || record.m_strName == kLastName ||
                                  record.m_strName == kBatchName;
            // Loaded records keep their colour; the template and inserted reserved records are reset.
            const bool keepsLoadedValues =
                !reserved || (record.m_strName != kTemplateName && record.m_nColor != 256);
            EXPECT_EQ(record.m_bType, keepsLoadedValues ? 1 : 0) << row.what << " " << record.m_nColor;
            EXPECT_EQ(record.m_strColorOp, keepsLoadedValues && row.fileVersion >= 2 ? L"=" : L"")
                << row.what;
        }
        ASSERT_EQ(boxes.shown().size(), row.tooNewMessage ? 1u : 0u) << row.what;
        if (row.tooNewMessage) {
            EXPECT_EQ(boxes.shown()[0].text, L"系统配置文件版本太高，当前系统无法读取，自动初始化为空！");
            EXPECT_EQ(boxes.shown()[0].caption, L"无法读取");
            EXPECT_EQ(boxes.shown()[0].icon(), MB_ICONINFORMATION);
            EXPECT_EQ(readBytes(cfgPath(settings)), row.bytes) << "a newer file stays until the next write";
        }
    }
}

TEST(FilterCfgFile, TheLastRunsRecordKeepsItsCriteriaWhileTheTemplateIsReset) {
    const IsolatedSettings settings;
    std::filesystem::create_directories(cfgPath(settings).parent_path());
    writeBytes(cfgPath(settings), cfgFile(6, {{kTemplateName, 5}, {kLastName, 6}, {kBatchName, 7}}));
    CFilterCfgFile file;
    ASSERT_EQ(file.ReadCfgFile(), 1);
    ASSERT_EQ(namesOf(file), (std::vector<std::wstring>{kTemplateName, kLastName, kBatchName}));
    EXPECT_EQ(file.m_arrFilter[0].m_nColor, 256);
    EXPECT_EQ(file.m_arrFilter[1].m_nColor, 6);
    EXPECT_EQ(file.m_arrFilter[2].m_nColor, 7);
    EXPECT_EQ(file.FindFilter(kBatchName), 2);
    EXPECT_EQ(file.FindFilter(L"missing"), -1);
}

TEST(FilterCfgFile, AWrittenListReadsBackWithTheSameNamesOrderAndValues) {
    const IsolatedSettings settings;
    std::filesystem::create_directories(cfgPath(settings).parent_path());
    CFilterCfgFile file;
    file.ReadCfgFile();
    for (int index = 0; index < 4; ++index) {
        CFilter record;
        record.m_strName = L"配置" + std::to_wstring(index);
        record.m_nColor = index;
        record.m_dMoveZ = index * 1.25;
        record.m_arrPropId.assign(static_cast<std::size_t>(index), 201);
        record.m_arrPropRow.assign(static_cast<std::size_t>(index), index);
        record.m_arrPropOp.assign(static_cast<std::size_t>(index), L"<=");
        record.m_arrPropValue.assign(static_cast<std::size_t>(index), L"值");
        file.m_arrFilter.push_back(record);
    }
    file.m_arrFilter[1].m_strLogic = L"A|B";
    ASSERT_EQ(file.WriteCfgFile(), 1);
    const std::string bytes = readBytes(cfgPath(settings));
    EXPECT_EQ(bytes.substr(0, 8), ByteLayout().integer(10006).integer(7).bytes());

    CFilterCfgFile back;
    ASSERT_EQ(back.ReadCfgFile(), 1);
    EXPECT_EQ(back.m_nFileVersion, 6);
    ASSERT_EQ(namesOf(back), namesOf(file));
    for (std::size_t index = 0; index < file.m_arrFilter.size(); ++index) {
        CArchive written(CArchive::store);
        CArchive read(CArchive::store);
        file.m_arrFilter[index].Serialize(written);
        back.m_arrFilter[index].Serialize(read);
        EXPECT_EQ(read.bytes(), written.bytes()) << index;
        EXPECT_EQ(back.m_arrFilter[index].m_nVersion, 6) << index;
    }
}

TEST(FilterCfgFile, DamagedFilesAreReportedOnceAndKeptUnderANewName) {
    const std::string sound = cfgFile(6, {{L"用户配置", 3}, {L"第二个", 4}});
    struct Row {
        const char* what;
        std::string bytes;
        const wchar_t* reason;
    };
    const Row rows[] = {
        {"cut in the middle", sound.substr(0, sound.size() / 2), L"数据不完整"},
        {"cut before the last byte", sound.substr(0, sound.size() - 1), L"数据不完整"},
        {"empty file", "", L"第0字节"},
        {"more records counted than present",
         cfgFile(1, {{L"a", 1}}).replace(0, 4, ByteLayout().integer(2).bytes()), L"数据不完整"},
        {"a 64-bit text length", ByteLayout().integer(10006).integer(1).bytes() + std::string(7, '\xFF'),
         L"第8字节处的文本长度已损坏"},
    };
    for (const Row& row : rows) {
        const IsolatedSettings settings;
        const std::filesystem::path path = cfgPath(settings);
        std::filesystem::create_directories(path.parent_path());
        writeBytes(path, row.bytes);
        platform::QueuedMessageBoxService boxes;
        const platform::ScopedMessageBoxService scope(boxes);
        CFilterCfgFile file;
        EXPECT_EQ(file.ReadCfgFile(), 1) << row.what;
        EXPECT_EQ(namesOf(file), (std::vector<std::wstring>{kTemplateName, kLastName, kBatchName}))
            << row.what;
        ASSERT_EQ(boxes.shown().size(), 1u) << row.what;
        const platform::MessageBoxRequest& box = boxes.shown()[0];
        EXPECT_EQ(box.caption, L"无法读取");
        EXPECT_NE(box.text.find(file.m_strFileName), std::wstring::npos) << row.what;
        EXPECT_NE(box.text.find(row.reason), std::wstring::npos) << row.what;
        const std::vector<std::filesystem::path> kept = damagedCopies(path.parent_path());
        ASSERT_EQ(kept.size(), 1u) << row.what;
        EXPECT_NE(box.text.find(platform::pathToWide(kept[0])), std::wstring::npos) << row.what;
        EXPECT_EQ(readBytes(kept[0]), row.bytes) << row.what;

        ASSERT_EQ(file.WriteCfgFile(), 1) << row.what;
        EXPECT_EQ(readBytes(kept[0]), row.bytes) << "the next write must not touch the kept copy";
        CFilterCfgFile again;
        EXPECT_EQ(again.ReadCfgFile(), 1);
        EXPECT_EQ(boxes.shown().size(), 1u) << "reported once: " << row.what;
    }
}

TEST(FilterCfgFile, FailedWritesReturnZeroAndLeaveThePreviousFileIntact) {
    const IsolatedSettings settings;
    CFilterCfgFile file;
    file.ReadCfgFile();
    EXPECT_EQ(file.WriteCfgFile(), 0) << "the folder is not created";
    EXPECT_FALSE(std::filesystem::exists(cfgPath(settings).parent_path()));

    std::filesystem::create_directories(cfgPath(settings).parent_path());
    ASSERT_EQ(file.WriteCfgFile(), 1);
    const std::string before = readBytes(cfgPath(settings));
    file.m_arrFilter.resize(200, file.m_arrFilter[0]);
    // A file-size limit makes the write fail part-way, as a full disk would.
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(before.size() + 100),
                           static_cast<rlim_t>(before.size() + 100)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(file.WriteCfgFile() == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readBytes(cfgPath(settings)), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cfgPath(settings).parent_path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left behind";
}
