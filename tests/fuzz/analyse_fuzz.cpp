// Fuzz target for the formula analyser: arbitrary bytes decoded as UTF-8 are analysed with variables A to G
// of every kind. Any result code is acceptable; a crash, a hang, unbounded memory or a broken record list
// is not.

#include "platform/code_page.h"
#include "quelto/baselib/zeb_base_string_analyse.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

CZEBOperateVar variable(const wchar_t* name, int type, int integer, double real, const wchar_t* text) {
    CZEBOperateVar record;
    record.m_strName = name;
    record.m_nType = type;
    record.m_nValue = integer;
    record.m_dValue = real;
    record.m_strValue = text;
    return record;
}

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CString input = platform::utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
    CZEBBaseStringAnalyse analyser;
    analyser.m_arrVariable = {
        variable(L"A", CZEBOperateVar::TypeBoolean, 1, 0.0, L""),
        variable(L"B", CZEBOperateVar::TypeBoolean, 0, 0.0, L""),
        variable(L"C", CZEBOperateVar::TypeInteger, -7, 0.0, L""),
        variable(L"D", CZEBOperateVar::TypeReal, 0, 2.5, L""),
        variable(L"E", CZEBOperateVar::TypeString, 0, 0.0, L"12ab"),
        variable(L"F", CZEBOperateVar::TypeString, 0, 0.0, L""),
        variable(L"G", CZEBOperateVar::TypeInteger, 2147483647, 0.0, L""),
    };
    analyser.SetInputString(input);
    const int code = analyser.DoAnalyse();
    if (code == CZEBBaseStringAnalyse::ResultSuccess) {
        require(analyser.GetOutputType() >= CZEBOperateVar::TypeString &&
                analyser.GetOutputType() <= CZEBOperateVar::TypeBoolean);
        require(!analyser.GetOutputString().empty());
    } else if (code != CZEBBaseStringAnalyse::ResultNothing) {
        require(!analyser.GetAnalyseErrorInfo().empty());
    }
    // Every parameter names an earlier record, so evaluation always ends.
    const CArray<CZEBOperateVar>& records = analyser.m_arrOperate;
    for (std::size_t index = 0; index < records.size(); ++index) {
        for (int parameter = 0; parameter < records[index].GetParamSize(); ++parameter) {
            require(records[index][parameter] >= 0 &&
                    static_cast<std::size_t>(records[index][parameter]) < index);
        }
    }
    return 0;
}
