// Fuzz target: loading the configuration list from a file of any content. Besides crashes and sanitizer
// reports it checks what must hold for every input: the reserved records are present after reading, and
// a list that was read and written reads back to the same bytes when written again.

#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "quelto/filter/filter_cfg_file.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

class Workspace {
public:
    Workspace() {
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "quelto-cfg-fuzz-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        m_previous = platform::setMessageBoxService(&m_boxes);
    }
    ~Workspace() {
        platform::setMessageBoxService(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::filesystem::path file() const { return m_folder / "ZEBFilter.cfg"; }

    // Each input starts in an empty folder: damaged inputs leave their set-aside copies behind.
    void clear() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder, ignored)) {
            std::filesystem::remove(entry.path(), ignored);
        }
        m_boxes.clear();
    }

private:
    std::filesystem::path m_folder;
    platform::QueuedMessageBoxService m_boxes;
    platform::MessageBoxService* m_previous = nullptr;
};

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Workspace workspace;
    workspace.clear();
    std::ofstream(workspace.file(), std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    CFilterCfgFile list;
    list.m_strFileName = platform::pathToWide(workspace.file());
    const int usable = list.ReadCfgFile();
    for (const wchar_t* reserved :
         {CFilterCfgFile::TemplateName, CFilterCfgFile::LastName, CFilterCfgFile::BatchName}) {
        require(list.FindFilter(reserved) >= 0);
    }
    if (usable == 0) {
        require(list.m_arrFilter.size() == 3);
        return 0;
    }
    require(list.WriteCfgFile() == 1);
    const std::string written = contentOf(workspace.file());
    CFilterCfgFile again;
    again.m_strFileName = list.m_strFileName;
    require(again.ReadCfgFile() == 1);
    require(again.m_arrFilter.size() == list.m_arrFilter.size());
    require(again.WriteCfgFile() == 1);
    require(contentOf(workspace.file()) == written);
    return 0;
}
