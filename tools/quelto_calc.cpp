// quelto-calc: evaluates formula-language expressions on the command line with the analyser exported by
// libquelto.so, so the module's interface can be tried and scripted without a CAD host.
// Usage: quelto-calc [--var NAME=VALUE]... EXPRESSION...   (UTF-8 in and out)

#include "platform/code_page.h"
#include "quelto/baselib/zeb_base_string_analyse.h"

#include <charconv>
#include <clocale>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

const char* const kUsage =
    "usage: quelto-calc [--var NAME=VALUE]... EXPRESSION...\n"
    "  Evaluates each expression; a variable's value is an integer, a real number,\n"
    "  TRUE or FALSE, or else a text. Exit status 0 when every expression succeeded.\n";

void writeLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

// The whole text is one number of the given type (an optional sign, no white space, nothing after it).
template <typename Number>
bool parsesWhole(std::string_view text, Number& value) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char character =
            text[index] >= 'a' && text[index] <= 'z' ? text[index] - 'a' + 'A' : text[index];
        if (character != word[index]) {
            return false;
        }
    }
    return true;
}

CZEBOperateVar makeVariable(std::string_view name, std::string_view value) {
    CZEBOperateVar variable;
    variable.m_strName = platform::utf8ToWide(name);
    int integer = 0;
    double real = 0.0;
    if (parsesWhole(value, integer)) {
        variable.m_nType = CZEBOperateVar::TypeInteger;
        variable.m_nValue = integer;
    } else if (value.find_first_of("0123456789") != std::string_view::npos && parsesWhole(value, real)) {
        variable.m_nType = CZEBOperateVar::TypeReal;
        variable.m_dValue = real;
    } else if (equalsIgnoringCase(value, "TRUE") || equalsIgnoringCase(value, "FALSE")) {
        variable.m_nType = CZEBOperateVar::TypeBoolean;
        variable.m_nValue = value.size() == 4 ? 1 : 0;
    } else {
        variable.m_nType = CZEBOperateVar::TypeString;
        variable.m_strValue = platform::utf8ToWide(value);
    }
    return variable;
}

// A later definition of a name replaces the earlier one.
bool addVariable(std::vector<CZEBOperateVar>& variables, std::string_view definition) {
    const std::size_t equals = definition.find('=');
    if (equals == 0 || equals == std::string_view::npos) {
        return false;
    }
    CZEBOperateVar variable = makeVariable(definition.substr(0, equals), definition.substr(equals + 1));
    for (CZEBOperateVar& existing : variables) {
        if (existing.m_strName == variable.m_strName) {
            existing = variable;
            return true;
        }
    }
    variables.push_back(variable);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    std::vector<CZEBOperateVar> variables;
    std::vector<std::string_view> expressions;
    bool optionsEnded = false;
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (optionsEnded) {
            expressions.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argument == "--var" || argument.starts_with("--var=")) {
            std::string_view definition;
            if (argument == "--var") {
                if (++index >= argc) {
                    std::fputs("quelto-calc: --var needs NAME=VALUE\n", stderr);
                    return 1;
                }
                definition = argv[index];
            } else {
                definition = argument.substr(6);
            }
            if (!addVariable(variables, definition)) {
                std::fprintf(stderr, "quelto-calc: variable definition '%.*s' is not NAME=VALUE\n",
                             static_cast<int>(definition.size()), definition.data());
                return 1;
            }
        } else {
            expressions.push_back(argument);
        }
    }
    if (expressions.empty()) {
        std::fputs(kUsage, stderr);
        return 1;
    }

    bool allSucceeded = true;
    CZEBBaseStringAnalyse analyser;
    analyser.m_arrVariable = variables;
    for (const std::string_view expression : expressions) {
        analyser.SetInputString(platform::utf8ToWide(expression));
        const int code = analyser.DoAnalyse();
        std::string line(expression);
        if (code == CZEBBaseStringAnalyse::ResultSuccess) {
            line += " => " + platform::wideToUtf8(analyser.GetOutputString()) + " (kind " +
                    std::to_string(analyser.GetOutputType()) + ")";
        } else {
            allSucceeded = false;
            line += " => error " + std::to_string(code) + ": " +
                    platform::wideToUtf8(analyser.GetAnalyseErrorInfo());
        }
        writeLine(line);
        // The last error stays until cleared; each expression reports only its own.
        analyser.InitParam(FALSE);
    }
    return allSucceeded ? 0 : 1;
}
