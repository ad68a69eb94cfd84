// The registration table of the analyser's built-in functions and the call context they are computed in.
// Each family file (logic and mathematics, text, clipboard and steel, file and time) contributes its own
// rows; the dispatch in zeb_function_library.cpp joins them into one lower-case name lookup.
#pragma once

#include "quelto/baselib/zeb_base_string_analyse.h"

#include <span>
#include <vector>

// One call being computed: the analyser, the call record (its arguments already evaluated) and the
// lower-cased name. The analyser befriends this struct so the family files can reach its error store and
// its Base_ file operations without widening the exported interface.
struct CZEBFunctionAccess {
    CZEBBaseStringAnalyse& analyser;
    CZEBOperateVar& record;
    CString name;

    int ArgumentCount() const { return record.GetParamSize(); }
    const CZEBOperateVar& Argument(int position) const { return analyser.m_arrOperate.at(record[position]); }
    CString Text(int position) const { return Argument(position).GetSValue(); }
    int Integer(int position) const { return Argument(position).GetIValue(); }
    double Real(int position) const { return Argument(position).GetDValue(); }
    BOOL Boolean(int position) const { return Argument(position).GetOValue(); }

    // Result writers: each sets the kind and the one value field of that kind and reports success.
    int SetString(const CString& value);
    int SetInteger(int value);
    int SetReal(double value);
    int SetBoolean(BOOL value);
    // Takes over the kind and all three value fields of another record ("if").
    int SetValueOf(const CZEBOperateVar& source);
    // Stores a function's own message as the last error; the record keeps its previous value.
    int Fail(const CString& message);

    void SetLastErrorInfo(const CString& message) { analyser.SetLastErrorInfo(message); }
    BOOL CheckParamSize(int required) { return analyser.CheckParamSize(name, ArgumentCount(), required); }

    CString Base_GetFileName(const CString& path) { return analyser.Base_GetFileName(path); }
    CString Base_GetFilePath(const CString& path) { return analyser.Base_GetFilePath(path); }
    CString Base_GetPathName(const CString& path) { return analyser.Base_GetPathName(path); }
    CString Base_GetFileTitle(const CString& path) { return analyser.Base_GetFileTitle(path); }
    CString Base_GetFileExt(const CString& path) { return analyser.Base_GetFileExt(path); }
    long Base_GetFileTimeC(const CString& path) { return analyser.Base_GetFileTimeC(path); }
    long Base_GetFileTimeM(const CString& path) { return analyser.Base_GetFileTimeM(path); }
    long Base_GetFileTimeA(const CString& path) { return analyser.Base_GetFileTimeA(path); }
    unsigned long Base_GetFileSize(const CString& path) { return analyser.Base_GetFileSize(path); }
    int Base_GetFileLineCount(const CString& path) { return analyser.Base_GetFileLineCount(path); }
    CString Base_GetFileLineString(const CString& path, int line) {
        return analyser.Base_GetFileLineString(path, line);
    }
    int Base_GetStringCount(const CString& text) { return analyser.Base_GetStringCount(text); }
    CString Base_GetStringIndex(const CString& text, int index) {
        return analyser.Base_GetStringIndex(text, index);
    }
    int Base_fact(int number) { return analyser.Base_fact(number); }
};

namespace quelto::baselib {

// Arity of the functions that take one or more arguments ("and", "or", "max", "min", "average").
inline constexpr int kAtLeastOneArgument = -1;

struct FunctionEntry {
    const wchar_t* name; // lower case, as looked up
    int arity;           // fixed number of arguments, or kAtLeastOneArgument
    int (*compute)(CZEBFunctionAccess& call);
};

std::span<const FunctionEntry> logicMathFunctions();
std::span<const FunctionEntry> textFunctions();
std::span<const FunctionEntry> clipSteelFunctions();
std::span<const FunctionEntry> fileTimeFunctions();

// Every registered entry of all families, in family order.
std::vector<FunctionEntry> allFunctions();
// The entry registered under the lower-case name, or nullptr.
const FunctionEntry* findFunction(const CString& lowerCaseName);

// Whole numbers "through a 32-bit integer" as the original's runtime converted them: values outside the
// 32-bit range (and NaN) become INT_MIN, the processor's "integer indefinite", instead of undefined
// behaviour.
int truncateToInt32(double value);

// White space as the Windows runtime's wide classification sees it: ASCII controls 9-13, the space and
// the Unicode space separators (the ideographic space U+3000 matters in Chinese texts).
bool isWhiteSpace(wchar_t character);
// The text without its leading and/or trailing white space.
CString trimWhiteSpace(const CString& text, bool leading, bool trailing);

} // namespace quelto::baselib
