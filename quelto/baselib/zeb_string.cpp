// CZEBString: static text and number operations of the base library. Number texts are produced by the
// runtime's fixed-decimal formatting (never by the process locale), so rounding follows the stored double
// exactly as the formula language has always shown it.
#include "quelto/baselib/zeb_string.h"

#include "platform/clipboard.h"
#include "platform/wide_text.h"

#include <climits>
#include <mutex>
#include <utility>

namespace {

// Plain and financial numerals for 1 to 19; index 0 is unused so that a value indexes its own entry.
const wchar_t* const kPlainNumerals[20] = {L"",     L"一",   L"二",   L"三",   L"四",   L"五",   L"六",
                                           L"七",   L"八",   L"九",   L"十",   L"十一", L"十二", L"十三",
                                           L"十四", L"十五", L"十六", L"十七", L"十八", L"十九"};
const wchar_t* const kCapitalNumerals[20] = {L"",     L"壹",   L"贰",   L"叁",   L"肆",   L"伍",   L"陆",
                                             L"柒",   L"捌",   L"玖",   L"拾",   L"拾壹", L"拾贰", L"拾叁",
                                             L"拾肆", L"拾伍", L"拾陆", L"拾柒", L"拾捌", L"拾玖"};

constexpr int kMaxColumnIndex = 18277; // ZZZ
constexpr int kMaxNumeralIndex = 1000;
constexpr int kMaxNumberIndex = 10000;
constexpr wchar_t kRomanUpperOne = L'\u2160';
constexpr wchar_t kRomanLowerOne = L'\u2170';

// Drops trailing zeros and then the point, but only from a text that has a fractional part: "100" with
// no decimals must stay 100.
void trimFraction(CString& text) {
    if (text.find(L'.') == CString::npos) {
        return;
    }
    while (!text.empty() && text.back() == L'0') {
        text.pop_back();
    }
    while (!text.empty() && text.back() == L'.') {
        text.pop_back();
    }
}

CString fixedDecimals(double x, int decimals) {
    return platform::formatWide(L"%.*f", decimals, x);
}

// The process's clipboard service, which the desktop host fills with its window system's clipboard.
CZEBClipboardAccess hostClipboard() {
    CZEBClipboardAccess access;
    access.read = [](CString& text) { return platform::readClipboardText(text) ? TRUE : FALSE; };
    access.write = [](const CString& text) { return platform::writeClipboardText(text) ? TRUE : FALSE; };
    return access;
}

// The installed clipboard; single command thread in practice, but a host may install it from elsewhere.
struct ClipboardSlot {
    std::mutex mutex;
    CZEBClipboardAccess access = hostClipboard();
};

ClipboardSlot& clipboardSlot() {
    static ClipboardSlot slot;
    return slot;
}

CZEBClipboardAccess currentClipboard() {
    ClipboardSlot& slot = clipboardSlot();
    const std::lock_guard<std::mutex> lock(slot.mutex);
    return slot.access;
}

} // namespace

CZEBString::CZEBString() = default;
CZEBString::CZEBString(const CZEBString&) = default;
CZEBString& CZEBString::operator=(const CZEBString&) = default;
CZEBString::~CZEBString() = default;

CString CZEBString::GetDoubleString(double x, int n) {
    const int decimals = (n > 10 || n < -10) ? 10 : (n < 0 ? -n : n);
    CString text = fixedDecimals(x, decimals);
    if (n < 0) {
        trimFraction(text);
    }
    return text;
}

CString CZEBString::GetFDoubleString(double x, int nMin, int nMax) {
    // The exact decimal expansion of a double ends within 1074 fractional digits, so a larger precision
    // only adds zeros that the trimming removes again; capping it keeps the formatting buffer bounded.
    constexpr int kMaxDecimals = 1100;
    const int decimals =
        (nMax > kMaxDecimals || nMax < -kMaxDecimals) ? kMaxDecimals : (nMax < 0 ? -nMax : nMax);
    CString text = fixedDecimals(x, decimals);
    trimFraction(text);
    const CString::size_type point = text.find(L'.');
    const int present = point == CString::npos ? 0 : static_cast<int>(text.size() - point - 1);
    if (present < nMin) {
        if (point == CString::npos) {
            text += L'.';
        }
        text.append(static_cast<CString::size_type>(nMin - present), L'0');
    }
    return text;
}

double CZEBString::FormatDoublePrev(double x, int n) {
    return _wtof(GetFDoubleString(x, n, n));
}

