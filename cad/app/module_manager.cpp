// Module loading with the dynamic linker. A module that refuses its load message is unloaded again at
// once, as the host does, and nothing of it stays registered by us (what it registered itself before
// refusing is its own affair).

#include "cad/app/module_manager.h"

#include "cad/app/document_manager.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>

namespace cad::app {
namespace {

// Every module record alive in any manager: the packets modules hand back to the lock calls.
std::vector<LoadedModule*>& livePackets() {
    static std::vector<LoadedModule*> packets;
    return packets;
}

void forgetPacket(LoadedModule* module) {
    std::erase(livePackets(), module);
}

} // namespace

LoadedModule* moduleOfPacket(void* packet) {
    const auto& packets = livePackets();
    const auto found = std::find(packets.begin(), packets.end(), static_cast<LoadedModule*>(packet));
    return found == packets.end() ? nullptr : *found;
}

// The host unloads its modules before it exits (unloadAll); by the time static objects are destroyed
// the command stack a module would clean up may be gone, so nothing is sent from here.
ModuleManager::~ModuleManager() = default;

ModuleManager& ModuleManager::instance() {
    static ModuleManager manager;
    return manager;
}

std::optional<std::string> ModuleManager::load(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    if (!std::filesystem::exists(path)) {
        return "cannot load module " + path + ": no such file";
    }
    if (findByName(path) != nullptr) {
        return "module " + name + " is already loaded";
    }
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        return "cannot load module " + path + ": " +
               (reason != nullptr ? reason : "unknown dynamic-linker error");
    }
    const auto versionFunction =
        reinterpret_cast<AcrxGetApiVersionFunction>(dlsym(library, "acrxGetApiVersion"));
    const auto entryPoint = reinterpret_cast<AcrxEntryPointFunction>(dlsym(library, "acrxEntryPoint"));
    if (versionFunction == nullptr || entryPoint == nullptr) {
        dlclose(library);
        return "cannot load module " + path + ": it exports no " +
               (entryPoint == nullptr ? "acrxEntryPoint" : "acrxGetApiVersion") + " (not a host module)";
    }
    const int version = versionFunction();
    if (version != kHostApiVersion) {
        dlclose(library);
        return "cannot load module " + path + ": built for interface version " + std::to_string(version) +
               ", this host has version " + std::to_string(kHostApiVersion);
    }
    auto module = std::make_unique<LoadedModule>();
    module->path = path;
    module->name = name;
    module->library = library;
    module->entryPoint = entryPoint;
    LoadedModule* record = module.get();
    m_modules.push_back(std::move(module));
    livePackets().push_back(record);
    if (entryPoint(AcRx::kInitAppMsg, record) != AcRx::kRetOK) {
        forgetPacket(record);
        std::erase_if(m_modules, [record](const auto& candidate) { return candidate.get() == record; });
        dlclose(library);
        return "module " + name + " refused to load (its load message answered an error)";
    }
    // Drawings open already are announced one by one, each while it is the current one, as if opened
    // after the module was loaded.
    AcApDocument* const current = acDocManager->curDocument();
    for (AcApDocument* document : acDocManager->documents()) {
        acDocManager->setCurrentDocument(document);
        entryPoint(AcRx::kLoadDwgMsg, record);
    }
    acDocManager->setCurrentDocument(current);
    return std::nullopt;
}

std::optional<std::string> ModuleManager::unload(const std::string& pathOrName) {
    LoadedModule* module = findByName(pathOrName);
    if (module == nullptr) {
        return "module " + pathOrName + " is not loaded";
    }
    if (module->locked) {
        return "module " + module->name + " is locked and cannot be unloaded";
    }
    if (module->entryPoint(AcRx::kUnloadAppMsg, module) != AcRx::kRetOK) {
        return "module " + module->name + " refused to unload";
    }
    void* library = module->library;
    forgetPacket(module);
    std::erase_if(m_modules, [module](const auto& candidate) { return candidate.get() == module; });
    dlclose(library);
    return std::nullopt;
}

void ModuleManager::unloadAll() {
    while (!m_modules.empty()) {
        LoadedModule* module = m_modules.back().get();
        module->entryPoint(AcRx::kUnloadAppMsg, module);
        void* library = module->library;
        forgetPacket(module);
        m_modules.pop_back();
        dlclose(library);
    }
}

void ModuleManager::broadcast(AcRx::AppMsgCode message) {
    for (const auto& module : m_modules) {
        module->entryPoint(message, module.get());
    }
}

std::vector<std::string> ModuleManager::loadedNames() const {
    std::vector<std::string> names;
    for (const auto& module : m_modules) {
        names.push_back(module->name);
    }
    return names;
}

LoadedModule* ModuleManager::findByName(const std::string& pathOrName) {
    for (const auto& module : m_modules) {
        if (module->path == pathOrName || module->name == pathOrName ||
            std::filesystem::path(module->name).stem() == pathOrName) {
            return module.get();
        }
    }
    return nullptr;
}

} // namespace cad::app

bool acrxUnlockApplication(void* packet) {
    cad::app::LoadedModule* module = cad::app::moduleOfPacket(packet);
    if (module == nullptr) {
        return false;
    }
    module->locked = false;
    return true;
}

bool acrxLockApplication(void* packet) {
    cad::app::LoadedModule* module = cad::app::moduleOfPacket(packet);
    if (module == nullptr) {
        return false;
    }
    module->locked = true;
    return true;
}

bool acrxApplicationIsLocked(const char* moduleName) {
    const cad::app::LoadedModule* module =
        moduleName != nullptr ? cad::app::ModuleManager::instance().findByName(moduleName) : nullptr;
    return module != nullptr && module->locked;
}

bool acrxRegisterAppMDIAware(void* packet) {
    cad::app::LoadedModule* module = cad::app::moduleOfPacket(packet);
    if (module == nullptr) {
        return false;
    }
    module->multipleDocuments = true;
    return true;
}

bool acrxRegisterAppNotMDIAware(void* packet) {
    cad::app::LoadedModule* module = cad::app::moduleOfPacket(packet);
    if (module == nullptr) {
        return false;
    }
    module->multipleDocuments = false;
    return true;
}
