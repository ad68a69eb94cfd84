// Code page names of DXF headers, and the escapes AutoCAD uses inside string values. Text that is plain
// ASCII without escape characters (nearly all of a drawing) takes a fast path that needs no iconv.
#include "cad/dxf/text_codec.h"

#include "platform/code_page.h"
#include "platform/hex_digits.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace cad::dxf {

namespace {

struct CodePageName {
    std::string_view dwgName; // upper case
    std::string_view codeSet;
};

// The names AutoCAD writes into $DWGCODEPAGE. "ASCII" is written by some programs for Western drawings;
// CP1252 is its superset and what those programs actually store. Shift-JIS goes through CP932 because
// iconv's SHIFT_JIS turns 0x5C into a yen sign, which would break the backslash escapes.
constexpr std::array kCodePageNames{
    CodePageName{"ANSI_874", "CP874"},       CodePageName{"ANSI_932", "CP932"},
    CodePageName{"ANSI_936", "GBK"},         CodePageName{"ANSI_949", "CP949"},
    CodePageName{"ANSI_950", "CP950"},       CodePageName{"ANSI_1250", "CP1250"},
    CodePageName{"ANSI_1251", "CP1251"},     CodePageName{"ANSI_1252", "CP1252"},
    CodePageName{"ANSI_1253", "CP1253"},     CodePageName{"ANSI_1254", "CP1254"},
    CodePageName{"ANSI_1255", "CP1255"},     CodePageName{"ANSI_1256", "CP1256"},
    CodePageName{"ANSI_1257", "CP1257"},     CodePageName{"ANSI_1258", "CP1258"},
    CodePageName{"ANSI_1361", "JOHAB"},      CodePageName{"DOS437", "CP437"},
    CodePageName{"DOS850", "CP850"},         CodePageName{"DOS852", "CP852"},
    CodePageName{"DOS855", "CP855"},         CodePageName{"DOS857", "CP857"},
    CodePageName{"DOS860", "CP860"},         CodePageName{"DOS861", "CP861"},
    CodePageName{"DOS863", "CP863"},         CodePageName{"DOS864", "CP864"},
    CodePageName{"DOS865", "CP865"},         CodePageName{"DOS866", "CP866"},
    CodePageName{"DOS869", "CP869"},         CodePageName{"DOS932", "CP932"},
    CodePageName{"MACINTOSH", "MACINTOSH"},  CodePageName{"MAC-ROMAN", "MACINTOSH"},
    CodePageName{"BIG5", "CP950"},           CodePageName{"KSC5601", "CP949"},
    CodePageName{"JOHAB", "JOHAB"},          CodePageName{"GB2312", "GBK"},
    CodePageName{"ISO8859-1", "ISO-8859-1"}, CodePageName{"ISO8859-2", "ISO-8859-2"},
    CodePageName{"ISO8859-3", "ISO-8859-3"}, CodePageName{"ISO8859-4", "ISO-8859-4"},
    CodePageName{"ISO8859-5", "ISO-8859-5"}, CodePageName{"ISO8859-6", "ISO-8859-6"},
    CodePageName{"ISO8859-7", "ISO-8859-7"}, CodePageName{"ISO8859-8", "ISO-8859-8"},
    CodePageName{"ISO8859-9", "ISO-8859-9"}, CodePageName{"ASCII", "CP1252"},
    CodePageName{"UTF8", "UTF-8"},           CodePageName{"UTF-8", "UTF-8"},
};

constexpr std::string_view kDefaultCodeSet = "CP1252";

// Four hex digits at `text[start]`, or -1.
int fourHexDigits(std::wstring_view text, std::size_t start) noexcept {
    if (start + 4 > text.size()) {
        return -1;
    }
    int value = 0;
    for (std::size_t index = start; index < start + 4; ++index) {
        const int digit = platform::hexDigitValue(text[index]);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

// Caret encoding: "^" followed by '@'..'_' stands for the control character 0x00..0x1F, "^ " for '^'.
bool isCaretFollower(wchar_t character) noexcept {
    return character == L' ' || (character >= 0x40 && character <= 0x5F);
}

std::wstring unescape(std::wstring_view text) {
    std::wstring result;
    result.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        const wchar_t character = text[index];
        if (character == L'^' && index + 1 < text.size() && isCaretFollower(text[index + 1])) {
            const wchar_t follower = text[index + 1];
            result.push_back(follower == L' ' ? L'^' : static_cast<wchar_t>(follower - 0x40));
            ++index;
            continue;
        }
        if (character != L'\\') {
            result.push_back(character);
            continue;
        }
        if (const int unit = unicodeEscapeAt(text, index); unit >= 0) {
            index += 6;
            // Characters beyond the basic plane are written as two escapes holding a surrogate pair.
            const int low = unit >= 0xD800 && unit <= 0xDBFF ? unicodeEscapeAt(text, index + 1) : -1;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                result.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                index += 7;
            } else if (unit >= 0xD800 && unit <= 0xDFFF) {
                result.push_back(static_cast<wchar_t>(0xFFFD));
            } else {
                result.push_back(static_cast<wchar_t>(unit));
            }
            continue;
        }
        // "\M+nXXXX": a double-byte character of an East Asian code page n, written by R12-era programs.
        if (index + 8 <= text.size() && text[index + 1] == L'M' && text[index + 2] == L'+' &&
            text[index + 3] >= L'1' && text[index + 3] <= L'5') {
            const int code = fourHexDigits(text, index + 4);
            if (code >= 0) {
                const std::string page = codeSetForMultibyteEscape(text[index + 3] - L'0');
                const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
                platform::ConversionError error;
                const std::wstring decoded =
                    platform::decodeBytes(std::string_view(bytes, 2), page, &error, false);
                if (error.message.empty() && decoded.size() == 1) {
                    result += decoded;
                    index += 7;
                    continue;
                }
            }
        }
        result.push_back(character);
    }
    return result;
}

void appendUnicodeEscape(std::string& out, std::uint32_t unit) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\U+%04X", unit & 0xFFFF);
    out += buffer;
}

