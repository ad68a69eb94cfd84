// The quick-select module in the desktop window: its right-click entry "快速选择" in the default menu
// (nothing selected) and under "翠岭轩" in the object menu, each typing QS into the drawing; "样本"
// hiding the dialog while the drafter picks the template in the view. With $QUELTO_SCREENSHOT_DIR set,
// the two menus are saved there as images.
#include "cad/app/module_manager.h"
#include "cad/gui/command_line_panel.h"
#include "cad/gui/drawing_view.h"
#include "cad/gui/main_window.h"
#include "drawing_builder.h"
#include "platform/message_box.h"
#include "support/module_settings.h"
#include "support/test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

using quelto::testing::writeModuleSetting;

QAction* actionNamed(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

void saveScreenshot(QMenu& menu, const char* file) {
    const char* folder = std::getenv("QUELTO_SCREENSHOT_DIR");
    if (folder != nullptr && folder[0] != '\0') {
        menu.adjustSize();
        EXPECT_TRUE(
            menu.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(file)));
    }
}

template <class Widget>
Widget* childShowing(QWidget& parent, const QString& text) {
    for (Widget* child : parent.findChildren<Widget*>()) {
        if constexpr (std::is_same_v<Widget, QComboBox>) {
            if (child->findText(text) >= 0) {
                return child;
            }
        } else if (child->text() == text) {
            return child;
        }
    }
    return nullptr;
}

class DesktopQuickSelect : public testing::Test {
protected:
    void SetUp() override {
        setenv("QUELTO_REGISTRY_DIR", m_folder.path().c_str(), 1);
        setenv("QUELTO_COMMON_APPDATA", m_folder.path().c_str(), 1);
        writeModuleSetting(L"InitShow", 0);
        writeModuleSetting(L"StartTemp", 0);
        writeModuleSetting(L"AcadNullMenu", 1);
        writeModuleSetting(L"AcadObjectMenu", 1);
        m_window = std::make_unique<cad::gui::MainWindow>();
        m_commandLineScope = std::make_unique<cad::ed::ScopedCommandLine>(*m_window->commandLine());
        m_window->newDrawing();
        m_line = gui_test::line(*m_window->view()->document()->database(), 0, 0, 10, 10);
        m_window->show();
        ASSERT_EQ(cad::app::ModuleManager::instance().load(QUELTO_MODULE), std::nullopt);
    }
    void TearDown() override {
        EXPECT_EQ(cad::app::ModuleManager::instance().unload(QUELTO_MODULE), std::nullopt);
        m_commandLineScope.reset();
        m_window.reset();
        acDocManager->closeAll();
        unsetenv("QUELTO_REGISTRY_DIR");
        unsetenv("QUELTO_COMMON_APPDATA");
    }
    // Chooses the entry and waits for the typed command to have run as a known command that opened the
    // quick-select dialog over the window (closed here with Cancel).
    bool chooseRunsQs(QAction* entry) {
        if (entry == nullptr) {
            return false;
        }
        bool dialogShown = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&dialogShown, this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialogShown = dialog->windowTitle() == QStringLiteral("翠岭轩快速选择系统") &&
                              dialog->parentWidget() == m_window.get();
                dialog->reject();
            }
        });
        closer.start(20);
        entry->trigger();
        const auto typed = [this] {
            return QString::fromStdWString(m_window->lastCommand()) == QStringLiteral("qs");
        };
        for (int attempt = 0; attempt < 200 && !typed(); ++attempt) {
            QTest::qWait(10);
        }
        for (int attempt = 0; attempt < 200 && !dialogShown; ++attempt) {
            QTest::qWait(10);
        }
        return typed() && dialogShown &&
               m_window->commandLine()->historyText().contains(QStringLiteral("Command: qs\n")) &&
               !m_window->commandLine()->historyText().contains(QStringLiteral("Unknown command"));
    }

    quelto::testing::TemporaryFolder m_folder{"quelto-desktop-qs"};
    platform::QueuedMessageBoxService m_boxes;
    platform::ScopedMessageBoxService m_boxScope{m_boxes};
    std::unique_ptr<cad::gui::MainWindow> m_window;
    std::unique_ptr<cad::ed::ScopedCommandLine> m_commandLineScope;
    AcDbObjectId m_line;
};

TEST_F(DesktopQuickSelect, DefaultMenuEntryTypesQsWithoutASelection) {
    std::unique_ptr<QMenu> menu(m_window->buildContextMenu());
    saveScreenshot(*menu, "quick_select_default_menu.png");
    EXPECT_EQ(actionNamed(*menu, QStringLiteral("翠岭轩")), nullptr);
    EXPECT_TRUE(chooseRunsQs(actionNamed(*menu, QStringLiteral("快速选择"))))
        << m_window->commandLine()->historyText().toStdString();
}

TEST_F(DesktopQuickSelect, ObjectMenuEntryUnderTheMakersPopupTypesQsWithTheSelectionKept) {
    m_window->view()->document()->editor().pickFirst = {m_line};
    std::unique_ptr<QMenu> menu(m_window->buildContextMenu());
    saveScreenshot(*menu, "quick_select_object_menu.png");
    EXPECT_EQ(actionNamed(*menu, QStringLiteral("快速选择")), nullptr);
    QAction* popup = actionNamed(*menu, QStringLiteral("翠岭轩"));
    ASSERT_NE(popup, nullptr);
    ASSERT_NE(popup->menu(), nullptr);
    saveScreenshot(*popup->menu(), "quick_select_object_submenu.png");
    EXPECT_TRUE(chooseRunsQs(actionNamed(*popup->menu(), QStringLiteral("快速选择"))))
        << m_window->commandLine()->historyText().toStdString();
}

// The drafter presses "样本": the dialog goes away while the prompt waits for a click in the view, and
// comes back with the clicked line as "<本次模板>".
TEST_F(DesktopQuickSelect, SampleHidesTheDialogWhileTheTemplateIsPickedInTheView) {
    m_window->view()->zoomExtents();
    QDialog* dialog = nullptr;
    bool hiddenWhilePicking = false;
    QString configuration;
    QString type;
    int step = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (step == 0) {
            dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QPushButton* sample = dialog != nullptr ? childShowing<QPushButton>(*dialog, "样本") : nullptr;
            if (sample != nullptr) {
                step = 1;
                QTimer::singleShot(0, sample, &QPushButton::click);
            }
        } else if (step == 1 && m_window->commandLine()->isPrompting()) {
            hiddenWhilePicking = !dialog->isVisible();
            step = 2;
            const QPoint middle = m_window->view()->toDevice(QPointF(5, 5)).toPoint();
            QTest::mouseClick(m_window->view(), Qt::LeftButton, {}, middle);
        } else if (step == 2 && dialog->isVisible()) {
            configuration = childShowing<QComboBox>(*dialog, "<上一次配制>")->currentText();
            type = childShowing<QComboBox>(*dialog, "直线")->currentText();
            step = 3;
            dialog->reject();
        }
    });
    driver.start(20);
    m_window->runCommand(QStringLiteral("QS"));
    driver.stop();
    EXPECT_EQ(step, 3);
    EXPECT_TRUE(hiddenWhilePicking);
    EXPECT_TRUE(m_window->commandLine()->historyText().contains(QStringLiteral("请选择模板实体")));
    EXPECT_EQ(configuration, QStringLiteral("<本次模板>"));
    EXPECT_EQ(type, QStringLiteral("直线"));
}

} // namespace
