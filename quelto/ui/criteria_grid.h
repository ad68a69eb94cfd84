// Widget helpers the criteria pages share: wide-text conversion, list filling and choosing by text,
// and the grid of criterion rows (check box, operator list, value controls) whose operator and value
// controls follow the row's check box.
#pragma once

#include "platform/mfc_types.h"

#include <QComboBox>
#include <QString>
#include <initializer_list>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QWidget;

inline QString ToQString(const CString& text) {
    return QString::fromStdWString(text);
}
inline CString ToCString(const QString& text) {
    return text.toStdWString();
}

void FillComboBox(QComboBox* comboBox, const CStringArray& items);
// Chooses the item whose text equals `text` exactly; nothing when there is none. An editable list takes
// the text itself instead.
void ChooseText(QComboBox* comboBox, const CString& text);
// The text shown: an editable list's edit text, a drop-down list's chosen item (empty when none).
CString ShownText(const QComboBox* comboBox);
// A drop-down list (editable: a list the user may type into) with the items, at least `characters` wide
// so that lists filled later, and disabled ones, still show their text.
QComboBox* NewListBox(const CStringArray& items, bool editable, QWidget* parent, int characters = 10);
// The width of the operator lists: the longest operator ("反通配符") fits.
inline constexpr int kOperatorListCharacters = 8;

// A group box holding a grid with the column heads "项目", "运算", "值" from `headColumn` on; rows are
// added below them.
class CCriteriaGrid {
public:
    CCriteriaGrid(const QString& title, QWidget* parent, int headColumn = 0);
    QGroupBox* box() const { return m_box; }
    QGridLayout* grid() const { return m_grid; }
    // Adds a row: the check box, then the operator and value controls, which are enabled exactly while
    // the box is ticked.
    QCheckBox* addRow(const QString& caption, std::initializer_list<QWidget*> controls);

private:
    QGroupBox* m_box;
    QGridLayout* m_grid;
    int m_rows = 1;
};
