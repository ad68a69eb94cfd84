// The main window. Picks go to a waiting prompt as the answers a drafter would type ("W" and two
// corners for a window, "R" ... "A" around a removal) so the transcript reads as on the console; with
// no command running they edit the pick-first set directly through the view's index.

#include "cad/gui/main_window.h"

#include "cad/app/command_processor.h"
#include "cad/app/command_stack.h"
#include "cad/ed/group_selection.h"
#include "cad/ed/layouts.h"
#include "cad/ed/selection_filter.h"
#include "cad/ed/selection_set.h"
#include "cad/ed/user_coordinates.h"
#include "cad/gui/command_line_panel.h"
#include "cad/gui/context_menu_builder.h"
#include "cad/gui/drawing_view.h"
#include "platform/code_page.h"
#include "platform/message_box.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace cad::gui {
namespace {

constexpr int kRecentFileCount = 8;

std::wstring pointText(const QPointF& point) {
    return (QString::number(point.x(), 'g', 15) + QLatin1Char(',') + QString::number(point.y(), 'g', 15))
        .toStdWString();
}

bool isObjectSelectionPrompt(const std::wstring& prompt) {
    return prompt == L"Select objects: " || prompt == L"Remove objects: ";
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_view = new DrawingView(central);
    m_tabs = new QTabBar(central);
    m_tabs->setShape(QTabBar::RoundedSouth);
    // Compact tabs from the left edge, as CAD programs show their layouts; not spread over the width.
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    m_tabs->setUsesScrollButtons(true);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_tabs, 0, Qt::AlignLeft);
    setCentralWidget(central);

    m_commandLine = new CommandLinePanel(this);
    auto* dock = new QDockWidget(tr("Command Line"), this);
    dock->setObjectName(QStringLiteral("commandLineDock"));
    dock->setWidget(m_commandLine);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::BottomDockWidgetArea, dock);

    m_coordinates = new QLabel(this);
    statusBar()->addPermanentWidget(m_coordinates);
    buildMenus();
    resize(1280, 860);

    connect(m_commandLine, &CommandLinePanel::commandEntered, this, &MainWindow::runCommand);
    connect(m_commandLine, &CommandLinePanel::escapePressed, this, &MainWindow::clearSelection);
    connect(m_view, &DrawingView::pointPicked, this, &MainWindow::onPointPicked);
    connect(m_view, &DrawingView::windowPicked, this, &MainWindow::onWindowPicked);
    connect(m_view, &DrawingView::cursorMoved, this, &MainWindow::onCursorMoved);
    connect(m_view, &DrawingView::fileDropped, this, [this](const QString& path) {
        if (confirmDiscard()) {
            openDrawing(path);
        }
    });
    connect(m_view, &DrawingView::contextMenuWanted, this, [this](const QPoint& at) {
        QMenu* menu = buildContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    });
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        AcApDocument* document = m_view->document();
        if (m_refreshingTabs || document == nullptr || index < 0) {
            return;
        }
        const std::vector<ed::LayoutSpace> spaces = ed::layoutSpaces(*document->database());
        if (static_cast<std::size_t>(index) < spaces.size()) {
            document->database()->setCurrentSpace(spaces[static_cast<std::size_t>(index)].space);
            ed::dropPickFirst(document->editor());
            m_view->setDocument(document);
        }
    });
    m_recentFiles = QSettings().value(QStringLiteral("recentFiles")).toStringList();
    rebuildRecentMenu();

    QStringList names;
    for (const AcEdCommand* command : acedRegCmds->commands()) {
        names << QString::fromWCharArray(command->localName());
    }
    names.sort(Qt::CaseInsensitive);
    m_commandLine->setCommandNames(names);
    app::setMainWindow(static_cast<QWidget*>(this));
}

