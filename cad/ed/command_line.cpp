// Command-line services and the prompt helpers built on them.

#include "cad/ed/command_line.h"

#include "cad/ed/keyword_input.h"
#include "platform/code_page.h"
#include "platform/wide_text.h"

#include <charconv>
#include <cstdarg>
#include <cwchar>
#include <iostream>

namespace cad::ed {
namespace {

CommandLine* installedCommandLine = nullptr;
bool answerTakesSpaces = false;

bool parseNumber(std::wstring_view text, double& value) {
    while (!text.empty() && text.front() == L' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == L' ') {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return false;
    }
    std::string narrow;
    for (wchar_t character : text) {
        if (character > 0x7F) {
            return false;
        }
        narrow.push_back(static_cast<char>(character));
    }
    const char* begin = narrow.data();
    if (*begin == '+') {
        ++begin;
    }
    const char* end = narrow.data() + narrow.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    return error == std::errc() && stop == end;
}

} // namespace

CommandLine::~CommandLine() = default;

std::optional<std::vector<AcDbObjectId>> CommandLine::takeObjects(std::wstring_view) {
    return std::nullopt;
}

void TypedInput::append(std::wstring_view text, bool echo) {
    m_text.append(text);
    m_echo.insert(m_echo.end(), text.size(), echo);
}

std::optional<TypedInput::Answer> TypedInput::take() {
    const bool blankEnds = !promptAcceptsSpaces();
    for (std::size_t index = 0; index < m_text.size(); ++index) {
        const wchar_t character = m_text[index];
        if (character != L'\n' && character != L'\r' && !(blankEnds && character == L' ')) {
            continue;
        }
        Answer answer{m_text.substr(0, index), m_echo[index == 0 ? 0 : index - 1]};
        std::size_t used = index + 1;
        if (character == L'\r' && used < m_text.size() && m_text[used] == L'\n') {
            ++used;
        }
        m_text.erase(0, used);
        m_echo.erase(m_echo.begin(), m_echo.begin() + static_cast<std::ptrdiff_t>(used));
        return answer;
    }
    return std::nullopt;
}

void TypedInput::clear() {
    m_text.clear();
    m_echo.clear();
}

void StandardCommandLine::write(std::wstring_view text) {
    std::cout << platform::wideToUtf8(text);
    std::cout.flush();
}

std::optional<std::wstring> StandardCommandLine::readLine(std::wstring_view promptText) {
    write(promptText);
    std::string line;
    if (!std::getline(std::cin, line)) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return platform::utf8ToWide(line);
}

std::optional<std::wstring> QueuedCommandLine::readLine(std::wstring_view promptText) {
    m_transcript += promptText;
    if (m_answers.empty()) {
        m_transcript += L"\n";
        return std::nullopt;
    }
    std::wstring answer = std::move(m_answers.front());
    m_answers.pop_front();
    m_transcript += answer + L"\n";
    return answer;
}

CommandLine* setCommandLine(CommandLine* commandLineService) {
    CommandLine* previous = installedCommandLine;
    installedCommandLine = commandLineService;
    return previous;
}

CommandLine& commandLine() {
    if (installedCommandLine != nullptr) {
        return *installedCommandLine;
    }
    static StandardCommandLine standardStreams;
    return standardStreams;
}

bool promptAcceptsSpaces() {
    return answerTakesSpaces;
}

PromptAnswer prompt(std::wstring_view text, bool acceptsSpaces) {
    const bool outer = answerTakesSpaces;
    answerTakesSpaces = acceptsSpaces;
    const std::optional<std::wstring> line = commandLine().readLine(text);
    answerTakesSpaces = outer;
    if (!line || *line == L"*Cancel*") {
        return {PromptAnswer::Kind::Cancel, {}};
    }
    if (line->empty()) {
        return {PromptAnswer::Kind::Enter, {}};
    }
    return {PromptAnswer::Kind::Text, *line};
}

bool parsePoint(std::wstring_view text, ads_point point) {
    double coordinates[3] = {0.0, 0.0, 0.0};
    int count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(L',', start);
        const std::wstring_view part =
            text.substr(start, comma == std::wstring_view::npos ? text.npos : comma - start);
        if (count == 3 || !parseNumber(part, coordinates[count])) {
            return false;
        }
        ++count;
        if (comma == std::wstring_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (count < 2) {
        return false;
    }
    point[0] = coordinates[0];
    point[1] = coordinates[1];
    point[2] = coordinates[2];
    return true;
}

} // namespace cad::ed

int acutPrintf(const ACHAR* format, ...) {
    if (format == nullptr) {
        return 0;
    }
    std::va_list arguments;
    va_start(arguments, format);
    const std::wstring text = platform::formatWideList(format, arguments);
    va_end(arguments);
    cad::ed::commandLine().write(text);
    return static_cast<int>(text.size());
}

int acedGetString(int allowSpaces, const ACHAR* promptText, ACHAR* result, std::size_t resultLength) {
    const cad::ed::PromptAnswer answer =
        cad::ed::prompt(promptText != nullptr ? promptText : L"", allowSpaces != 0);
    if (answer.kind == cad::ed::PromptAnswer::Kind::Cancel) {
        return RTCAN;
    }
    std::wstring text = answer.text;
    // Without spaces allowed a blank ends the answer, as it does when typed.
    if (!allowSpaces) {
        text = text.substr(0, text.find(L' '));
    }
    if (result == nullptr || resultLength == 0) {
        return RTERROR;
    }
    if (text.size() >= resultLength) {
        std::wmemcpy(result, text.data(), resultLength - 1);
        result[resultLength - 1] = L'\0';
        return RTINPUTTRUNCATED;
    }
    std::wmemcpy(result, text.c_str(), text.size() + 1);
    return RTNORM;
}

int acedGetPoint(const ads_point basePoint, const ACHAR* promptText, ads_point result) {
    const cad::ed::InputRules rules = cad::ed::takeInputRules();
    while (true) {
        const cad::ed::PromptAnswer answer = cad::ed::prompt(promptText != nullptr ? promptText : L"");
        if (answer.kind == cad::ed::PromptAnswer::Kind::Cancel) {
            return RTCAN;
        }
        if (answer.kind == cad::ed::PromptAnswer::Kind::Enter) {
            if ((rules.flags() & RSG_NONULL) != 0) {
                continue;
            }
            return RTNONE;
        }
        if (const std::optional<std::wstring> keyword = rules.keywordOf(answer.text)) {
            cad::ed::setLastKeyword(*keyword);
            return RTKWORD;
        }
        if (cad::ed::parsePoint(answer.text, result)) {
            return RTNORM;
        }
        cad::ed::commandLine().write(L"Invalid point.\n");
    }
}
