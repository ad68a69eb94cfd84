// The advanced page's widgets and their binding to CAdvancedCriteriaRules: every row but the linetype
// shows its value as a list's text, so those rows bind through one table of fields.

#include "quelto/ui/sel_ent_page2.h"

#include "cad/gui/linetype_combo_box.h"
#include "platform/message_box.h"
#include "quelto/ui/criteria_grid.h"
#include "quelto/ui/drawing_lists.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

CQSelEntPage2::CQSelEntPage2(CInfoMapList& /*catalogue*/, QWidget* parent) : CQSelEntPageBase(parent) {
    BuildControls();
    ShowCriteria(CAdvancedCriteriaRules::Opening(m_spaceItems, m_linetypeNames));
}

void CQSelEntPage2::BuildControls() {
    using Rules = CAdvancedCriteriaRules;
    using Criteria = CAdvancedCriteria;
    auto* layout = new QVBoxLayout(this);
    CCriteriaGrid criteria(QStringLiteral("高级选项："), this);
    std::vector<QWidget*> tabOrder;
    const auto addTextRow = [&](const char* caption, const CStringArray& operators,
                                const CStringArray& values, bool editable, BOOL Criteria::*checked,
                                CString Criteria::*opText, CString Criteria::*valueText) {
        QComboBox* op = NewListBox(operators, false, this, kOperatorListCharacters);
        QComboBox* value = NewListBox(values, editable, this);
        QCheckBox* check = criteria.addRow(QString::fromUtf8(caption), {op, value});
        m_textRows.push_back({check, op, value, checked, opText, valueText});
        tabOrder.insert(tabOrder.end(), {check, op, value});
    };

    m_spaceItems = Rules::SpaceItems(DrawingLayoutNames());
    addTextRow("对象空间：", Rules::SpaceOperators(), m_spaceItems, false, &Criteria::spaceChecked,
               &Criteria::spaceOp, &Criteria::space);

    std::vector<cad::gui::LinetypeSample> samples;
    for (const CLinetypeEntry& linetype : DrawingLinetypes()) {
        m_linetypeNames.push_back(linetype.name);
        samples.push_back({ToQString(Rules::LinetypeDisplayName(linetype.name)),
                           ToQString(Rules::LinetypeDescription(linetype.name, linetype.comments)),
                           linetype.dashes});
    }
    m_lineTypeOp = NewListBox(Rules::LineTypeOperators(), false, this, kOperatorListCharacters);
    m_lineTypeList = new cad::gui::LinetypeComboBox(this);
    m_lineTypeList->setLinetypes(samples);
    m_lineTypeCheck = criteria.addRow(QStringLiteral("对象线型："), {m_lineTypeOp, m_lineTypeList});
    tabOrder.insert(tabOrder.end(), {m_lineTypeCheck, m_lineTypeOp, m_lineTypeList});

    addTextRow("线型比例：", Rules::LtScaleOperators(), Rules::LtScaleValues(), true,
               &Criteria::ltScaleChecked, &Criteria::ltScaleOp, &Criteria::ltScale);

    // Plot styles are listed but cannot be a criterion: the row's check box stays disabled.
    QComboBox* plotStyleOp = NewListBox(Rules::PlotStyleOperators(), false, this, kOperatorListCharacters);
    QComboBox* plotStyleValue = NewListBox(Rules::PlotStyles(), false, this);
    plotStyleOp->setCurrentIndex(0);
    plotStyleValue->setCurrentIndex(0);
    criteria.addRow(QStringLiteral("打印样式："), {plotStyleOp, plotStyleValue})->setEnabled(false);

    addTextRow("实体可见：", Rules::VisibilityOperators(), Rules::YesNo(), false, &Criteria::visibleChecked,
               &Criteria::visibleOp, &Criteria::visible);
    addTextRow("平面实体：", Rules::VisibilityOperators(), Rules::YesNo(), false, &Criteria::planarChecked,
               &Criteria::planarOp, &Criteria::planar);
    addTextRow("外观宽度：", Rules::ExtentOperators(), Rules::ExtentValues(), true, &Criteria::widthChecked,
               &Criteria::widthOp, &Criteria::width);
    addTextRow("外观高度：", Rules::ExtentOperators(), Rules::ExtentValues(), true, &Criteria::heightChecked,
               &Criteria::heightOp, &Criteria::height);

    layout->addWidget(criteria.box());
    layout->addStretch(1);
    for (std::size_t index = 1; index < tabOrder.size(); ++index) {
        setTabOrder(tabOrder[index - 1], tabOrder[index]);
    }
}

CAdvancedCriteria CQSelEntPage2::Criteria() const {
    CAdvancedCriteria criteria;
    for (const TextRow& row : m_textRows) {
        criteria.*row.checked = row.check->isChecked();
        criteria.*row.opText = ShownText(row.op);
        criteria.*row.valueText = ShownText(row.value);
    }
    criteria.lineTypeChecked = m_lineTypeCheck->isChecked();
    criteria.lineTypeOp = ShownText(m_lineTypeOp);
    const int lineType = m_lineTypeList->currentIndex();
    criteria.lineType = lineType >= 0 && lineType < static_cast<int>(m_linetypeNames.size())
                            ? m_linetypeNames[static_cast<std::size_t>(lineType)]
                            : CString();
    return criteria;
}

void CQSelEntPage2::ShowCriteria(const CAdvancedCriteria& criteria) {
    for (const TextRow& row : m_textRows) {
        row.check->setChecked(criteria.*row.checked);
        ChooseText(row.op, criteria.*row.opText);
        ChooseText(row.value, criteria.*row.valueText);
    }
    m_lineTypeCheck->setChecked(criteria.lineTypeChecked);
    ChooseText(m_lineTypeOp, criteria.lineTypeOp);
    m_lineTypeList->setCurrentIndex(FindItemFromLast(m_linetypeNames, criteria.lineType));
}

void CQSelEntPage2::LoadPage(const CFilter& record) {
    CAdvancedCriteria criteria = Criteria();
    CAdvancedCriteriaRules::Load(criteria, record, m_spaceItems, m_linetypeNames);
    ShowCriteria(criteria);
}

bool CQSelEntPage2::SavePage(CFilter& record) {
    const CAdvancedCriteria criteria = Criteria();
    if (const auto refusal = CAdvancedCriteriaRules::Validate(criteria)) {
        MessageBox(static_cast<HWND>(window()), refusal->message, refusal->title, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    CAdvancedCriteriaRules::Save(criteria, m_linetypeNames, record);
    return true;
}
