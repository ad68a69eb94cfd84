// The host's command stack: commands registered by group with a global and a local name, flags and a
// function, found by what the drafter types. Modules reach it through the system registry entry
// "ACAD_REGISTERED_COMMANDS" (acedRegCmds), the host's own commands live in it too.
#pragma once

#include "cad/db/db_types.h"
#include "platform/export.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AcEdUIContext;

using AcRxFunctionPtr = void (*)();

// Command flags: only the pick-first (2) and redraw (4) bits change what the host does here.
inline constexpr std::int32_t ACRX_CMD_MODAL = 0x00000000;
inline constexpr std::int32_t ACRX_CMD_TRANSPARENT = 0x00000001;
inline constexpr std::int32_t ACRX_CMD_USEPICKSET = 0x00000002;
inline constexpr std::int32_t ACRX_CMD_REDRAW = 0x00000004;
inline constexpr std::int32_t ACRX_CMD_NOPERSPECTIVE = 0x00000008;
inline constexpr std::int32_t ACRX_CMD_NOMULTIPLE = 0x00000010;
inline constexpr std::int32_t ACRX_CMD_NOTILEMODE = 0x00000020;
inline constexpr std::int32_t ACRX_CMD_NOPAPERSPACE = 0x00000040;
inline constexpr std::int32_t ACRX_CMD_SESSION = 0x00200000;

#define ACRX_COMMAND_DOCK L"ACAD_REGISTERED_COMMANDS"

class QUELTO_EXPORT AcEdCommand {
public:
    AcEdCommand(std::wstring group, std::wstring globalName, std::wstring localName, std::int32_t flags,
                AcRxFunctionPtr function, AcEdUIContext* context);
    const wchar_t* globalName() const { return m_globalName.c_str(); }
    const wchar_t* localName() const { return m_localName.c_str(); }
    const wchar_t* groupName() const { return m_group.c_str(); }
    std::int32_t commandFlags() const { return m_flags; }
    AcRxFunctionPtr functionAddr() const { return m_function; }
    AcEdUIContext* UIContext() const { return m_context; }

private:
    std::wstring m_group;
    std::wstring m_globalName;
    std::wstring m_localName;
    std::int32_t m_flags;
    AcRxFunctionPtr m_function;
    AcEdUIContext* m_context;
};

class QUELTO_EXPORT AcEdCommandStack {
public:
    // Names are compared without ASCII case. A global name already in the group is a duplicate.
    Acad::ErrorStatus addCommand(const wchar_t* groupName, const wchar_t* globalName,
                                 const wchar_t* localName, std::int32_t flags, AcRxFunctionPtr function,
                                 AcEdUIContext* context = nullptr, int functionCode = -1,
                                 void* resourceHandle = nullptr, AcEdCommand** commandOut = nullptr);
    Acad::ErrorStatus removeCmd(const wchar_t* groupName, const wchar_t* globalName);
    Acad::ErrorStatus removeGroup(const wchar_t* groupName);
    AcEdCommand* lookupGlobalCmd(const wchar_t* name) const;
    AcEdCommand* lookupLocalCmd(const wchar_t* name) const;
    AcEdCommand* lookupCmd(const wchar_t* name, bool globalFlag) const;
    // What typing the word runs: "_NAME" looks among global names, anything else among local names
    // first and global names second. Groups added later win, as on the host.
    AcEdCommand* lookupTyped(const std::wstring& typed) const;
    std::vector<const AcEdCommand*> commands() const;

private:
    std::vector<std::unique_ptr<AcEdCommand>> m_commands;
};

// The system registry, reduced to the entries modules look up. at() answers the registered object
// (cast it to the documented class) or null.
class QUELTO_EXPORT AcRxDictionary {
public:
    void* at(const wchar_t* key) const;
};

QUELTO_EXPORT AcRxDictionary* acrxSysRegistry();

#define acedRegCmds static_cast<AcEdCommandStack*>(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))

// LISP-callable functions: the module registers none, so the host keeps the names but never calls them.
QUELTO_EXPORT int acedDefun(const wchar_t* name, int functionCode);
QUELTO_EXPORT int acedUndef(const wchar_t* name, int functionCode);
