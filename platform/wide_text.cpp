// Locale-independent number reading and printf-style formatting of wide text.
// Formatting runs vswprintf under a private "C" locale so that a Qt application, which sets the
// process locale from the environment, cannot turn the decimal point into a comma.

#include "platform/wide_text.h"

#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cwchar>
#include <locale.h>
#include <vector>

namespace platform {
namespace {

bool isWhiteSpace(wchar_t character) {
    return character == L' ' || (character >= L'\t' && character <= L'\r');
}

// The C locale, made once and shared by every formatting call of the process.
locale_t classicLocale() {
    static const locale_t kLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return kLocale;
}

// Rewrites a format written for the Windows runtime into one for glibc's wide printf:
// %s/%c there take wide arguments, here %ls/%lc do; %S/%C take narrow ones.
std::wstring translateFormat(const wchar_t* format) {
    std::wstring result;
    for (const wchar_t* position = format; *position != L'\0'; ++position) {
        result.push_back(*position);
        if (*position != L'%') {
            continue;
        }
        ++position;
        if (*position == L'%') {
            result.push_back(L'%');
            continue;
        }
        // flags, width, precision
        while (*position != L'\0' && std::wcschr(L"-+ #0123456789.*", *position) != nullptr) {
            result.push_back(*position++);
        }
        bool hasLengthModifier = false;
        while (*position != L'\0' && std::wcschr(L"hlLqjzt", *position) != nullptr) {
            hasLengthModifier = true;
            result.push_back(*position++);
        }
        if (*position == L'\0') {
            break;
        }
        const wchar_t conversion = *position;
        if ((conversion == L's' || conversion == L'c') && !hasLengthModifier) {
            result.push_back(L'l');
            result.push_back(conversion);
        } else if (conversion == L'S' || conversion == L'C') {
            result.push_back(L'h');
            result.push_back(conversion == L'S' ? L's' : L'c');
        } else {
            result.push_back(conversion);
        }
    }
    return result;
}

} // namespace

double wideToDouble(std::wstring_view text) {
    std::size_t position = 0;
    while (position < text.size() && isWhiteSpace(text[position])) {
        ++position;
    }
    // Copy the longest prefix that looks like a number into ASCII, then let from_chars decide.
    std::string number;
    if (position < text.size() && (text[position] == L'+' || text[position] == L'-')) {
        if (text[position] == L'-') {
            number.push_back('-');
        }
        ++position;
    }
    bool hasDigits = false;
    while (position < text.size() && isAsciiDigit(text[position])) {
        number.push_back(static_cast<char>(text[position++]));
        hasDigits = true;
    }
    if (position < text.size() && text[position] == L'.') {
        if (!hasDigits) {
            number.push_back('0'); // from_chars wants a digit before the point
        }
        number.push_back('.');
        ++position;
        while (position < text.size() && isAsciiDigit(text[position])) {
            number.push_back(static_cast<char>(text[position++]));
            hasDigits = true;
        }
    }
    if (!hasDigits) {
        return 0.0;
    }
    if (position < text.size() && std::wcschr(L"eEdD", text[position]) != nullptr && text[position] != 0) {
        std::size_t exponentPosition = position + 1;
        std::string exponent = "e";
        if (exponentPosition < text.size() &&
            (text[exponentPosition] == L'+' || text[exponentPosition] == L'-')) {
            exponent.push_back(static_cast<char>(text[exponentPosition++]));
        }
        bool hasExponentDigits = false;
        while (exponentPosition < text.size() && isAsciiDigit(text[exponentPosition])) {
            exponent.push_back(static_cast<char>(text[exponentPosition++]));
            hasExponentDigits = true;
        }
        if (hasExponentDigits) {
            number += exponent;
        }
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched; the runtime answers with a signed infinity or zero.
        const bool negative = number.front() == '-';
        const bool hugeExponent = number.find("e-") == std::string::npos;
        value = hugeExponent ? (negative ? -HUGE_VAL : HUGE_VAL) : (negative ? -0.0 : 0.0);
    }
    return value;
}

int wideToInt(std::wstring_view text) {
    std::size_t position = 0;
    while (position < text.size() && isWhiteSpace(text[position])) {
        ++position;
    }
    bool negative = false;
    if (position < text.size() && (text[position] == L'+' || text[position] == L'-')) {
        negative = text[position] == L'-';
        ++position;
    }
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    while (position < text.size() && isAsciiDigit(text[position])) {
        magnitude = magnitude * 10 + (text[position++] - L'0');
        if (magnitude > limit) {
            return negative ? INT_MIN : INT_MAX;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::wstring formatWideList(const wchar_t* format, std::va_list arguments) {
    const std::wstring translated = translateFormat(format);
    const locale_t previous = uselocale(classicLocale());
    std::vector<wchar_t> buffer(256);
    std::wstring result;
    for (;;) {
        std::va_list copy;
        va_copy(copy, arguments);
        const int written = std::vswprintf(buffer.data(), buffer.size(), translated.c_str(), copy);
        va_end(copy);
        if (written >= 0) {
            result.assign(buffer.data(), static_cast<std::size_t>(written));
            break;
        }
        // vswprintf reports truncation and encoding errors alike; grow until it is clearly not space.
        if (buffer.size() > (std::size_t{1} << 26)) {
            break;
        }
        buffer.resize(buffer.size() * 4);
    }
    uselocale(previous);
    return result;
}

std::wstring formatWide(const wchar_t* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::wstring result = formatWideList(format, arguments);
    va_end(arguments);
    return result;
}

std::wstring toUpperAscii(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& character : result) {
        if (character >= L'a' && character <= L'z') {
            character = static_cast<wchar_t>(character - L'a' + L'A');
        }
    }
    return result;
}

std::wstring toLowerAscii(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& character : result) {
        if (character >= L'A' && character <= L'Z') {
            character = static_cast<wchar_t>(character - L'A' + L'a');
        }
    }
    return result;
}

bool isAsciiAlpha(wchar_t character) {
    return (character >= L'a' && character <= L'z') || (character >= L'A' && character <= L'Z');
}

bool isAsciiDigit(wchar_t character) {
    return character >= L'0' && character <= L'9';
}

} // namespace platform
