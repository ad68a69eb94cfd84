// CCommandPageModel: the values and enabling rules of the post-selection command page, without widgets.
// The fifteen values travel between the preferences, a CFilter record and the CExtendCommand the
// driver runs; the enabling rules say which controls a drafter may touch for the chosen command.
#pragma once

#include "platform/mfc_types.h"

class CExtendCommand;
class CFilter;
class CQLTSystemParam;

// Which groups of controls are enabled; each flag covers the controls and their labels.
struct CCommandPageEnabling {
    bool m_bCommandChoice = false;  // command label, confirmation box, the six command buttons
    bool m_bReferencePoint = false; // reference frame, position label and list, offset box
    bool m_bOffsetRows = false;     // both offset edits, unit lists and labels
    bool m_bParameterFrame = false; // the caption of the parameter frame
    bool m_bMove = false;
    bool m_bScale = false;
    bool m_bRotate = false;
    bool m_bMirror = false;

    bool operator==(const CCommandPageEnabling&) const = default;
};

class CCommandPageModel {
public:
    enum DoType { kErase = 0, kMove, kScale, kRotate, kMirror, kExplode };

    // Every value and its unit, in the record's order, starting from the page's defaults.
    BOOL m_bHasCmd = 0;
    BOOL m_bHasPrompt = 0;
    int m_nDoType = kMove;
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

    void ReadSettings(CQLTSystemParam& param);
    void WriteSettings(CQLTSystemParam& param) const;
    void LoadFrom(const CFilter& record);
    void SaveTo(CFilter& record) const;
    void CopyTo(CExtendCommand& command) const;

    CCommandPageEnabling Enabling() const;

    // A decimal number as a dialog's number field takes it: optional blanks around one number, nothing
    // else; false for an empty or malformed text, leaving value unchanged.
    static bool ParseNumber(const CString& text, double& value);
    // The shortest text that reads back as the same double, as the number fields show their values.
    static CString FormatNumber(double value);
};
