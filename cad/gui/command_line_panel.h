// The command line docked under the drawing: the history of prompts and output, and the input line
// where the drafter types commands and answers. It is the host's command-line service while the
// desktop runs: a prompt waits in a local event loop until the drafter types, picks in the view or
// presses Esc, so commands keep their straight-line prompting code in the desktop too.
#pragma once

#include "cad/ed/command_line.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <optional>
#include <string>

class QCompleter;
class QEventLoop;
class QLabel;
class QStringListModel;

namespace cad::gui {

class CommandInput;

class CommandLinePanel final : public QWidget, public ed::CommandLine {
    Q_OBJECT
public:
    explicit CommandLinePanel(QWidget* parent = nullptr);
    ~CommandLinePanel() override;

    // Three lines high, as CAD programs dock their command line: two of history and the input line,
    // so the drawing keeps the room.
    QSize sizeHint() const override;

    void write(std::wstring_view text) override;
    std::optional<std::wstring> readLine(std::wstring_view prompt) override;

    // Whether a command waits for an answer, and the prompt it shows.
    bool isPrompting() const { return m_loop != nullptr; }
    const std::wstring& currentPrompt() const { return m_prompt; }
    // Answers the waiting prompt (and the ones after it, in order) as if typed; nothing cancels.
    void answer(std::optional<std::wstring> text);
    // Esc: cancels a waiting prompt; at the command prompt only clears the input.
    void cancel();
    // Every waiting prompt gives up (the window closes).
    void cancelAll();
    void setCommandNames(const QStringList& names);
    QString historyText() const { return m_history->toPlainText(); }
    QLineEdit* input() const;
    // Enter pressed elsewhere (over the drawing): submits the input line as it stands.
    void submitInput() { submit(); }
    // F2: the history in a window of its own.
    void showTextWindow();

signals:
    // A line typed at the command prompt (empty for Enter or Space alone).
    void commandEntered(const QString& line);
    void escapePressed();

private:
    void submit();
    void showPrompt(const QString& prompt);

    // The history's height when it shows this many lines of its font.
    int historyHeight(int lines) const;

    QPlainTextEdit* m_history = nullptr;
    QLabel* m_promptLabel = nullptr;
    CommandInput* m_input = nullptr;
    QCompleter* m_completer = nullptr;
    QStringListModel* m_names = nullptr;
    QEventLoop* m_loop = nullptr;
    std::wstring m_prompt;
    std::deque<std::optional<std::wstring>> m_answers;
};

} // namespace cad::gui
