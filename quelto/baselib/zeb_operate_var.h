// CZEBOperateVar: one record of the expression analyser - a constant, a caller's variable, an operator
// applied to two records, or a function call over argument records. Every operator and function reads
// its operands through the four getters, which carry the language's conversion rules between kinds.
#pragma once

#include "platform/export.h"
#include "platform/mfc_types.h"

#include <cstdint>

namespace quelto::baselib {

// Letters of the formula language decide what is a name (a variable, a generated record, a function).
// ASCII letters count, and so does every character outside ASCII, so that variable and function names
// written in Chinese work as names; digits are the ASCII digits only.
inline bool isFormulaLetter(wchar_t character) {
    return (character >= L'A' && character <= L'Z') || (character >= L'a' && character <= L'z') ||
           static_cast<std::uint32_t>(character) > 0x7F;
}
inline bool isFormulaDigit(wchar_t character) {
    return character >= L'0' && character <= L'9';
}

} // namespace quelto::baselib

class QUELTO_EXPORT CZEBOperateVar {
public:
    // Value kinds.
    enum : int { TypeNone = 0, TypeString = 1, TypeInteger = 2, TypeReal = 3, TypeBoolean = 4 };

    CZEBOperateVar();
    CZEBOperateVar(const CZEBOperateVar& other);
    CZEBOperateVar& operator=(const CZEBOperateVar& other);
    // Moves keep a growing record list from copying every text it already holds.
    CZEBOperateVar(CZEBOperateVar&& other) noexcept;
    CZEBOperateVar& operator=(CZEBOperateVar&& other) noexcept;
    virtual ~CZEBOperateVar();

    void ZEBClear();
    void ZEBCopySet(const CZEBOperateVar& other);

    void AddParamIndex(int index);
    void AddParamIndex(const CArray<int, int>& indexes);
    int GetParamSize() const;
    // The i-th parameter index; an index outside the list throws std::invalid_argument (the framework's
    // invalid-argument exception), which the analyser's own algorithm never triggers.
    int operator[](const int& position) const;

    // TRUE for an operator record: an operation whose first character is not a formula letter.
    BOOL IsOperate() const;

    double GetDValue() const;
    int GetIValue() const;
    int GetOValue() const;
    CString GetSValue() const;

    CString m_strName;    // "SFV<n>" for generated records, the caller's name for a variable
    CString m_strOperate; // empty for a value, the operator character, or the function name
    CArray<int, int> m_arrParamIndex;
    int m_nType = TypeNone; // one of the kinds above
    CString m_strValue;
    double m_dValue = 0.0;
    int m_nValue = 0;
};
