// The "@" lines on an open dialog. Controls are found the way a user finds them: by the caption of a check
// box, radio button, push button, label, group box or tab that is visible now; the controls of a caption
// are the rest of its grid row, or the label's buddy. Changes go through the calls that emit the same
// signals as a user's input, so the dialog's own enabling rules and live count follow.
#include "quelto/ui/dialog_script.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>
#include <vector>

namespace {

using Outcome = CDialogScript::Outcome;

Outcome failure(const QString& message) {
    return {false, message};
}

// "&N" shows as an underlined N; "&&" is a literal ampersand.
QString plainCaption(const QString& text) {
    QString plain;
    for (qsizetype index = 0; index < text.size(); ++index) {
        if (text[index] == u'&' && index + 1 < text.size()) {
            ++index;
        }
        plain += text[index];
    }
    return plain;
}

// Widgets of one kind that a user sees now, in reading order.
template <typename Widget>
std::vector<Widget*> visibleWidgets(QDialog& dialog) {
    std::vector<Widget*> widgets;
    for (Widget* widget : dialog.findChildren<Widget*>()) {
        if (widget->isVisible()) {
            widgets.push_back(widget);
        }
    }
    std::stable_sort(widgets.begin(), widgets.end(), [&dialog](QWidget* first, QWidget* second) {
        const QPoint a = first->mapTo(&dialog, QPoint(0, 0));
        const QPoint b = second->mapTo(&dialog, QPoint(0, 0));
        return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
    });
    return widgets;
}

QString captionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return plainCaption(button->text());
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return plainCaption(label->text());
    }
    if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        return plainCaption(box->title());
    }
    return {};
}

// "横向偏移：#2" names the second control of that caption in reading order.
struct CaptionReference {
    QString caption;
    int ordinal = 1;
};

CaptionReference parseCaption(const QString& word) {
    const qsizetype hash = word.lastIndexOf(u'#');
    bool isNumber = false;
    const int ordinal = hash > 0 ? word.mid(hash + 1).toInt(&isNumber) : 0;
    if (isNumber && ordinal >= 1) {
        return {word.left(hash), ordinal};
    }
    return {word, 1};
}

template <typename Widget>
Widget* findByCaption(QDialog& dialog, const CaptionReference& reference) {
    int seen = 0;
    for (Widget* widget : visibleWidgets<Widget>(dialog)) {
        if (captionOf(widget) == reference.caption && ++seen == reference.ordinal) {
            return widget;
        }
    }
    return nullptr;
}

QWidget* findCaptionWidget(QDialog& dialog, const CaptionReference& reference) {
    int seen = 0;
    for (QWidget* widget : visibleWidgets<QWidget>(dialog)) {
        const bool captioned =
            qobject_cast<QAbstractButton*>(widget) != nullptr || qobject_cast<QLabel*>(widget) != nullptr;
        if (captioned && captionOf(widget) == reference.caption && ++seen == reference.ordinal) {
            return widget;
        }
    }
    return nullptr;
}

void collectWidgets(QLayoutItem* item, std::vector<QWidget*>& widgets) {
    if (item->widget() != nullptr) {
        widgets.push_back(item->widget());
    } else if (QLayout* layout = item->layout()) {
        for (int index = 0; index < layout->count(); ++index) {
            collectWidgets(layout->itemAt(index), widgets);
        }
    }
}

// The controls after the caption in its grid row, left to right; the buddy of a label outside a grid.
std::vector<QWidget*> rowControls(QDialog& dialog, QWidget* captionWidget) {
    std::vector<QWidget*> controls;
    for (QGridLayout* grid : dialog.findChildren<QGridLayout*>()) {
        const int position = grid->indexOf(captionWidget);
        if (position < 0) {
            continue;
        }
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(position, &row, &column, &rowSpan, &columnSpan);
        // Every item of the row after the caption, by column; a cell may hold alternative controls.
        std::vector<std::pair<int, QLayoutItem*>> items;
        for (int index = 0; index < grid->count(); ++index) {
            int itemRow = 0, itemColumn = 0, ignoredRows = 0, ignoredColumns = 0;
            grid->getItemPosition(index, &itemRow, &itemColumn, &ignoredRows, &ignoredColumns);
            if (itemRow == row && itemColumn > column) {
                items.emplace_back(itemColumn, grid->itemAt(index));
            }
        }
        std::stable_sort(items.begin(), items.end(),
                         [](const auto& first, const auto& second) { return first.first < second.first; });
        for (const auto& item : items) {
            collectWidgets(item.second, controls);
        }
        return controls;
    }
    if (auto* label = qobject_cast<QLabel*>(captionWidget); label != nullptr && label->buddy() != nullptr) {
        controls.push_back(label->buddy());
    }
    return controls;
}