void appendEscapedCharacter(std::string& out, wchar_t character) {
    const auto codePoint = static_cast<std::uint32_t>(character);
    if (codePoint >= 0x10000 && codePoint <= 0x10FFFF) {
        appendUnicodeEscape(out, 0xD800 + ((codePoint - 0x10000) >> 10));
        appendUnicodeEscape(out, 0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else {
        appendUnicodeEscape(out, codePoint);
    }
}

// Encodes a run of non-ASCII characters; what the code page cannot hold becomes \U+XXXX.
void encodeRun(std::wstring_view run, const std::string& codeSet, std::string& out) {
    while (!run.empty()) {
        platform::ConversionError error;
        const std::string bytes = platform::encodeText(run, codeSet, &error, false);
        if (error.message.empty()) {
            out += bytes;
            return;
        }
        const std::size_t failedAt = std::min(error.byteOffset, run.size() - 1);
        if (failedAt > 0) {
            out += platform::encodeText(run.substr(0, failedAt), codeSet, nullptr, true);
        }
        appendEscapedCharacter(out, run[failedAt]);
        run.remove_prefix(failedAt + 1);
    }
}

} // namespace

int unicodeEscapeAt(std::wstring_view text, std::size_t start) noexcept {
    if (start + 7 > text.size() || text[start] != L'\\' || text[start + 1] != L'U' ||
        text[start + 2] != L'+') {
        return -1;
    }
    return fourHexDigits(text, start + 3);
}

int acadVersionNumber(std::string_view acadVersion) noexcept {
    while (!acadVersion.empty() && (acadVersion.back() == ' ' || acadVersion.back() == '\t')) {
        acadVersion.remove_suffix(1);
    }
    if (acadVersion.size() != 6 || (acadVersion[0] != 'A' && acadVersion[0] != 'a') ||
        (acadVersion[1] != 'C' && acadVersion[1] != 'c')) {
        return 0;
    }
    int number = 0;
    for (std::size_t index = 2; index < 6; ++index) {
        if (acadVersion[index] < '0' || acadVersion[index] > '9') {
            return 0;
        }
        number = number * 10 + (acadVersion[index] - '0');
    }
    return number;
}

std::string codeSetForCodePage(std::string_view dwgCodePage) {
    std::string upper(dwgCodePage);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char character) {
        return character >= 'a' && character <= 'z' ? character - 32 : character;
    });
    for (const CodePageName& entry : kCodePageNames) {
        if (entry.dwgName == upper) {
            return std::string(entry.codeSet);
        }
    }
    return {};
}

