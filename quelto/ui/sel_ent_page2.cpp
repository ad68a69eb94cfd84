// The advanced page's widgets and their binding to CAdvancedCriteriaRules.

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
    auto* layout = new QVBoxLayout(this);
    CCriteriaGrid criteria(QStringLiteral("高级选项："), this);

    m_spaceItems = Rules::SpaceItems(DrawingLayoutNames());
    m_spaceOp = NewListBox(Rules::SpaceOperators(), false, this);
    m_spaceList = NewListBox(m_spaceItems, false, this);
    m_spaceCheck = criteria.addRow(QStringLiteral("对象空间："), {m_spaceOp, m_spaceList});

    std::vector<cad::gui::LinetypeSample> samples;
    for (const CLinetypeEntry& linetype : DrawingLinetypes()) {
        m_linetypeNames.push_back(linetype.name);
        samples.push_back({ToQString(Rules::LinetypeDisplayName(linetype.name)),
                           ToQString(Rules::LinetypeDescription(linetype.name, linetype.comments)),
                           linetype.dashes});
    }
    m_lineTypeOp = NewListBox(Rules::LineTypeOperators(), false, this);
    m_lineTypeList = new cad::gui::LinetypeComboBox(this);
    m_lineTypeList->setLinetypes(samples);
    m_lineTypeCheck = criteria.addRow(QStringLiteral("对象线型："), {m_lineTypeOp, m_lineTypeList});

    m_ltScaleOp = NewListBox(Rules::LtScaleOperators(), false, this);
    m_ltScaleValue = NewListBox(Rules::LtScaleValues(), true, this);
    m_ltScaleCheck = criteria.addRow(QStringLiteral("线型比例："), {m_ltScaleOp, m_ltScaleValue});

    // Plot styles are listed but cannot be a criterion: the row's check box stays disabled.
    QComboBox* plotStyleOp = NewListBox(Rules::PlotStyleOperators(), false, this);
    QComboBox* plotStyleValue = NewListBox(Rules::PlotStyles(), false, this);
    plotStyleOp->setCurrentIndex(0);
    plotStyleValue->setCurrentIndex(0);
    m_plotStyleCheck = criteria.addRow(QStringLiteral("打印样式："), {plotStyleOp, plotStyleValue});
    m_plotStyleCheck->setEnabled(false);

    m_visibleOp = NewListBox(Rules::VisibilityOperators(), false, this);
    m_visibleValue = NewListBox(Rules::YesNo(), false, this);
    m_visibleCheck = criteria.addRow(QStringLiteral("实体可见："), {m_visibleOp, m_visibleValue});

    m_planarOp = NewListBox(Rules::VisibilityOperators(), false, this);
    m_planarValue = NewListBox(Rules::YesNo(), false, this);
    m_planarCheck = criteria.addRow(QStringLiteral("平面实体："), {m_planarOp, m_planarValue});

    m_widthOp = NewListBox(Rules::ExtentOperators(), false, this);
    m_widthValue = NewListBox(Rules::ExtentValues(), true, this);
    m_widthCheck = criteria.addRow(QStringLiteral("外观宽度："), {m_widthOp, m_widthValue});

    m_heightOp = NewListBox(Rules::ExtentOperators(), false, this);
    m_heightValue = NewListBox(Rules::ExtentValues(), true, this);
    m_heightCheck = criteria.addRow(QStringLiteral("外观高度："), {m_heightOp, m_heightValue});

    layout->addWidget(criteria.box());
    layout->addStretch(1);

    QWidget* order[] = {m_spaceCheck,   m_spaceOp,      m_spaceList,   m_lineTypeCheck, m_lineTypeOp,
                        m_lineTypeList, m_ltScaleCheck, m_ltScaleOp,   m_ltScaleValue,  m_visibleCheck,
                        m_visibleOp,    m_visibleValue, m_planarCheck, m_planarOp,      m_planarValue,
                        m_widthCheck,   m_widthOp,      m_widthValue,  m_heightCheck,   m_heightOp,
                        m_heightValue};
    for (std::size_t index = 1; index < std::size(order); ++index) {
        setTabOrder(order[index - 1], order[index]);
    }
}

CAdvancedCriteria CQSelEntPage2::Criteria() const {
    CAdvancedCriteria criteria;
    criteria.spaceChecked = m_spaceCheck->isChecked();
    criteria.spaceOp = ShownText(m_spaceOp);
    criteria.space = ShownText(m_spaceList);
    criteria.lineTypeChecked = m_lineTypeCheck->isChecked();
    criteria.lineTypeOp = ShownText(m_lineTypeOp);
    const int lineType = m_lineTypeList->currentIndex();
    criteria.lineType = lineType >= 0 && lineType < static_cast<int>(m_linetypeNames.size())
                            ? m_linetypeNames[static_cast<std::size_t>(lineType)]
                            : CString();
    criteria.ltScaleChecked = m_ltScaleCheck->isChecked();
    criteria.ltScaleOp = ShownText(m_ltScaleOp);
    criteria.ltScale = ShownText(m_ltScaleValue);
    criteria.visibleChecked = m_visibleCheck->isChecked();
    criteria.visibleOp = ShownText(m_visibleOp);
    criteria.visible = ShownText(m_visibleValue);
    criteria.planarChecked = m_planarCheck->isChecked();
    criteria.planarOp = ShownText(m_planarOp);
    criteria.planar = ShownText(m_planarValue);
    criteria.widthChecked = m_widthCheck->isChecked();
    criteria.widthOp = ShownText(m_widthOp);
    criteria.width = ShownText(m_widthValue);
    criteria.heightChecked = m_heightCheck->isChecked();
    criteria.heightOp = ShownText(m_heightOp);
    criteria.height = ShownText(m_heightValue);
    return criteria;
}

void CQSelEntPage2::ShowCriteria(const CAdvancedCriteria& criteria) {
    m_spaceCheck->setChecked(criteria.spaceChecked);
    ChooseText(m_spaceOp, criteria.spaceOp);
    ChooseText(m_spaceList, criteria.space);
    m_lineTypeCheck->setChecked(criteria.lineTypeChecked);
    ChooseText(m_lineTypeOp, criteria.lineTypeOp);
    m_lineTypeList->setCurrentIndex(FindItemFromLast(m_linetypeNames, criteria.lineType));
    m_ltScaleCheck->setChecked(criteria.ltScaleChecked);
    ChooseText(m_ltScaleOp, criteria.ltScaleOp);
    ChooseText(m_ltScaleValue, criteria.ltScale);
    m_visibleCheck->setChecked(criteria.visibleChecked);
    ChooseText(m_visibleOp, criteria.visibleOp);
    ChooseText(m_visibleValue, criteria.visible);
    m_planarCheck->setChecked(criteria.planarChecked);
    ChooseText(m_planarOp, criteria.planarOp);
    ChooseText(m_planarValue, criteria.planar);
    m_widthCheck->setChecked(criteria.widthChecked);
    ChooseText(m_widthOp, criteria.widthOp);
    ChooseText(m_widthValue, criteria.width);
    m_heightCheck->setChecked(criteria.heightChecked);
    ChooseText(m_heightOp, criteria.heightOp);
    ChooseText(m_heightValue, criteria.height);
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
