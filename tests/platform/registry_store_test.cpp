#include "platform/code_page.h"
#include "platform/registry_store.h"
#include "platform/registry_store_cache.h"
#include "support/test_support.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::RegistryStore;
using platform::RegistryValue;
using ReadStatus = RegistryStore::ReadStatus;
using WriteStatus = RegistryStore::WriteStatus;

using quelto::testing::TemporaryFolder;

void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder,
                                           const std::string& containing) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().find(containing) != std::string::npos) {
            found.push_back(entry.path());
        }
    }
    return found;
}

// Runs `body` in a child process and answers its exit code; the child never returns into the test.
template <typename Body>
int inChildProcess(Body body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

const char* const kHandEditedFile = "; settings of the quick selection, edited by hand\r\n"
                                    "Windows Registry Editor Version 5.00\r\n"
                                    "\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\Maker\\Product]\r\n"
                                    "\"Count\"=dword:0000002A\r\n"
                                    "\"Path\"=\"C:\\\\Program Files\\\\\\\"Q\\\"\"\r\n"
                                    "@=\"默认\"\r\n"
                                    "\"Multi\"=hex(1):41,00,0a,00,\\\r\n"
                                    "  42,00,00,00\r\n"
                                    "\"Binary\"=hex:01,02\r\n"
                                    "\"Terminated\"=hex(1):41,00,00,00,42,00,00,00\r\n"
                                    "  \"Gone\" = \"x\"\r\n"
                                    "\"Gone\"=-\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\Maker\\Old]\r\n"
                                    "\"Stale\"=dword:1\r\n"
                                    "[-HKEY_CURRENT_USER\\Software\\Maker\\Old]\r\n"
                                    "[HKCU\\Software\\Maker\\Product\\Sub\\]\r\n";

} // namespace

TEST(RegistryStore, ReadsHandEditedFilesInEveryEncodingRegeditUses) {
    const std::string utf8 = kHandEditedFile;
    const std::string encodings[] = {utf8, "\xEF\xBB\xBF" + utf8,
                                     "\xFF\xFE" + platform::wideToUtf16Le(platform::utf8ToWide(utf8))};
    struct Row {
        const wchar_t* key;
        const wchar_t* name;
        ReadStatus status;
        RegistryValue::Type type;
        DWORD number;
        const wchar_t* text;
    };
    const Row rows[] = {
        {L"SOFTWARE\\MAKER\\PRODUCT", L"count", ReadStatus::Found, RegistryValue::Type::Dword, 42, L""},
        {L"Software\\Maker\\Product", L"Path", ReadStatus::Found, RegistryValue::Type::String, 0,
         L"C:\\Program Files\\\"Q\""},
        {L"Software\\Maker\\Product", L"", ReadStatus::Found, RegistryValue::Type::String, 0, L"默认"},
        {L"Software\\Maker\\Product", L"Multi", ReadStatus::Found, RegistryValue::Type::String, 0, L"A\nB"},
        {L"Software\\Maker\\Product", L"Binary", ReadStatus::Found, RegistryValue::Type::Other, 0,
         L"hex:01,02"},
        {L"Software\\Maker\\Product", L"Terminated", ReadStatus::Found, RegistryValue::Type::String, 0, L"A"},
        {L"Software\\Maker\\Product", L"Gone", ReadStatus::NoValue, RegistryValue::Type::String, 0, L""},
        {L"Software\\Maker\\Old", L"Stale", ReadStatus::NoKey, RegistryValue::Type::String, 0, L""},
        {L"Software\\Maker", L"Count", ReadStatus::NoValue, RegistryValue::Type::String, 0, L""},
        {L"Software\\Maker\\Product\\Sub", L"x", ReadStatus::NoValue, RegistryValue::Type::String, 0, L""},
        {L"Software\\Other", L"Count", ReadStatus::NoKey, RegistryValue::Type::String, 0, L""},
    };
    for (std::size_t encoding = 0; encoding < std::size(encodings); ++encoding) {
        const TemporaryFolder folder;
        const std::filesystem::path file = folder.path() / "HKEY_CURRENT_USER.reg";
        writeBytes(file, encodings[encoding]);
        RegistryStore store(HKEY_CURRENT_USER, file);
        for (const Row& row : rows) {
            const RegistryStore::ReadResult read = store.readValue(row.key, row.name);
            const std::string where = "encoding " + std::to_string(encoding) + ", " +
                                      platform::wideToUtf8(row.key) + " / " + platform::wideToUtf8(row.name);
            ASSERT_EQ(read.status, row.status) << where << ": " << store.lastProblem();
            if (row.status == ReadStatus::Found) {
                EXPECT_EQ(read.value.type, row.type) << where;
                EXPECT_EQ(read.value.number, row.number) << where;
                EXPECT_EQ(read.value.text, row.text) << where;
            }
        }
        EXPECT_EQ(readBytes(file), encodings[encoding]) << "reading must leave a sound file untouched";
    }
}