bool usable(QWidget* widget) {
    return widget->isVisible() && widget->isEnabled();
}

bool isEditable(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return !edit->isReadOnly();
    }
    auto* combo = qobject_cast<QComboBox*>(widget);
    return combo != nullptr && combo->isEditable();
}

// Replaces the text as typing would: textEdited and editTextChanged fire, then editingFinished.
void typeInto(QWidget* widget, const QString& text) {
    QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
    if (edit == nullptr) {
        edit = qobject_cast<QComboBox*>(widget)->lineEdit();
    }
    edit->selectAll();
    edit->insert(text);
    emit edit->editingFinished();
}

void chooseIndex(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    emit combo->textActivated(combo->itemText(index));
}

QStringList itemsOf(QComboBox* combo) {
    QStringList items;
    for (int index = 0; index < combo->count(); ++index) {
        items << combo->itemText(index);
    }
    return items;
}

// Chooses the item in the first usable combo box of `controls` (from `start` on) that lists it; answers
// the position after that combo box, or -1.
qsizetype chooseInControls(const std::vector<QWidget*>& controls, qsizetype start, const QString& item) {
    for (auto index = static_cast<std::size_t>(start); index < controls.size(); ++index) {
        auto* combo = qobject_cast<QComboBox*>(controls[index]);
        if (combo == nullptr || !usable(combo)) {
            continue;
        }
        const int found = combo->findText(item, Qt::MatchExactly);
        if (found >= 0) {
            chooseIndex(combo, found);
            return static_cast<qsizetype>(index) + 1;
        }
    }
    return -1;
}

QString offeredItems(const std::vector<QWidget*>& controls) {
    QStringList offered;
    for (QWidget* widget : controls) {
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo != nullptr && usable(combo)) {
            offered << "[" + itemsOf(combo).join(", ") + "]";
        }
    }
    return offered.isEmpty() ? QStringLiteral("no usable list") : offered.join(" ");
}

class LineRunner {
public:
    LineRunner(QDialog& dialog, const QString& line) : m_dialog(dialog), m_line(line.trimmed()) {}

    Outcome run() {
        const QString command = word();
        if (command == "@tab") {
            return tab(rest());
        }
        if (command == "@check" || command == "@uncheck") {
            return check(parseCaption(rest()), command == "@check");
        }
        if (command == "@choose") {
            const CaptionReference caption = parseCaption(word());
            return choose(caption, rest());
        }
        if (command == "@type") {
            const CaptionReference caption = parseCaption(word());
            return type(caption, rest());
        }
        if (command == "@row") {
            return row();
        }
        if (command == "@logic") {
            return logic();
        }
        if (command == "@config") {
            return choose({QStringLiteral("配制选项："), 1}, rest());
        }
        if (command == "@menu") {
            return menu(rest());
        }
        if (command == "@name") {
            return name(rest());
        }
        if (command == "@press") {
            return press(parseCaption(rest()));
        }
        if (command == "@expect") {
            return expect();
        }
        return failure(
            QStringLiteral("unknown dialog command \"%1\" (known: @tab @check @uncheck @choose @type "
                           "@row @logic @config @menu @name @press @expect)")
                .arg(command));
    }

private:
    QString word() {
        const qsizetype end = m_line.indexOf(u' ', m_position);
        const QString taken = m_line.mid(m_position, end < 0 ? -1 : end - m_position);
        m_position = end < 0 ? m_line.size() : end + 1;
        while (m_position < m_line.size() && m_line[m_position] == u' ') {
            ++m_position;
        }
        return taken;
    }
    QString rest() {
        const QString taken = m_line.mid(m_position);
        m_position = m_line.size();
        return taken;
    }

    Outcome missing(const QString& caption) {
        return failure(QStringLiteral("%1: no visible control \"%2\"; visible: %3")
                           .arg(m_line, caption, CDialogScript::VisibleCaptions(m_dialog).join(", ")));
    }

