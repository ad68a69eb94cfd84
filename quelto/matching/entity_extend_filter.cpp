// CEntityExtendFilter: loading the criteria from a record, the candidate loop with the advanced
// criteria in their fixed order (space, linetype, linetype scale, visibility, planarity, visual width,
// visual height), the type matcher of the chosen type, and the rewrite of the selection set.
#include "quelto/matching/entity_extend_filter.h"

#include "cad/app/host_api.h"
#include "quelto/actions/tav_geom.h"
#include "quelto/actions/visual_extents.h"
#include "quelto/actions/xyz_base_draw.h"
#include "quelto/filter/filter.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/matching/type_matchers.h"

#include <vector>

using quelto::matching::RowOperand;

namespace {

const wchar_t* const kYes = L"是";
const wchar_t* const kNo = L"否";

// "[*当前*]" stands for the layout of the current space, "[*模型*]" for model space.
CString spaceValueText(const CString& recordValue) {
    if (recordValue == L"[*当前*]") {
        return CXYZBaseDraw::GetLayoutName(CXYZBaseDraw::GetCurrentSpace(), TRUE);
    }
    if (recordValue == L"[*模型*]") {
        return L"Model";
    }
    return recordValue;
}

} // namespace

// The layout owning an entity's block, remembered for the last block asked about: the candidates of
// one space come in a run.
class CEntityExtendFilter::OwnerLayouts {
public:
    const CString& nameOf(AcDbObjectId block) {
        if (!m_known || block != m_block) {
            m_block = block;
            m_name = CXYZBaseDraw::GetLayoutName(block, TRUE);
            m_known = true;
        }
        return m_name;
    }

private:
    bool m_known = false;
    AcDbObjectId m_block;
    CString m_name;
};

CEntityExtendFilter::CEntityExtendFilter() {
    CQLTSystemParam settings;
    m_bUseUserCoord = settings.GetUseUserCoord();
    m_bUseRadius = settings.GetUseRadius();
    m_dEPI = settings.GetEPI();
    if (settings.GetHasFreedom() != 0) {
        m_customValues = quelto::matching::loadCustomEntityValues(settings.GetHasEntSoft());
    }
}

CEntityExtendFilter::~CEntityExtendFilter() = default;

void CEntityExtendFilter::LoadFromFilter(const CFilter& filter) {
    Load(filter, false);
}

void CEntityExtendFilter::LoadFromBatchFilter(const CFilter& filter) {
    Load(filter, true);
}

void CEntityExtendFilter::Load(const CFilter& filter, bool batchVariant) {
    const auto numberText = &CXYZBaseObject::FormatReal;
    m_space.m_bEnabled = batchVariant ? FALSE : filter.m_bSpace;
    m_space.m_operand =
        RowOperand(filter.m_strSpaceOp, batchVariant ? CString() : spaceValueText(filter.m_strSpace));
    m_lineType = {filter.m_bLineType, RowOperand(filter.m_strLineTypeOp, filter.m_strLineType)};
    m_ltScale = {filter.m_bLtScale, RowOperand(filter.m_strLtScaleOp, numberText(filter.m_dLtScale))};
    m_visible = {filter.m_bVisible,
                 RowOperand(filter.m_strVisibleOp, filter.m_nVisibility != 0 ? kNo : kYes)};
    m_planar = {filter.m_bPlanar, RowOperand(filter.m_strPlanarOp, filter.m_nPlanar != 0 ? kYes : kNo)};
    m_width = {filter.m_bWidth, RowOperand(filter.m_strWidthOp, numberText(filter.m_dWidth))};
    m_height = {filter.m_bHeight, RowOperand(filter.m_strHeightOp, numberText(filter.m_dHeight))};

    m_bLogic = batchVariant ? FALSE : filter.m_bLogic;
    m_nLogicMode = m_bLogic ? filter.m_nLogicMode : LogicAllAnd;
    m_strLogic = batchVariant ? CString() : filter.m_strLogic;
    if (filter.m_bType && !filter.m_arrPropId.empty()) {
        m_rows.load(filter.m_arrPropId, filter.m_arrPropRow, filter.m_arrPropOp, filter.m_arrPropValue,
                    m_nLogicMode, m_strLogic);
    } else {
        m_rows.clear();
    }
    m_bUseUserCoord = CQLTSystemParam().GetUseUserCoord();
}

void CEntityExtendFilter::SetCustomEntityValues(
    std::unique_ptr<quelto::matching::CustomEntityValues> values) {
    m_customValues = std::move(values);
}

