// CZEBRegeditBase: single registry values read and written by kind code (0 integer as a DWORD, 1 real as
// its "%.7f" text, 2 text). Failures never reach the user: each builds an error record with its code
// and hands it to ZEBErrorHook, which does nothing unless a derived class listens.
#pragma once

#include "platform/mfc_types.h"
#include "platform/registry_store.h"

struct CZEBErrorInfo {
    int m_nCode = 0;
    CString m_strMessage;
    CString m_strOperate; // "ReadKeyVal" or "WriteKeyVal"
    CString m_strClass;   // "CZEBRegeditBase"
};

class CZEBRegeditBase {
public:
    enum : int { KindInteger = 0, KindReal = 1, KindText = 2 };

    // What a read yields and a write takes; the kind code says which member counts.
    struct KeyValue {
        int m_nValue = 0;
        double m_dValue = 0.0;
        CString m_strValue;
    };

    // Read error codes, in the order the steps of a read can fail.
    static constexpr int ErrorKeyMissing = 1040100301;
    static constexpr int ErrorOpenForReading = 1040100302;
    static constexpr int ErrorQueryKey = 1040100303;
    static constexpr int ErrorQueryValue = 1040100304;
    // Write error codes.
    static constexpr int ErrorNoKeyNoCreate = 1040100401;
    static constexpr int ErrorCreateKey = 1040100402;
    static constexpr int ErrorOpenKey = 1040100403;
    static constexpr int ErrorWriteValue = 1040100404;

    // The largest value a read accepts, in bytes of UTF-16 text with its terminating zero; longer texts
    // read as missing, as with the fixed query buffer of the Windows original.
    static constexpr int ValueBufferBytes = 1000;

    virtual ~CZEBRegeditBase();

    // 1 when the value was read into the member of `value` that the kind selects, else 0. The key must
    // be writable by this process: a key the user may only read counts as missing.
    int ReadKeyVal(HKEY root, const CString& key, const CString& name, int kind, KeyValue& value);
    // 1 when written; a missing key is created only when `create` is set.
    int WriteKeyVal(HKEY root, const CString& key, const CString& name, int kind, const KeyValue& value,
                    BOOL create);

protected:
    virtual void ZEBErrorHook(const CZEBErrorInfo& error);

private:
    void RaiseError(int code, const wchar_t* operate, const wchar_t* format, const CString& key,
                    const CString& name);
};