TEST(RegistryStore, WritesRoundTripAndKeepWhatTheWriterDoesNotKnow) {
    const TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "sub" / "HKEY_CURRENT_USER.reg";
    std::filesystem::create_directories(file.parent_path());
    writeBytes(file, kHandEditedFile);
    RegistryStore store(HKEY_CURRENT_USER, file);
    const std::wstring key = L"Software\\Maker\\Product";
    struct Row {
        const wchar_t* name;
        RegistryValue value;
    };
    const Row rows[] = {
        {L"Number", RegistryValue::dword(0xFFFFFFFF)},
        {L"Quotes", RegistryValue::string(L"a \"quoted\" C:\\path\\")},
        {L"Lines", RegistryValue::string(L"第一行\r\n第二行\t!")},
        {L"Empty", RegistryValue::string(L"")},
        {L"COUNT", RegistryValue::dword(7)},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(store.writeValue(key, row.name, row.value, false), WriteStatus::Written)
            << store.lastProblem();
    }
    RegistryStore reader(HKEY_CURRENT_USER, file);
    for (const Row& row : rows) {
        const RegistryStore::ReadResult read = reader.readValue(key, row.name);
        ASSERT_EQ(read.status, ReadStatus::Found) << platform::wideToUtf8(row.name);
        EXPECT_EQ(read.value.type, row.value.type) << platform::wideToUtf8(row.name);
        EXPECT_EQ(read.value.number, row.value.number) << platform::wideToUtf8(row.name);
        EXPECT_EQ(read.value.text, row.value.text) << platform::wideToUtf8(row.name);
    }
    EXPECT_EQ(reader.readValue(key, L"Binary").value.text, L"hex:01,02");
    EXPECT_EQ(reader.readValue(key, L"Path").value.text, L"C:\\Program Files\\\"Q\"");
    const std::string written = readBytes(file);
    EXPECT_TRUE(written.starts_with("Windows Registry Editor Version 5.00\n")) << written;
    EXPECT_NE(written.find("\"Count\"=dword:00000007\n"), std::string::npos)
        << "the first spelling of a name stays";
    EXPECT_EQ(store.writeValue(L"Software\\New", L"x", RegistryValue::dword(1), false), WriteStatus::NoKey);
    EXPECT_EQ(store.writeValue(L"Software\\New", L"x", RegistryValue::dword(1), true), WriteStatus::Written);
    EXPECT_TRUE(filesIn(file.parent_path(), ".tmp-").empty());
}

