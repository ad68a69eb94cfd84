// quelto-dom: the definition editor's command-line forms. `dump` prints a .dom file as JSON, `write` makes
// one from such a description (refusing one that would give unusable properties), `new` makes an empty
// one. Files are replaced only once completely written; an existing file is never emptied by `new`.

#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "quelto_dom_json.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <iterator>

namespace {

enum ExitCode { Done = 0, Refused = 1, Usage = 2, FileFailed = 3 };

int dump(const std::string& path) {
    CFreedomEntityFile file;
    const CFreedomReadResult result = file.ReadFile(platform::utf8ToWide(path));
    switch (result.status) {
    case CFreedomReadResult::Read:
        std::cout << quelto::dom::toJson(file).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                  << '\n';
        return Done;
    case CFreedomReadResult::CannotOpen:
        std::cerr << "quelto-dom: " << platform::wideToUtf8(result.reason) << '\n';
        return FileFailed;
    case CFreedomReadResult::TooNew:
        std::cerr << "quelto-dom: " << path << ": written by a newer editor ("
                  << platform::wideToUtf8(result.reason) << "), this one reads version 1\n";
        return Refused;
    case CFreedomReadResult::UnknownDataVersion:
        std::cerr << "quelto-dom: " << path << ": unknown data layout ("
                  << platform::wideToUtf8(result.reason) << ")\n";
        return Refused;
    case CFreedomReadResult::Damaged:
        std::cerr << "quelto-dom: " << path << ": damaged: " << platform::wideToUtf8(result.reason) << '\n';
        return Refused;
    }
    return Refused;
}

int save(const CFreedomEntityFile& file, const std::string& path) {
    if (!file.Save(platform::utf8ToWide(path))) {
        std::cerr << "quelto-dom: " << path << ": cannot be written (is the folder there and writable?)\n";
        return FileFailed;
    }
    return Done;
}

int write(const std::string& path) {
    const std::string input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    nlohmann::json description;
    try {
        description = nlohmann::json::parse(input);
    } catch (const nlohmann::json::parse_error& error) {
        std::cerr << "quelto-dom: the description is not JSON (byte " << error.byte << "): " << error.what()
                  << '\n';
        return Refused;
    }
    CFreedomEntityFile file;
    std::string reason;
    if (!quelto::dom::fromJson(description, file, reason)) {
        std::cerr << "quelto-dom: refused, nothing written: " << reason << '\n';
        return Refused;
    }
    return save(file, path);
}

int makeNew(const std::string& path) {
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::u8path(path), error)) {
        std::cerr << "quelto-dom: " << path << " exists; remove it first or use write\n";
        return Refused;
    }
    return save(CFreedomEntityFile(), path);
}

} // namespace

int main(int argumentCount, char** arguments) {
    CLI::App app{"quelto-dom: custom entity definition files (.dom) for Quelto's quick selection"};
    app.require_subcommand(1);
    std::string path;
    CLI::App* dumpCommand = app.add_subcommand("dump", "print FILE.dom as JSON");
    dumpCommand->add_option("file", path, "definition file")->required();
    CLI::App* writeCommand = app.add_subcommand("write", "write FILE.dom from the JSON description on stdin");
    writeCommand->add_option("file", path, "definition file")->required();
    CLI::App* newCommand = app.add_subcommand("new", "write an empty FILE.dom");
    newCommand->add_option("file", path, "definition file")->required();
    try {
        app.parse(argumentCount, arguments);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? Done : Usage;
    }
    if (dumpCommand->parsed()) {
        return dump(path);
    }
    if (writeCommand->parsed()) {
        return write(path);
    }
    return makeNew(path);
}
