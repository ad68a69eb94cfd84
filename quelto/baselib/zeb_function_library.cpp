// The analyser's call evaluation: the extension hook first, then the built-in table looked up by the
// lower-cased name, the argument count check, and the family's computation. Also the call context's
// result writers and the small numeric and white-space helpers the families share.
#include "platform/wide_text.h"
#include "quelto/baselib/zeb_base_string_analyse.h"
#include "quelto/baselib/zeb_function_table.h"

#include <climits>
#include <cmath>
#include <unordered_map>

namespace quelto::baselib {

std::vector<FunctionEntry> allFunctions() {
    std::vector<FunctionEntry> entries;
    for (std::span<const FunctionEntry> family :
         {logicMathFunctions(), textFunctions(), clipSteelFunctions(), fileTimeFunctions()}) {
        entries.insert(entries.end(), family.begin(), family.end());
    }
    return entries;
}

const FunctionEntry* findFunction(const CString& lowerCaseName) {
    // Built once; the entries themselves are static data of the family files.
    static const std::unordered_map<CString, FunctionEntry> kTable = [] {
        std::unordered_map<CString, FunctionEntry> byName;
        for (const FunctionEntry& entry : allFunctions()) {
            byName.emplace(entry.name, entry);
        }
        return byName;
    }();
    const auto found = kTable.find(lowerCaseName);
    return found == kTable.end() ? nullptr : &found->second;
}

int truncateToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

bool isWhiteSpace(wchar_t character) {
    switch (character) {
    case L'\t':
    case L'\n':
    case L'\v':
    case L'\f':
    case L'\r':
    case L' ':
    case 0x0085:
    case 0x00A0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return character >= 0x2000 && character <= 0x200A;
    }
}

CString trimWhiteSpace(const CString& text, bool leading, bool trailing) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (leading && begin < end && isWhiteSpace(text[begin])) {
        ++begin;
    }
    while (trailing && end > begin && isWhiteSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

} // namespace quelto::baselib

int CZEBFunctionAccess::SetString(const CString& value) {
    record.m_nType = CZEBOperateVar::TypeString;
    record.m_strValue = value;
    return CZEBBaseStringAnalyse::ResultSuccess;
}

int CZEBFunctionAccess::SetInteger(int value) {
    record.m_nType = CZEBOperateVar::TypeInteger;
    record.m_nValue = value;
    return CZEBBaseStringAnalyse::ResultSuccess;
}

int CZEBFunctionAccess::SetReal(double value) {
    record.m_nType = CZEBOperateVar::TypeReal;
    record.m_dValue = value;
    return CZEBBaseStringAnalyse::ResultSuccess;
}

int CZEBFunctionAccess::SetBoolean(BOOL value) {
    record.m_nType = CZEBOperateVar::TypeBoolean;
    record.m_nValue = value ? 1 : 0;
    return CZEBBaseStringAnalyse::ResultSuccess;
}

int CZEBFunctionAccess::SetValueOf(const CZEBOperateVar& source) {
    // Copied first: the source lives in the same record list as the record written to.
    const CZEBOperateVar value = source;
    record.m_nType = value.m_nType;
    record.m_strValue = value.m_strValue;
    record.m_dValue = value.m_dValue;
    record.m_nValue = value.m_nValue;
    return CZEBBaseStringAnalyse::ResultSuccess;
}

int CZEBFunctionAccess::Fail(const CString& message) {
    analyser.SetLastErrorInfo(message);
    return CZEBBaseStringAnalyse::ResultArgumentValue;
}

int CZEBBaseStringAnalyse::GetExtendFunValue(CZEBOperateVar&) {
    return ResultUnknownFunction;
}

BOOL CZEBBaseStringAnalyse::CheckParamSize(const CString& functionName, int given, int required) {
    if (given == required) {
        return TRUE;
    }
    SetLastErrorInfo(platform::formatWide(L"函数%s的形参个数应该为%d个,当前指定的个数是%d",
                                          functionName.c_str(), required, given));
    return FALSE;
}

int CZEBBaseStringAnalyse::GetFunValue(CZEBOperateVar& record) {
    const int extended = GetExtendFunValue(record);
    if (extended != ResultUnknownFunction) {
        return extended;
    }
    CZEBFunctionAccess call{*this, record, platform::toLowerAscii(record.m_strOperate)};
    const quelto::baselib::FunctionEntry* entry = quelto::baselib::findFunction(call.name);
    if (entry == nullptr) {
        SetLastErrorInfo(platform::formatWide(L"函数%s不存在", call.name.c_str()));
        return ResultUnknownFunction;
    }
    if (entry->arity == quelto::baselib::kAtLeastOneArgument) {
        if (call.ArgumentCount() < 1) {
            SetLastErrorInfo(
                platform::formatWide(L"函数%s的形参个数至少1个,当前指定的个数是0个", call.name.c_str()));
            return ResultArgumentCount;
        }
    } else if (!call.CheckParamSize(entry->arity)) {
        return ResultArgumentCount;
    }
    return entry->compute(call);
}