TEST(RegistryStore, DamagedFilesAreSetAsideWithTheLineAndReadAsEmpty) {
    struct Row {
        const char* text;
        int line;
        bool byWrite;
    };
    const Row rows[] = {
        {"REGEDIT5\n[HKEY_CURRENT_USER\\A]\n", 1, false},
        {"Windows Registry Editor Version 5.00\n\"x\"=dword:1\n", 2, false},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:123456789\n", 3, true},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\n\"x\"=\"open\n", 4, false},
        {"Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n", 2, true},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"x\"=hex:1,2\n", 3, false},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A\n", 2, true},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\nx=1\n", 3, false},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"x\"=hex:01,\\\n", 3, true},
    };
    for (const Row& row : rows) {
        const TemporaryFolder folder;
        const std::filesystem::path file = folder.path() / "HKEY_CURRENT_USER.reg";
        writeBytes(file, row.text);
        RegistryStore store(HKEY_CURRENT_USER, file);
        std::string problem;
        if (row.byWrite) {
            ASSERT_EQ(store.writeValue(L"A", L"y", RegistryValue::dword(5), true), WriteStatus::Written)
                << row.text;
            problem = store.lastProblem();
            EXPECT_EQ(store.readValue(L"A", L"y").value.number, 5u) << row.text;
            EXPECT_EQ(store.readValue(L"A", L"x").status, ReadStatus::NoValue) << row.text;
        } else {
            EXPECT_EQ(store.readValue(L"A", L"x").status, ReadStatus::NoKey) << row.text;
            problem = store.lastProblem();
            EXPECT_FALSE(std::filesystem::exists(file)) << row.text;
        }
        EXPECT_NE(problem.find(" line " + std::to_string(row.line) + ": "), std::string::npos)
            << row.text << " -> " << problem;
        const std::vector<std::filesystem::path> aside = filesIn(folder.path(), ".damaged-");
        ASSERT_EQ(aside.size(), 1u) << row.text;
        EXPECT_EQ(readBytes(aside.front()), row.text);
        EXPECT_NE(problem.find(aside.front().string()), std::string::npos) << problem;
    }
}

