// The right-hand side of one criterion - operator and value text, with the value read as a number once -
// and the three comparisons of an entity's value against it: text, real (with a precision for "=" and
// "!=") and integer. Operators a comparison does not know make it false.
#pragma once

#include "platform/export.h"
#include "platform/mfc_types.h"

namespace quelto::matching {

enum class RowOperator : unsigned char {
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Remainder2Equal, // "%2="
    BitAnd,          // "&"
    BitAndEqual,     // "&=": offered for integers, never true
    AbsoluteEqual,   // "||="
    Contains,
    NotContains,
    LeftEqual,
    RightEqual,
    LeftNotEqual,
    RightNotEqual,
    Wildcard,
    NotWildcard,
    Feature,
    Unknown
};

QUELTO_EXPORT RowOperator rowOperatorFromText(const CString& operatorText);

struct QUELTO_EXPORT RowOperand {
    RowOperand() = default;
    RowOperand(const CString& operatorName, const CString& valueText);

    RowOperator op = RowOperator::Unknown;
    CString operatorText;
    CString value;
    double realValue = 0.0; // the leading decimal number of the value, 0 when none
    int integerValue = 0;   // the leading integer of the value, 0 when none
    int featureNumber = 0;  // 1 to 12 when the value names a feature, else 0
};

QUELTO_EXPORT int compareText(const CString& entityText, const RowOperand& operand);
QUELTO_EXPORT int compareReal(double entityValue, const RowOperand& operand, double precision);
// "&" answers the bitwise AND itself; every other operator answers 1 or 0.
QUELTO_EXPORT int compareInteger(int entityValue, const RowOperand& operand);

} // namespace quelto::matching
