// Reading and writing the configuration list. The file starts with 10000 + its version (a version-1 file
// starts directly with the record count), then the count and the records. Writes go to a temporary file
// that replaces the old one only when complete, so a failed write never costs the user a configuration.

#include "quelto/filter/filter_cfg_file.h"

#include "platform/atomic_file.h"
#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "platform/wide_text.h"

#include <optional>

namespace {

constexpr int kVersionHeaderBase = 10000;

CString defaultFileName() {
    CString base = platform::pathToWide(platform::commonAppDataFolder());
    if (base.empty()) {
        // The Windows original fell back to the root of the system drive.
        base = L"/";
    }
    if (base.back() != L'/') {
        base += L'/';
    }
    return base + platform::pathToWide(platform::wideToPath(L"Tarnwell\\Quelto\\ZEBFilter.cfg"));
}

CString describeReadError(const CArchiveException& error) {
    const int offset = static_cast<int>(error.offset());
    if (error.cause() == CArchiveException::Cause::BadLength) {
        return platform::formatWide(L"第%d字节处的文本长度已损坏", offset);
    }
    return platform::formatWide(L"文件在第%d字节处的数据不完整", offset);
}

} // namespace

CFilterCfgFile::CFilterCfgFile() : m_strFileName(defaultFileName()) {}

CFilterCfgFile::~CFilterCfgFile() = default;

int CFilterCfgFile::FindFilter(const CString& name) const {
    for (std::size_t index = 0; index < m_arrFilter.size(); ++index) {
        if (m_arrFilter[index].m_strName == name) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

void CFilterCfgFile::PutReservedRecords() {
    CFilter reserved;
    const int templatePosition = FindFilter(TemplateName);
    if (templatePosition >= 0) {
        m_arrFilter[static_cast<std::size_t>(templatePosition)].Reset();
    } else {
        reserved.m_strName = TemplateName;
        m_arrFilter.insert(m_arrFilter.begin(), reserved);
    }
    // After the template is in place the list holds at least one record, after the next step two, so
    // positions 1 and 2 always exist.
    if (FindFilter(LastName) < 0) {
        reserved.m_strName = LastName;
        m_arrFilter.insert(m_arrFilter.begin() + 1, reserved);
    }
    if (FindFilter(BatchName) < 0) {
        reserved.m_strName = BatchName;
        m_arrFilter.insert(m_arrFilter.begin() + 2, reserved);
    }
}

void CFilterCfgFile::ReportDamagedFile(const CString& reason) {
    const std::filesystem::path file = platform::wideToPath(m_strFileName);
    std::string error;
    const std::optional<std::filesystem::path> aside =
        platform::setAsideFile(file, platform::SetAside::Move, &error);
    CString text =
        platform::formatWide(L"系统配置文件已损坏，无法读取，自动初始化为空！\n文件：%s\n原因：%s\n",
                             m_strFileName.c_str(), reason.c_str());
    if (aside) {
        text += platform::formatWide(L"损坏的文件已另存为：%s", platform::pathToWide(*aside).c_str());
    } else {
        text += platform::formatWide(L"损坏的文件无法另存（%s），请在保存配置前备份该文件。",
                                     platform::utf8ToWide(error).c_str());
    }
    MessageBox(nullptr, text, L"无法读取", MB_OK | MB_ICONINFORMATION);
}

int CFilterCfgFile::ReadCfgFile() {
    m_arrFilter.clear();
    platform::FileReadResult read = platform::readWholeFile(platform::wideToPath(m_strFileName));
    if (read.status == platform::FileReadResult::Status::Read) {
        CArchive archive(CArchive::load, std::move(read.bytes));
        try {
            int header = 0;
            archive >> header;
            m_nFileVersion = header > kVersionHeaderBase ? header - kVersionHeaderBase : 1;
            if (m_nFileVersion > CurrentFileVersion) {
                MessageBox(nullptr, L"系统配置文件版本太高，当前系统无法读取，自动初始化为空！", L"无法读取",
                           MB_OK | MB_ICONINFORMATION);
                PutReservedRecords();
                return 0;
            }
            int count = header;
            if (header > kVersionHeaderBase) {
                archive >> count;
            }
            for (int index = 0; index < count; ++index) {
                CFilter record;
                record.m_nVersion = m_nFileVersion;
                record.Serialize(archive);
                m_arrFilter.push_back(record);
            }
        } catch (const CArchiveException& error) {
            // Records read before the damage may hold garbage of the damaged part; none is kept, and
            // the file itself is moved aside so that the next write cannot destroy it.
            m_arrFilter.clear();
            ReportDamagedFile(describeReadError(error));
        }
    }
    PutReservedRecords();
    return 1;
}

int CFilterCfgFile::WriteCfgFile() {
    CArchive archive(CArchive::store);
    archive << kVersionHeaderBase + CurrentFileVersion << static_cast<int>(m_arrFilter.size());
    for (CFilter& record : m_arrFilter) {
        record.Serialize(archive);
    }
    return platform::writeFileAtomically(platform::wideToPath(m_strFileName), archive.bytes()) ? 1 : 0;
}