MainWindow::~MainWindow() {
    if (acedGetAcadFrame() == static_cast<QWidget*>(this)) {
        app::setMainWindow(nullptr);
    }
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&New"), QKeySequence::New, this, [this] {
        if (confirmDiscard()) {
            newDrawing();
        }
    });
    file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] {
        if (!confirmDiscard()) {
            return;
        }
        const QString path =
            QFileDialog::getOpenFileName(this, tr("Open Drawing"), QString(), tr("Drawings (*.dxf *.DXF)"));
        if (!path.isEmpty()) {
            openDrawing(path);
        }
    });
    file->addAction(tr("&Save"), QKeySequence::Save, this, [this] {
        AcApDocument* document = m_view->document();
        if (document != nullptr && std::filesystem::exists(document->path())) {
            m_commandLine->answer(std::wstring());
            runCommand(QStringLiteral("SAVE"));
        } else {
            saveAs();
        }
    });
    file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, &MainWindow::saveAs);
    m_recentMenu = file->addMenu(tr("Recent &Files"));
    file->addSeparator();
    file->addAction(tr("&Load Application..."), this, &MainWindow::loadApplication);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    // Undo and redo are the host's U and REDO commands, so they undo exactly what the commands did.
    edit->addAction(tr("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), this,
                    [this] { runCommand(QStringLiteral("U")); });
    edit->addAction(tr("&Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y), this,
                    [this] { runCommand(QStringLiteral("REDO")); });
    edit->addSeparator();
    edit->addAction(tr("&Erase"), QKeySequence::Delete, this, [this] {
        if (m_view->document() != nullptr && !m_view->document()->editor().pickFirst.empty()) {
            runCommand(QStringLiteral("ERASE"));
        }
    });
    edit->addAction(tr("Select &All"), QKeySequence::SelectAll, this, &MainWindow::selectAll);

    QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
    viewMenu->addAction(tr("Zoom &Extents"), this, [this] { m_view->zoomExtents(); });
    viewMenu->addAction(tr("&Text Window"), QKeySequence(Qt::Key_F2), m_commandLine,
                        &CommandLinePanel::showTextWindow);
}

void MainWindow::rebuildRecentMenu() {
    m_recentMenu->clear();
    for (const QString& path : m_recentFiles) {
        m_recentMenu
            ->addAction(QFileInfo(path).fileName(), this,
                        [this, path] {
                            if (confirmDiscard()) {
                                openDrawing(path);
                            }
                        })
            ->setToolTip(path);
    }
    m_recentMenu->setEnabled(!m_recentFiles.isEmpty());
}

void MainWindow::addRecentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_recentFiles.removeAll(absolute);
    m_recentFiles.prepend(absolute);
    while (m_recentFiles.size() > kRecentFileCount) {
        m_recentFiles.removeLast();
    }
    QSettings().setValue(QStringLiteral("recentFiles"), m_recentFiles);
    rebuildRecentMenu();
}

std::pair<std::size_t, std::size_t> MainWindow::drawingState() const {
    AcApDocument* document = m_view->document();
    if (document == nullptr) {
        return {0, 0};
    }
    const AcDbDatabase& database = *document->database();
    std::size_t live = 0;
    std::size_t changed = 0;
    database.forEachObject([&](AcDbObjectId id) {
        ++live;
        if (const AcDbObject* object = database.peekObject(id); object != nullptr && object->isModified()) {
            ++changed;
        }
    });
    return {live, changed};
}

bool MainWindow::isDrawingModified() const {
    return m_view->document() != nullptr && drawingState() != m_savedState;
}

void MainWindow::markSaved() {
    m_savedState = drawingState();
    refreshTitle();
}

void MainWindow::refreshTitle() {
    AcApDocument* document = m_view->document();
    const QString name =
        document != nullptr ? QString::fromStdString(document->path().filename().string()) : QString();
    setWindowTitle(name + QStringLiteral("[*] - Quelto CAD"));
    setWindowModified(isDrawingModified());
}

void MainWindow::refreshTabs() {
    AcApDocument* document = m_view->document();
    m_refreshingTabs = true;
    while (m_tabs->count() > 0) {
        m_tabs->removeTab(0);
    }
    if (document != nullptr) {
        const AcDbObjectId current = document->database()->currentSpaceId();
        for (const ed::LayoutSpace& space : ed::layoutSpaces(*document->database())) {
            const int index = m_tabs->addTab(QString::fromStdWString(space.name));
            if (space.space == current) {
                m_tabs->setCurrentIndex(index);
            }
        }
    }
    m_refreshingTabs = false;
}

bool MainWindow::confirmDiscard() {
    if (!isDrawingModified()) {
        return true;
    }
    AcApDocument* document = m_view->document();
    const std::wstring name = platform::utf8ToWide(document->path().filename().string());
    const int answer =
        MessageBox(this, L"Save changes to " + name + L"?", L"Quelto CAD", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) {
        return false;
    }
    if (answer == IDYES) {
        if (std::filesystem::exists(document->path())) {
            m_commandLine->answer(std::wstring());
            runCommand(QStringLiteral("SAVE"));
        } else {
            saveAs();
        }
        return !isDrawingModified();
    }
    return true;
}

