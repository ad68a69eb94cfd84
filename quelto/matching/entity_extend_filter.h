// CEntityExtendFilter: the second stage of a quick selection. It takes the criteria a host filter list
// cannot express from a CFilter (space, linetype, linetype scale, visibility, planarity, visual size and
// the property rows A to G with their logic), tests every candidate of a host selection set against them
// and rewrites the set to the entities that match, handing back their ids in set order.
#pragma once

#include "cad/db/object_id.h"
#include "cad/ed/resbuf.h"
#include "platform/export.h"
#include "platform/mfc_types.h"
#include "quelto/matching/custom_entity_values.h"
#include "quelto/matching/row_logic.h"
#include "quelto/matching/row_operand.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class AcDbEntity;
class CFilter;
class CZEBBaseStringAnalyse;

class QUELTO_EXPORT CEntityExtendFilter {
public:
    // Logic modes of the property rows.
    enum : int { LogicAllAnd = 0, LogicAllOr = 1, LogicExpression = 2 };

    // One advanced criterion: on/off, and its operator and value texts read once.
    struct Criterion {
        BOOL m_bEnabled = FALSE;
        quelto::matching::RowOperand m_operand;
    };

    // Reads UseUserCoord, UseRadius and EPI; loads the custom entity definitions when HasFreedom is on.
    CEntityExtendFilter();
    virtual ~CEntityExtendFilter();
    CEntityExtendFilter(const CEntityExtendFilter&) = delete;
    CEntityExtendFilter& operator=(const CEntityExtendFilter&) = delete;

    // Takes the criteria of the record (its rows only when its type criterion is on) and re-reads
    // UseUserCoord.
    void LoadFromFilter(const CFilter& filter);
    // The batch bridge's variant: the space criterion stays off and the logic is not taken, so the rows
    // are combined by AND.
    void LoadFromBatchFilter(const CFilter& filter);

    // Tests every entity of the set in order, rewrites the set to the matching ones and appends their ids
    // to `ids` in set order. An empty type name evaluates no property rows. Returns 1.
    int FilterSelection(ads_name set, const CString& typeName, AcDbObjectIdArray& ids);

    // The three comparisons every matcher uses; the right-hand side is the record's value text.
    int CompareText(const CString& value, const CString& operatorText, const CString& valueText) const;
    int CompareReal(double value, const CString& operatorText, const CString& valueText) const;
    int CompareInteger(int value, const CString& operatorText, const CString& valueText) const;

    // The combination rule after the row at `rowIndex`: 0 no decision yet, 1 accept, -1 reject. In
    // expression mode the row's letter becomes a variable of the analyser.
    int CombineRow(int rowResult, int rowIndex, CZEBBaseStringAnalyse& analyser) const;

    // Custom entity types are matched through this source; null leaves every custom type unmatched.
    void SetCustomEntityValues(std::unique_ptr<quelto::matching::CustomEntityValues> values);

    const quelto::matching::RowLogic& Rows() const { return m_rows; }

    BOOL m_bUseUserCoord = TRUE;
    BOOL m_bUseRadius = FALSE;
    double m_dEPI = 0.0001;

    Criterion m_space;
    Criterion m_lineType;
    Criterion m_ltScale;
    Criterion m_visible;
    Criterion m_planar;
    Criterion m_width;
    Criterion m_height;

    BOOL m_bLogic = FALSE;
    int m_nLogicMode = LogicAllAnd;
    CString m_strLogic;

private:
    class OwnerLayouts;
    void Load(const CFilter& filter, bool batchVariant);
    bool PassesAdvancedCriteria(AcDbObjectId id, OwnerLayouts& ownerLayouts) const;
    static void RewriteSet(ads_name set, std::int32_t length,
                           const std::vector<std::array<std::int64_t, 2>>& matchedNames);

    quelto::matching::RowLogic m_rows;
    std::unique_ptr<quelto::matching::CustomEntityValues> m_customValues;
};
