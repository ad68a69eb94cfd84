// Operator texts as the filter record stores them, read once per criterion, and the three comparisons.
// Text operators other than plain order and equality go through CINMatchingString.
#include "quelto/matching/row_operand.h"

#include "platform/wide_text.h"
#include "quelto/matching/in_matching_string.h"

#include <array>
#include <cmath>
#include <utility>

namespace quelto::matching {

namespace {

constexpr std::array<std::pair<const wchar_t*, RowOperator>, 19> kOperatorTexts = {{
    {L"=", RowOperator::Equal},
    {L"!=", RowOperator::NotEqual},
    {L"<", RowOperator::Less},
    {L"<=", RowOperator::LessEqual},
    {L">", RowOperator::Greater},
    {L">=", RowOperator::GreaterEqual},
    {L"%2=", RowOperator::Remainder2Equal},
    {L"&", RowOperator::BitAnd},
    {L"&=", RowOperator::BitAndEqual},
    {L"||=", RowOperator::AbsoluteEqual},
    {L"包含", RowOperator::Contains},
    {L"不包含", RowOperator::NotContains},
    {L"左边=", RowOperator::LeftEqual},
    {L"右边=", RowOperator::RightEqual},
    {L"左边!=", RowOperator::LeftNotEqual},
    {L"右边!=", RowOperator::RightNotEqual},
    {L"通配符", RowOperator::Wildcard},
    {L"反通配符", RowOperator::NotWildcard},
    {L"特征", RowOperator::Feature},
}};

} // namespace

RowOperator rowOperatorFromText(const CString& operatorText) {
    for (const auto& [text, op] : kOperatorTexts) {
        if (operatorText == text) {
            return op;
        }
    }
    return RowOperator::Unknown;
}

RowOperand::RowOperand(const CString& operatorName, const CString& valueText)
    : op(rowOperatorFromText(operatorName)), operatorText(operatorName), value(valueText),
      realValue(_wtof(valueText)), integerValue(_wtoi(valueText)),
      featureNumber(CINMatchingString::GetFeatureIndex(valueText) + 1) {}

// The text operators the string matcher answers: its match code, and whether case counts (plain
// comparisons keep case; only the wildcard ignores it).
struct TextMatchOperator {
    RowOperator op;
    int matchCode;
    int keepCase;
};
constexpr TextMatchOperator kTextMatchOperators[] = {
    {RowOperator::Contains, CINMatchingString::MatchContains, 1},
    {RowOperator::NotContains, CINMatchingString::MatchNotContains, 1},
    {RowOperator::LeftEqual, CINMatchingString::MatchLeftEqual, 1},
    {RowOperator::RightEqual, CINMatchingString::MatchRightEqual, 1},
    {RowOperator::LeftNotEqual, CINMatchingString::MatchLeftNotEqual, 1},
    {RowOperator::RightNotEqual, CINMatchingString::MatchRightNotEqual, 1},
    {RowOperator::Wildcard, CINMatchingString::MatchWildcard, 0},
    {RowOperator::NotWildcard, CINMatchingString::MatchNotWildcard, 0},
};

int compareText(const CString& entityText, const RowOperand& operand) {
    for (const TextMatchOperator& matcher : kTextMatchOperators) {
        if (matcher.op == operand.op) {
            return CINMatchingString::Match(entityText, operand.value, matcher.keepCase, matcher.matchCode);
        }
    }
    switch (operand.op) {
    case RowOperator::Equal:
        return entityText == operand.value ? 1 : 0;
    case RowOperator::NotEqual:
        return entityText != operand.value ? 1 : 0;
    case RowOperator::Less:
        return entityText < operand.value ? 1 : 0;
    case RowOperator::LessEqual:
        return entityText <= operand.value ? 1 : 0;
    case RowOperator::Greater:
        return entityText > operand.value ? 1 : 0;
    case RowOperator::GreaterEqual:
        return entityText >= operand.value ? 1 : 0;
    case RowOperator::Feature:
        return CINMatchingString::Match(entityText, operand.value, operand.featureNumber,
                                        CINMatchingString::MatchFeature);
    default:
        return 0;
    }
}

int compareReal(double entityValue, const RowOperand& operand, double precision) {
    const double value = operand.realValue;
    switch (operand.op) {
    case RowOperator::Equal:
        return std::fabs(entityValue - value) <= precision ? 1 : 0;
    case RowOperator::NotEqual:
        return std::fabs(entityValue - value) > precision ? 1 : 0;
    case RowOperator::Less:
        return entityValue < value ? 1 : 0;
    case RowOperator::LessEqual:
        return entityValue <= value ? 1 : 0;
    case RowOperator::Greater:
        return entityValue > value ? 1 : 0;
    case RowOperator::GreaterEqual:
        return entityValue >= value ? 1 : 0;
    case RowOperator::AbsoluteEqual:
        return std::fabs(entityValue) == value ? 1 : 0;
    default:
        return 0;
    }
}

int compareInteger(int entityValue, const RowOperand& operand) {
    const int value = operand.integerValue;
    switch (operand.op) {
    case RowOperator::Equal:
        return entityValue == value ? 1 : 0;
    case RowOperator::NotEqual:
        return entityValue != value ? 1 : 0;
    case RowOperator::Less:
        return entityValue < value ? 1 : 0;
    case RowOperator::LessEqual:
        return entityValue <= value ? 1 : 0;
    case RowOperator::Greater:
        return entityValue > value ? 1 : 0;
    case RowOperator::GreaterEqual:
        return entityValue >= value ? 1 : 0;
    case RowOperator::Remainder2Equal:
        // C's remainder keeps the sign of the dividend: -3 gives -1.
        return entityValue % 2 == value ? 1 : 0;
    case RowOperator::BitAnd:
        return entityValue & value;
    default:
        return 0;
    }
}

} // namespace quelto::matching
