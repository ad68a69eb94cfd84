// The basic page's widgets and their binding to CBasicCriteriaRules.

#include "quelto/ui/sel_ent_page1.h"

#include "cad/gui/color_combo_box.h"
#include "cad/gui/lineweight_combo_box.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/criteria_grid.h"
#include "quelto/ui/drawing_lists.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

CQSelEntPage1::CQSelEntPage1(CInfoMapList& catalogue, CTypeChangeListener& listener, QWidget* parent)
    : CQSelEntPageBase(parent), m_listener(listener) {
    BuildControls(catalogue);
    ApplyEnabling();
    connect(m_typeCheck, &QCheckBox::toggled, this, [this] { NotifyTypeChange(); });
    connect(m_typeList, &QComboBox::currentIndexChanged, this, [this] { NotifyTypeChange(); });
    connect(m_groupMode, &QComboBox::currentIndexChanged, this, [this] { ApplyEnabling(); });
}

void CQSelEntPage1::BuildControls(CInfoMapList& catalogue) {
    auto* layout = new QVBoxLayout(this);
    CCriteriaGrid criteria(QStringLiteral("基本选项："), this);

    CStringArray typeNames;
    for (const EntityName& type : catalogue.GetTypeTable()) {
        typeNames.push_back(type.displayName);
    }
    m_typeOp = NewListBox(CBasicCriteriaRules::EqualOperator(), false, this, kOperatorListCharacters);
    m_typeList = NewListBox(typeNames, false, this);
    m_typeList->setMaxVisibleItems(20);
    m_typeCheck = criteria.addRow(QStringLiteral("对象类型："), {m_typeOp, m_typeList});

    const CStringArray layers = DrawingLayerNames();
    m_layerOp = NewListBox(CBasicCriteriaRules::EqualOperator(), false, this, kOperatorListCharacters);
    m_layerList = NewListBox(layers, false, this);
    m_layerCheck = criteria.addRow(QStringLiteral("对象图层："), {m_layerOp, m_layerList});

    m_colorOp = NewListBox(CBasicCriteriaRules::ComparisonOperators(), false, this, kOperatorListCharacters);
    m_colorList = new cad::gui::ColorComboBox(this);
    m_colorCheck = criteria.addRow(QStringLiteral("颜色颜色："), {m_colorOp, m_colorList});

    m_lineWeightOp =
        NewListBox(CBasicCriteriaRules::ComparisonOperators(), false, this, kOperatorListCharacters);
    m_lineWeightList = new cad::gui::LineweightComboBox(this);
    m_lineWeightCheck = criteria.addRow(QStringLiteral("对象线宽："), {m_lineWeightOp, m_lineWeightList});

    for (QComboBox* list : {m_typeOp, m_layerOp, m_colorOp, m_lineWeightOp}) {
        list->setCurrentIndex(0);
    }
    m_typeList->setCurrentIndex(typeNames.empty() ? -1 : 0);
    m_layerList->setCurrentIndex(layers.empty() ? -1 : 0);
    layout->addWidget(criteria.box());

    auto* preselection = new QGroupBox(QStringLiteral("预选原则："), this);
    auto* preselectionLayout = new QHBoxLayout(preselection);
    m_fromSelection = new QRadioButton(QStringLiteral("在用户选择集中过滤"), preselection);
    m_fromAll = new QRadioButton(QStringLiteral("在全部实体中过滤"), preselection);
    m_fromSelection->setChecked(true);
    preselectionLayout->addWidget(m_fromSelection);
    preselectionLayout->addWidget(m_fromAll);
    preselectionLayout->addStretch(1);
    layout->addWidget(preselection);

    auto* grouping = new QGroupBox(QStringLiteral("实体编组："), this);
    auto* groupingLayout = new QGridLayout(grouping);
    auto* modeLabel = new QLabel(QStringLiteral("原则："), grouping);
    m_groupMode = NewListBox(CBasicCriteriaRules::GroupModes(), false, grouping);
    m_groupMode->setCurrentIndex(0);
    modeLabel->setBuddy(m_groupMode);
    m_groupNameLabel = new QLabel(QStringLiteral("组名："), grouping);
    m_groupName = new QLineEdit(grouping);
    m_groupNameLabel->setBuddy(m_groupName);
    groupingLayout->addWidget(modeLabel, 0, 0);
    groupingLayout->addWidget(m_groupMode, 0, 1);
    groupingLayout->addWidget(m_groupNameLabel, 1, 0);
    groupingLayout->addWidget(m_groupName, 1, 1);
    groupingLayout->setColumnStretch(1, 1);
    layout->addWidget(grouping);
    layout->addStretch(1);

    QWidget* order[] = {m_typeCheck,     m_typeOp,          m_typeList,     m_layerCheck,
                        m_layerOp,       m_layerList,       m_colorCheck,   m_colorOp,
                        m_colorList,     m_lineWeightCheck, m_lineWeightOp, m_lineWeightList,
                        m_fromSelection, m_fromAll,         m_groupMode,    m_groupName};
    for (std::size_t index = 1; index < std::size(order); ++index) {
        setTabOrder(order[index - 1], order[index]);
    }
}

