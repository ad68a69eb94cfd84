// CExtendCommand: the edit a quick selection may run on the entities it found — erase, move, scale,
// rotate, mirror or explode — carried out directly on the drawing database, one entity at a time, after
// an optional confirmation. Its settings come from the preferences and, later, from the command page.
#pragma once

#include "cad/app/host_api.h"
#include "platform/mfc_types.h"

class CExtendCommand {
public:
    enum DoType { kErase = 0, kMove, kScale, kRotate, kMirror, kExplode };
    enum OffsetUnit { kDrawingUnit = 0, kEntityWidth, kEntityHeight };
    static constexpr int kOriginPosition = 9;

    // Filled from the preferences (HasCmd ... AxiusA).
    CExtendCommand();
    virtual ~CExtendCommand();

    void SetIdArray(const AcDbObjectIdArray& arrIds) { m_arrIds = arrIds; }
    // 0 when no command is enabled or the drafter declines the confirmation; otherwise Apply().
    int Run();
    // Edits every entity of the id list and prints the summary; always 1.
    int Apply();
    // The point the scale, rotation or mirror line goes through: a point of the entity's extents box
    // (or the origin), plus the offset.
    AcGePoint3d GetBasePoint(AcDbEntity* pEnt);

    int DoErase(AcDbEntity* pEnt);
    int DoMove(AcDbEntity* pEnt);
    int DoScale(AcDbEntity* pEnt);
    int DoRotate(AcDbEntity* pEnt);
    int DoMirror(AcDbEntity* pEnt);
    int DoExplode(AcDbEntity* pEnt);

    BOOL m_bHasCmd = 0;
    BOOL m_bHasPrompt = 1;
    int m_nDoType = kMove;
    int m_nPosIndex = 4;
    BOOL m_bHasOffset = 0;
    int m_nXUnit = kDrawingUnit;
    int m_nYUnit = kDrawingUnit;
    double m_dXOffset = 0.0;
    double m_dYOffset = 0.0;
    double m_dMoveX = 0.0;
    double m_dMoveY = 0.0;
    double m_dMoveZ = 0.0;
    double m_dScaleA = 1.0;
    double m_dRoateA = 0.0;
    double m_dAxiusA = 0.0;
    AcDbObjectIdArray m_arrIds;

private:
    int DoCommand(AcDbEntity* pEnt);
};
