// CSystemSettings: the preferences the settings sheet edits, read from and written to the registry in
// one go, so the sheet's pages work on plain values and only OK touches the registry.
#pragma once

#include "platform/mfc_types.h"

struct CSystemSettings {
    // Page "系统"
    int m_bStartTemp = 1;
    int m_bNoTempLast = 1;
    int m_bLastGroupOperator = 1;
    int m_bReadCfgPick = 1;
    int m_bReadCfgGroup = 1;
    int m_bReadCfgCommand = 1;
    int m_nPickOperator = 1;
    // Page "配置"
    int m_bUseUserCoord = 1;
    int m_bUseRadius = 0;
    double m_dEPI = 0.0001;
    // Page "界面"
    int m_nStartPage = 0;
    int m_bAcadNullMenu = 1;
    int m_bAcadObjectMenu = 1;
    int m_bHasFreedom = 1;
    int m_bHasEntSoft = 1;

    static CSystemSettings Load();
    // Writes every value; FALSE when any write failed (the others are still written).
    BOOL Store() const;

    // The precision as the edit box's text is read: the leading number (0 when there is none), made
    // positive.
    static double ParsePrecision(const CString& text);
    // The precision as the edit box shows it: the module's number-to-text rule.
    static CString FormatPrecision(double value);
};
