// Command registration and look-up for the command stack, and the process-wide registry that holds it.

#include "cad/app/command_stack.h"

#include "cad/ed/resbuf.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <map>

namespace {

bool sameName(const std::wstring& first, const wchar_t* second) {
    return second != nullptr && platform::equalsIgnoringAsciiCase(first, second);
}

AcEdCommandStack& commandStack() {
    static AcEdCommandStack stack;
    return stack;
}

std::map<std::wstring, int>& lispFunctions() {
    static std::map<std::wstring, int> functions;
    return functions;
}

} // namespace

AcEdCommand::AcEdCommand(std::wstring group, std::wstring globalName, std::wstring localName,
                         std::int32_t flags, AcRxFunctionPtr function, AcEdUIContext* context)
    : m_group(std::move(group)), m_globalName(std::move(globalName)), m_localName(std::move(localName)),
      m_flags(flags), m_function(function), m_context(context) {}

Acad::ErrorStatus AcEdCommandStack::addCommand(const wchar_t* groupName, const wchar_t* globalName,
                                               const wchar_t* localName, std::int32_t flags,
                                               AcRxFunctionPtr function, AcEdUIContext* context,
                                               int functionCode, void* resourceHandle,
                                               AcEdCommand** commandOut) {
    if (groupName == nullptr || globalName == nullptr || *globalName == L'\0' || function == nullptr) {
        return Acad::eInvalidInput;
    }
    for (const auto& command : m_commands) {
        if (sameName(command->groupName(), groupName) && sameName(command->globalName(), globalName)) {
            return Acad::eDuplicateKey;
        }
    }
    const wchar_t* local = localName != nullptr && *localName != L'\0' ? localName : globalName;
    m_commands.push_back(
        std::make_unique<AcEdCommand>(groupName, globalName, local, flags, function, context));
    if (commandOut != nullptr) {
        *commandOut = m_commands.back().get();
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const wchar_t* groupName, const wchar_t* globalName) {
    const auto found = std::find_if(m_commands.begin(), m_commands.end(), [&](const auto& command) {
        return sameName(command->groupName(), groupName) && sameName(command->globalName(), globalName);
    });
    if (found == m_commands.end()) {
        return Acad::eKeyNotFound;
    }
    m_commands.erase(found);
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const wchar_t* groupName) {
    const std::size_t before = m_commands.size();
    std::erase_if(m_commands, [&](const auto& command) { return sameName(command->groupName(), groupName); });
    return m_commands.size() == before ? Acad::eKeyNotFound : Acad::eOk;
}

AcEdCommand* AcEdCommandStack::lookupCmd(const wchar_t* name, bool globalFlag) const {
    for (auto it = m_commands.rbegin(); it != m_commands.rend(); ++it) {
        const AcEdCommand& command = **it;
        if (sameName(globalFlag ? command.globalName() : command.localName(), name)) {
            return it->get();
        }
    }
    return nullptr;
}

AcEdCommand* AcEdCommandStack::lookupGlobalCmd(const wchar_t* name) const {
    return lookupCmd(name, true);
}

AcEdCommand* AcEdCommandStack::lookupLocalCmd(const wchar_t* name) const {
    return lookupCmd(name, false);
}

AcEdCommand* AcEdCommandStack::lookupTyped(const std::wstring& typed) const {
    if (!typed.empty() && typed.front() == L'_') {
        return lookupGlobalCmd(typed.c_str() + 1);
    }
    AcEdCommand* command = lookupLocalCmd(typed.c_str());
    return command != nullptr ? command : lookupGlobalCmd(typed.c_str());
}

std::vector<const AcEdCommand*> AcEdCommandStack::commands() const {
    std::vector<const AcEdCommand*> result;
    for (const auto& command : m_commands) {
        result.push_back(command.get());
    }
    return result;
}

void* AcRxDictionary::at(const wchar_t* key) const {
    if (key != nullptr && std::wstring(key) == ACRX_COMMAND_DOCK) {
        return &commandStack();
    }
    return nullptr;
}

AcRxDictionary* acrxSysRegistry() {
    static AcRxDictionary registry;
    return &registry;
}

int acedDefun(const wchar_t* name, int functionCode) {
    if (name == nullptr || *name == L'\0') {
        return RTERROR;
    }
    lispFunctions()[platform::toUpperAscii(name)] = functionCode;
    return RTNORM;
}

int acedUndef(const wchar_t* name, int functionCode) {
    if (name == nullptr) {
        return RTERROR;
    }
    const auto found = lispFunctions().find(platform::toUpperAscii(name));
    if (found == lispFunctions().end() || found->second != functionCode) {
        return RTERROR;
    }
    lispFunctions().erase(found);
    return RTNORM;
}
