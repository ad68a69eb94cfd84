// Reading, writing and loading the start-up module list, and the STARTUPSUITE command that edits it.
#include "cad/app/startup_modules.h"

#include "cad/app/command_stack.h"
#include "cad/app/module_manager.h"
#include "cad/ed/command_line.h"
#include "platform/atomic_file.h"
#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "platform/registry_store.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <sstream>

namespace cad::app {
namespace {

constexpr const char* kListHeader = "# Modules quelto-cad loads at start-up, one file per line.\n";

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void write(const std::wstring& text) {
    ed::commandLine().write(text);
}

std::optional<std::vector<std::string>> currentList(std::string& error) {
    return readStartupModules(startupModulesFile(), error);
}

void store(const std::vector<std::string>& modules) {
    std::string error;
    if (!writeStartupModules(startupModulesFile(), modules, error)) {
        write(platform::utf8ToWide(error) + L"\n");
    }
}

void addModule(std::vector<std::string> modules, const std::wstring& answer) {
    std::error_code failure;
    // Symbolic links stay as given, so a list naming libquelto.so follows the module's upgrades.
    const std::filesystem::path path =
        std::filesystem::absolute(platform::wideToPath(answer), failure).lexically_normal();
    if (failure || !std::filesystem::is_regular_file(path, failure)) {
        write(L"Cannot add " + answer + L": no such file\n");
        return;
    }
    if (std::find(modules.begin(), modules.end(), path.string()) != modules.end()) {
        write(platform::pathToWide(path) + L" is a start-up module already\n");
        return;
    }
    modules.push_back(path.string());
    store(modules);
    write(L"Added " + platform::pathToWide(path) + L"\n");
}

void removeModule(std::vector<std::string> modules, const std::wstring& answer) {
    const std::string wanted = platform::wideToUtf8(answer);
    const std::size_t removed = std::erase_if(modules, [&](const std::string& module) {
        return module == wanted || std::filesystem::path(module).filename() == wanted;
    });
    if (removed == 0) {
        write(L"No start-up module " + answer + L"\n");
        return;
    }
    store(modules);
    write(L"Removed " + answer + L"\n");
}

void startupSuiteCommand() {
    std::string error;
    const std::optional<std::vector<std::string>> modules = currentList(error);
    if (!modules) {
        write(platform::utf8ToWide(error) + L"\n");
        return;
    }
    const ed::PromptAnswer option = ed::prompt(L"Enter an option [?/Add/Remove]: ");
    if (option.kind != ed::PromptAnswer::Kind::Text) {
        return;
    }
    const std::wstring word = platform::toUpperAscii(option.text);
    if (word == L"?") {
        for (const std::string& module : *modules) {
            write(platform::utf8ToWide(module) + L"\n");
        }
        write(std::to_wstring(modules->size()) + L" start-up module(s) in " +
              platform::pathToWide(startupModulesFile()) + L"\n");
    } else if (word == L"A" || word == L"ADD") {
        const ed::PromptAnswer path = ed::prompt(L"Module file name: ", true);
        if (path.kind == ed::PromptAnswer::Kind::Text) {
            addModule(*modules, path.text);
        }
    } else if (word == L"R" || word == L"REMOVE") {
        const ed::PromptAnswer name = ed::prompt(L"Module name: ", true);
        if (name.kind == ed::PromptAnswer::Kind::Text) {
            removeModule(*modules, name.text);
        }
    } else {
        write(L"Invalid option.\n");
    }
}

} // namespace

std::filesystem::path startupModulesFile() {
    const std::filesystem::path settings =
        platform::RegistryStore::defaultFile(platform::RegistryRoot::CurrentUser);
    return settings.empty() ? settings : settings.parent_path() / "startup-modules";
}

std::optional<std::vector<std::string>> readStartupModules(const std::filesystem::path& file,
                                                           std::string& error) {
    std::vector<std::string> modules;
    if (file.empty()) {
        return modules;
    }
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored)) {
        error = "cannot read the start-up module list " + file.string() + ": it is a folder";
        return std::nullopt;
    }
    const platform::FileReadResult read = platform::readWholeFile(file);
    if (read.status == platform::FileReadResult::Status::Missing) {
        return modules;
    }
    if (read.status == platform::FileReadResult::Status::Failed) {
        error = read.error;
        return std::nullopt;
    }
    std::istringstream lines(read.bytes);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string path = trimmed(line);
        if (path.empty() || path.front() == '#') {
            continue;
        }
        const std::filesystem::path module(path);
        modules.push_back(module.is_absolute() ? path : (file.parent_path() / module).string());
    }
    return modules;
}

bool writeStartupModules(const std::filesystem::path& file, const std::vector<std::string>& modules,
                         std::string& error) {
    if (file.empty()) {
        error = "cannot write the start-up module list: no settings folder (HOME is not set)";
        return false;
    }
    std::error_code failure;
    std::filesystem::create_directories(file.parent_path(), failure);
    if (failure) {
        error = "cannot create " + file.parent_path().string() + ": " + failure.message();
        return false;
    }
    std::string bytes = kListHeader;
    for (const std::string& module : modules) {
        bytes += module + "\n";
    }
    return platform::writeFileAtomically(file, bytes, &error);
}

std::vector<std::string> loadStartupModules(std::ostream& errors) {
    std::vector<std::string> loaded;
    std::string error;
    const std::optional<std::vector<std::string>> modules = readStartupModules(startupModulesFile(), error);
    if (!modules) {
        errors << "quelto-cad: start-up modules not loaded: " << error << "\n";
        return loaded;
    }
    for (const std::string& module : *modules) {
        if (ModuleManager::instance().findByName(module) != nullptr) {
            continue;
        }
        if (const std::optional<std::string> refused = ModuleManager::instance().load(module)) {
            errors << "quelto-cad: start-up module skipped: " << *refused << "\n";
        } else {
            loaded.push_back(module);
        }
    }
    return loaded;
}

bool loadedAtStartup(const std::string& path, const std::vector<std::string>& startupModules) {
    return std::any_of(startupModules.begin(), startupModules.end(), [&](const std::string& loaded) {
        std::error_code failure;
        return std::filesystem::equivalent(path, loaded, failure);
    });
}

void registerStartupSuiteCommand() {
    if (acedRegCmds->lookupGlobalCmd(L"STARTUPSUITE") == nullptr) {
        acedRegCmds->addCommand(L"QUELTO_HOST", L"STARTUPSUITE", L"STARTUPSUITE", ACRX_CMD_MODAL,
                                startupSuiteCommand);
    }
}

} // namespace cad::app