std::string codeSetForMultibyteEscape(int index) {
    switch (index) {
    case 1:
        return "CP932";
    case 2:
        return "CP950";
    case 3:
        return "CP949";
    case 4:
        return "JOHAB";
    case 5:
        return "GBK";
    default:
        return {};
    }
}

TextCodec::TextCodec() : m_codeSet(kDefaultCodeSet), m_fallbackCodeSet(kDefaultCodeSet) {}

TextCodec::TextCodec(int acadVersion, std::string_view dwgCodePage) {
    m_fallbackCodeSet = codeSetForCodePage(dwgCodePage);
    if (m_fallbackCodeSet.empty() || m_fallbackCodeSet == "UTF-8") {
        m_fallbackCodeSet = kDefaultCodeSet;
    }
    m_codeSet = acadVersion >= kFirstUtf8Version ? std::string("UTF-8") : codeSetForCodePage(dwgCodePage);
    if (m_codeSet.empty()) {
        m_codeSet = kDefaultCodeSet;
    }
    m_utf8 = m_codeSet == "UTF-8";
}

TextCodec TextCodec::utf8() {
    return TextCodec(kFirstUtf8Version, {});
}

std::wstring TextCodec::decode(std::string_view bytes) const {
    bool ascii = true;
    bool escapes = false;
    for (const char byte : bytes) {
        ascii = ascii && static_cast<unsigned char>(byte) < 0x80;
        escapes = escapes || byte == '\\' || byte == '^';
    }
    std::wstring text;
    if (ascii) {
        text.assign(bytes.begin(), bytes.end());
    } else if (m_utf8) {
        text = platform::utf8ToWide(bytes);
        // Some exporters label a drawing R2007+ but still write code page bytes; U+FFFD that was not in the
        // input shows it, and the drawing's code page then reads what UTF-8 could not.
        if (text.find(L'\uFFFD') != std::wstring::npos &&
            bytes.find("\xEF\xBF\xBD") == std::string_view::npos) {
            text = platform::decodeBytes(bytes, m_fallbackCodeSet);
        }
    } else {
        text = platform::decodeBytes(bytes, m_codeSet);
    }
    return escapes ? unescape(text) : text;
}

std::string TextCodec::encode(std::wstring_view text) const {
    std::string out;
    out.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        const wchar_t character = text[index];
        if (character >= 0 && character < 0x20) {
            out += '^';
            out += static_cast<char>(character + 0x40);
        } else if (character == L'^') {
            const bool ambiguous = index + 1 < text.size() && isCaretFollower(text[index + 1]);
            out += ambiguous ? "^ " : "^";
        } else if (character < 0x80) {
            out += static_cast<char>(character);
        } else {
            std::size_t runEnd = index;
            while (runEnd < text.size() && text[runEnd] >= 0x80) {
                ++runEnd;
            }
            const std::wstring_view run = text.substr(index, runEnd - index);
            if (m_utf8) {
                out += platform::wideToUtf8(run);
            } else {
                encodeRun(run, m_codeSet, out);
            }
            index = runEnd - 1;
        }
    }
    return out;
}

} // namespace cad::dxf
