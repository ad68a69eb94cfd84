// CExtendCommand: confirmation, the reference point of each entity and the six edits, each through the
// entity's own transformation, erase or explode, so that no host command runs inside the quick
// selection and the host's undo takes the whole edit back as part of it.
#include "quelto/actions/extend_command.h"

#include "cad/ge/matrix3d.h"
#include "cad/ge/plane.h"
#include "platform/message_box.h"
#include "platform/wide_text.h"
#include "quelto/actions/tav_geom.h"
#include "quelto/filter/qlt_system_param.h"

#include <cmath>
#include <numbers>

namespace {

const wchar_t* const kCommandNames[] = {L"删除（Erase）", L"移动（Move）",   L"缩放（Scale）",
                                        L"旋转（Roate）", L"镜像（Mirror）", L"分解（Explode）"};

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// The offset in drawing units: the value times 1, the box's width or its height.
double offsetLength(double value, int unit, const AcDbExtents& extents) {
    switch (unit) {
    case CExtendCommand::kEntityWidth:
        return value * CTAVGeom::GetExtentsWidth(extents);
    case CExtendCommand::kEntityHeight:
        return value * CTAVGeom::GetExtentsHeight(extents);
    default:
        return value;
    }
}

} // namespace

CExtendCommand::CExtendCommand() {
    CQLTSystemParam param;
    m_bHasCmd = param.GetHasCmd();
    m_bHasPrompt = param.GetHasPrompt();
    m_nDoType = param.GetDoType();
    m_nPosIndex = param.GetPosIndex();
    m_bHasOffset = param.GetHasOffset();
    m_nXUnit = param.GetXUnit();
    m_nYUnit = param.GetYUnit();
    m_dXOffset = param.GetXOffset();
    m_dYOffset = param.GetYOffset();
    m_dMoveX = param.GetMoveX();
    m_dMoveY = param.GetMoveY();
    m_dMoveZ = param.GetMoveZ();
    m_dScaleA = param.GetScaleA();
    m_dRoateA = param.GetRoateA();
    m_dAxiusA = param.GetAxiusA();
}

CExtendCommand::~CExtendCommand() = default;

int CExtendCommand::Run() {
    if (!m_bHasCmd) {
        return 0;
    }
    if (m_bHasPrompt) {
        const wchar_t* name = m_nDoType >= kErase && m_nDoType <= kExplode ? kCommandNames[m_nDoType] : L"";
        const CString text = platform::formatWide(L"确实需要对筛选出的%d个实体进行%s批量操作吗？",
                                                  static_cast<int>(m_arrIds.size()), name);
        if (MessageBox(acedGetAcadFrame(), text, L"确认继续", MB_YESNO | MB_ICONQUESTION) != IDYES) {
            return 0;
        }
    }
    return Apply();
}

int CExtendCommand::Apply() {
    int nEdited = 0;
    for (const AcDbObjectId& id : m_arrIds) {
        AcDbEntity* pEnt = nullptr;
        if (acdbOpenObject(pEnt, id, AcDb::kForWrite) != Acad::eOk) {
            continue;
        }
        nEdited += DoCommand(pEnt);
        pEnt->close();
    }
    acutPrintf(L"有效选择%ld个,编辑实体%ld个\n", static_cast<int>(m_arrIds.size()), nEdited);
    return 1;
}

int CExtendCommand::DoCommand(AcDbEntity* pEnt) {
    switch (m_nDoType) {
    case kErase:
        return DoErase(pEnt);
    case kMove:
        return DoMove(pEnt);
    case kScale:
        return DoScale(pEnt);
    case kRotate:
        return DoRotate(pEnt);
    case kMirror:
        return DoMirror(pEnt);
    case kExplode:
        return DoExplode(pEnt);
    default:
        return 0;
    }
}

AcGePoint3d CExtendCommand::GetBasePoint(AcDbEntity* pEnt) {
    AcGePoint3d point(0.0, 0.0, 0.0);
    AcDbExtents extents;
    if (pEnt->getGeomExtents(extents) != Acad::eOk) {
        acutPrintf(L"部分实体编辑出现异常\n");
        return point;
    }
    if (m_nPosIndex >= 0 && m_nPosIndex < kOriginPosition) {
        point = CTAVGeom::GetExtentsPoint(extents, m_nPosIndex / 3 - 1, m_nPosIndex % 3 - 1);
    }
    if (m_bHasOffset) {
        point.x += offsetLength(m_dXOffset, m_nXUnit, extents);
        point.y += offsetLength(m_dYOffset, m_nYUnit, extents);
    }
    return point;
}

int CExtendCommand::DoErase(AcDbEntity* pEnt) {
    return pEnt->erase() == Acad::eOk ? 1 : 0;
}

int CExtendCommand::DoMove(AcDbEntity* pEnt) {
    const AcGeMatrix3d transform = AcGeMatrix3d::translation(AcGeVector3d(m_dMoveX, m_dMoveY, m_dMoveZ));
    return pEnt->transformBy(transform) == Acad::eOk ? 1 : 0;
}

int CExtendCommand::DoScale(AcDbEntity* pEnt) {
    pEnt->transformBy(AcGeMatrix3d::scaling(m_dScaleA, GetBasePoint(pEnt)));
    return 1;
}

int CExtendCommand::DoRotate(AcDbEntity* pEnt) {
    pEnt->transformBy(AcGeMatrix3d::rotation(radians(m_dRoateA), AcGeVector3d::kZAxis, GetBasePoint(pEnt)));
    return 1;
}

int CExtendCommand::DoMirror(AcDbEntity* pEnt) {
    const AcGePoint3d base = GetBasePoint(pEnt);
    const double angle = radians(m_dAxiusA);
    const AcGePoint3d second = base + AcGeVector3d(std::cos(angle), std::sin(angle), 0.0);
    pEnt->transformBy(AcGeMatrix3d::mirroring(AcGeLine3d(base, second)));
    return 1;
}

int CExtendCommand::DoExplode(AcDbEntity* pEnt) {
    AcDbBlockTableRecord* pOwner = nullptr;
    if (pEnt->ownerId().isNull() || acdbOpenObject(pOwner, pEnt->ownerId(), AcDb::kForWrite) != Acad::eOk) {
        return 0;
    }
    AcDbVoidPtrArray pieces;
    if (pEnt->explode(pieces) != Acad::eOk) {
        pOwner->close();
        return 0;
    }
    for (void* piece : pieces) {
        auto* pPiece = static_cast<AcDbEntity*>(piece);
        if (pOwner->appendAcDbEntity(pPiece) == Acad::eOk) {
            pPiece->close();
        } else {
            delete pPiece;
        }
    }
    pOwner->close();
    pEnt->erase();
    return 1;
}
