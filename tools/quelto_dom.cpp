// quelto-dom: the definition editor. Without a command it opens its window (on the file given, if any);
// `dump` prints a .dom file as JSON, `write` makes one from such a description (refusing one that would
// give unusable properties), `new` makes an empty one. Files are replaced only once completely written;
// an existing file is never emptied by `new`.

#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "platform/wide_text.h"
#include "quelto_dom_document.h"
#include "quelto_dom_json.h"
#include "quelto_dom_window.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <filesystem>
#include <iostream>
#include <iterator>

namespace {

enum ExitCode { Done = 0, Refused = 1, Usage = 2, FileFailed = 3 };

int dump(const std::string& path) {
    CFreedomEntityFile file;
    const CFreedomReadResult result = file.ReadFile(platform::utf8ToWide(path));
    if (result.status == CFreedomReadResult::Read) {
        std::cout << quelto::dom::toJson(file).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                  << '\n';
        return Done;
    }
    std::cerr << "quelto-dom: " << quelto::dom::describeReadFailure(std::filesystem::u8path(path), result)
              << '\n';
    return result.status == CFreedomReadResult::CannotOpen ? FileFailed : Refused;
}

int save(const CFreedomEntityFile& file, const std::string& path) {
    if (!file.Save(platform::utf8ToWide(path))) {
        std::cerr << "quelto-dom: " << quelto::dom::describeWriteFailure(std::filesystem::u8path(path))
                  << '\n';
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

// Qt needs a display (or a platform chosen through QT_QPA_PLATFORM) and aborts without one, so a bare
// call on a console says how the program is used instead.
bool displayAvailable() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int runWindow(int argumentCount, char** arguments, const std::string& path) {
    QApplication application(argumentCount, arguments);
    quelto::dom::DialogPrompts prompts;
    quelto::dom::DefinitionWindow window(prompts);
    if (!path.empty() && !window.openPath(QString::fromStdString(path))) {
        return FileFailed;
    }
    window.show();
    return application.exec();
}

} // namespace

int main(int argumentCount, char** arguments) {
    CLI::App app{"quelto-dom: custom entity definition files (.dom) for Quelto's quick selection"};
    app.require_subcommand(0, 1);
    std::string path;
    // A mistyped command must not open the window on a file of that name.
    app.add_option("file", path, "definition file to open in the window; a new one when it does not exist")
        ->check(
            [](const std::string& file) -> std::string {
                std::error_code error;
                const std::filesystem::path given = std::filesystem::u8path(file);
                if (platform::toLowerAscii(platform::pathToWide(given.extension())) == L".dom" ||
                    std::filesystem::is_regular_file(given, error)) {
                    return {};
                }
                return file + " is neither a command (dump, write, new) nor a .dom file";
            },
            "FILE.dom");
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
    if (newCommand->parsed()) {
        return makeNew(path);
    }
    if (!displayAvailable()) {
        std::cerr << app.help()
                  << "quelto-dom: no display for the window (DISPLAY is not set); "
                     "use dump, write or new on a console\n";
        return Usage;
    }
    return runWindow(argumentCount, arguments, path);
}
