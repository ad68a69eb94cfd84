// Conversions between wide text and the byte encodings files and the system use: UTF-8, UTF-16LE and,
// through iconv, any code set the C library knows (GBK for ANSI_936 drawings, the locale's code set for
// 8-bit archive strings). All conversions of the project live here.
#pragma once

#include "platform/export.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct ConversionError {
    std::size_t byteOffset = 0; // where in the input the conversion stopped
    std::string message;
};

// UTF-8 <-> wide. Invalid sequences decode to U+FFFD so that a damaged text never loses what follows.
QUELTO_EXPORT std::wstring utf8ToWide(std::string_view bytes);
QUELTO_EXPORT std::string wideToUtf8(std::wstring_view text);

// UTF-16LE <-> wide (surrogate pairs joined and split; a lone surrogate becomes U+FFFD).
QUELTO_EXPORT std::wstring utf16LeToWide(std::string_view bytes);
QUELTO_EXPORT std::string wideToUtf16Le(std::wstring_view text);

// Conversions through iconv with the code set's iconv name ("GBK", "CP1252", "UTF-8"). Bytes that do not
// belong to the code set are an error with their offset, unless `replaceInvalid` asks for U+FFFD / '?'.
QUELTO_EXPORT bool isKnownCodeSet(const std::string& codeSet);
QUELTO_EXPORT std::wstring decodeBytes(std::string_view bytes, const std::string& codeSet,
                                       ConversionError* error = nullptr, bool replaceInvalid = true);
QUELTO_EXPORT std::string encodeText(std::wstring_view text, const std::string& codeSet,
                                     ConversionError* error = nullptr, bool replaceInvalid = true);

// The code set of the process locale (nl_langinfo(CODESET)); the Windows "system code page" stand-in.
// QUELTO_SYSTEM_CODESET overrides it, so tests can act as a Chinese Windows system ("GBK").
QUELTO_EXPORT std::string systemCodeSet();

} // namespace platform
