// The property page's widgets: each user change goes to the model, then the affected controls are
// redrawn from it with their signals blocked, so the model stays the one source of truth.

#include "quelto/ui/sel_ent_page3.h"

#include "platform/message_box.h"
#include "quelto/ui/criteria_grid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CQSelEntPage3::CQSelEntPage3(QWidget* parent) : CQSelEntPageBase(parent) {
    BuildControls();
    m_model.Refill(nullptr);
    ShowAll();
}

void CQSelEntPage3::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    // Column 0 holds the row letters, so the heads start one column to the right.
    CCriteriaGrid criteria(QStringLiteral("特性选项："), this, 1);
    criteria.grid()->setColumnStretch(1, 2);
    criteria.grid()->setColumnStretch(3, 3);
    QWidget* previous = nullptr;
    for (int row = 0; row < CPropertyPageModel::RowCount; ++row) {
        const RowControls& controls = BuildRow(row, *criteria.grid());
        for (QWidget* control :
             {static_cast<QWidget*>(controls.property), static_cast<QWidget*>(controls.op),
              static_cast<QWidget*>(controls.edit), static_cast<QWidget*>(controls.list)}) {
            if (previous != nullptr) {
                setTabOrder(previous, control);
            }
            previous = control;
        }
    }
    layout->addWidget(criteria.box());
    layout->addWidget(BuildLogicBox());
    layout->addStretch(1);
    setTabOrder(previous, m_logicCheck);
    setTabOrder(m_logicCheck, m_logicMode);
    setTabOrder(m_logicMode, m_logicExpression);
}

const CQSelEntPage3::RowControls& CQSelEntPage3::BuildRow(int row, QGridLayout& grid) {
    QWidget* box = grid.parentWidget();
    RowControls& controls = m_rows[static_cast<std::size_t>(row)];
    const QString letter = ToQString(CPropertyPageModel::RowLetter(row));
    controls.letter = new QLabel(letter + QStringLiteral("："), box);
    controls.property = NewListBox({}, false, box);
    controls.property->setMaxVisibleItems(20);
    controls.op = NewListBox({}, false, box, kOperatorListCharacters);
    controls.edit = new QLineEdit(box);
    controls.list = NewListBox({}, false, box);
    controls.letter->setBuddy(controls.property);
    // Names for scripts and tests that address a row by letter rather than by layout position.
    controls.property->setObjectName(QStringLiteral("property") + letter);
    controls.op->setObjectName(QStringLiteral("operator") + letter);
    controls.edit->setObjectName(QStringLiteral("valueEdit") + letter);
    controls.list->setObjectName(QStringLiteral("valueList") + letter);
    grid.addWidget(controls.letter, row + 1, 0);
    grid.addWidget(controls.property, row + 1, 1);
    grid.addWidget(controls.op, row + 1, 2);
    // The edit box and the list share one cell; exactly one of them is visible.
    grid.addWidget(controls.edit, row + 1, 3);
    grid.addWidget(controls.list, row + 1, 3);

    connect(controls.property, &QComboBox::currentIndexChanged, this, [this, row](int item) {
        m_model.ChooseProperty(row, item);
        ShowRow(row);
    });
    connect(controls.op, &QComboBox::currentIndexChanged, this, [this, row, op = controls.op](int) {
        m_model.ChooseOperator(row, ToCString(op->currentText()));
        ShowRow(row);
    });
    connect(controls.edit, &QLineEdit::textChanged, this,
            [this, row](const QString& text) { m_model.SetEditText(row, ToCString(text)); });
    connect(controls.list, &QComboBox::currentIndexChanged, this,
            [this, row](int item) { m_model.ChooseListItem(row, item); });
    return controls;
}

QGroupBox* CQSelEntPage3::BuildLogicBox() {
    auto* logicBox = new QGroupBox(QStringLiteral("逻辑增强："), this);
    auto* logicLayout = new QHBoxLayout(logicBox);
    m_logicCheck = new QCheckBox(QStringLiteral("使用逻辑关系"), logicBox);
    m_logicMode = NewListBox(CPropertyPageModel::LogicModes(), false, logicBox, 16);
    m_logicExpression = NewListBox(CPropertyPageModel::LogicExpressions(), true, logicBox);
    m_logicCheck->setObjectName(QStringLiteral("logicCheck"));
    m_logicMode->setObjectName(QStringLiteral("logicMode"));
    m_logicExpression->setObjectName(QStringLiteral("logicExpression"));
    logicLayout->addWidget(m_logicCheck);
    logicLayout->addWidget(m_logicMode);
    logicLayout->addWidget(m_logicExpression, 1);

    connect(m_logicCheck, &QCheckBox::toggled, this, [this](bool checked) {
        m_model.logicChecked = checked;
        ShowLogic();
    });
    connect(m_logicMode, &QComboBox::currentIndexChanged, this, [this](int item) {
        m_model.logicMode = item;
        ShowLogic();
    });
    connect(m_logicExpression, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { m_model.logicExpression = ToCString(text); });
    return logicBox;
}

void CQSelEntPage3::ShowRow(int row) {
    const CPropertyRow& state = m_model.Row(row);
    RowControls& controls = m_rows[static_cast<std::size_t>(row)];
    const QSignalBlocker propertyBlocker(controls.property);
    const QSignalBlocker opBlocker(controls.op);
    const QSignalBlocker editBlocker(controls.edit);
    const QSignalBlocker listBlocker(controls.list);
    controls.property->setCurrentIndex(state.property);
    if (state.Enabled()) {
        FillComboBox(controls.op, state.operators);
        controls.op->setCurrentIndex(state.operatorItem);
        FillComboBox(controls.list, state.listItems);
        controls.list->setCurrentIndex(state.listItem);
    }
    controls.edit->setText(ToQString(state.editText));
    controls.edit->setVisible(state.control == CValueControl::EditBox);
    controls.list->setVisible(state.control == CValueControl::DropDownList);
    for (QWidget* control : {static_cast<QWidget*>(controls.op), static_cast<QWidget*>(controls.edit),
                             static_cast<QWidget*>(controls.list)}) {
        control->setEnabled(state.Enabled());
    }
}

void CQSelEntPage3::ShowLogic() {
    const QSignalBlocker checkBlocker(m_logicCheck);
    const QSignalBlocker modeBlocker(m_logicMode);
    const QSignalBlocker expressionBlocker(m_logicExpression);
    m_logicCheck->setChecked(m_model.logicChecked);
    m_logicMode->setCurrentIndex(m_model.logicMode);
    m_logicExpression->setEditText(ToQString(m_model.logicExpression));
    m_logicMode->setEnabled(m_model.LogicModeEnabled());
    m_logicExpression->setEnabled(m_model.ExpressionEnabled());
}

void CQSelEntPage3::ShowAll() {
    const CStringArray items = m_model.PropertyItems();
    for (int row = 0; row < CPropertyPageModel::RowCount; ++row) {
        QComboBox* property = m_rows[static_cast<std::size_t>(row)].property;
        const QSignalBlocker blocker(property);
        FillComboBox(property, items);
        ShowRow(row);
    }
    ShowLogic();
}

void CQSelEntPage3::Refill(EntityInfo* info) {
    m_model.Refill(info);
    ShowAll();
}

void CQSelEntPage3::LoadPage(const CFilter& record) {
    m_model.Load(record);
    ShowAll();
}

bool CQSelEntPage3::SavePage(CFilter& record) {
    const auto refusal = m_model.Save(record);
    ShowLogic();
    if (refusal) {
        MessageBox(static_cast<HWND>(window()), refusal->message, refusal->title, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return true;
}
