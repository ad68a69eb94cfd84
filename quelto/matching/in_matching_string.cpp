// CINMatchingString: ordinal comparisons, left and right parts, containment, the "*" wildcard with its
// anchors and in-order search, and the twelve features. Letters and digits are those of ASCII, as in
// the C locale the module's texts were always compared in.
#include "quelto/matching/in_matching_string.h"

#include "platform/wide_text.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr std::array<const wchar_t*, 12> kFeatureNames = {
    L"纯数字", L"实数",   L"大写字母",   L"小写字母",   L"字母",       L"数字和字母",
    L"无数字", L"无字母", L"无大写字母", L"无小写字母", L"全中文字符", L"无中文字符"};
constexpr int kOfferedFeatureCount = 10;

bool isUpperAscii(wchar_t character) {
    return character >= L'A' && character <= L'Z';
}
bool isLowerAscii(wchar_t character) {
    return character >= L'a' && character <= L'z';
}
bool isLetterOrDigit(wchar_t character) {
    return platform::isAsciiAlpha(character) || platform::isAsciiDigit(character);
}

// The real-number class: a sign, a digit or "." first, then digits and "."; one "." at most.
bool isRealNumberText(std::wstring_view text) {
    const wchar_t first = text.front();
    if (!platform::isAsciiDigit(first) && first != L'+' && first != L'-' && first != L'.') {
        return false;
    }
    const bool restValid = std::all_of(text.begin() + 1, text.end(), [](wchar_t character) {
        return platform::isAsciiDigit(character) || character == L'.';
    });
    return restValid && std::count(text.begin(), text.end(), L'.') <= 1;
}

// The wildcard rules on texts whose case has been settled by the caller.
bool wildcardMatches(std::wstring_view text, std::wstring pattern) {
    if (pattern.empty()) {
        pattern = L"*";
    }
    if (pattern == L"*") {
        return true;
    }
    if (text.empty()) {
        return false;
    }
    // One pass from the left, as a replace-all would do it: "***" becomes "**".
    std::wstring collapsed;
    collapsed.reserve(pattern.size());
    for (std::size_t index = 0; index < pattern.size(); ++index) {
        collapsed.push_back(pattern[index]);
        if (pattern[index] == L'*' && index + 1 < pattern.size() && pattern[index + 1] == L'*') {
            ++index;
        }
    }
    CStringArray pieces;
    CINMatchingString::SplitString(collapsed, pieces);
    if (pieces.size() == 1) {
        return text == pieces.front();
    }
    const std::wstring& first = pieces.front();
    const std::wstring& last = pieces.back();
    if (!first.empty() && !text.starts_with(first)) {
        return false;
    }
    if (!last.empty() && !text.ends_with(last)) {
        return false;
    }
    const std::size_t begin = first.empty() ? 1 : 0;
    const std::size_t end = last.empty() ? pieces.size() - 1 : pieces.size();
    std::wstring_view remaining = text;
    for (std::size_t index = begin; index < end; ++index) {
        const std::size_t found = remaining.find(pieces[index]);
        if (found == std::wstring_view::npos) {
            return false;
        }
        remaining.remove_prefix(found + pieces[index].size());
    }
    return true;
}

} // namespace

int CINMatchingString::Match(const CString& text, const CString& pattern, int caseArgument, int code) {
    if (code == MatchFeature) {
        return Feature(text, caseArgument);
    }
    CString left = text;
    CString right = pattern;
    if (caseArgument == 0) {
        left = platform::toUpperAscii(left);
        right = platform::toUpperAscii(right);
    }
    const std::size_t length = right.size();
    const auto leftPart = [&] { return std::wstring_view(left).substr(0, length); };
    const auto rightPart = [&] {
        return left.size() <= length ? std::wstring_view(left)
                                     : std::wstring_view(left).substr(left.size() - length);
    };
    switch (code) {
    case MatchEqual:
        return left == right ? 1 : 0;
    case MatchNotEqual:
        return left != right ? 1 : 0;
    case MatchGreater:
        return left > right ? 1 : 0;
    case MatchGreaterEqual:
        return left >= right ? 1 : 0;
    case MatchLess:
        return left < right ? 1 : 0;
    case MatchLessEqual:
        return left <= right ? 1 : 0;
    case MatchLeftEqual:
        return leftPart() == right ? 1 : 0;
    case MatchLeftNotEqual:
        return leftPart() != right ? 1 : 0;
    case MatchRightEqual:
        return rightPart() == right ? 1 : 0;
    case MatchRightNotEqual:
        return rightPart() != right ? 1 : 0;
    case MatchWildcard:
        return wildcardMatches(left, right) ? 1 : 0;
    case MatchNotWildcard:
        return wildcardMatches(left, right) ? 0 : 1;
    case MatchContains:
        return left.find(right) != CString::npos ? 1 : 0;
    case MatchNotContains:
        return left.find(right) == CString::npos ? 1 : 0;
    default:
        return 0;
    }
}

int CINMatchingString::Wildcard(const CString& text, const CString& pattern, int caseFlag) {
    if (caseFlag == 0) {
        return wildcardMatches(platform::toUpperAscii(text), platform::toUpperAscii(pattern)) ? 1 : 0;
    }
    return wildcardMatches(text, pattern) ? 1 : 0;
}

int CINMatchingString::Feature(const CString& text, int featureNumber) {
    if (text.empty()) {
        return 1;
    }
    const auto all = [&](auto test) { return std::all_of(text.begin(), text.end(), test) ? 1 : 0; };
    const auto none = [&](auto test) { return std::none_of(text.begin(), text.end(), test) ? 1 : 0; };
    switch (featureNumber) {
    case 1:
        return all(platform::isAsciiDigit);
    case 2:
        return isRealNumberText(text) ? 1 : 0;
    case 3:
        return all(platform::isAsciiAlpha) && none(isLowerAscii);
    case 4:
        return all(platform::isAsciiAlpha) && none(isUpperAscii);
    case 5:
        return all(platform::isAsciiAlpha);
    case 6:
        return all(isLetterOrDigit);
    case 7:
        return none(platform::isAsciiDigit);
    case 8:
        return none(platform::isAsciiAlpha);
    case 9:
        return none(isUpperAscii);
    case 10:
        return none(isLowerAscii);
    default:
        // The two Chinese-character classes were never implemented; no text belongs to them.
        return 0;
    }
}

int CINMatchingString::GetFeatureCount() {
    return kOfferedFeatureCount;
}

CString CINMatchingString::GetFeatureName(int index) {
    if (index < 0 || index >= static_cast<int>(kFeatureNames.size())) {
        return CString();
    }
    return kFeatureNames[static_cast<std::size_t>(index)];
}

int CINMatchingString::GetFeatureIndex(const CString& name) {
    const auto found = std::find(kFeatureNames.begin(), kFeatureNames.end(), name);
    return found == kFeatureNames.end() ? -1 : static_cast<int>(found - kFeatureNames.begin());
}

int CINMatchingString::SplitString(const CString& text, CStringArray& pieces) {
    std::size_t start = 0;
    for (std::size_t star = text.find(L'*'); star != CString::npos; star = text.find(L'*', start)) {
        pieces.push_back(text.substr(start, star - start));
        start = star + 1;
    }
    pieces.push_back(text.substr(start));
    return static_cast<int>(pieces.size());
}
