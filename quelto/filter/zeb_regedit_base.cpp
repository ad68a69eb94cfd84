// Registry access over the platform's registry store. The order of the checks follows the Windows
// original: the key is first opened for writing only to test that it exists, then read; so a key that
// the user may read but not change (a machine-wide key for an ordinary user) reads as missing.

#include "quelto/filter/zeb_regedit_base.h"

#include "platform/wide_text.h"

CZEBRegeditBase::~CZEBRegeditBase() = default;

void CZEBRegeditBase::ZEBErrorHook(const CZEBErrorInfo& error) {}

void CZEBRegeditBase::RaiseError(int code, const wchar_t* operate, const wchar_t* format, const CString& key,
                                 const CString& name) {
    CZEBErrorInfo error;
    error.m_nCode = code;
    error.m_strMessage = platform::formatWide(format, key.c_str(), name.c_str());
    error.m_strOperate = operate;
    error.m_strClass = L"CZEBRegeditBase";
    ZEBErrorHook(error);
}

int CZEBRegeditBase::ReadKeyVal(HKEY root, const CString& key, const CString& name, int kind,
                                KeyValue& value) {
    static constexpr const wchar_t* kOperate = L"ReadKeyVal";
    platform::RegistryStore store(root);
    if (!store.canWrite()) {
        RaiseError(ErrorKeyMissing, kOperate, L"注册表主键不存在，位置为%s，名称为%s", key, name);
        return 0;
    }
    const platform::RegistryStore::ReadResult read = store.readValue(key, name);
    using Status = platform::RegistryStore::ReadStatus;
    if (read.status == Status::NoKey) {
        RaiseError(ErrorKeyMissing, kOperate, L"注册表主键不存在，位置为%s，名称为%s", key, name);
        return 0;
    }
    if (read.status == Status::Unreadable) {
        RaiseError(ErrorOpenForReading, kOperate, L"以读的方式打开注册表主键失败，位置为%s，名称为%s", key,
                   name);
        return 0;
    }
    const bool tooLong = read.value.type == platform::RegistryValue::Type::String &&
                         (read.value.text.size() + 1) * 2 > static_cast<std::size_t>(ValueBufferBytes);
    if (read.status == Status::NoValue || tooLong) {
        RaiseError(ErrorQueryKey, kOperate, L"查询注册表主键失败，位置为%s，名称为%s", key, name);
        return 0;
    }
    const bool isText = read.value.type == platform::RegistryValue::Type::String;
    const bool isNumber = read.value.type == platform::RegistryValue::Type::Dword;
    if (kind == KindInteger && isNumber) {
        value.m_nValue = static_cast<int>(read.value.number);
        return 1;
    }
    if (kind == KindReal && isText) {
        value.m_dValue = _wtof(read.value.text);
        return 1;
    }
    if (kind == KindText && isText) {
        value.m_strValue = read.value.text;
        return 1;
    }
    RaiseError(ErrorQueryValue, kOperate, L"查询注册表值失败，位置为%s，名称为%s", key, name);
    return 0;
}

int CZEBRegeditBase::WriteKeyVal(HKEY root, const CString& key, const CString& name, int kind,
                                 const KeyValue& value, BOOL create) {
    static constexpr const wchar_t* kOperate = L"WriteKeyVal";
    platform::RegistryValue stored;
    if (kind == KindInteger) {
        stored = platform::RegistryValue::dword(static_cast<DWORD>(value.m_nValue));
    } else if (kind == KindReal) {
        stored = platform::RegistryValue::string(platform::formatWide(L"%.7f", value.m_dValue));
    } else if (kind == KindText) {
        stored = platform::RegistryValue::string(value.m_strValue);
    } else {
        RaiseError(ErrorWriteValue, kOperate, L"写入注册表数据失败，位置为%s，名称为%s", key, name);
        return 0;
    }
    platform::RegistryStore store(root);
    using Status = platform::RegistryStore::WriteStatus;
    switch (store.writeValue(key, name, stored, create != FALSE)) {
    case Status::Written:
        return 1;
    case Status::NoKey:
        RaiseError(ErrorNoKeyNoCreate, kOperate, L"没有注册表主键，同时放弃创建，位置为%s，名称为%s", key,
                   name);
        return 0;
    case Status::CannotCreateKey:
        RaiseError(ErrorCreateKey, kOperate, L"创建注册表主键失败，位置为%s，名称为%s", key, name);
        return 0;
    case Status::CannotOpenKey:
        RaiseError(ErrorOpenKey, kOperate, L"打开注册表主键失败，位置为%s，名称为%s", key, name);
        return 0;
    case Status::CannotWrite:
        break;
    }
    RaiseError(ErrorWriteValue, kOperate, L"写入注册表数据失败，位置为%s，名称为%s", key, name);
    return 0;
}
