// Cost of the persistence the quick-select command pays on every run: reading and writing the
// configuration list, and reading or writing one preference (each goes to the registry store file).

#include "platform/known_folders.h"
#include "quelto/filter/filter_cfg_file.h"
#include "quelto/filter/qlt_system_param.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

class Workspace {
public:
    Workspace() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quelto-bench-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        ::setenv("QUELTO_REGISTRY_DIR", m_folder.c_str(), 1);
        ::setenv("QUELTO_COMMON_APPDATA", m_folder.c_str(), 1);
        std::filesystem::create_directories(m_folder / "Tarnwell" / "Quelto");
    }
    ~Workspace() { std::filesystem::remove_all(m_folder); }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

private:
    std::filesystem::path m_folder;
};

CFilterCfgFile listOf(int userRecords) {
    CFilterCfgFile list;
    list.ReadCfgFile();
    for (int index = 0; index < userRecords; ++index) {
        CFilter record;
        record.m_strName = L"配置" + std::to_wstring(index);
        for (int row = 0; row < 7; ++row) {
            record.m_arrPropId.push_back(201 + row);
            record.m_arrPropRow.push_back(row);
            record.m_arrPropOp.push_back(L">=");
            record.m_arrPropValue.push_back(L"12.5");
        }
        list.m_arrFilter.push_back(record);
    }
    return list;
}

void ReadConfigurationList(benchmark::State& state) {
    const Workspace workspace;
    listOf(static_cast<int>(state.range(0))).WriteCfgFile();
    for (auto _ : state) {
        CFilterCfgFile list;
        benchmark::DoNotOptimize(list.ReadCfgFile());
    }
}
BENCHMARK(ReadConfigurationList)->Arg(10)->Arg(100);

void WriteConfigurationList(benchmark::State& state) {
    const Workspace workspace;
    CFilterCfgFile list = listOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.WriteCfgFile());
    }
}
BENCHMARK(WriteConfigurationList)->Arg(10)->Arg(100);

void ReadOnePreference(benchmark::State& state) {
    const Workspace workspace;
    CQLTSystemParam param;
    param.SetInitShow(0);
    param.SetGroupName(L"组1");
    for (int index = 0; index < 40; ++index) {
        param.WriteRealValue(L"Value" + std::to_wstring(index), index * 0.5);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(CQLTSystemParam().GetEPI());
    }
}
BENCHMARK(ReadOnePreference);

void WriteOnePreference(benchmark::State& state) {
    const Workspace workspace;
    int value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CQLTSystemParam().SetPosIndex(++value % 10));
    }
}
BENCHMARK(WriteOnePreference);

} // namespace
BENCHMARK_MAIN();
