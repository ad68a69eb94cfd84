// CQSelEntPage2, the "扩展选项" tab: space, linetype, linetype scale, visibility, planarity and the
// visual width and height criteria, validated before they are saved.
#pragma once

#include "quelto/catalogue/info_map_list.h"
#include "quelto/ui/criteria_rules.h"
#include "quelto/ui/sel_ent_page.h"

class QCheckBox;
class QComboBox;

namespace cad::gui {
class LinetypeComboBox;
}

class CQSelEntPage2 : public CQSelEntPageBase {
public:
    CQSelEntPage2(CInfoMapList& catalogue, QWidget* parent = nullptr);

    void LoadPage(const CFilter& record) override;
    bool SavePage(CFilter& record) override;

    CAdvancedCriteria Criteria() const;
    void ShowCriteria(const CAdvancedCriteria& criteria);

private:
    void BuildControls();

    CStringArray m_spaceItems;
    // The linetypes' table names, parallel to the list's items.
    CStringArray m_linetypeNames;

    QCheckBox* m_spaceCheck = nullptr;
    QComboBox* m_spaceOp = nullptr;
    QComboBox* m_spaceList = nullptr;
    QCheckBox* m_lineTypeCheck = nullptr;
    QComboBox* m_lineTypeOp = nullptr;
    cad::gui::LinetypeComboBox* m_lineTypeList = nullptr;
    QCheckBox* m_ltScaleCheck = nullptr;
    QComboBox* m_ltScaleOp = nullptr;
    QComboBox* m_ltScaleValue = nullptr;
    QCheckBox* m_plotStyleCheck = nullptr;
    QCheckBox* m_visibleCheck = nullptr;
    QComboBox* m_visibleOp = nullptr;
    QComboBox* m_visibleValue = nullptr;
    QCheckBox* m_planarCheck = nullptr;
    QComboBox* m_planarOp = nullptr;
    QComboBox* m_planarValue = nullptr;
    QCheckBox* m_widthCheck = nullptr;
    QComboBox* m_widthOp = nullptr;
    QComboBox* m_widthValue = nullptr;
    QCheckBox* m_heightCheck = nullptr;
    QComboBox* m_heightOp = nullptr;
    QComboBox* m_heightValue = nullptr;
};