    Outcome tab(const QString& caption) {
        for (QTabWidget* tabs : visibleWidgets<QTabWidget>(m_dialog)) {
            for (int index = 0; index < tabs->count(); ++index) {
                if (plainCaption(tabs->tabText(index)) == caption) {
                    tabs->setCurrentIndex(index);
                    return {};
                }
            }
        }
        return missing(caption);
    }

    Outcome check(const CaptionReference& caption, bool checked) {
        auto* button = findByCaption<QAbstractButton>(m_dialog, caption);
        if (button == nullptr || !button->isCheckable()) {
            return missing(caption.caption);
        }
        if (!button->isEnabled()) {
            return failure(QStringLiteral("%1: \"%2\" is disabled").arg(m_line, caption.caption));
        }
        if (button->isChecked() != checked) {
            button->click();
        }
        if (button->isChecked() != checked) {
            return failure(QStringLiteral("%1: a radio button is unchecked by checking another").arg(m_line));
        }
        return {};
    }

    Outcome choose(const CaptionReference& caption, const QString& item) {
        QWidget* captionWidget = findCaptionWidget(m_dialog, caption);
        if (captionWidget == nullptr) {
            return missing(caption.caption);
        }
        const std::vector<QWidget*> controls = rowControls(m_dialog, captionWidget);
        if (chooseInControls(controls, 0, item) < 0) {
            return failure(QStringLiteral("%1: no usable list of \"%2\" offers \"%3\"; offered: %4")
                               .arg(m_line, caption.caption, item, offeredItems(controls)));
        }
        return {};
    }

    Outcome type(const CaptionReference& caption, const QString& text) {
        QWidget* captionWidget = findCaptionWidget(m_dialog, caption);
        if (captionWidget == nullptr) {
            return missing(caption.caption);
        }
        const std::vector<QWidget*> controls = rowControls(m_dialog, captionWidget);
        for (auto control = controls.rbegin(); control != controls.rend(); ++control) {
            if (usable(*control) && isEditable(*control)) {
                typeInto(*control, text);
                return {};
            }
        }
        return failure(QStringLiteral("%1: \"%2\" has no usable text field").arg(m_line, caption.caption));
    }

    // @row A 长度 > 10: the property, then the operator, then the value in whichever value control shows.
    Outcome row() {
        QString letter = word();
        const QString property = word();
        const QString operation = word();
        const QString value = rest();
        if (!letter.endsWith(u'：')) {
            letter += u'：';
        }
        QWidget* captionWidget = findCaptionWidget(m_dialog, {letter, 1});
        if (captionWidget == nullptr) {
            return missing(letter);
        }
        std::vector<QWidget*> controls = rowControls(m_dialog, captionWidget);
        const qsizetype afterProperty = chooseInControls(controls, 0, property);
        if (afterProperty < 0) {
            return failure(QStringLiteral("%1: row %2 offers no property \"%3\"; offered: %4")
                               .arg(m_line, letter, property, offeredItems(controls)));
        }
        if (chooseInControls(controls, afterProperty, operation) < 0) {
            return failure(QStringLiteral("%1: row %2 offers no operator \"%3\"; offered: %4")
                               .arg(m_line, letter, operation, offeredItems(controls)));
        }
        for (auto control = controls.rbegin(); control != controls.rend(); ++control) {
            if (!usable(*control)) {
                continue;
            }
            if (isEditable(*control)) {
                typeInto(*control, value);
                return {};
            }
            if (auto* list = qobject_cast<QComboBox*>(*control)) {
                const int found = list->findText(value, Qt::MatchExactly);
                if (found < 0) {
                    return failure(QStringLiteral("%1: row %2 offers no value \"%3\"; offered: [%4]")
                                       .arg(m_line, letter, value, itemsOf(list).join(", ")));
                }
                chooseIndex(list, found);
                return {};
            }
        }
        return failure(QStringLiteral("%1: row %2 has no usable value control").arg(m_line, letter));
    }

