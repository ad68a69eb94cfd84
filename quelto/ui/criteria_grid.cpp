// The criteria pages' shared widget helpers.

#include "quelto/ui/criteria_grid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

void FillComboBox(QComboBox* comboBox, const CStringArray& items) {
    comboBox->clear();
    for (const CString& item : items) {
        comboBox->addItem(ToQString(item));
    }
}

void ChooseText(QComboBox* comboBox, const CString& text) {
    if (comboBox->isEditable()) {
        comboBox->setCurrentIndex(-1);
        comboBox->setEditText(ToQString(text));
        return;
    }
    comboBox->setCurrentIndex(comboBox->findText(ToQString(text), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

CString ShownText(const QComboBox* comboBox) {
    if (comboBox->isEditable()) {
        return ToCString(comboBox->currentText());
    }
    return comboBox->currentIndex() < 0 ? CString() : ToCString(comboBox->currentText());
}

QComboBox* NewListBox(const CStringArray& items, bool editable, QWidget* parent, int characters) {
    auto* comboBox = new QComboBox(parent);
    comboBox->setEditable(editable);
    comboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    comboBox->setMinimumContentsLength(characters);
    FillComboBox(comboBox, items);
    return comboBox;
}

CCriteriaGrid::CCriteriaGrid(const QString& title, QWidget* parent, int headColumn)
    : m_box(new QGroupBox(title, parent)), m_grid(new QGridLayout(m_box)) {
    m_grid->setHorizontalSpacing(6);
    m_grid->setVerticalSpacing(4);
    int column = headColumn;
    for (const char* head : {"项目", "运算", "值"}) {
        m_grid->addWidget(new QLabel(QString::fromUtf8(head), m_box), 0, column++);
    }
    m_grid->setColumnStretch(column - 1, 1);
}

QCheckBox* CCriteriaGrid::addRow(const QString& caption, std::initializer_list<QWidget*> controls) {
    auto* check = new QCheckBox(caption, m_box);
    m_grid->addWidget(check, m_rows, 0);
    int column = 1;
    for (QWidget* control : controls) {
        m_grid->addWidget(control, m_rows, column++);
        control->setEnabled(false);
        QObject::connect(check, &QCheckBox::toggled, control, &QWidget::setEnabled);
    }
    ++m_rows;
    return check;
}
