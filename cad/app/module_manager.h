// Loading and unloading of modules: dlopen with immediate binding, the interface-version check, the
// load message with the module's packet, and the unload message when a module is unloaded or the host
// exits. Failures come back as texts naming the module and the reason.
#pragma once

#include "cad/app/rx_entry.h"
#include "platform/export.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cad::app {

// One loaded module; its address is the packet the module receives with every message.
struct LoadedModule {
    std::string path;
    std::string name; // file name without folders, as the host lists it
    void* library = nullptr;
    AcrxEntryPointFunction entryPoint = nullptr;
    bool locked = true;
    bool multipleDocuments = false;
};

// The module a packet stands for, in whichever manager loaded it; null for anything else.
QUELTO_EXPORT LoadedModule* moduleOfPacket(void* packet);

class QUELTO_EXPORT ModuleManager {
public:
    ModuleManager() = default;
    ~ModuleManager();
    ModuleManager(const ModuleManager&) = delete;
    ModuleManager& operator=(const ModuleManager&) = delete;

    // The process-wide manager the console and desktop hosts use.
    static ModuleManager& instance();

    // Loads the module; nothing on success, else why it failed. Loading a module that is loaded
    // already fails too.
    std::optional<std::string> load(const std::string& path);
    // Unloads by path or file name; fails for an unknown or locked module.
    std::optional<std::string> unload(const std::string& pathOrName);
    // The host exits: every module gets its unload message, last loaded first, locked or not.
    void unloadAll();
    // Sends a message (drawing opened or closed, ...) to every module.
    void broadcast(AcRx::AppMsgCode message);

    std::vector<std::string> loadedNames() const;
    LoadedModule* findByName(const std::string& pathOrName);

private:
    std::vector<std::unique_ptr<LoadedModule>> m_modules;
};

} // namespace cad::app
