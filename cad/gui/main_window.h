// The desktop host's main window: the drawing view with its model and layout tabs, the docked command
// line, File and Edit menus, the status bar with the cursor position in the current UCS, right-click
// menus, and the routing of picks either to a waiting prompt or to the pick-first set. Commands run
// through the same command processor and document manager as the console host.
#pragma once

#include "cad/app/document_manager.h"

#include <QMainWindow>
#include <QStringList>
#include <cstdint>
#include <string>

class QLabel;
class QMenu;
class QTabBar;

namespace cad::gui {

class CommandLinePanel;
class DrawingView;

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens the drawing in place of the current one (asking first when it has unsaved changes);
    // false, with the reason on the command line and in a message box, when it cannot be read.
    bool openDrawing(const QString& path);
    void newDrawing();
    // Runs a command line as typed at the command prompt; an empty line repeats the last command.
    void runCommand(const QString& line);
    // Whether the drawing changed since it was opened or saved.
    bool isDrawingModified() const;
    // Asks to save unsaved changes: true when the caller may go on (saved, discarded, or nothing to save).
    bool confirmDiscard();

    DrawingView* view() const { return m_view; }
    CommandLinePanel* commandLine() const { return m_commandLine; }
    QTabBar* layoutTabs() const { return m_tabs; }
    // The right-click menu as it would open now (the caller owns it).
    QMenu* buildContextMenu();
    const std::wstring& lastCommand() const { return m_lastCommand; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    void refreshTitle();
    void refreshTabs();
    void afterCommand();
    void drainQueuedInput();
    void markSaved();
    void addRecentFile(const QString& path);
    void rebuildRecentMenu();
    void onPointPicked(const QPointF& world, Qt::KeyboardModifiers modifiers);
    void onWindowPicked(const QPointF& corner1, const QPointF& corner2, bool crossing,
                        Qt::KeyboardModifiers modifiers);
    void onCursorMoved(const QPointF& world);
    void clearSelection();
    void selectAll();
    void saveAs();
    void loadApplication();
    void changeSelection(const std::vector<AcDbObjectId>& ids, bool removing);
    // A fingerprint of the drawing's objects: how many live and how many were changed.
    std::pair<std::size_t, std::size_t> drawingState() const;

    DrawingView* m_view = nullptr;
    CommandLinePanel* m_commandLine = nullptr;
    QTabBar* m_tabs = nullptr;
    QLabel* m_coordinates = nullptr;
    QMenu* m_recentMenu = nullptr;
    QStringList m_recentFiles;
    std::wstring m_lastCommand;
    std::pair<std::size_t, std::size_t> m_savedState{0, 0};
    bool m_refreshingTabs = false;
};

} // namespace cad::gui