    // @logic 用户定义 (A&B)|C: ticks the box "逻辑增强：", chooses the mode and types the expression.
    Outcome logic() {
        const QString mode = word();
        const QString expression = rest();
        const QString title = QStringLiteral("逻辑增强：");
        auto* box = findByCaption<QGroupBox>(m_dialog, {title, 1});
        if (box == nullptr) {
            return missing(title);
        }
        const QList<QAbstractButton*> checks = box->findChildren<QAbstractButton*>();
        auto tick = std::find_if(checks.begin(), checks.end(),
                                 [](QAbstractButton* button) { return button->isCheckable(); });
        if (tick != checks.end() && !(*tick)->isChecked()) {
            (*tick)->click();
        }
        std::vector<QWidget*> controls;
        for (QComboBox* combo : box->findChildren<QComboBox*>()) {
            controls.push_back(combo);
        }
        if (chooseInControls(controls, 0, mode) < 0) {
            return failure(QStringLiteral("%1: no logic mode \"%2\"; offered: %3")
                               .arg(m_line, mode, offeredItems(controls)));
        }
        if (expression.isEmpty()) {
            return {};
        }
        for (QWidget* control : controls) {
            if (usable(control) && isEditable(control)) {
                typeInto(control, expression);
                return {};
            }
        }
        return failure(
            QStringLiteral("%1: the expression field is disabled for mode \"%2\"").arg(m_line, mode));
    }

    Outcome menu(const QString& entry) {
        auto* scriptable = dynamic_cast<CScriptableDialog*>(&m_dialog);
        if (scriptable == nullptr || !scriptable->RunScriptMenuEntry(entry)) {
            return failure(QStringLiteral("%1: the dialog \"%2\" has no enabled menu entry \"%3\"")
                               .arg(m_line, m_dialog.windowTitle(), entry));
        }
        return {};
    }

    // @name 我的配制: the name into the dialog's text field, then its OK.
    Outcome name(const QString& text) {
        for (QWidget* widget : visibleWidgets<QWidget>(m_dialog)) {
            if (usable(widget) && isEditable(widget) &&
                qobject_cast<QComboBox*>(widget->parentWidget()) == nullptr) {
                typeInto(widget, text);
                return press({QStringLiteral("确定"), 1});
            }
        }
        return failure(
            QStringLiteral("%1: the dialog \"%2\" has no text field").arg(m_line, m_dialog.windowTitle()));
    }

    Outcome press(const CaptionReference& caption) {
        auto* button = findByCaption<QAbstractButton>(m_dialog, caption);
        if (button == nullptr) {
            return missing(caption.caption);
        }
        if (!button->isEnabled()) {
            return failure(QStringLiteral("%1: \"%2\" is disabled").arg(m_line, caption.caption));
        }
        button->click();
        return {};
    }

    Outcome expect() {
        const QString what = word();
        bool isNumber = false;
        const long expected = rest().toLong(&isNumber);
        if (what != "count" || !isNumber) {
            return failure(QStringLiteral("%1: write @expect count N").arg(m_line));
        }
        auto* scriptable = dynamic_cast<CScriptableDialog*>(&m_dialog);
        if (scriptable == nullptr) {
            return failure(
                QStringLiteral("%1: the dialog \"%2\" shows no count").arg(m_line, m_dialog.windowTitle()));
        }
        const std::optional<long> count = scriptable->FinishLiveCount();
        if (!count) {
            return failure(
                QStringLiteral("%1: the count cannot be known before the objects are selected").arg(m_line));
        }
        if (*count != expected) {
            return failure(QStringLiteral("%1: the live count is %2").arg(m_line).arg(*count));
        }
        return {};
    }

    QDialog& m_dialog;
    QString m_line;
    qsizetype m_position = 0;
};

} // namespace

CDialogScript::Outcome CDialogScript::Run(QDialog& dialog, const QString& line) {
    return LineRunner(dialog, line).run();
}

QStringList CDialogScript::VisibleCaptions(QDialog& dialog) {
    QStringList captions;
    for (QTabWidget* tabs : visibleWidgets<QTabWidget>(dialog)) {
        for (int index = 0; index < tabs->count(); ++index) {
            captions << plainCaption(tabs->tabText(index));
        }
    }
    for (QWidget* widget : visibleWidgets<QWidget>(dialog)) {
        const QString caption = captionOf(widget);
        if (!caption.isEmpty() && !captions.contains(caption)) {
            captions << caption;
        }
    }
    return captions;
}
