// Key paths and typed value access of the registry parameter classes.

#include "quelto/filter/qlt_cmd_base.h"

#include "platform/wide_text.h"

CQLTCmdBase::~CQLTCmdBase() = default;

CString CQLTCmdBase::GetKeyPath(const CString& subKey) const {
    const CString& section = subKey.empty() ? m_strSubKey : subKey;
    if (m_nRegMode == 2) {
        return section;
    }
    if (section == ProductKeySubKey) {
        return platform::formatWide(L"SOFTWARE\\翠岭轩工作室\\%s", ProductName);
    }
    if (section == ProfileKeySubKey) {
        return platform::formatWide(L"SOFTWARE\\翠岭轩工作室\\%s\\ZEBSoftProf", ProductName);
    }
    return platform::formatWide(L"SOFTWARE\\翠岭轩工作室\\%s\\ZEBSoftProf\\%s", ProductName, section.c_str());
}

BOOL CQLTCmdBase::Read(const CString& name, const CString& subKey, int kind,
                       CZEBRegeditBase::KeyValue& value) {
    return m_regedit.ReadKeyVal(HKEY_CURRENT_USER, GetKeyPath(subKey), name, kind, value);
}

BOOL CQLTCmdBase::Write(const CString& name, const CString& subKey, int kind,
                        const CZEBRegeditBase::KeyValue& value) {
    return m_regedit.WriteKeyVal(HKEY_CURRENT_USER, GetKeyPath(subKey), name, kind, value, TRUE);
}

int CQLTCmdBase::ReadIntValue(const CString& name, int defaultValue, const CString& subKey) {
    CZEBRegeditBase::KeyValue value;
    return Read(name, subKey, CZEBRegeditBase::KindInteger, value) ? value.m_nValue : defaultValue;
}

double CQLTCmdBase::ReadRealValue(const CString& name, double defaultValue, const CString& subKey) {
    CZEBRegeditBase::KeyValue value;
    return Read(name, subKey, CZEBRegeditBase::KindReal, value) ? value.m_dValue : defaultValue;
}

CString CQLTCmdBase::ReadTextValue(const CString& name, const CString& defaultValue, const CString& subKey) {
    CZEBRegeditBase::KeyValue value;
    return Read(name, subKey, CZEBRegeditBase::KindText, value) ? value.m_strValue : defaultValue;
}

BOOL CQLTCmdBase::WriteIntValue(const CString& name, int value, const CString& subKey) {
    CZEBRegeditBase::KeyValue stored;
    stored.m_nValue = value;
    return Write(name, subKey, CZEBRegeditBase::KindInteger, stored);
}

BOOL CQLTCmdBase::WriteRealValue(const CString& name, double value, const CString& subKey) {
    CZEBRegeditBase::KeyValue stored;
    stored.m_dValue = value;
    return Write(name, subKey, CZEBRegeditBase::KindReal, stored);
}

BOOL CQLTCmdBase::WriteTextValue(const CString& name, const CString& value, const CString& subKey) {
    CZEBRegeditBase::KeyValue stored;
    stored.m_strValue = value;
    return Write(name, subKey, CZEBRegeditBase::KindText, stored);
}
