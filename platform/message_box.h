// Message boxes behind one service, so the same module code shows Qt boxes in the desktop host, prints
// and reads answers in the console host, and takes queued answers in tests. `MessageBox` keeps the
// Windows call shape (owner, text, caption, MB_ flags, ID answers) that module code is written in.
#pragma once

#include "platform/export.h"
#include "platform/mfc_types.h"

#include <deque>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

namespace platform {

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT style = MB_OK;

    UINT buttons() const { return style & 0x0F; }
    UINT icon() const { return style & 0xF0; }
};

class QUELTO_EXPORT MessageBoxService {
public:
    virtual ~MessageBoxService();
    // Shows the box and answers with IDOK, IDCANCEL, IDYES or IDNO.
    virtual int show(const MessageBoxRequest& request) = 0;
};

// Test service: records every box and answers from a queue; an empty queue answers the default button
// (OK, or Yes for a question) so an unexpected box never blocks a test, yet shows up in `shown()`.
class QUELTO_EXPORT QueuedMessageBoxService final : public MessageBoxService {
public:
    int show(const MessageBoxRequest& request) override;
    void queueAnswer(int answer) { m_answers.push_back(answer); }
    const std::vector<MessageBoxRequest>& shown() const { return m_shown; }
    void clear();

private:
    std::deque<int> m_answers;
    std::vector<MessageBoxRequest> m_shown;
};

// Console service: prints caption and text, then reads the answer from the next input line
// (Y/N for questions, anything for OK; end of input answers No/Cancel, or OK for a plain box).
class QUELTO_EXPORT ConsoleMessageBoxService final : public MessageBoxService {
public:
    ConsoleMessageBoxService(std::istream& input, std::ostream& output) : m_input(input), m_output(output) {}
    int show(const MessageBoxRequest& request) override;

private:
    std::istream& m_input;
    std::ostream& m_output;
};

// The process-wide service; without one installed, boxes go to a console service on stdin/stdout.
// Returns the previous service so a scope can restore it.
QUELTO_EXPORT MessageBoxService* setMessageBoxService(MessageBoxService* service);
QUELTO_EXPORT MessageBoxService& messageBoxService();

// Installs a service for the lifetime of the object (tests, nested hosts).
class QUELTO_EXPORT ScopedMessageBoxService {
public:
    explicit ScopedMessageBoxService(MessageBoxService& service)
        : m_previous(setMessageBoxService(&service)) {}
    ~ScopedMessageBoxService() { setMessageBoxService(m_previous); }
    ScopedMessageBoxService(const ScopedMessageBoxService&) = delete;
    ScopedMessageBoxService& operator=(const ScopedMessageBoxService&) = delete;

private:
    MessageBoxService* m_previous;
};

} // namespace platform

// The Windows call, routed to the installed service.
QUELTO_EXPORT int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);
