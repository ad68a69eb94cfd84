// Clipboard and reinforcing-steel functions of the formula language, with the analyser's line-list helpers
// the clipboard functions read through. Every steel call builds a fresh table with its default settings;
// the diameter is checked before the grade.
#include "quelto/baselib/zeb_function_table.h"
#include "quelto/baselib/zeb_steel_prop_info.h"
#include "quelto/baselib/zeb_string.h"

#include <algorithm>

namespace quelto::baselib {
namespace {

CString clipboardText() {
    CString text;
    if (!CZEBString::GetClipText(text)) {
        return CString();
    }
    return text;
}

int computeClip(CZEBFunctionAccess& call) {
    return call.SetString(clipboardText());
}

int computeClipCount(CZEBFunctionAccess& call) {
    return call.SetInteger(call.Base_GetStringCount(clipboardText()));
}

int computeClipIndex(CZEBFunctionAccess& call) {
    const int index = call.Integer(0);
    if (index <= 1) {
        return call.SetString(CString());
    }
    return call.SetString(call.Base_GetStringIndex(clipboardText(), index));
}

int failUnlessStandard(CZEBFunctionAccess& call, const CZEBSteelPropInfo& table, int diameter) {
    if (!table.IsStandRadio(diameter)) {
        return call.Fail(L"非标准钢筋直径");
    }
    return CZEBBaseStringAnalyse::ResultSuccess;
}

int computeStrd(CZEBFunctionAccess& call) {
    const CZEBSteelPropInfo table;
    return call.SetBoolean(table.IsStandRadio(call.Integer(0)));
}

// stir, stor, stds: one value of the diameter's row.
template <double (CZEBSteelPropInfo::*Lookup)(const int&) const>
int computeRowValue(CZEBFunctionAccess& call) {
    const CZEBSteelPropInfo table;
    const int diameter = call.Integer(0);
    if (const int failure = failUnlessStandard(call, table, diameter)) {
        return failure;
    }
    return call.SetReal((table.*Lookup)(diameter));
}

// The hook and bend functions: the user's grade 1 to 4 is the table's grade index 0 to 3.
struct GradedValue {
    enum class Kind { Hook, Bend };
    Kind kind;
    double angle;
    int variant;
};

int computeGraded(CZEBFunctionAccess& call, GradedValue value) {
    const CZEBSteelPropInfo table;
    const int diameter = call.Integer(0);
    const int grade = call.Integer(1);
    if (const int failure = failUnlessStandard(call, table, diameter)) {
        return failure;
    }
    if (grade < 1 || grade > 4) {
        return call.Fail(L"第二个参数钢筋等级必须为1～4");
    }
    return call.SetReal(value.kind == GradedValue::Kind::Hook
                            ? table.GetIncrease(grade - 1, diameter, value.angle, nullptr, nullptr)
                            : table.GetDecrease(grade - 1, diameter, value.angle, value.variant));
}

int computeStin90(CZEBFunctionAccess& call) {
    return computeGraded(call, {GradedValue::Kind::Hook, 90.0, 0});
}

int computeStin135(CZEBFunctionAccess& call) {
    return computeGraded(call, {GradedValue::Kind::Hook, 135.0, 0});
}

int computeStin180(CZEBFunctionAccess& call) {
    return computeGraded(call, {GradedValue::Kind::Hook, 180.0, 0});
}

int computeStde45(CZEBFunctionAccess& call) {
    return computeGraded(call, {GradedValue::Kind::Bend, 45.0, 0});
}

int computeStde90(CZEBFunctionAccess& call) {
    return computeGraded(call, {GradedValue::Kind::Bend, 90.0, 0});
}

int computeStde90m(CZEBFunctionAccess& call) {
    return computeGraded(call, {GradedValue::Kind::Bend, 90.0, 1});
}

constexpr FunctionEntry kClipSteelTable[] = {
    {L"clip", 0, computeClip},
    {L"clipcount", 0, computeClipCount},
    {L"clipindex", 1, computeClipIndex},
    {L"strd", 1, computeStrd},
    {L"stir", 1, computeRowValue<&CZEBSteelPropInfo::GetIntRadio>},
    {L"stor", 1, computeRowValue<&CZEBSteelPropInfo::GetOutRadio>},
    {L"stds", 1, computeRowValue<&CZEBSteelPropInfo::GetDensity>},
    {L"stin90", 2, computeStin90},
    {L"stin135", 2, computeStin135},
    {L"stin180", 2, computeStin180},
    {L"stde45", 2, computeStde45},
    {L"stde90", 2, computeStde90},
    {L"stde90m", 2, computeStde90m},
};

} // namespace

std::span<const FunctionEntry> clipSteelFunctions() {
    return kClipSteelTable;
}

} // namespace quelto::baselib

int CZEBBaseStringAnalyse::Base_GetStringCount(const CString& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), L'\n')) + 1;
}

CString CZEBBaseStringAnalyse::Base_GetStringIndex(const CString& text, int index) {
    const int count = Base_GetStringCount(text);
    int wanted = index % count;
    if (wanted < 0) {
        return CString();
    }
    if (wanted == 0) {
        wanted = count;
    }
    std::size_t begin = 0;
    for (int item = 1; item < wanted; ++item) {
        begin = text.find(L'\n', begin) + 1;
    }
    const std::size_t end = text.find(L'\n', begin);
    return quelto::baselib::trimWhiteSpace(
        text.substr(begin, end == CString::npos ? CString::npos : end - begin), true, true);
}
