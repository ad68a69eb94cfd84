// CZEBString: the base library's static text and number operations - fixed-decimal formatting, column
// letters, Chinese and Roman numerals, comma lists - and the clipboard text pair. The clipboard is the
// host's clipboard service (the desktop host's, none in the console host) unless SetClipboardAccess
// installs another.
#pragma once

#include "platform/export.h"
#include "platform/mfc_types.h"

#include <functional>

// The two clipboard operations a host supplies. Either may be empty, which reads as "no clipboard".
struct QUELTO_EXPORT CZEBClipboardAccess {
    // TRUE with the clipboard's Unicode text, FALSE when the clipboard cannot be read or holds no text.
    std::function<BOOL(CString& text)> read;
    // TRUE when the text now is the clipboard's content.
    std::function<BOOL(const CString& text)> write;
};

class QUELTO_EXPORT CZEBString {
public:
    CZEBString();
    CZEBString(const CZEBString& other);
    CZEBString& operator=(const CZEBString& other);
    virtual ~CZEBString();

    // x with |n| decimals (at most 10); a negative n also drops trailing zeros and the point.
    static CString GetDoubleString(double x, int n);
    // x with at most |nMax| decimals, trailing zeros dropped, then padded back to at least nMin decimals.
    static CString GetFDoubleString(double x, int nMin, int nMax);
    // x rounded to n decimals through its fixed-decimal text.
    static double FormatDoublePrev(double x, int n);

    // Spreadsheet column letters of the 0-based index i (A ... ZZZ); empty outside 0 to 18277.
    static CString GetAlpha(int i, int bUpper);
    // Chinese numeral of i + 1, plain or financial; empty outside i = 0 to 1000.
    static CString GetChineseNumber(int i, int bCapital);
    // Decimal text of i + 1 padded with zeros in front to nWidth characters; empty above i = 10000.
    static CString GetNumber(int i, int nWidth);
    // i + 1 in the Unicode Roman numeral characters; empty outside i = 0 to 1000.
    static CString GetRomanNum(int i, int bUpper);
    // Item i of a comma-separated list; empty when there is no such item.
    static CString GetDefineString(int i, const CString& list);

    static CString GetFIntString(int n);
    static int GetFIntValue(const CString& text, int bAbs);
    static double GetFDoubleValue(const CString& text, int bAbs);

    // TRUE and the clipboard text in `text`; FALSE, leaving `text` as it was, when there is none.
    static BOOL GetClipText(CString& text);
    // TRUE when the text was placed on the clipboard.
    static BOOL SetClipText(const CString& text);

    // Installs the host's clipboard and returns the one installed before, so a caller can restore it.
    static CZEBClipboardAccess SetClipboardAccess(CZEBClipboardAccess access);
};
