// UTF-8 and UTF-16 by hand (they are hot in file reading and need no tables); everything else via iconv.

#include "platform/code_page.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <iconv.h>
#include <langinfo.h>

namespace platform {
namespace {

constexpr wchar_t kReplacementCharacter = 0xFFFD;

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

bool isSurrogate(char32_t codePoint) {
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid()) {
            iconv_close(m_handle);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_handle; }

private:
    iconv_t m_handle;
};

// Runs iconv over the whole input. On an invalid or incomplete sequence either stops with an error or
// writes `replacement` and skips one input unit of `skipWidth` bytes.
std::string convertBytes(std::string_view input, const char* to, const char* from, std::size_t skipWidth,
                         std::string_view replacement, ConversionError* error, bool replaceInvalid) {
    IconvHandle handle(to, from);
    if (!handle.valid()) {
        if (error != nullptr) {
            *error = {0, std::string("unknown code set conversion from ") + from + " to " + to};
        }
        return {};
    }
    std::string output;
    output.resize(input.size() * 4 + 16);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t outUsed = 0;
    while (inLeft > 0) {
        char* out = output.data() + outUsed;
        std::size_t outLeft = output.size() - outUsed;
        const std::size_t result = iconv(handle.get(), &in, &inLeft, &out, &outLeft);
        outUsed = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        const std::size_t offset = input.size() - inLeft;
        if (!replaceInvalid) {
            if (error != nullptr) {
                *error = {offset, errno == EINVAL ? "incomplete multibyte sequence at the end"
                                                  : "invalid multibyte sequence"};
            }
            return {};
        }
        output.resize(outUsed);
        output.append(replacement);
        outUsed = output.size();
        output.resize(outUsed + inLeft * 4 + 16);
        const std::size_t skip = std::min(skipWidth, inLeft);
        in += skip;
        inLeft -= skip;
    }
    output.resize(outUsed);
    return output;
}

} // namespace

std::wstring utf8ToWide(std::string_view bytes) {
    std::wstring result;
    result.reserve(bytes.size());
    std::size_t position = 0;
    while (position < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[position]);
        if (lead < 0x80) {
            result.push_back(static_cast<wchar_t>(lead));
            ++position;
            continue;
        }
        int length = 0;
        char32_t codePoint = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            codePoint = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            codePoint = lead & 0x07;
        }
        bool valid = length > 0 && position + length <= bytes.size();
        for (int index = 1; valid && index < length; ++index) {
            const unsigned char continuation = static_cast<unsigned char>(bytes[position + index]);
            valid = (continuation & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (continuation & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!valid || codePoint < kSmallest[length] || codePoint > 0x10FFFF || isSurrogate(codePoint)) {
            result.push_back(kReplacementCharacter);
            ++position;
            continue;
        }
        result.push_back(static_cast<wchar_t>(codePoint));
        position += static_cast<std::size_t>(length);
    }
    return result;
}

std::string wideToUtf8(std::wstring_view text) {
    std::string result;
    result.reserve(text.size());
    for (const wchar_t character : text) {
        char32_t codePoint = static_cast<char32_t>(character);
        if (codePoint > 0x10FFFF || isSurrogate(codePoint)) {
            codePoint = kReplacementCharacter;
        }
        appendUtf8(result, codePoint);
    }
    return result;
}

std::wstring utf16LeToWide(std::string_view bytes) {
    std::wstring result;
    result.reserve(bytes.size() / 2);
    auto unitAt = [&](std::size_t index) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * index]) |
                                     (static_cast<unsigned char>(bytes[2 * index + 1]) << 8));
    };
    const std::size_t units = bytes.size() / 2;
    for (std::size_t index = 0; index < units; ++index) {
        const char32_t unit = unitAt(index);
        if (unit >= 0xD800 && unit <= 0xDBFF && index + 1 < units) {
            const char32_t low = unitAt(index + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                result.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                ++index;
                continue;
            }
        }
        result.push_back(isSurrogate(unit) ? kReplacementCharacter : static_cast<wchar_t>(unit));
    }
    return result;
}

std::string wideToUtf16Le(std::wstring_view text) {
    std::string result;
    result.reserve(text.size() * 2);
    auto appendUnit = [&](char32_t unit) {
        result.push_back(static_cast<char>(unit & 0xFF));
        result.push_back(static_cast<char>((unit >> 8) & 0xFF));
    };
    for (const wchar_t character : text) {
        char32_t codePoint = static_cast<char32_t>(character);
        if (codePoint > 0x10FFFF || isSurrogate(codePoint)) {
            codePoint = kReplacementCharacter;
        }
        if (codePoint >= 0x10000) {
            appendUnit(0xD800 + ((codePoint - 0x10000) >> 10));
            appendUnit(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            appendUnit(codePoint);
        }
    }
    return result;
}

bool isKnownCodeSet(const std::string& codeSet) {
    return IconvHandle("WCHAR_T", codeSet.c_str()).valid();
}

std::wstring decodeBytes(std::string_view bytes, const std::string& codeSet, ConversionError* error,
                         bool replaceInvalid) {
    const char32_t replacement = kReplacementCharacter;
    const std::string raw =
        convertBytes(bytes, "UTF-32LE", codeSet.c_str(), 1,
                     std::string_view(reinterpret_cast<const char*>(&replacement), sizeof replacement), error,
                     replaceInvalid);
    std::wstring result(raw.size() / 4, L'\0');
    for (std::size_t index = 0; index < result.size(); ++index) {
        const auto* unit = reinterpret_cast<const unsigned char*>(raw.data() + 4 * index);
        result[index] = static_cast<wchar_t>(unit[0] | (unit[1] << 8) | (unit[2] << 16) | (unit[3] << 24));
    }
    return result;
}

std::string encodeText(std::wstring_view text, const std::string& codeSet, ConversionError* error,
                       bool replaceInvalid) {
    std::string raw;
    raw.reserve(text.size() * 4);
    for (const wchar_t character : text) {
        const auto codePoint = static_cast<std::uint32_t>(character);
        for (int shift = 0; shift < 32; shift += 8) {
            raw.push_back(static_cast<char>((codePoint >> shift) & 0xFF));
        }
    }
    std::string result = convertBytes(raw, codeSet.c_str(), "UTF-32LE", 4, "?", error, replaceInvalid);
    if (error != nullptr) {
        error->byteOffset /= 4; // report the position as a character index of the text
    }
    return result;
}

std::string systemCodeSet() {
    if (const char* forced = std::getenv("QUELTO_SYSTEM_CODESET"); forced != nullptr && *forced != '\0') {
        return forced;
    }
    const char* codeSet = nl_langinfo(CODESET);
    return codeSet != nullptr && *codeSet != '\0' ? codeSet : "UTF-8";
}

} // namespace platform
