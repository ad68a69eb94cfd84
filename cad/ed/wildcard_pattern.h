// Wild-card patterns of the host (acutWcMatch): '#' digit, '@' letter, '.' non-alphanumeric, '*' any run,
// '?' any character, a leading '~' negates, '[...]' / '[~...]' character classes with ranges, ',' between
// alternatives, and '`' taking the next character literally. Compiled once, matched many times.
#pragma once

#include "platform/export.h"

#include <string>
#include <string_view>
#include <vector>

namespace cad::ed {

class QUELTO_EXPORT WildcardPattern {
public:
    // Case-insensitive patterns compare letters as foldCase does (selection filters on names); the
    // interface's acutWcMatch is case-sensitive.
    explicit WildcardPattern(std::wstring_view pattern, bool ignoreCase = false);

    bool matches(std::wstring_view text) const;
    // True when the pattern has no wild-card character at all, so an equality test would do.
    bool isLiteral() const { return m_literal; }

private:
    enum class TokenKind { Literal, Digit, Letter, NonAlphanumeric, AnyCharacter, AnyRun, Class };
    struct Token {
        TokenKind kind = TokenKind::Literal;
        wchar_t character = 0;
        bool negated = false;
        std::vector<std::pair<wchar_t, wchar_t>> ranges;
    };
    struct Alternative {
        bool negated = false;
        std::vector<Token> tokens;
    };

    // Index of the ']' that closes the class opened at `open`, npos when it is never closed.
    static std::size_t classEnd(std::wstring_view text, std::size_t open);
    static Alternative compileAlternative(std::wstring_view text, bool ignoreCase);
    bool tokenMatches(const Token& token, wchar_t character) const;
    bool alternativeMatches(const Alternative& alternative, std::wstring_view text) const;

    std::vector<Alternative> m_alternatives;
    bool m_ignoreCase;
    bool m_literal = true;
};

// Letters for '@' and the opposite of '.': ASCII letters, and the letters and ideographs of the scripts a
// drawing's names are written in (Latin, Greek, Cyrillic, kana, CJK, Hangul), so the answer never depends
// on the process locale.
QUELTO_EXPORT bool isWildcardLetter(wchar_t character);

// The capital of a letter as the host compares names without case: ASCII, Latin-1 and Latin
// Extended-A, Greek, Cyrillic and full-width Latin letters; anything else is itself.
QUELTO_EXPORT wchar_t foldCase(wchar_t character);

} // namespace cad::ed

// RTNORM when the text matches the pattern, RTERROR when it does not (or either is null).
QUELTO_EXPORT int acutWcMatch(const wchar_t* text, const wchar_t* pattern);
QUELTO_EXPORT int acutWcMatchEx(const wchar_t* text, const wchar_t* pattern, bool ignoreCase);
