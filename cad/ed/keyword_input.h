// Keywords of the next prompt (acedInitGet) and the keyword the drafter gave (acedGetInput). The rules
// apply to one input call only; the calls that offer keywords (acedEntSel, acedGetPoint, acedGetKword)
// take them and answer RTKWORD when the input is one.
#pragma once

#include "cad/ed/resbuf.h"
#include "platform/export.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Input control bits of acedInitGet that prompts here honour.
inline constexpr int RSG_NONULL = 0x0001;

namespace cad::ed {

// What acedInitGet set for the next input call.
class QUELTO_EXPORT InputRules {
public:
    // "Yes No" or "Yes No _ Yes No": each keyword's capitals are its abbreviation; the words after "_"
    // are the global names, answered in place of the local ones and matched after a leading "_".
    InputRules(int flags, std::wstring_view keywords);
    InputRules() = default;

    int flags() const { return m_flags; }
    bool hasKeywords() const { return !m_keywords.empty(); }
    // The keyword the typed text stands for, as acedGetInput hands it out; nothing when none.
    std::optional<std::wstring> keywordOf(std::wstring_view typed) const;
    // The prompt's keyword hint, e.g. " [Yes/No]"; empty without keywords.
    std::wstring keywordList() const;

private:
    struct Keyword {
        std::wstring local;
        std::wstring global;
        std::wstring abbreviation;
        std::size_t required = 0; // leading characters a longer answer must reach
    };
    int m_flags = 0;
    std::vector<Keyword> m_keywords;
};

// Takes the rules acedInitGet set, leaving none for the call after.
QUELTO_EXPORT InputRules takeInputRules();
// Keeps the keyword an input call answered RTKWORD for.
QUELTO_EXPORT void setLastKeyword(std::wstring keyword);
// Sets the ERRNO system variable, as the selection calls do when they fail.
QUELTO_EXPORT void setErrorNumber(int number);

} // namespace cad::ed

QUELTO_EXPORT int acedInitGet(int flags, const ACHAR* keywords);
// The keyword of the last input call that answered RTKWORD.
QUELTO_EXPORT int acedGetInput(ACHAR* result);
QUELTO_EXPORT int acedGetInput(ACHAR* result, std::size_t resultLength);
// Asks for one of the keywords acedInitGet set: RTNORM with it, RTNONE on Enter, RTCAN on Esc.
QUELTO_EXPORT int acedGetKword(const ACHAR* promptText, ACHAR* result, std::size_t resultLength);
