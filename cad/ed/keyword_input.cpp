// Keyword lists and matching as the host's input functions apply them, and the last keyword given.

#include "cad/ed/keyword_input.h"

#include "cad/ed/command_line.h"
#include "cad/ed/system_variables.h"
#include "cad/ed/wildcard_pattern.h"

#include <cwchar>

namespace cad::ed {
namespace {

InputRules pendingRules;
std::wstring lastKeyword;

std::vector<std::wstring> words(std::wstring_view text) {
    std::vector<std::wstring> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(L' ', start), text.size());
        if (end > start) {
            result.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return result;
}

// The capitals of a keyword are its abbreviation ("LType" -> "LT", "eXit" -> "X"); a longer answer must
// be a leading part of the keyword that reaches past the last capital. A keyword without capitals, or all
// in capitals, is typed whole.
void abbreviationOf(const std::wstring& word, std::wstring& abbreviation, std::size_t& required) {
    abbreviation.clear();
    required = 0;
    bool lower = false;
    for (std::size_t index = 0; index < word.size(); ++index) {
        if (word[index] >= L'A' && word[index] <= L'Z') {
            abbreviation.push_back(word[index]);
            required = index + 1;
        } else if (word[index] >= L'a' && word[index] <= L'z') {
            lower = true;
        }
    }
    if (abbreviation.empty() || !lower) {
        abbreviation = word;
        required = word.size();
    }
}

bool sameFolded(std::wstring_view first, std::wstring_view second) {
    if (first.size() != second.size()) {
        return false;
    }
    for (std::size_t index = 0; index < first.size(); ++index) {
        if (foldCase(first[index]) != foldCase(second[index])) {
            return false;
        }
    }
    return true;
}

bool abbreviates(std::wstring_view typed, const std::wstring& word, std::size_t required) {
    return typed.size() >= required && typed.size() <= word.size() &&
           sameFolded(typed, std::wstring_view(word).substr(0, typed.size()));
}

} // namespace

InputRules::InputRules(int flags, std::wstring_view keywords) : m_flags(flags) {
    const std::vector<std::wstring> all = words(keywords);
    std::size_t split = all.size();
    for (std::size_t index = 0; index < all.size(); ++index) {
        if (all[index] == L"_") {
            split = index;
            break;
        }
    }
    for (std::size_t index = 0; index < split; ++index) {
        const std::size_t globalIndex = split + 1 + index;
        const std::wstring global = globalIndex < all.size() ? all[globalIndex] : all[index];
        Keyword keyword{all[index], global, {}, 0};
        abbreviationOf(keyword.local, keyword.abbreviation, keyword.required);
        m_keywords.push_back(std::move(keyword));
    }
}

std::optional<std::wstring> InputRules::keywordOf(std::wstring_view typed) const {
    if (!typed.empty() && typed.front() == L'_') {
        typed.remove_prefix(1);
        for (const Keyword& keyword : m_keywords) {
            if (abbreviates(typed, keyword.global, keyword.global.size())) {
                return keyword.global;
            }
        }
        return std::nullopt;
    }
    for (const Keyword& keyword : m_keywords) {
        if (sameFolded(typed, keyword.abbreviation) || abbreviates(typed, keyword.local, keyword.required)) {
            return keyword.global;
        }
    }
    return std::nullopt;
}

std::wstring InputRules::keywordList() const {
    std::wstring list;
    for (const Keyword& keyword : m_keywords) {
        list += (list.empty() ? L" [" : L"/") + keyword.local;
    }
    return list.empty() ? list : list + L"]";
}

InputRules takeInputRules() {
    InputRules rules = std::move(pendingRules);
    pendingRules = InputRules();
    return rules;
}

void setLastKeyword(std::wstring keyword) {
    lastKeyword = std::move(keyword);
}

void setErrorNumber(int number) {
    resbuf value{};
    value.restype = RTSHORT;
    value.resval.rint = static_cast<short>(number);
    SystemVariables::instance().set(L"ERRNO", &value);
}

} // namespace cad::ed

int acedInitGet(int flags, const ACHAR* keywords) {
    cad::ed::takeInputRules();
    cad::ed::pendingRules = cad::ed::InputRules(flags, keywords != nullptr ? keywords : L"");
    return RTNORM;
}

int acedGetInput(ACHAR* result, std::size_t resultLength) {
    if (result == nullptr || resultLength == 0) {
        return RTERROR;
    }
    const std::wstring& keyword = cad::ed::lastKeyword;
    if (keyword.size() >= resultLength) {
        return RTINPUTTRUNCATED;
    }
    std::wmemcpy(result, keyword.c_str(), keyword.size() + 1);
    return RTNORM;
}

int acedGetInput(ACHAR* result) {
    // The documented buffer of the one-argument form holds 512 characters.
    return acedGetInput(result, 512);
}

int acedGetKword(const ACHAR* promptText, ACHAR* result, std::size_t resultLength) {
    const cad::ed::InputRules rules = cad::ed::takeInputRules();
    while (true) {
        const cad::ed::PromptAnswer answer = cad::ed::prompt(promptText != nullptr ? promptText : L"");
        if (answer.kind == cad::ed::PromptAnswer::Kind::Cancel) {
            return RTCAN;
        }
        if (answer.kind == cad::ed::PromptAnswer::Kind::Enter && (rules.flags() & RSG_NONULL) == 0) {
            return RTNONE;
        }
        if (const std::optional<std::wstring> keyword = rules.keywordOf(answer.text)) {
            cad::ed::setLastKeyword(*keyword);
            return acedGetInput(result, resultLength);
        }
        cad::ed::commandLine().write(L"Invalid option keyword.\n");
    }
}
