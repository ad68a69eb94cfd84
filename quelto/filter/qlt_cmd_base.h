// CQLTCmdBase: the base of the classes that keep their parameters in the current user's registry. It
// builds the key path from its sub-key name and path mode and reads or writes one integer, real or
// text value at a time; nothing is cached, so every read sees what was last written by any process.
#pragma once

#include "platform/mfc_types.h"
#include "quelto/filter/zeb_regedit_base.h"

class CQLTCmdBase {
public:
    static constexpr const wchar_t* ProductName = L"翠岭轩快速选择系统";
    // Per-call sub-keys that climb from the parameter section to the product key and to the profile key.
    static constexpr const wchar_t* ProductKeySubKey = L"..\\..\\";
    static constexpr const wchar_t* ProfileKeySubKey = L"..\\";

    CQLTCmdBase() = default;
    virtual ~CQLTCmdBase();

    // In path mode 2 the sub-key is the whole key; otherwise it names a section below
    // "SOFTWARE\翠岭轩工作室\<product>\ZEBSoftProf", or one of the two climbing names above.
    // `subKey` replaces m_strSubKey for one call when not empty.
    CString GetKeyPath(const CString& subKey = CString()) const;

    // The stored value, or `defaultValue` when it is missing or of another type.
    int ReadIntValue(const CString& name, int defaultValue, const CString& subKey = CString());
    double ReadRealValue(const CString& name, double defaultValue, const CString& subKey = CString());
    CString ReadTextValue(const CString& name, const CString& defaultValue,
                          const CString& subKey = CString());

    // Missing keys are created; TRUE when the value was written.
    BOOL WriteIntValue(const CString& name, int value, const CString& subKey = CString());
    BOOL WriteRealValue(const CString& name, double value, const CString& subKey = CString());
    BOOL WriteTextValue(const CString& name, const CString& value, const CString& subKey = CString());

    int m_nRegMode = 1;
    CString m_strSubKey;
    CZEBRegeditBase m_regedit;

private:
    BOOL Read(const CString& name, const CString& subKey, int kind, CZEBRegeditBase::KeyValue& value);
    BOOL Write(const CString& name, const CString& subKey, int kind, const CZEBRegeditBase::KeyValue& value);
};