CString CZEBString::GetAlpha(int i, int bUpper) {
    if (i < 0 || i > kMaxColumnIndex) {
        return CString();
    }
    const wchar_t base = bUpper ? L'A' : L'a';
    const auto letter = [base](int offset) { return static_cast<wchar_t>(base + offset); };
    if (i <= 25) {
        return CString(1, letter(i));
    }
    if (i <= 701) {
        const int rest = i - 26;
        return CString{letter(rest / 26), letter(rest % 26)};
    }
    const int rest = i - 702;
    return CString{letter(rest / 676), letter((rest % 676) / 26), letter(rest % 26)};
}

CString CZEBString::GetChineseNumber(int i, int bCapital) {
    if (i < 0 || i > kMaxNumeralIndex) {
        return CString();
    }
    const wchar_t* const* table = bCapital ? kCapitalNumerals : kPlainNumerals;
    const int n = i + 1;
    if (n <= 19) {
        return table[n];
    }
    // Tens and units below one hundred: 二十三, 五十.
    const auto belowHundred = [table](int value) {
        CString text = table[value / 10];
        text += table[10];
        if (value % 10 != 0) {
            text += table[value % 10];
        }
        return text;
    };
    if (n <= 99) {
        return belowHundred(n);
    }
    // 1000 and 1001 keep the hundreds pattern with ten as the digit: 十百, 十百零一.
    CString text = table[n / 100];
    text += bCapital ? L"佰" : L"百";
    const int rest = n % 100;
    if (rest == 0) {
        return text;
    }
    if (rest <= 9) {
        text += L"零";
        text += table[rest];
        return text;
    }
    return text + belowHundred(rest);
}

CString CZEBString::GetNumber(int i, int nWidth) {
    if (i > kMaxNumberIndex) {
        return CString();
    }
    CString text = GetFIntString(i + 1);
    if (nWidth > static_cast<int>(text.size())) {
        text.insert(0, static_cast<CString::size_type>(nWidth) - text.size(), L'0');
    }
    return text;
}

CString CZEBString::GetRomanNum(int i, int bUpper) {
    if (i < 0 || i > kMaxNumeralIndex) {
        return CString();
    }
    const wchar_t one = bUpper ? kRomanUpperOne : kRomanLowerOne;
    const wchar_t ten = static_cast<wchar_t>(one + 9);
    const int n = i + 1;
    if (n <= 10) {
        return CString(1, static_cast<wchar_t>(one + n - 1));
    }
    CString text(static_cast<CString::size_type>(n / 10), ten);
    if (n % 10 != 0) {
        text += static_cast<wchar_t>(one + n % 10 - 1);
    }
    return text;
}

CString CZEBString::GetDefineString(int i, const CString& list) {
    if (i < 0) {
        return CString();
    }
    CString::size_type start = 0;
    for (int comma = 0; comma < i; ++comma) {
        const CString::size_type found = list.find(L',', start);
        if (found == CString::npos) {
            return CString();
        }
        start = found + 1;
    }
    const CString::size_type end = list.find(L',', start);
    return list.substr(start, end == CString::npos ? CString::npos : end - start);
}

CString CZEBString::GetFIntString(int n) {
    return platform::formatWide(L"%d", n);
}

int CZEBString::GetFIntValue(const CString& text, int bAbs) {
    const int value = _wtoi(text);
    // The runtime's abs leaves the most negative value as it is; reproduce that without overflowing.
    if (bAbs && value < 0 && value != INT_MIN) {
        return -value;
    }
    return value;
}

double CZEBString::GetFDoubleValue(const CString& text, int bAbs) {
    const double value = _wtof(text);
    return bAbs && value < 0.0 ? -value : value;
}

BOOL CZEBString::GetClipText(CString& text) {
    const CZEBClipboardAccess access = currentClipboard();
    if (!access.read) {
        return FALSE;
    }
    CString clipText;
    if (!access.read(clipText)) {
        return FALSE;
    }
    text = std::move(clipText);
    return TRUE;
}

BOOL CZEBString::SetClipText(const CString& text) {
    const CZEBClipboardAccess access = currentClipboard();
    if (!access.write) {
        return FALSE;
    }
    return access.write(text) ? TRUE : FALSE;
}

CZEBClipboardAccess CZEBString::SetClipboardAccess(CZEBClipboardAccess access) {
    ClipboardSlot& slot = clipboardSlot();
    const std::lock_guard<std::mutex> lock(slot.mutex);
    std::swap(slot.access, access);
    return access;
}