TEST(RegistryStore, WritersInSeparateProcessesLoseNoValue) {
    const TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "HKEY_CURRENT_USER.reg";
    constexpr int valuesPerWriter = 40;
    auto writer = [&](int writerIndex) {
        return [&, writerIndex] {
            RegistryStore store(HKEY_CURRENT_USER, file);
            for (int index = 0; index < valuesPerWriter; ++index) {
                const std::wstring name = L"w" + std::to_wstring(writerIndex) + L"-" + std::to_wstring(index);
                if (store.writeValue(L"Software\\Shared", name,
                                     RegistryValue::dword(static_cast<DWORD>(index)),
                                     true) != WriteStatus::Written) {
                    return 1;
                }
            }
            return 0;
        };
    };
    pid_t children[2];
    for (int writerIndex = 0; writerIndex < 2; ++writerIndex) {
        children[writerIndex] = ::fork();
        if (children[writerIndex] == 0) {
            ::_exit(writer(writerIndex)());
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegistryStore reader(HKEY_CURRENT_USER, file);
    for (int writerIndex = 0; writerIndex < 2; ++writerIndex) {
        for (int index = 0; index < valuesPerWriter; ++index) {
            const std::wstring name = L"w" + std::to_wstring(writerIndex) + L"-" + std::to_wstring(index);
            const RegistryStore::ReadResult read = reader.readValue(L"Software\\Shared", name);
            ASSERT_EQ(read.status, ReadStatus::Found) << platform::wideToUtf8(name);
            EXPECT_EQ(read.value.number, static_cast<DWORD>(index));
        }
    }
}

// Reads are served from the parsed file while it stays the same, and every kind of change is seen:
// a write of this process, one of another process, an edit in place of the same size right after a
// read, the same edit once the file's times have settled, and the file's removal.
TEST(RegistryStore, ReadsParseAgainOnlyAfterTheFileChanged) {
    const TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "HKEY_CURRENT_USER.reg";
    const std::wstring key = L"Software\\Maker\\Cache";
    RegistryStore store(HKEY_CURRENT_USER, file);
    auto number = [&] {
        const RegistryStore::ReadResult read = store.readValue(key, L"Value");
        return read.status == ReadStatus::Found ? static_cast<int>(read.value.number) : -1;
    };
    auto parsesDuring = [](auto reads) {
        const std::uint64_t before = platform::registryStoreParseCount();
        reads();
        return platform::registryStoreParseCount() - before;
    };
    ASSERT_EQ(store.writeValue(key, L"Value", RegistryValue::dword(1), true), WriteStatus::Written);
    EXPECT_EQ(parsesDuring([&] {
                  for (int read = 0; read < 100; ++read) {
                      ASSERT_EQ(number(), 1);
                  }
              }),
              1U);

    ASSERT_EQ(inChildProcess([&] {
                  RegistryStore other(HKEY_CURRENT_USER, file);
                  return other.writeValue(key, L"Value", RegistryValue::dword(2), false) ==
                                 WriteStatus::Written
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_EQ(number(), 2);

    auto editInPlace = [&](const char* from, const char* to) {
        std::string text = readBytes(file);
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << text;
        text.replace(at, std::strlen(from), to);
        std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
        stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    };
    const auto inode = [&] {
        struct stat status {};
        ::stat(file.c_str(), &status);
        return status.st_ino;
    };
    const auto inodeBefore = inode();
    editInPlace("dword:00000002", "dword:00000003");
    ASSERT_EQ(inode(), inodeBefore);
    EXPECT_EQ(number(), 3);
    EXPECT_EQ(parsesDuring([&] { EXPECT_EQ(number(), 3); }), 0U);

    // Once the file's times are old enough to be trusted, the stamp alone must still reveal an edit.
    ::sleep(3);
    EXPECT_EQ(number(), 3);
    EXPECT_EQ(parsesDuring([&] { EXPECT_EQ(number(), 3); }), 0U);
    editInPlace("dword:00000003", "dword:00000004");
    EXPECT_EQ(number(), 4);

    std::filesystem::remove(file);
    EXPECT_EQ(store.readValue(key, L"Value").status, ReadStatus::NoKey);
}

TEST(RegistryStore, AWriteThatRunsOutOfSpaceLeavesThePreviousFileIntact) {
    const TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "HKEY_CURRENT_USER.reg";
    RegistryStore store(HKEY_CURRENT_USER, file);
    ASSERT_EQ(store.writeValue(L"Software\\A", L"kept", RegistryValue::string(L"old"), true),
              WriteStatus::Written);
    const std::string before = readBytes(file);
    // A file-size limit makes write() fail with EFBIG part-way, as a full disk would.
    const int childStatus = inChildProcess([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(before.size() + 64), static_cast<rlim_t>(before.size() + 64)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RegistryStore limited(HKEY_CURRENT_USER, file);
        const WriteStatus status =
            limited.writeValue(L"Software\\A", L"big", RegistryValue::string(std::wstring(4096, L'x')), true);
        return status == WriteStatus::CannotWrite &&
                       limited.lastProblem().find("File too large") != std::string::npos
                   ? 0
                   : 1;
    });
    EXPECT_EQ(childStatus, 0);
    EXPECT_EQ(readBytes(file), before);
    EXPECT_TRUE(filesIn(folder.path(), ".tmp-").empty());
}

TEST(RegistryStore, StoreFilesFollowTheEnvironment) {
    struct Row {
        const char* registryDir;
        const char* configHome;
        HKEY root;
        const char* expected;
    };
    const Row rows[] = {
        {"/tmp/reg", "/home/u/.cfg", HKEY_CURRENT_USER, "/tmp/reg/HKEY_CURRENT_USER.reg"},
        {"/tmp/reg", "/home/u/.cfg", HKEY_LOCAL_MACHINE, "/tmp/reg/HKEY_LOCAL_MACHINE.reg"},
        {nullptr, "/home/u/.cfg", HKEY_CURRENT_USER, "/home/u/.cfg/quelto/HKEY_CURRENT_USER.reg"},
        {nullptr, "/home/u/.cfg", HKEY_LOCAL_MACHINE, "/etc/quelto/HKEY_LOCAL_MACHINE.reg"},
        {"", "relative/is/ignored", HKEY_CURRENT_USER, "/home/u/.config/quelto/HKEY_CURRENT_USER.reg"},
    };
    const std::string savedHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    ::setenv("HOME", "/home/u", 1);
    for (const Row& row : rows) {
        if (row.registryDir != nullptr) {
            ::setenv("QUELTO_REGISTRY_DIR", row.registryDir, 1);
        } else {
            ::unsetenv("QUELTO_REGISTRY_DIR");
        }
        ::setenv("XDG_CONFIG_HOME", row.configHome, 1);
        EXPECT_EQ(RegistryStore::defaultFile(row.root).string(), row.expected);
    }
    ::setenv("HOME", savedHome.c_str(), 1);
    ::unsetenv("QUELTO_REGISTRY_DIR");
    ::unsetenv("XDG_CONFIG_HOME");
}
