// The command line: where acutPrintf and prompts write, and where answers to prompts come from. The
// console host reads answers from its script, the desktop host from its command-line widget, tests
// from a queue; one interface serves them all.
#pragma once

#include "cad/db/object_id.h"
#include "cad/ed/resbuf.h"
#include "platform/export.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cad::ed {

class QUELTO_EXPORT CommandLine {
public:
    virtual ~CommandLine();
    virtual void write(std::wstring_view text) = 0;
    // Shows the prompt and answers the next line the drafter enters (without its line end); nothing
    // when input has ended, which the prompts treat as Esc.
    virtual std::optional<std::wstring> readLine(std::wstring_view prompt) = 0;
    // Objects given in place of the next answer (acedCommand's selection-set and entity-name
    // arguments): shows the prompt and answers them; nothing when the next answer is typed.
    virtual std::optional<std::vector<AcDbObjectId>> takeObjects(std::wstring_view prompt);
};

// Input typed (or queued with sendStringToExecute) that no prompt has taken yet, handed out one answer
// at a time: a newline ends an answer, and so does a blank unless the prompt being answered takes
// blanks (a text prompt that allows spaces), as on the host's command line.
class QUELTO_EXPORT TypedInput {
public:
    struct Answer {
        std::wstring text;
        bool echo = true;
    };
    void append(std::wstring_view text, bool echo = true);
    // The next complete answer; nothing while the text typed so far ends without a separator.
    std::optional<Answer> take();
    bool empty() const { return m_text.empty(); }
    void clear();

private:
    std::wstring m_text;
    std::vector<bool> m_echo; // per character: whether the caller wanted it echoed
};

// Writes to standard output as UTF-8 and reads standard input; the service used when none is installed.
class QUELTO_EXPORT StandardCommandLine final : public CommandLine {
public:
    void write(std::wstring_view text) override;
    std::optional<std::wstring> readLine(std::wstring_view prompt) override;
};

// Collects the output and answers from a queue; prompts and answers are kept in the transcript as the
// console shows them.
class QUELTO_EXPORT QueuedCommandLine final : public CommandLine {
public:
    void write(std::wstring_view text) override { m_transcript += text; }
    std::optional<std::wstring> readLine(std::wstring_view prompt) override;
    void queueLine(std::wstring line) { m_answers.push_back(std::move(line)); }
    const std::wstring& transcript() const { return m_transcript; }
    void clear() {
        m_transcript.clear();
        m_answers.clear();
    }

private:
    std::deque<std::wstring> m_answers;
    std::wstring m_transcript;
};

QUELTO_EXPORT CommandLine* setCommandLine(CommandLine* commandLine);
QUELTO_EXPORT CommandLine& commandLine();

class QUELTO_EXPORT ScopedCommandLine {
public:
    explicit ScopedCommandLine(CommandLine& commandLine) : m_previous(setCommandLine(&commandLine)) {}
    ~ScopedCommandLine() { setCommandLine(m_previous); }
    ScopedCommandLine(const ScopedCommandLine&) = delete;
    ScopedCommandLine& operator=(const ScopedCommandLine&) = delete;

private:
    CommandLine* m_previous;
};

// An answer to a prompt as the host classifies it: the text typed, an empty line (Enter), or Esc (the
// line "*Cancel*", or the end of input).
struct PromptAnswer {
    enum class Kind { Text, Enter, Cancel };
    Kind kind = Kind::Cancel;
    std::wstring text;
};
// With `acceptsSpaces` a blank in typed input is part of the answer instead of ending it.
QUELTO_EXPORT PromptAnswer prompt(std::wstring_view text, bool acceptsSpaces = false);
// Whether the prompt being answered now takes blanks as part of its answer.
QUELTO_EXPORT bool promptAcceptsSpaces();

// "x,y" or "x,y,z" as typed at a point prompt (blanks around numbers allowed); nothing when not a point.
QUELTO_EXPORT bool parsePoint(std::wstring_view text, ads_point point);

} // namespace cad::ed

// Prints on the command line with the Windows meaning of the conversions (%s is a wide text).
QUELTO_EXPORT int acutPrintf(const ACHAR* format, ...);

// Prompts of the interface: RTNORM with the answer, RTNONE on Enter (acedGetPoint), RTCAN on Esc.
// acedGetPoint answers RTKWORD for a keyword acedInitGet offered; acedGetString ignores keywords, as the
// host's does.
QUELTO_EXPORT int acedGetString(int allowSpaces, const ACHAR* promptText, ACHAR* result,
                                std::size_t resultLength);
QUELTO_EXPORT int acedGetPoint(const ads_point basePoint, const ACHAR* promptText, ads_point result);
