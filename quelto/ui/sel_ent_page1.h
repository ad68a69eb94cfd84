// CQSelEntPage1, the "常规选项" tab: entity type, layer, colour and lineweight criteria, the preselection
// rule and the grouping rule. It tells the main dialog whenever the chosen type changes, so that the
// property page can list that type's properties.
#pragma once

#include "quelto/catalogue/info_map_list.h"
#include "quelto/ui/criteria_rules.h"
#include "quelto/ui/sel_ent_page.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace cad::gui {
class ColorComboBox;
class LineweightComboBox;
} // namespace cad::gui

class CQSelEntPage1 : public CQSelEntPageBase {
public:
    CQSelEntPage1(CInfoMapList& catalogue, CTypeChangeListener& listener, QWidget* parent = nullptr);

    void LoadPage(const CFilter& record) override;
    bool SavePage(CFilter& record) override;

    // The controls as plain values, and back; the basic rules work on these.
    CBasicCriteria Criteria() const;
    void ShowCriteria(const CBasicCriteria& criteria);

private:
    void BuildControls(CInfoMapList& catalogue);
    void ApplyEnabling();
    void NotifyTypeChange();

    CTypeChangeListener& m_listener;
    CString m_reportedType;

    QCheckBox* m_typeCheck = nullptr;
    QComboBox* m_typeOp = nullptr;
    QComboBox* m_typeList = nullptr;
    QCheckBox* m_layerCheck = nullptr;
    QComboBox* m_layerOp = nullptr;
    QComboBox* m_layerList = nullptr;
    QCheckBox* m_colorCheck = nullptr;
    QComboBox* m_colorOp = nullptr;
    cad::gui::ColorComboBox* m_colorList = nullptr;
    QCheckBox* m_lineWeightCheck = nullptr;
    QComboBox* m_lineWeightOp = nullptr;
    cad::gui::LineweightComboBox* m_lineWeightList = nullptr;
    QRadioButton* m_fromSelection = nullptr;
    QRadioButton* m_fromAll = nullptr;
    QComboBox* m_groupMode = nullptr;
    QLabel* m_groupNameLabel = nullptr;
    QLineEdit* m_groupName = nullptr;
};
