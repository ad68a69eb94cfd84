// The command line widget and its prompt loop. Answers may arrive before the prompt that takes them
// (a window drag answers "W" and both corners at once), so they wait in a queue; a prompt takes the
// first queued answer, then queued text of sendStringToExecute, then waits for the drafter.

#include "cad/gui/command_line_panel.h"

#include "cad/app/document_manager.h"

#include <QCompleter>
#include <QDialog>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStringListModel>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace cad::gui {

// The input line: Space submits like Enter, Esc cancels, F2 opens the text window.
class CommandInput final : public QLineEdit {
public:
    explicit CommandInput(CommandLinePanel& panel) : QLineEdit(&panel), m_panel(panel) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            m_panel.cancel();
            return;
        }
        if (event->key() == Qt::Key_F2) {
            m_panel.showTextWindow();
            return;
        }
        if (event->key() == Qt::Key_Space && !m_panel.currentPrompt().ends_with(L"text: ")) {
            emit returnPressed();
            return;
        }
        QLineEdit::keyPressEvent(event);
        // The line edit lets Enter travel on to its parents; here it has done its work.
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
        }
    }

private:
    CommandLinePanel& m_panel;
};

int CommandLinePanel::historyHeight(int lines) const {
    const int documentMargin = static_cast<int>(std::ceil(m_history->document()->documentMargin()));
    return lines * m_history->fontMetrics().lineSpacing() + 2 * (documentMargin + m_history->frameWidth());
}

QSize CommandLinePanel::sizeHint() const {
    const QMargins margins = contentsMargins();
    const int spacing = layout() != nullptr ? layout()->spacing() : 0;
    const int inputHeight = std::max(m_input->sizeHint().height(), m_promptLabel->sizeHint().height());
    return {QWidget::sizeHint().width(),
            historyHeight(2) + spacing + inputHeight + margins.top() + margins.bottom()};
}

CommandLinePanel::CommandLinePanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    m_history = new QPlainTextEdit(this);
    m_history->setReadOnly(true);
    m_history->setMaximumBlockCount(5000);
    m_history->setFocusPolicy(Qt::NoFocus);
    QFont fixed(QStringLiteral("Noto Sans Mono CJK SC"));
    fixed.setStyleHint(QFont::Monospace);
    m_history->setFont(fixed);
    // The history may shrink to one line; the panel's size hint asks for two.
    m_history->setMinimumHeight(historyHeight(1));
    layout->addWidget(m_history);
    auto* row = new QHBoxLayout();
    m_promptLabel = new QLabel(this);
    m_input = new CommandInput(*this);
    m_input->setObjectName(QStringLiteral("commandInput"));
    row->addWidget(m_promptLabel);
    row->addWidget(m_input, 1);
    layout->addLayout(row);
    m_names = new QStringListModel(this);
    m_completer = new QCompleter(m_names, this);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    // Inline completion: the rest of the command name appears selected as the drafter types, and Enter
    // takes it, with no pop-up to steer around.
    m_completer->setCompletionMode(QCompleter::InlineCompletion);
    m_input->setCompleter(m_completer);
    connect(m_input, &QLineEdit::returnPressed, this, &CommandLinePanel::submit);
    showPrompt(QStringLiteral("Command:"));
}

CommandLinePanel::~CommandLinePanel() {
    cancelAll();
}

QLineEdit* CommandLinePanel::input() const {
    return m_input;
}

void CommandLinePanel::setCommandNames(const QStringList& names) {
    m_names->setStringList(names);
}

void CommandLinePanel::write(std::wstring_view text) {
    QTextCursor cursor(m_history->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size())));
    m_history->verticalScrollBar()->setValue(m_history->verticalScrollBar()->maximum());
}

void CommandLinePanel::showPrompt(const QString& prompt) {
    m_promptLabel->setText(prompt.trimmed());
}

std::optional<std::wstring> CommandLinePanel::readLine(std::wstring_view prompt) {
    write(prompt);
    const auto echo = [this](const std::optional<std::wstring>& answer) {
        write(answer ? *answer + L"\n" : std::wstring(L"*Cancel*\n"));
        return answer;
    };
    if (!m_answers.empty()) {
        std::optional<std::wstring> answer = std::move(m_answers.front());
        m_answers.pop_front();
        return echo(answer);
    }
    if (std::optional<AcApDocManager::QueuedLine> queued = acDocManager->takeQueuedLine()) {
        write(queued->echo ? queued->text + L"\n" : L"\n");
        return queued->text;
    }
    const std::wstring previousPrompt = m_prompt;
    m_prompt = std::wstring(prompt);
    showPrompt(QString::fromStdWString(m_prompt));
    QEventLoop loop;
    QEventLoop* outer = m_loop;
    m_loop = &loop;
    while (m_answers.empty()) {
        loop.exec();
    }
    m_loop = outer;
    m_prompt = previousPrompt;
    showPrompt(m_prompt.empty() ? QStringLiteral("Command:") : QString::fromStdWString(m_prompt));
    std::optional<std::wstring> answer = std::move(m_answers.front());
    m_answers.pop_front();
    return echo(answer);
}

void CommandLinePanel::answer(std::optional<std::wstring> text) {
    m_answers.push_back(std::move(text));
    if (m_loop != nullptr) {
        m_loop->quit();
    }
}

void CommandLinePanel::cancel() {
    m_input->clear();
    if (isPrompting()) {
        m_answers.clear();
        answer(std::nullopt);
    } else {
        emit escapePressed();
    }
}

void CommandLinePanel::cancelAll() {
    m_answers.clear();
    if (m_loop != nullptr) {
        answer(std::nullopt);
    }
}

void CommandLinePanel::submit() {
    const QString line = m_input->text().trimmed();
    m_input->clear();
    if (isPrompting()) {
        answer(line.toStdWString());
        return;
    }
    emit commandEntered(line);
}

void CommandLinePanel::showTextWindow() {
    auto* textWindow = new QDialog(window());
    textWindow->setAttribute(Qt::WA_DeleteOnClose);
    textWindow->setWindowTitle(tr("Text Window"));
    auto* layout = new QVBoxLayout(textWindow);
    auto* text = new QPlainTextEdit(textWindow);
    text->setReadOnly(true);
    text->setPlainText(m_history->toPlainText());
    text->setFont(m_history->font());
    layout->addWidget(text);
    textWindow->resize(720, 480);
    textWindow->show();
    text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
}

} // namespace cad::gui