int CEntityExtendFilter::FilterSelection(ads_name set, const CString& typeName, AcDbObjectIdArray& ids) {
    std::int32_t length = 0;
    if (acedSSLength(set, &length) != RTNORM) {
        return 1;
    }
    m_rows.precision = m_dEPI;
    const quelto::matching::TypeMatcher matcher =
        typeName.empty() ? nullptr : quelto::matching::findTypeMatcher(typeName);
    const quelto::matching::MatchContext context{m_rows, m_bUseUserCoord != 0, m_bUseRadius != 0};
    OwnerLayouts ownerLayouts;
    std::vector<std::array<std::int64_t, 2>> matchedNames;
    for (std::int32_t index = 0; index < length; ++index) {
        ads_name name;
        AcDbObjectId id;
        if (acedSSName(set, index, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk) {
            continue;
        }
        if (!PassesAdvancedCriteria(id, ownerLayouts)) {
            continue;
        }
        if (!typeName.empty()) {
            const int result = matcher != nullptr
                                   ? matcher(context, id)
                                   : quelto::matching::matchCustomEntity(m_customValues.get(), m_rows, id,
                                                                         typeName, m_bUseUserCoord != 0);
            if (result == 0) {
                continue;
            }
        }
        ids.append(id);
        matchedNames.push_back({name[0], name[1]});
    }
    RewriteSet(set, length, matchedNames);
    return 1;
}

bool CEntityExtendFilter::PassesAdvancedCriteria(AcDbObjectId id, OwnerLayouts& ownerLayouts) const {
    using quelto::matching::compareReal;
    using quelto::matching::compareText;
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) {
        return false;
    }
    // An entity the host cannot measure keeps the empty box, whose size matches no sensible criterion.
    AcDbExtents extents;
    if (m_width.m_bEnabled || m_height.m_bEnabled) {
        GetVisualExtents(*entity, extents);
    }
    bool passes = true;
    if (m_space.m_bEnabled) {
        passes = compareText(ownerLayouts.nameOf(entity->blockId()), m_space.m_operand) != 0;
    }
    if (passes && m_lineType.m_bEnabled) {
        passes = compareText(entity->linetype(), m_lineType.m_operand) != 0;
    }
    if (passes && m_ltScale.m_bEnabled) {
        passes = compareReal(entity->linetypeScale(), m_ltScale.m_operand, m_dEPI) != 0;
    }
    if (passes && m_visible.m_bEnabled) {
        passes = compareText(entity->visibility() == AcDb::kVisible ? kYes : kNo, m_visible.m_operand) != 0;
    }
    if (passes && m_planar.m_bEnabled) {
        passes = compareText(entity->isPlanar() ? kYes : kNo, m_planar.m_operand) != 0;
    }
    entity->close();
    if (passes && m_width.m_bEnabled) {
        passes = compareReal(CTAVGeom::GetExtentsWidth(extents), m_width.m_operand, m_dEPI) != 0;
    }
    if (passes && m_height.m_bEnabled) {
        passes = compareReal(CTAVGeom::GetExtentsHeight(extents), m_height.m_operand, m_dEPI) != 0;
    }
    return passes;
}

void CEntityExtendFilter::RewriteSet(ads_name set, std::int32_t length,
                                     const std::vector<std::array<std::int64_t, 2>>& matchedNames) {
    // A set that lost nothing already holds the matching entities in their order.
    if (static_cast<std::size_t>(length) == matchedNames.size()) {
        return;
    }
    // Emptied from the end, so that every deletion removes the set's last member.
    for (std::int32_t index = length - 1; index >= 0; --index) {
        ads_name name;
        if (acedSSName(set, index, name) == RTNORM) {
            acedSSDel(name, set);
        }
    }
    for (const auto& matched : matchedNames) {
        const ads_name name = {matched[0], matched[1]};
        acedSSAdd(name, set, set);
    }
}

int CEntityExtendFilter::CompareText(const CString& value, const CString& operatorText,
                                     const CString& valueText) const {
    return quelto::matching::compareText(value, RowOperand(operatorText, valueText));
}

int CEntityExtendFilter::CompareReal(double value, const CString& operatorText,
                                     const CString& valueText) const {
    return quelto::matching::compareReal(value, RowOperand(operatorText, valueText), m_dEPI);
}

int CEntityExtendFilter::CompareInteger(int value, const CString& operatorText,
                                        const CString& valueText) const {
    return quelto::matching::compareInteger(value, RowOperand(operatorText, valueText));
}

int CEntityExtendFilter::CombineRow(int rowResult, int rowIndex, CZEBBaseStringAnalyse& analyser) const {
    if (rowIndex < 0) {
        return 0;
    }
    return m_rows.combine(rowResult, static_cast<std::size_t>(rowIndex), &analyser);
}
