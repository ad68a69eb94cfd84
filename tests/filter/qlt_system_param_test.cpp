#include "filter_test_support.h"
#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "platform/registry_store.h"
#include "quelto/filter/qlt_system_param.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using filter_test::IsolatedSettings;
using filter_test::readBytes;
using filter_test::writeBytes;

namespace {

const std::wstring kProductKey = L"SOFTWARE\\翠岭轩工作室\\翠岭轩快速选择系统";
const std::wstring kParameterKey = kProductKey + L"\\ZEBSoftProf\\SystemParam";

platform::RegistryStore::ReadResult storedValue(const std::filesystem::path& file, const std::wstring& key,
                                                const std::wstring& name) {
    platform::RegistryStore store(HKEY_CURRENT_USER, file);
    return store.readValue(key, name);
}

struct IntRow {
    const wchar_t* name;
    int (CQLTSystemParam::*get)();
    BOOL (CQLTSystemParam::*set)(int);
    int defaultValue;
};

struct RealRow {
    const wchar_t* name;
    double (CQLTSystemParam::*get)();
    BOOL (CQLTSystemParam::*set)(double);
    double defaultValue;
};

// One row per preference: its value name, its getter and setter, its default.
#define PARAMETER_ROW(name, defaultValue)                                                                    \
    { L## #name, &CQLTSystemParam::Get##name, &CQLTSystemParam::Set##name, defaultValue }
const IntRow kIntRows[] = {
    PARAMETER_ROW(InitShow, 1),      PARAMETER_ROW(UseRadius, 0),     PARAMETER_ROW(UseUserCoord, 1),
    PARAMETER_ROW(GroupOperator, 0), PARAMETER_ROW(SelectFromAll, 1), PARAMETER_ROW(StartTemp, 1),
    PARAMETER_ROW(NoTempLast, 1),    PARAMETER_ROW(ReadCfgPick, 1),   PARAMETER_ROW(ReadCfgCommand, 1),
    PARAMETER_ROW(ReadCfgGroup, 1),  PARAMETER_ROW(PickOperator, 1),  PARAMETER_ROW(LastGroupOperator, 1),
    PARAMETER_ROW(StartPage, 0),     PARAMETER_ROW(AcadNullMenu, 1),  PARAMETER_ROW(AcadObjectMenu, 1),
    PARAMETER_ROW(HasCmd, 0),        PARAMETER_ROW(HasPrompt, 1),     PARAMETER_ROW(DoType, 1),
    PARAMETER_ROW(PosIndex, 4),      PARAMETER_ROW(HasOffset, 0),     PARAMETER_ROW(XUnit, 0),
    PARAMETER_ROW(YUnit, 0),         PARAMETER_ROW(HasFreedom, 1),    PARAMETER_ROW(HasEntSoft, 1),
};
const RealRow kRealRows[] = {
    PARAMETER_ROW(EPI, 0.0001), PARAMETER_ROW(XOffset, 0.0), PARAMETER_ROW(YOffset, 0.0),
    PARAMETER_ROW(MoveX, 0.0),  PARAMETER_ROW(MoveY, 0.0),   PARAMETER_ROW(MoveZ, 0.0),
    PARAMETER_ROW(ScaleA, 1.0), PARAMETER_ROW(RoateA, 0.0),  PARAMETER_ROW(AxiusA, 0.0),
};
#undef PARAMETER_ROW

class RecordingRegedit : public CZEBRegeditBase {
public:
    std::vector<CZEBErrorInfo> m_arrError;

protected:
    void ZEBErrorHook(const CZEBErrorInfo& error) override { m_arrError.push_back(error); }
};

} // namespace

TEST(QLTSystemParam, GettersAnswerDefaultsOnAnEmptyStoreAndSettersAreReadBackFromTheirKeys) {
    const IsolatedSettings settings;
    CQLTSystemParam param;
    for (const IntRow& row : kIntRows) {
        EXPECT_EQ((param.*row.get)(), row.defaultValue) << platform::wideToUtf8(row.name);
    }
    for (const RealRow& row : kRealRows) {
        EXPECT_EQ((param.*row.get)(), row.defaultValue) << platform::wideToUtf8(row.name);
    }
    EXPECT_EQ(param.GetGroupName(), L"");
    EXPECT_FALSE(std::filesystem::exists(settings.userStore())) << "reading never creates the store";

    int written = 40;
    for (const IntRow& row : kIntRows) {
        ASSERT_TRUE((CQLTSystemParam().*row.set)(++written)) << platform::wideToUtf8(row.name);
    }
    for (const RealRow& row : kRealRows) {
        ASSERT_TRUE((CQLTSystemParam().*row.set)(++written + 0.5)) << platform::wideToUtf8(row.name);
    }
    ASSERT_TRUE(CQLTSystemParam().SetGroupName(L"组\"1\""));

    int expected = 40;
    for (const IntRow& row : kIntRows) {
        ++expected;
        const std::string name = platform::wideToUtf8(row.name);
        EXPECT_EQ((CQLTSystemParam().*row.get)(), expected) << name;
        const std::wstring key = std::wstring(row.name) == L"InitShow" ? kProductKey : kParameterKey;
        const auto stored = storedValue(settings.userStore(), key, row.name);
        ASSERT_EQ(stored.status, platform::RegistryStore::ReadStatus::Found) << name;
        EXPECT_EQ(stored.value.type, platform::RegistryValue::Type::Dword) << name;
        EXPECT_EQ(stored.value.number, static_cast<DWORD>(expected)) << name;
    }
    for (const RealRow& row : kRealRows) {
        const double value = ++expected + 0.5;
        const std::string name = platform::wideToUtf8(row.name);
        EXPECT_EQ((CQLTSystemParam().*row.get)(), value) << name;
        const auto stored = storedValue(settings.userStore(), kParameterKey, row.name);
        ASSERT_EQ(stored.status, platform::RegistryStore::ReadStatus::Found) << name;
        EXPECT_EQ(stored.value.text, std::to_wstring(expected) + L".5000000") << name;
    }
    EXPECT_EQ(CQLTSystemParam().GetGroupName(), L"组\"1\"");
    EXPECT_EQ(storedValue(settings.userStore(), kProductKey, L"UseRadius").status,
              platform::RegistryStore::ReadStatus::NoValue);
}

TEST(QLTSystemParam, HandEditedValuesAreReadAndWrongTypesFallBackToDefaults) {
    const IsolatedSettings settings;
    writeBytes(settings.userStore(),
               "Windows Registry Editor Version 5.00\r\n\r\n"
               "[HKEY_CURRENT_USER\\Software\\翠岭轩工作室\\翠岭轩快速选择系统]\r\n"
               "\"InitShow\"=dword:00000000\r\n"
               "\"HasCmd\"=dword:00000001\r\n\r\n"
               "[HKEY_CURRENT_USER\\Software\\翠岭轩工作室\\翠岭轩快速选择系统\\ZEBSoftProf\\SystemParam]\r\n"
               "\"UseRadius\"=dword:1\r\n"
               "\"GroupName\"=\"组A\"\r\n"
               "\"StartPage\"=\"2\"\r\n"
               "\"EPI\"=\"0.5abc\"\r\n"
               "\"MoveX\"=\"abc\"\r\n"
               "\"MoveY\"=dword:00000003\r\n"
               "\"ScaleA\"=\"  2.5e1\"\r\n"
               "\"RoateA\"=\"1.5000000\"\r\n");
    CQLTSystemParam param;
    struct Row {
        const char* what;
        double actual;
        double expected;
    };
    const Row rows[] = {
        {"InitShow under the product key", static_cast<double>(param.GetInitShow()), 0},
        {"HasCmd only under the product key", static_cast<double>(param.GetHasCmd()), 0},
        {"UseRadius with a short dword", static_cast<double>(param.GetUseRadius()), 1},
        {"StartPage stored as text", static_cast<double>(param.GetStartPage()), 0},
        {"EPI with trailing letters", param.GetEPI(), 0.5},
        {"MoveX without a number", param.GetMoveX(), 0.0},
        {"MoveY stored as a dword", param.GetMoveY(), 0.0},
        {"ScaleA with blanks and an exponent", param.GetScaleA(), 25.0},
        {"RoateA as written by the setter", param.GetRoateA(), 1.5},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.actual, row.expected) << row.what;
    }
    EXPECT_EQ(param.GetGroupName(), L"组A");
}

