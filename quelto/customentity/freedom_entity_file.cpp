// Reading and writing definition files, and finding them. A file is read whole and parsed from memory,
// so a damaged file can never be half-applied: the entities are kept only when the whole body was read.
// Damaged files are reported on the command line once per state of the file and are never written over.

#include "quelto/customentity/freedom_entity_file.h"

#include "cad/ed/command_line.h"
#include "platform/atomic_file.h"
#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "platform/wide_text.h"
#include "quelto/filter/qlt_cmd_base.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <tuple>

namespace {

CString describeDamage(const CArchiveException& error) {
    const int offset = static_cast<int>(error.offset());
    if (error.cause() == CArchiveException::Cause::BadLength) {
        return platform::formatWide(L"第%d字节处的文本长度无效", offset);
    }
    return platform::formatWide(L"文件在第%d字节处提前结束", offset);
}

// What identifies one state of a file: a damaged file is reported again once it has been changed.
using FileState = std::tuple<std::filesystem::path, std::uintmax_t, std::filesystem::file_time_type>;

bool firstReportOf(const std::filesystem::path& file) {
    static std::set<FileState> reported;
    std::error_code ignored;
    const FileState state{file, std::filesystem::file_size(file, ignored),
                          std::filesystem::last_write_time(file, ignored)};
    return reported.insert(state).second;
}

bool hasDefinitionExtension(const std::filesystem::path& file) {
    // The Windows file search matched the extension without regard to letter case.
    return platform::toLowerAscii(platform::pathToWide(file.extension())) == L".dom";
}

} // namespace

CString CFreedomEntityFile::GetFolder() {
    std::filesystem::path base = platform::commonAppDataFolder();
    if (base.empty()) {
        // The Windows original fell back to the root of the system drive.
        base = "/";
    }
    return platform::pathToWide(base / "Tarnwell" / "Quelto" / "Freedom");
}

CString CFreedomEntityFile::GetFilePath(const CString& name) {
    return platform::formatWide(L"%s/%s.dom", GetFolder().c_str(), name.c_str());
}

CStringArray CFreedomEntityFile::ListFiles() {
    const std::filesystem::path folder = platform::wideToPath(GetFolder());
    CStringArray files;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (hasDefinitionExtension(entry->path()) && entry->is_regular_file(error)) {
            files.push_back(platform::pathToWide(entry->path()));
        }
    }
    std::sort(files.begin(), files.end(), [](const CString& left, const CString& right) {
        const CString upperLeft = platform::toUpperAscii(left);
        const CString upperRight = platform::toUpperAscii(right);
        return upperLeft != upperRight ? upperLeft < upperRight : left < right;
    });
    return files;
}

CFreedomReadResult CFreedomEntityFile::ReadBytes(std::string bytes) {
    entities.clear();
    softName.clear();
    fileNote.clear();
    fileNote2.clear();
    CArchive archive(CArchive::load, std::move(bytes));
    try {
        std::int32_t fileVersion = 0;
        archive >> fileVersion;
        if (fileVersion > CurrentFileVersion) {
            return {CFreedomReadResult::TooNew, platform::formatWide(L"文件版本为%d", fileVersion)};
        }
        std::int32_t dataVersion = 0;
        archive >> dataVersion;
        if (dataVersion <= 0) {
            return {};
        }
        if (dataVersion > CurrentDataVersion) {
            return {CFreedomReadResult::UnknownDataVersion,
                    platform::formatWide(L"数据版本为%d", dataVersion)};
        }
        std::int32_t count = 0;
        archive >> softName >> fileNote >> fileNote2 >> count;
        ReadRecords(archive, count, entities);
    } catch (const CArchiveException& error) {
        entities.clear();
        return {CFreedomReadResult::Damaged, describeDamage(error)};
    }
    return {};
}

CFreedomReadResult CFreedomEntityFile::ReadFile(const CString& path) {
    platform::FileReadResult read = platform::readWholeFile(platform::wideToPath(path));
    if (read.status != platform::FileReadResult::Status::Read) {
        entities.clear();
        return {CFreedomReadResult::CannotOpen, platform::utf8ToWide(read.error)};
    }
    return ReadBytes(std::move(read.bytes));
}

BOOL CFreedomEntityFile::Read(const CString& path) {
    const CFreedomReadResult result = ReadFile(path);
    if (result.status == CFreedomReadResult::TooNew) {
        MessageBox(nullptr,
                   platform::formatWide(L"文件%s版本高于系统支持版本，请升级%s！", path.c_str(),
                                        CQLTCmdBase::ProductName),
                   L"版本太低", MB_OK | MB_ICONINFORMATION);
    } else if (result.status == CFreedomReadResult::Damaged && firstReportOf(platform::wideToPath(path))) {
        acutPrintf(L"\n警告：自定义实体定义文件%s已损坏（%s），已跳过\n", path.c_str(),
                   result.reason.c_str());
    }
    return result.status == CFreedomReadResult::Read ? TRUE : FALSE;
}

std::string CFreedomEntityFile::SaveBytes() const {
    CArchive archive(CArchive::store);
    archive << CurrentFileVersion << CurrentDataVersion << softName << fileNote << fileNote2
            << static_cast<std::int32_t>(entities.size());
    for (const CFreedomEntity& entity : entities) {
        entity.WriteTo(archive);
    }
    return archive.bytes();
}

BOOL CFreedomEntityFile::Save(const CString& path) const {
    return platform::writeFileAtomically(platform::wideToPath(path), SaveBytes()) ? TRUE : FALSE;
}
