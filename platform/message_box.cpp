// The message-box services: routing, the queued test service and the console service.

#include "platform/message_box.h"

#include "platform/code_page.h"

#include <iostream>

namespace platform {
namespace {

MessageBoxService* installedService = nullptr;

bool isQuestion(const MessageBoxRequest& request) {
    return request.buttons() == MB_YESNO || request.buttons() == MB_YESNOCANCEL;
}

} // namespace

MessageBoxService::~MessageBoxService() = default;

int QueuedMessageBoxService::show(const MessageBoxRequest& request) {
    m_shown.push_back(request);
    if (m_answers.empty()) {
        return isQuestion(request) ? IDYES : IDOK;
    }
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void QueuedMessageBoxService::clear() {
    m_answers.clear();
    m_shown.clear();
}

int ConsoleMessageBoxService::show(const MessageBoxRequest& request) {
    m_output << "[" << wideToUtf8(request.caption) << "] " << wideToUtf8(request.text) << '\n';
    const bool question = isQuestion(request);
    if (question) {
        m_output << (request.buttons() == MB_YESNOCANCEL ? "(Y/N/Cancel) " : "(Y/N) ");
    } else if (request.buttons() == MB_OKCANCEL) {
        m_output << "(OK/Cancel) ";
    }
    m_output.flush();
    std::string line;
    if (!std::getline(m_input, line)) {
        return question ? (request.buttons() == MB_YESNOCANCEL ? IDCANCEL : IDNO)
                        : (request.buttons() == MB_OKCANCEL ? IDCANCEL : IDOK);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    m_output << line << '\n';
    const char first = line.empty() ? '\0' : static_cast<char>(line.front() | 0x20);
    if (question) {
        if (first == 'y') {
            return IDYES;
        }
        return request.buttons() == MB_YESNOCANCEL && first == 'c' ? IDCANCEL : IDNO;
    }
    return request.buttons() == MB_OKCANCEL && first == 'c' ? IDCANCEL : IDOK;
}

MessageBoxService* setMessageBoxService(MessageBoxService* service) {
    MessageBoxService* previous = installedService;
    installedService = service;
    return previous;
}

MessageBoxService& messageBoxService() {
    if (installedService != nullptr) {
        return *installedService;
    }
    static ConsoleMessageBoxService standardStreams(std::cin, std::cout);
    return standardStreams;
}

} // namespace platform

int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
    return platform::messageBoxService().show({owner, text, caption, style});
}