TEST(QLTSystemParam, ADamagedStoreReadsAsDefaultsAndIsSetAside) {
    const IsolatedSettings settings;
    const std::string damaged = "Windows Registry Editor Version 5.00\n"
                                "[HKEY_CURRENT_USER\\SOFTWARE\\翠岭轩工作室\\翠岭轩快速选择系统]\n"
                                "\"InitShow\"=dword:0\n"
                                "\"UseRadius\"=dword:\n";
    writeBytes(settings.userStore(), damaged);
    CQLTSystemParam param;
    EXPECT_EQ(param.GetInitShow(), 1);
    EXPECT_FALSE(std::filesystem::exists(settings.userStore()));
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(settings.folder())) {
        if (entry.path().filename().string().starts_with("HKEY_CURRENT_USER.reg.damaged-")) {
            ++kept;
            EXPECT_EQ(readBytes(entry.path()), damaged);
        }
    }
    EXPECT_EQ(kept, 1);
    EXPECT_TRUE(param.SetInitShow(0));
    EXPECT_EQ(param.GetInitShow(), 0);
}

TEST(QLTCmdBase, ValuesWrittenFromTwoThreadsAtOnceAreAllKept) {
    const IsolatedSettings settings;
    constexpr int rounds = 30;
    auto writer = [](const wchar_t* prefix) {
        return [prefix] {
            for (int round = 0; round < rounds; ++round) {
                CQLTSystemParam param;
                param.WriteIntValue(prefix + std::to_wstring(round), round);
            }
        };
    };
    std::thread first(writer(L"A"));
    std::thread second(writer(L"B"));
    first.join();
    second.join();
    CQLTSystemParam param;
    for (int round = 0; round < rounds; ++round) {
        EXPECT_EQ(param.ReadIntValue(L"A" + std::to_wstring(round), -1), round);
        EXPECT_EQ(param.ReadIntValue(L"B" + std::to_wstring(round), -1), round);
    }
}

