// Start-up of the desktop host. Plots set the offscreen platform themselves, so thumbnails and PDF
// sets can be scripted on machines without a display.

#include "cad/gui/desktop_host.h"

#include "cad/app/command_processor.h"
#include "cad/app/command_stack.h"
#include "cad/app/console_host.h"
#include "cad/app/module_manager.h"
#include "cad/gui/command_line_panel.h"
#include "cad/gui/drawing_view.h"
#include "cad/gui/main_window.h"
#include "cad/gui/qt_clipboard.h"
#include "cad/gui/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <filesystem>
#include <iostream>

namespace cad::gui {
namespace {

bool parseSize(const std::string& text, QSize& size) {
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos) {
        return false;
    }
    try {
        std::size_t used = 0;
        const int width = std::stoi(text.substr(0, cross), &used);
        if (used != cross) {
            return false;
        }
        const std::string rest = text.substr(cross + 1);
        const int height = std::stoi(rest, &used);
        if (used != rest.size() || width < 16 || height < 16 || width > 20000 || height > 20000) {
            return false;
        }
        size = QSize(width, height);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void panCommand() {
    AcApDocument* document = acDocManager->curDocument();
    if (document == nullptr) {
        return;
    }
    ads_point base;
    ads_point target;
    if (acedGetPoint(nullptr, L"Specify base point or displacement: ", base) != RTNORM ||
        acedGetPoint(base, L"Specify second point: ", target) != RTNORM) {
        return;
    }
    document->view().center[0] -= target[0] - base[0];
    document->view().center[1] -= target[1] - base[1];
}

} // namespace

void registerDesktopCommands() {
    if (acedRegCmds->lookupGlobalCmd(L"PAN") == nullptr) {
        acedRegCmds->addCommand(L"QUELTO_HOST", L"PAN", L"PAN", ACRX_CMD_TRANSPARENT, panCommand);
    }
}

std::optional<DesktopOptions> parseDesktopArguments(const std::vector<std::string>& arguments,
                                                    std::string& error) {
    // The plot options are the desktop's own; the drawing and --load read as in the console host.
    DesktopOptions options;
    std::optional<std::string> layout;
    std::optional<QSize> size;
    std::vector<std::string> shared;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument != "--render" && argument != "--layout" && argument != "--size") {
            shared.push_back(argument);
            continue;
        }
        if (index + 1 >= arguments.size()) {
            error = argument + " needs a value";
            return std::nullopt;
        }
        const std::string& value = arguments[++index];
        if (argument == "--render") {
            options.plot = PlotRequest();
            options.plot->output = value;
        } else if (argument == "--layout") {
            layout = value;
        } else {
            QSize parsed;
            if (!parseSize(value, parsed)) {
                error = "--size wants WIDTHxHEIGHT in pixels (16 to 20000), not " + value;
                return std::nullopt;
            }
            size = parsed;
        }
    }
    const std::optional<app::ConsoleOptions> common = app::parseConsoleArguments(shared, error);
    if (!common) {
        return std::nullopt;
    }
    if (common->script) {
        error = "--script goes with --console";
        return std::nullopt;
    }
    options.drawing = common->drawing;
    options.modules = common->modules;
    if (options.plot) {
        if (!options.drawing) {
            error = "--render needs a drawing";
            return std::nullopt;
        }
        options.plot->drawing = *options.drawing;
        options.plot->layout = layout;
        if (size) {
            options.plot->size = *size;
        }
    } else if (layout || size) {
        error = "--layout and --size go with --render";
        return std::nullopt;
    }
    return options;
}

int runDesktop(int argc, char** argv, const DesktopOptions& options) {
    if (options.plot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quelto"));
    QApplication::setApplicationName(QStringLiteral("quelto-cad"));
    if (options.plot) {
        return plotDrawing(*options.plot, std::cerr);
    }
    app::CommandProcessor::instance().registerHostCommands();
    registerDesktopCommands();
    app::CommandProcessor::instance().clearQuit();
    if (options.drawing && !std::filesystem::exists(*options.drawing)) {
        std::cerr << "quelto-cad: cannot open drawing " << *options.drawing << ": no such file\n";
        return static_cast<int>(app::ConsoleExit::MissingFile);
    }
    QtMessageBoxService messageBoxes;
    const platform::ScopedMessageBoxService messageBoxScope(messageBoxes);
    QtClipboardService clipboard;
    const platform::ScopedClipboardService clipboardScope(clipboard);
    int status = 0;
    {
        MainWindow window;
        const ed::ScopedCommandLine commandLineScope(*window.commandLine());
        if (options.drawing) {
            if (!window.openDrawing(QString::fromStdString(*options.drawing))) {
                return static_cast<int>(app::ConsoleExit::BadDrawing);
            }
        } else {
            window.newDrawing();
        }
        for (const std::string& module : options.modules) {
            if (const std::optional<std::string> error = app::ModuleManager::instance().load(module)) {
                std::cerr << "quelto-cad: " << *error << "\n";
                app::ModuleManager::instance().unloadAll();
                acDocManager->closeAll();
                return static_cast<int>(app::ConsoleExit::ModuleLoadFailed);
            }
        }
        window.show();
        status = application.exec();
        app::ModuleManager::instance().unloadAll();
        acDocManager->closeAll();
    }
    return status;
}

} // namespace cad::gui
