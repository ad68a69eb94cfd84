// CFilterCfgFile: the list of named configurations kept in "Tarnwell/Quelto/ZEBFilter.cfg" under the
// common application-data folder, shared by all users of the machine. Three reserved records are always
// at positions 0 to 2 after reading. A damaged file is reported once, kept under a new name, and reads
// as the reserved records only.
#pragma once

#include "platform/mfc_types.h"
#include "quelto/filter/filter.h"

class CFilterCfgFile {
public:
    static constexpr int CurrentFileVersion = 6;
    static constexpr const wchar_t* TemplateName = L"<本次模板>";
    static constexpr const wchar_t* LastName = L"<上一次配制>";
    static constexpr const wchar_t* BatchName = L"<批量处理配置>";

    CFilterCfgFile();
    virtual ~CFilterCfgFile();

    // 1 when the list is usable (also without a file, or after a damaged file was set aside), 0 when the
    // file is of a version newer than this program reads.
    int ReadCfgFile();
    // 1 when the whole list was written; 0 when the file could not be written (also when its folder is
    // missing). The previous file stays intact on failure.
    int WriteCfgFile();

    // Position of the first record whose name is exactly `name` (letter case counts), -1 when none.
    int FindFilter(const CString& name) const;

    CString m_strFileName;
    int m_nFileVersion = 0;
    CArray<CFilter> m_arrFilter;

private:
    void PutReservedRecords();
    void ReportDamagedFile(const CString& reason);
};