bool MainWindow::openDrawing(const QString& path) {
    std::string error;
    AcApDocument* previous = acDocManager->curDocument();
    AcApDocument* opened = acDocManager->openDocument(path.toStdString(), error);
    if (opened == nullptr) {
        const std::wstring message =
            L"Cannot open " + path.toStdWString() + L": " + platform::utf8ToWide(error);
        m_commandLine->write(message + L"\n");
        MessageBox(this, message, L"Quelto CAD", MB_OK | MB_ICONERROR);
        return false;
    }
    // One drawing per window: the opened one replaces the one shown.
    if (previous != nullptr) {
        acDocManager->closeDocument(previous);
        acDocManager->setCurrentDocument(opened);
    }
    m_view->setDocument(opened);
    markSaved();
    refreshTabs();
    addRecentFile(path);
    m_commandLine->write(L"Opened " + path.toStdWString() + L"\n");
    return true;
}

void MainWindow::newDrawing() {
    AcApDocument* previous = acDocManager->curDocument();
    AcApDocument* created = acDocManager->newDocument();
    if (previous != nullptr) {
        acDocManager->closeDocument(previous);
        acDocManager->setCurrentDocument(created);
    }
    m_view->setDocument(created);
    markSaved();
    refreshTabs();
}

void MainWindow::saveAs() {
    AcApDocument* document = m_view->document();
    if (document == nullptr) {
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Drawing As"),
                                                      QString::fromStdString(document->path().string()),
                                                      tr("Drawings (*.dxf)"));
    if (path.isEmpty()) {
        return;
    }
    m_commandLine->answer(path.toStdWString());
    runCommand(QStringLiteral("SAVEAS"));
    if (document->path() == std::filesystem::path(path.toStdString())) {
        addRecentFile(path);
    }
}

void MainWindow::loadApplication() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Load Application"), QString(),
                                                      tr("Modules (*.so *.arx);;All files (*)"));
    if (!path.isEmpty()) {
        m_commandLine->answer(path.toStdWString());
        runCommand(QStringLiteral("APPLOAD"));
    }
}

void MainWindow::runCommand(const QString& line) {
    if (m_commandLine->isPrompting()) {
        // A command is waiting: what the drafter chose answers it.
        m_commandLine->answer(line.toStdWString());
        return;
    }
    std::wstring text = line.trimmed().toStdWString();
    if (text.empty()) {
        text = m_lastCommand;
    }
    if (text.empty()) {
        return;
    }
    m_commandLine->write(L"Command: " + text + L"\n");
    m_lastCommand = text;
    const std::wstring historyBefore = m_commandLine->historyText().toStdWString();
    ed::setPickAperture(m_view->pickAperture());
    app::CommandProcessor::instance().execute(text);
    const std::wstring word = QString::fromStdWString(text).toUpper().toStdWString();
    if ((word == L"SAVE" || word == L"SAVEAS" || word == L"QSAVE") &&
        m_commandLine->historyText().toStdWString().find(L"Saved ", historyBefore.size()) !=
            std::wstring::npos) {
        markSaved();
    }
    afterCommand();
}

void MainWindow::afterCommand() {
    app::CommandProcessor& processor = app::CommandProcessor::instance();
    if (processor.quitRequested()) {
        processor.clearQuit();
        QTimer::singleShot(0, this, &QWidget::close);
    }
    AcApDocument* current = acDocManager->curDocument();
    if (current != m_view->document()) {
        // OPEN or NEW from the command line replaced the drawing.
        m_view->setDocument(current);
        markSaved();
    } else {
        m_view->drawingChanged();
        m_view->adoptDocumentView();
    }
    refreshTabs();
    refreshTitle();
    drainQueuedInput();
}

void MainWindow::drainQueuedInput() {
    // Text a module queued with sendStringToExecute runs once the command before it has returned.
    if (m_commandLine->isPrompting()) {
        return;
    }
    if (std::optional<AcApDocManager::QueuedLine> queued = acDocManager->takeQueuedLine()) {
        const QString text = QString::fromStdWString(queued->text);
        QTimer::singleShot(0, this,
                           [this, text] { runCommand(text.isEmpty() ? QStringLiteral(" ") : text); });
    }
}

void MainWindow::changeSelection(const std::vector<AcDbObjectId>& ids, bool removing) {
    AcApDocument* document = m_view->document();
    if (document == nullptr) {
        return;
    }
    std::vector<AcDbObjectId>& pickFirst = document->editor().pickFirst;
    for (const AcDbObjectId& id : ed::withTheirGroups(*document->database(), m_view->currentSpace(), ids)) {
        const auto found = std::find(pickFirst.begin(), pickFirst.end(), id);
        if (removing && found != pickFirst.end()) {
            pickFirst.erase(found);
        } else if (!removing && found == pickFirst.end()) {
            pickFirst.push_back(id);
        }
    }
    document->editor().gripped = pickFirst;
    m_view->selectionChanged();
}

