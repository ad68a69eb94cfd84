// The template fills the criteria that the user most often keeps (type, layer, colour) switched on and
// every other criterion switched off but pre-set, so that ticking one uses the template's value.

#include "quelto/catalogue/template_filter.h"

#include "quelto/actions/tav_geom.h"
#include "quelto/actions/visual_extents.h"
#include "quelto/actions/xyz_base_draw.h"
#include "quelto/filter/qlt_system_param.h"

namespace {

void fillFromSettings(CFilter& filter) {
    CQLTSystemParam settings;
    switch (settings.GetPickOperator()) {
    case 0:
        filter.m_bSelectFromAll = 0;
        break;
    case 1:
        filter.m_bSelectFromAll = 1;
        break;
    case 2:
        filter.m_bSelectFromAll = settings.GetSelectFromAll();
        break;
    default:
        break;
    }
    if (settings.GetLastGroupOperator() != 0) {
        filter.m_nGroupMode = settings.GetGroupOperator();
        filter.m_strGroupName = settings.GetGroupName();
    }
}

void fillFromEntity(CFilter& filter, const AcDbEntity& entity, const CString& displayName) {
    filter.m_bType = 1;
    filter.m_bLayer = 1;
    filter.m_bColor = 1;
    filter.m_bLineWeight = 0;
    filter.m_bSpace = 0;
    filter.m_bLineType = 0;
    filter.m_bLtScale = 0;
    filter.m_bVisible = 0;
    filter.m_bPlanar = 0;
    filter.m_bWidth = 0;
    filter.m_bHeight = 0;

    filter.m_strType = displayName;
    filter.m_strLayer = entity.layer();
    filter.m_nColor = entity.colorIndex();
    filter.m_nLineWeight = static_cast<int>(entity.lineWeight());
    filter.m_strLineType = entity.linetype();
    filter.m_dLtScale = entity.linetypeScale();
    filter.m_nVisibility = entity.visibility() == AcDb::kInvisible ? 1 : 0;
    filter.m_nPlanar = entity.isPlanar() ? 1 : 0;
    filter.m_strSpace = CXYZBaseDraw::GetLayoutName(entity.objectId(), FALSE);

    const CString equal = L"=";
    filter.m_strColorOp = equal;
    filter.m_strLineWeightOp = equal;
    filter.m_strSpaceOp = equal;
    filter.m_strLineTypeOp = equal;
    filter.m_strLtScaleOp = equal;
    filter.m_strVisibleOp = equal;
    filter.m_strPlanarOp = equal;
    filter.m_strWidthOp = equal;
    filter.m_strHeightOp = equal;

    AcDbExtents extents;
    if (GetVisualExtents(entity, extents) == Acad::eOk) {
        filter.m_dWidth = CTAVGeom::GetExtentsWidth(extents);
        filter.m_dHeight = CTAVGeom::GetExtentsHeight(extents);
    }
}

} // namespace

BOOL FillFilterFromTemplate(CFilter& filter, AcDbObjectId templateId, CInfoMapList& catalogue) {
    filter.Reset();
    fillFromSettings(filter);
    AcDbEntity* entity = nullptr;
    if (templateId.isNull() || acdbOpenAcDbEntity(entity, templateId, AcDb::kForRead) != Acad::eOk) {
        return FALSE;
    }
    fillFromEntity(filter, *entity, catalogue.GetDisplayName(CInfoMapList::GetEntityDxfName(templateId)));
    entity->close();
    catalogue.ReadEntity(templateId);
    return TRUE;
}