TEST(QLTSystemParam, MachineWideValuesComeFromTheMachineStoreOrTheirDefaults) {
    const IsolatedSettings settings;
    CQLTSystemParam param;
    CString location = L"previous";
    EXPECT_FALSE(param.GetLocation(location));
    EXPECT_EQ(location, L"");
    EXPECT_EQ(param.GetCommonData(), platform::pathToWide(settings.folder()) + L"/Tarnwell/Quelto");
    EXPECT_EQ(param.GetCommonFile(), L"/usr/local/share/Tarnwell Share");

    writeBytes(settings.machineStore(), "Windows Registry Editor Version 5.00\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\翠岭轩工作室\\翠岭轩快速选择系统]\n"
                                        "\"Location\"=\"/opt/quelto\"\n"
                                        "\"CommonData\"=\"/srv/quelto-data\"\n"
                                        "\"CommonFile\"=\"/srv/share\"\n");
    EXPECT_TRUE(param.GetLocation(location));
    EXPECT_EQ(location, L"/opt/quelto");
    EXPECT_EQ(param.GetCommonData(), L"/srv/quelto-data");
    EXPECT_EQ(param.GetCommonFile(), L"/srv/share");
    EXPECT_EQ(param.GetInitShow(), 1) << "the machine store is not the user's";

    // An ordinary user may read the machine store but not change it, so it reads as missing for them.
    ::chmod(settings.folder().c_str(), 0755);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(2);
        }
        CString seen;
        ::_exit(!CQLTSystemParam().GetLocation(seen) && seen.empty() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
}