void MainWindow::onPointPicked(const QPointF& world, Qt::KeyboardModifiers modifiers) {
    const bool removing = (modifiers & Qt::ShiftModifier) != 0;
    if (m_commandLine->isPrompting()) {
        ed::setPickAperture(m_view->pickAperture());
        const bool selecting = isObjectSelectionPrompt(m_commandLine->currentPrompt());
        if (selecting && removing) {
            m_commandLine->answer(L"R");
        }
        m_commandLine->answer(pointText(world));
        if (selecting && removing) {
            m_commandLine->answer(L"A");
        }
        return;
    }
    const AcDbObjectId picked = m_view->entityAt(m_view->toDevice(world));
    if (!picked.isNull()) {
        changeSelection({picked}, removing);
    }
}

void MainWindow::onWindowPicked(const QPointF& corner1, const QPointF& corner2, bool crossing,
                                Qt::KeyboardModifiers modifiers) {
    const bool removing = (modifiers & Qt::ShiftModifier) != 0;
    AcApDocument* document = m_view->document();
    if (document == nullptr) {
        return;
    }
    if (m_commandLine->isPrompting()) {
        if (!isObjectSelectionPrompt(m_commandLine->currentPrompt())) {
            m_commandLine->answer(pointText(corner2));
            return;
        }
        if (removing) {
            m_commandLine->answer(L"R");
        }
        m_commandLine->answer(crossing ? L"C" : L"W");
        m_commandLine->answer(pointText(corner1));
        m_commandLine->answer(pointText(corner2));
        if (removing) {
            m_commandLine->answer(L"A");
        }
        return;
    }
    const AcGePoint3d first(corner1.x(), corner1.y(), 0.0);
    const AcGePoint3d second(corner2.x(), corner2.y(), 0.0);
    const std::optional<ed::SelectionFilter> everything = ed::SelectionFilter::compile(nullptr);
    changeSelection(
        ed::selectWindow(*document->database(), m_view->currentSpace(), first, second, crossing, *everything),
        removing);
}

void MainWindow::onCursorMoved(const QPointF& world) {
    AcApDocument* document = m_view->document();
    if (document == nullptr) {
        return;
    }
    const bool paper = m_view->currentSpace() != document->database()->modelSpaceId();
    const ed::UserCoordinateSystem system = ed::userCoordinateSystem(*document->database(), paper);
    const AcGePoint3d user = system.fromWorld(AcGePoint3d(world.x(), world.y(), 0.0));
    m_coordinates->setText(
        QStringLiteral("%1, %2, %3").arg(user.x, 0, 'f', 4).arg(user.y, 0, 'f', 4).arg(user.z, 0, 'f', 4));
}

void MainWindow::clearSelection() {
    AcApDocument* document = m_view->document();
    if (document == nullptr) {
        return;
    }
    ed::dropPickFirst(document->editor());
    m_view->selectionChanged();
}

void MainWindow::selectAll() {
    AcApDocument* document = m_view->document();
    if (document == nullptr) {
        return;
    }
    std::vector<AcDbObjectId> all;
    for (const SpatialIndex::Entry& entry : m_view->indexOf(m_view->currentSpace()).entries()) {
        all.push_back(entry.id);
    }
    document->editor().pickFirst = all;
    document->editor().gripped = all;
    m_view->selectionChanged();
}

QMenu* MainWindow::buildContextMenu() {
    AcApDocument* document = m_view->document();
    const std::vector<AcDbObjectId> selection =
        document != nullptr ? document->editor().pickFirst : std::vector<AcDbObjectId>();
    HostMenuActions host;
    host.lastCommand = m_lastCommand;
    // The entry names the command it repeats: that one runs, whatever ran in between.
    host.repeat = [this, last = QString::fromStdWString(m_lastCommand)] { runCommand(last); };
    host.erase = [this] { runCommand(QStringLiteral("ERASE")); };
    host.zoomExtents = [this] { m_view->zoomExtents(); };
    host.selectAll = [this] { selectAll(); };
    host.undo = [this] { runCommand(QStringLiteral("U")); };
    host.afterModuleCommand = [this] { drainQueuedInput(); };
    return buildHostContextMenu(this, selection, host);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        if (m_commandLine->isPrompting()) {
            m_commandLine->cancel();
        } else {
            clearSelection();
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        m_commandLine->submitInput();
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        // Typing over the drawing goes to the command line, as in CAD programs.
        m_commandLine->input()->setFocus();
        m_commandLine->input()->insert(text);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_commandLine->isPrompting()) {
        // A command is waiting inside its prompt: cancel it, then close once it has returned.
        m_commandLine->cancelAll();
        event->ignore();
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (!confirmDiscard()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace cad::gui
