// The machine-wide values of the preferences; the per-user accessors are one-liners in the header.

#include "quelto/filter/qlt_system_param.h"

#include "platform/known_folders.h"
#include "platform/wide_text.h"

CQLTSystemParam::CQLTSystemParam() {
    m_strSubKey = L"SystemParam";
}

CQLTSystemParam::~CQLTSystemParam() = default;

BOOL CQLTSystemParam::ReadMachineText(const wchar_t* name, CString& text) {
    CZEBRegeditBase::KeyValue value;
    const CString key = platform::formatWide(L"SOFTWARE\\翠岭轩工作室\\%s", ProductName);
    if (!m_regedit.ReadKeyVal(HKEY_LOCAL_MACHINE, key, name, CZEBRegeditBase::KindText, value)) {
        return FALSE;
    }
    text = value.m_strValue;
    return TRUE;
}

BOOL CQLTSystemParam::GetLocation(CString& location) {
    location.clear();
    return ReadMachineText(L"Location", location);
}

CString CQLTSystemParam::GetCommonData() {
    CString folder;
    if (ReadMachineText(L"CommonData", folder)) {
        return folder;
    }
    return platform::formatWide(L"%s/Tarnwell/%s",
                                platform::pathToWide(platform::commonAppDataFolder()).c_str(), L"Quelto");
}

CString CQLTSystemParam::GetCommonFile() {
    CString folder;
    if (ReadMachineText(L"CommonFile", folder)) {
        return folder;
    }
    return platform::formatWide(L"%s/Tarnwell Share",
                                platform::pathToWide(platform::commonProgramFilesFolder()).c_str());
}
