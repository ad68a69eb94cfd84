// CQSelEntPage2, the "扩展选项" tab: space, linetype, linetype scale, visibility, planarity and the
// visual width and height criteria, validated before they are saved.
#pragma once

#include "quelto/catalogue/info_map_list.h"
#include "quelto/ui/criteria_rules.h"
#include "quelto/ui/sel_ent_page.h"

#include <vector>

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
    // A row whose value is the list's text, bound to its three fields of CAdvancedCriteria.
    struct TextRow {
        QCheckBox* check;
        QComboBox* op;
        QComboBox* value;
        BOOL CAdvancedCriteria::*checked;
        CString CAdvancedCriteria::*opText;
        CString CAdvancedCriteria::*valueText;
    };

    void BuildControls();

    CStringArray m_spaceItems;
    // The linetypes' table names, parallel to the list's items.
    CStringArray m_linetypeNames;

    std::vector<TextRow> m_textRows;
    QCheckBox* m_lineTypeCheck = nullptr;
    QComboBox* m_lineTypeOp = nullptr;
    cad::gui::LinetypeComboBox* m_lineTypeList = nullptr;
};