void CQSelEntPage1::ApplyEnabling() {
    const BOOL named = CBasicCriteriaRules::GroupNameEnabled(m_groupMode->currentIndex());
    m_groupNameLabel->setEnabled(named);
    m_groupName->setEnabled(named);
}

void CQSelEntPage1::NotifyTypeChange() {
    const CString chosen = CBasicCriteriaRules::ChosenType(Criteria());
    if (chosen != m_reportedType) {
        m_reportedType = chosen;
        m_listener.OnTypeChanged(chosen);
    }
}

CBasicCriteria CQSelEntPage1::Criteria() const {
    CBasicCriteria criteria;
    criteria.typeChecked = m_typeCheck->isChecked();
    criteria.typeName = ShownText(m_typeList);
    criteria.layerChecked = m_layerCheck->isChecked();
    criteria.layerName = ShownText(m_layerList);
    criteria.colorChecked = m_colorCheck->isChecked();
    criteria.colorOp = ShownText(m_colorOp);
    criteria.color = m_colorList->colorIndex();
    criteria.lineWeightChecked = m_lineWeightCheck->isChecked();
    criteria.lineWeightOp = ShownText(m_lineWeightOp);
    criteria.lineWeight = m_lineWeightList->lineWeight();
    criteria.selectFromAll = m_fromAll->isChecked();
    criteria.groupMode = m_groupMode->currentIndex();
    criteria.groupName = ToCString(m_groupName->text());
    return criteria;
}

void CQSelEntPage1::ShowCriteria(const CBasicCriteria& criteria) {
    {
        // The type-change report follows once every control shows the new criteria.
        const QSignalBlocker typeCheckBlocker(m_typeCheck);
        const QSignalBlocker typeListBlocker(m_typeList);
        m_typeCheck->setChecked(criteria.typeChecked);
        ChooseText(m_typeList, criteria.typeName);
    }
    m_layerCheck->setChecked(criteria.layerChecked);
    m_colorCheck->setChecked(criteria.colorChecked);
    m_lineWeightCheck->setChecked(criteria.lineWeightChecked);
    m_typeOp->setEnabled(criteria.typeChecked);
    m_typeList->setEnabled(criteria.typeChecked);
    ChooseText(m_layerList, criteria.layerName);
    ChooseText(m_colorOp, criteria.colorOp);
    m_colorList->setColorIndex(criteria.color);
    ChooseText(m_lineWeightOp, criteria.lineWeightOp);
    m_lineWeightList->setLineWeight(criteria.lineWeight);
    (criteria.selectFromAll ? m_fromAll : m_fromSelection)->setChecked(true);
    m_groupMode->setCurrentIndex(criteria.groupMode);
    m_groupName->setText(ToQString(criteria.groupName));
    ApplyEnabling();
    NotifyTypeChange();
}

void CQSelEntPage1::LoadPage(const CFilter& record) {
    CQLTSystemParam settings;
    CBasicCriteria criteria = Criteria();
    CBasicCriteriaRules::Load(criteria, record, settings.GetReadCfgPick() != 0,
                              settings.GetReadCfgGroup() != 0);
    ShowCriteria(criteria);
}

bool CQSelEntPage1::SavePage(CFilter& record) {
    CBasicCriteriaRules::Save(Criteria(), record);
    return true;
}