TEST(QLTCmdBase, KeyPathsFollowTheSubKeyAndThePathMode) {
    struct Row {
        int mode;
        const wchar_t* section;
        const wchar_t* perCall;
        std::wstring expected;
    };
    const Row rows[] = {
        {1, L"SystemParam", L"", kParameterKey},
        {1, L"SystemParam", L"..\\..\\", kProductKey},
        {1, L"SystemParam", L"..\\", kProductKey + L"\\ZEBSoftProf"},
        {1, L"SystemParam", L"BatchParam", kProductKey + L"\\ZEBSoftProf\\BatchParam"},
        {0, L"..\\", L"", kProductKey + L"\\ZEBSoftProf"},
        {2, L"SOFTWARE\\Other\\Key", L"", L"SOFTWARE\\Other\\Key"},
        {2, L"SOFTWARE\\Other\\Key", L"..\\..\\", L"..\\..\\"},
    };
    for (const Row& row : rows) {
        CQLTCmdBase base;
        base.m_nRegMode = row.mode;
        base.m_strSubKey = row.section;
        EXPECT_EQ(base.GetKeyPath(row.perCall), row.expected)
            << row.mode << " " << platform::wideToUtf8(row.perCall);
    }
    const IsolatedSettings settings;
    CQLTCmdBase base;
    base.m_strSubKey = L"BatchParam";
    ASSERT_TRUE(base.WriteTextValue(L"Frame", L"图框"));
    EXPECT_EQ(base.ReadTextValue(L"Frame", L"无"), L"图框");
    EXPECT_EQ(base.ReadTextValue(L"Frame", L"无", L"Other"), L"无");
    EXPECT_EQ(base.ReadIntValue(L"Frame", -1), -1) << "a text is not an integer";
}

TEST(ZEBRegeditBase, FailuresHandTheirErrorRecordToTheHook) {
    const IsolatedSettings settings;
    RecordingRegedit regedit;
    CZEBRegeditBase::KeyValue value;
    value.m_strValue = std::wstring(499, L'长');
    ASSERT_EQ(regedit.WriteKeyVal(HKEY_CURRENT_USER, L"K", L"fits", CZEBRegeditBase::KindText, value, TRUE),
              1);
    value.m_strValue += L"!";
    ASSERT_EQ(regedit.WriteKeyVal(HKEY_CURRENT_USER, L"K", L"long", CZEBRegeditBase::KindText, value, TRUE),
              1);
    ASSERT_TRUE(regedit.m_arrError.empty());
    struct Row {
        const char* what;
        bool write;
        const wchar_t* key;
        const wchar_t* name;
        int kind;
        int code;
        const wchar_t* message;
    };
    const Row rows[] = {
        {"missing key", false, L"Nowhere", L"v", 0, 1040100301, L"注册表主键不存在，位置为Nowhere，名称为v"},
        {"missing value", false, L"K", L"v", 2, 1040100303, L"查询注册表主键失败，位置为K，名称为v"},
        {"text beyond the buffer", false, L"K", L"long", 2, 1040100303,
         L"查询注册表主键失败，位置为K，名称为long"},
        {"text read as an integer", false, L"K", L"fits", 0, 1040100304,
         L"查询注册表值失败，位置为K，名称为fits"},
        {"write without creating", true, L"New", L"v", 0, 1040100401,
         L"没有注册表主键，同时放弃创建，位置为New，名称为v"},
    };
    for (const Row& row : rows) {
        regedit.m_arrError.clear();
        const int result =
            row.write ? regedit.WriteKeyVal(HKEY_CURRENT_USER, row.key, row.name, row.kind, value, FALSE)
                      : regedit.ReadKeyVal(HKEY_CURRENT_USER, row.key, row.name, row.kind, value);
        EXPECT_EQ(result, 0) << row.what;
        ASSERT_EQ(regedit.m_arrError.size(), 1u) << row.what;
        const CZEBErrorInfo& error = regedit.m_arrError[0];
        EXPECT_EQ(error.m_nCode, row.code) << row.what;
        EXPECT_EQ(error.m_strMessage, row.message) << row.what;
        EXPECT_EQ(error.m_strOperate, row.write ? L"WriteKeyVal" : L"ReadKeyVal") << row.what;
        EXPECT_EQ(error.m_strClass, L"CZEBRegeditBase") << row.what;
    }
    EXPECT_EQ(regedit.ReadKeyVal(HKEY_CURRENT_USER, L"K", L"fits", CZEBRegeditBase::KindText, value), 1);
    EXPECT_EQ(value.m_strValue.size(), 499u);
}
