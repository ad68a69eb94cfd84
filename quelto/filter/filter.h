// CFilter: one named quick-selection configuration - every criterion, the preselection and grouping
// rules and the post-selection edit - as the pages of the main dialog set it and as the configuration
// file stores it. Loading honours the data version of the file the record comes from (1 to 6).
#pragma once

#include "platform/binary_archive.h"
#include "platform/mfc_types.h"

class CFilter {
public:
    // The data version that Serialize writes.
    static constexpr int CurrentVersion = 6;

    // Every field takes the default written beside it; copies take every field, name and version included.
    CFilter() = default;
    CFilter(const CFilter& source) = default;
    CFilter& operator=(const CFilter& source) = default;
    virtual ~CFilter();

    // Every criterion to its default; the name and the data version stay, the property rows are emptied.
    void Reset();
    // Every field, m_nVersion included; the name only when asked for.
    void CopyFrom(const CFilter& source, BOOL withName);
    // Stores every field, or loads those that m_nVersion admits; a short or damaged archive raises
    // CArchiveException and leaves the record partly loaded.
    void Serialize(CArchive& archive);

    int m_nVersion = 0;
    CString m_strName;

    BOOL m_bType = 0;
    CString m_strType = L"直线";
    BOOL m_bLayer = 0;
    CString m_strLayer = L"0";
    BOOL m_bColor = 0;
    CString m_strColorOp;
    int m_nColor = 256;
    BOOL m_bLineWeight = 0;
    CString m_strLineWeightOp;
    int m_nLineWeight = 0;

    BOOL m_bSpace = 0;
    CString m_strSpaceOp = L"=";
    CString m_strSpace = L"[*模型*]";
    BOOL m_bLineType = 0;
    CString m_strLineTypeOp = L"=";
    CString m_strLineType = L"ByLayer";
    BOOL m_bLtScale = 0;
    CString m_strLtScaleOp = L"=";
    double m_dLtScale = 1.0;
    BOOL m_bVisible = 0;
    CString m_strVisibleOp = L"=";
    int m_nVisibility = 0;
    BOOL m_bPlanar = 0;
    CString m_strPlanarOp = L"=";
    int m_nPlanar = 1;
    BOOL m_bWidth = 0;
    CString m_strWidthOp = L"=";
    double m_dWidth = 0.0;
    BOOL m_bHeight = 0;
    CString m_strHeightOp = L"=";
    double m_dHeight = 0.0;

    // Property rows: four parallel arrays, one entry per row in the order the rows were added.
    CArray<int, int> m_arrPropId;
    CArray<int, int> m_arrPropRow; // 0 to 6 for "A" to "G"
    CStringArray m_arrPropOp;
    CStringArray m_arrPropValue;

    BOOL m_bLogic = 0;
    int m_nLogicMode = 0; // 0 all rows and, 1 all rows or, 2 the user expression
    CString m_strLogic;

    BOOL m_bHasCmd = 0;
    BOOL m_bHasPrompt = 1;
    int m_nDoType = 1;
    int m_nPosIndex = 4;
    BOOL m_bHasOffset = 0;
    int m_nXUnit = 0;
    int m_nYUnit = 0;
    double m_dXOffset = 0.0;
    double m_dYOffset = 0.0;
    double m_dMoveX = 0.0;
    double m_dMoveY = 0.0;
    double m_dMoveZ = 0.0;
    double m_dScaleA = 1.0;
    double m_dRoateA = 0.0;
    double m_dAxiusA = 0.0;

    BOOL m_bSelectFromAll = 0;
    int m_nGroupMode = 0;
    CString m_strGroupName;

private:
    void Store(CArchive& archive) const;
    void Load(CArchive& archive);
};
