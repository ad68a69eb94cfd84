// Compilation and matching of host wild-card patterns. Every token but '*' consumes exactly one
// character, so matching an alternative is the two-cursor walk that backs up to the last '*'.

#include "cad/ed/wildcard_pattern.h"

#include "cad/ed/resbuf.h"

#include <algorithm>

namespace cad::ed {
namespace {

bool isDigit(wchar_t character) {
    return character >= L'0' && character <= L'9';
}

} // namespace

wchar_t foldCase(wchar_t character) {
    const auto shifted = [character](int offset) { return static_cast<wchar_t>(character + offset); };
    if (character < 0x80) {
        return character >= L'a' && character <= L'z' ? shifted(-32) : character;
    }
    if (character >= 0xE0 && character <= 0xFE && character != 0xF7) {
        return shifted(-32);
    }
    if (character == 0xFF) {
        return 0x178;
    }
    // Latin Extended-A pairs its letters upper-lower: even-odd in most runs, odd-even in two.
    const bool evenUpperRun = (character >= 0x100 && character <= 0x12F) ||
                              (character >= 0x132 && character <= 0x137) ||
                              (character >= 0x14A && character <= 0x177);
    const bool oddUpperRun =
        (character >= 0x139 && character <= 0x148) || (character >= 0x179 && character <= 0x17E);
    if ((evenUpperRun && character % 2 == 1) || (oddUpperRun && character % 2 == 0)) {
        return shifted(-1);
    }
    if (character == 0x3C2) { // final sigma
        return 0x3A3;
    }
    if ((character >= 0x3B1 && character <= 0x3C9) || (character >= 0x430 && character <= 0x44F) ||
        (character >= 0xFF41 && character <= 0xFF5A)) {
        return shifted(-32);
    }
    if (character >= 0x450 && character <= 0x45F) {
        return shifted(-80);
    }
    return character;
}

std::size_t WildcardPattern::classEnd(std::wstring_view text, std::size_t open) {
    // Inside brackets every character is literal; '~' first negates, and a ']' right after the opening
    // (or after "[~") is a member rather than the end. An unclosed class is a literal '['.
    std::size_t cursor = open + 1;
    if (cursor < text.size() && text[cursor] == L'~') {
        ++cursor;
    }
    if (cursor < text.size() && text[cursor] == L']') {
        ++cursor;
    }
    const std::size_t end = text.find(L']', cursor);
    return end;
}

bool isWildcardLetter(wchar_t character) {
    const auto code = static_cast<unsigned long>(character);
    if ((code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z')) {
        return true;
    }
    if (code >= 0xC0 && code <= 0x24F) {
        return code != 0xD7 && code != 0xF7;
    }
    return (code >= 0x370 && code <= 0x52F) || (code >= 0x3040 && code <= 0x30FF) ||
           (code >= 0x3400 && code <= 0x4DBF) || (code >= 0x4E00 && code <= 0x9FFF) ||
           (code >= 0xAC00 && code <= 0xD7AF) || (code >= 0xF900 && code <= 0xFAFF);
}

WildcardPattern::WildcardPattern(std::wstring_view pattern, bool ignoreCase) : m_ignoreCase(ignoreCase) {
    // Alternatives are split at commas that are neither escaped nor inside a character class.
    std::size_t start = 0;
    std::size_t index = 0;
    while (index < pattern.size()) {
        const wchar_t character = pattern[index];
        if (character == L'`') {
            index += 2;
        } else if (character == L'[' && classEnd(pattern, index) != std::wstring_view::npos) {
            index = classEnd(pattern, index) + 1;
        } else if (character == L',') {
            m_alternatives.push_back(compileAlternative(pattern.substr(start, index - start), ignoreCase));
            start = ++index;
        } else {
            ++index;
        }
    }
    m_alternatives.push_back(compileAlternative(pattern.substr(std::min(start, pattern.size())), ignoreCase));
    for (const Alternative& alternative : m_alternatives) {
        if (alternative.negated || m_alternatives.size() > 1) {
            m_literal = false;
        }
        for (const Token& token : alternative.tokens) {
            if (token.kind != TokenKind::Literal) {
                m_literal = false;
            }
        }
    }
}

WildcardPattern::Alternative WildcardPattern::compileAlternative(std::wstring_view text, bool ignoreCase) {
    Alternative alternative;
    std::size_t index = 0;
    if (!text.empty() && text[0] == L'~') {
        alternative.negated = true;
        index = 1;
    }
    const auto fold = [ignoreCase](wchar_t character) {
        return ignoreCase ? foldCase(character) : character;
    };
    while (index < text.size()) {
        const wchar_t character = text[index++];
        Token token;
        switch (character) {
        case L'#':
            token.kind = TokenKind::Digit;
            break;
        case L'@':
            token.kind = TokenKind::Letter;
            break;
        case L'.':
            token.kind = TokenKind::NonAlphanumeric;
            break;
        case L'?':
            token.kind = TokenKind::AnyCharacter;
            break;
        case L'*':
            token.kind = TokenKind::AnyRun;
            break;
        case L'`':
            // A trailing back-quote has nothing to escape and stands for itself.
            token.character = fold(index < text.size() ? text[index++] : L'`');
            break;
        case L'[': {
            const std::size_t end = classEnd(text, index - 1);
            if (end == std::wstring_view::npos) {
                token.character = L'[';
                break;
            }
            token.kind = TokenKind::Class;
            std::size_t cursor = index;
            if (text[cursor] == L'~') {
                token.negated = true;
                ++cursor;
            }
            while (cursor < end) {
                wchar_t low = text[cursor];
                wchar_t high = low;
                if (cursor + 2 < end && text[cursor + 1] == L'-') {
                    high = text[cursor + 2];
                    cursor += 2;
                }
                token.ranges.emplace_back(fold(low), fold(high));
                ++cursor;
            }
            index = end + 1;
            break;
        }
        default:
            token.character = fold(character);
            break;
        }
        alternative.tokens.push_back(std::move(token));
    }
    return alternative;
}

bool WildcardPattern::tokenMatches(const Token& token, wchar_t character) const {
    switch (token.kind) {
    case TokenKind::Literal:
        return (m_ignoreCase ? foldCase(character) : character) == token.character;
    case TokenKind::Digit:
        return isDigit(character);
    case TokenKind::Letter:
        return isWildcardLetter(character);
    case TokenKind::NonAlphanumeric:
        return !isDigit(character) && !isWildcardLetter(character);
    case TokenKind::AnyCharacter:
        return true;
    case TokenKind::AnyRun:
        return false;
    case TokenKind::Class: {
        const wchar_t folded = m_ignoreCase ? foldCase(character) : character;
        bool member = false;
        for (const auto& [low, high] : token.ranges) {
            if (folded >= low && folded <= high) {
                member = true;
                break;
            }
        }
        return member != token.negated;
    }
    }
    return false;
}

bool WildcardPattern::alternativeMatches(const Alternative& alternative, std::wstring_view text) const {
    const std::vector<Token>& tokens = alternative.tokens;
    std::size_t textIndex = 0;
    std::size_t tokenIndex = 0;
    std::size_t starToken = tokens.size();
    std::size_t starText = 0;
    bool matched = true;
    while (textIndex < text.size()) {
        if (tokenIndex < tokens.size() && tokens[tokenIndex].kind == TokenKind::AnyRun) {
            starToken = tokenIndex++;
            starText = textIndex;
        } else if (tokenIndex < tokens.size() && tokenMatches(tokens[tokenIndex], text[textIndex])) {
            ++tokenIndex;
            ++textIndex;
        } else if (starToken != tokens.size()) {
            tokenIndex = starToken + 1;
            textIndex = ++starText;
        } else {
            matched = false;
            break;
        }
    }
    if (matched) {
        while (tokenIndex < tokens.size() && tokens[tokenIndex].kind == TokenKind::AnyRun) {
            ++tokenIndex;
        }
        matched = tokenIndex == tokens.size();
    }
    return matched != alternative.negated;
}

bool WildcardPattern::matches(std::wstring_view text) const {
    for (const Alternative& alternative : m_alternatives) {
        if (alternativeMatches(alternative, text)) {
            return true;
        }
    }
    return false;
}

} // namespace cad::ed

int acutWcMatchEx(const wchar_t* text, const wchar_t* pattern, bool ignoreCase) {
    if (text == nullptr || pattern == nullptr) {
        return RTERROR;
    }
    return cad::ed::WildcardPattern(pattern, ignoreCase).matches(text) ? RTNORM : RTERROR;
}

int acutWcMatch(const wchar_t* text, const wchar_t* pattern) {
    return acutWcMatchEx(text, pattern, false);
}
