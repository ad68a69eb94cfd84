// Text of DXF string values: drawings before R2007 store bytes in the code page named by $DWGCODEPAGE
// and spell other characters as \U+XXXX or \M+nXXXX; R2007 and later store UTF-8. Control characters are
// caret-encoded ("^J" is a line feed, "^ " a caret) in every version. Conversions go through platform/.
#pragma once

#include "platform/export.h"

#include <string>
#include <string_view>

namespace cad::dxf {

// First version that stores UTF-8 ("AC1021", R2007).
inline constexpr int kFirstUtf8Version = 1021;

// $ACADVER text ("AC1015") to its number (1015); 0 when it is not of that form.
QUELTO_EXPORT int acadVersionNumber(std::string_view acadVersion) noexcept;

// The iconv code set for a $DWGCODEPAGE value, case-insensitive ("ANSI_936" -> "GBK", "dos850" ->
// "CP850", "MAC-ROMAN" -> "MACINTOSH"); empty when the name is not one AutoCAD writes.
QUELTO_EXPORT std::string codeSetForCodePage(std::string_view dwgCodePage);

// The iconv code set of a \M+n escape's n (1 Shift-JIS, 2 Big5, 3 Wansung, 4 Johab, 5 GB2312); empty
// when n is none of them.
QUELTO_EXPORT std::string codeSetForMultibyteEscape(int index);

// The code unit of a "\U+XXXX" escape at `text[start]` (four hex digits), or -1 when there is none.
// Characters beyond the basic plane are two such escapes holding a surrogate pair.
QUELTO_EXPORT int unicodeEscapeAt(std::wstring_view text, std::size_t start) noexcept;

// Decodes and encodes the string values of one drawing.
class QUELTO_EXPORT TextCodec {
public:
    // Pre-R2007 Western drawing (ANSI_1252), the default when a file names no code page.
    TextCodec();
    // For a drawing of `acadVersion` (number as from acadVersionNumber, 0 when unknown) and
    // `dwgCodePage` ($DWGCODEPAGE text, may be empty or unknown: then ANSI_1252).
    TextCodec(int acadVersion, std::string_view dwgCodePage);
    static TextCodec utf8();

    bool isUtf8() const noexcept { return m_utf8; }
    // The iconv code set used for bytes ("UTF-8" for R2007+).
    const std::string& codeSet() const noexcept { return m_codeSet; }

    // Bytes of a string value to text: code page (or UTF-8), then \U+XXXX, \M+nXXXX and caret escapes.
    // Never fails: bytes that do not decode become U+FFFD, malformed escapes stay as written. Values of
    // UTF-8 drawings that are not UTF-8 are read in the $DWGCODEPAGE code page (else ANSI_1252).
    std::wstring decode(std::string_view bytes) const;
    // Text to the bytes of a string value: control characters caret-encoded; for pre-R2007 drawings
    // every character outside the code page becomes \U+XXXX.
    std::string encode(std::wstring_view text) const;

private:
    bool m_utf8 = false;
    std::string m_codeSet;
    std::string m_fallbackCodeSet; // for UTF-8 drawings whose bytes are not UTF-8
};

} // namespace cad::dxf
