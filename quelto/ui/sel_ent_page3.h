// CQSelEntPage3, the "实体特性" tab: the property rows A to G of the current entity type and the logic
// box that combines them. The rules live in CPropertyPageModel; this page shows the model and passes
// every user change to it.
#pragma once

#include "quelto/ui/property_row_rules.h"
#include "quelto/ui/sel_ent_page.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;

class CQSelEntPage3 : public CQSelEntPageBase {
public:
    explicit CQSelEntPage3(QWidget* parent = nullptr);

    // The property list of the new type (null: none, only "无").
    void Refill(EntityInfo* info);
    void LoadPage(const CFilter& record) override;
    bool SavePage(CFilter& record) override;

    const CPropertyPageModel& Model() const { return m_model; }

private:
    struct RowControls {
        QLabel* letter = nullptr;
        QComboBox* property = nullptr;
        QComboBox* op = nullptr;
        QLineEdit* edit = nullptr;
        QComboBox* list = nullptr;
    };

    void BuildControls();
    const RowControls& BuildRow(int row, QGridLayout& grid);
    QGroupBox* BuildLogicBox();
    void ShowRow(int row);
    void ShowLogic();
    void ShowAll();

    CPropertyPageModel m_model;
    std::array<RowControls, CPropertyPageModel::RowCount> m_rows;
    QCheckBox* m_logicCheck = nullptr;
    QComboBox* m_logicMode = nullptr;
    QComboBox* m_logicExpression = nullptr;
};
