// The settings sheet driven offscreen through its controls: what OK stores and Cancel does not, the
// precision read as a leading number made positive, the greyed software-name box, the right-click
// entries following OK at once, and the definition editor started from the sheet. With
// $QUELTO_SCREENSHOT_DIR set, each page is saved there as an image.
#include "cad/app/document_manager.h"
#include "platform/message_box.h"
#include "platform/registry_store.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/set_ent_pages.h"
#include "quelto/ui/settings_sheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>

namespace {

template <typename Control>
Control* byCaption(QWidget& parent, const char* caption) {
    for (Control* control : parent.findChildren<Control*>()) {
        if (control->text() == QString::fromUtf8(caption)) {
            return control;
        }
    }
    ADD_FAILURE() << "no control captioned " << caption;
    return nullptr;
}

void clickOn(QWidget& sheet, const char* caption) {
    QAbstractButton* button = byCaption<QAbstractButton>(sheet, caption);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

int synchronisations = 0;

class SettingsSheet : public testing::Test {
protected:
    void SetUp() override {
        synchronisations = 0;
        SetContextMenuSynchroniser([] { ++synchronisations; });
        CQLTSystemParam parameters;
        parameters.SetHasFreedom(1);
        parameters.SetHasEntSoft(1);
        parameters.SetEPI(0.0001);
        parameters.SetPickOperator(1);
        parameters.SetUseRadius(0);
        parameters.SetStartPage(0);
        parameters.SetAcadObjectMenu(1);
        m_sheet = std::make_unique<CQSetEntSheet>();
        m_sheet->show();
    }
    void TearDown() override {
        m_sheet.reset();
        SetContextMenuSynchroniser(nullptr);
    }
    void showPage(int index) { m_sheet->Tabs()->setCurrentIndex(index); }
    QLineEdit* precisionEdit() { return m_sheet->findChild<QLineEdit*>(); }

    platform::QueuedMessageBoxService m_boxes;
    platform::ScopedMessageBoxService m_boxScope{m_boxes};
    std::unique_ptr<CQSetEntSheet> m_sheet;
};

TEST_F(SettingsSheet, StoredValuesShownOnThreePagesInOrder) {
    ASSERT_EQ(m_sheet->Tabs()->count(), 3);
    EXPECT_EQ(m_sheet->Tabs()->tabText(2), QStringLiteral("界面"));
    EXPECT_EQ(precisionEdit()->text(), QStringLiteral("0.0001"));
    EXPECT_TRUE(byCaption<QRadioButton>(*m_sheet, "全部实体")->isChecked());
    EXPECT_TRUE(byCaption<QRadioButton>(*m_sheet, "用户坐标")->isChecked());

    const QString folder = qEnvironmentVariable("QUELTO_SCREENSHOT_DIR");
    for (int page = 0; page < 3 && !folder.isEmpty(); ++page) {
        showPage(page);
        EXPECT_TRUE(
            m_sheet->grab().save(folder + QStringLiteral("/settings_sheet_page%1.png").arg(page + 1)));
    }
}

TEST_F(SettingsSheet, PrecisionIsTheAbsoluteLeadingNumberOfTheText) {
    const std::pair<const char*, double> cases[] = {
        {"-0.001", 0.001}, {"abc", 0.0}, {"0.5mm", 0.5}, {"  2e-3", 0.002}, {"", 0.0}, {"0.0001", 0.0001},
    };
    for (const auto& [text, stored] : cases) {
        auto sheet = std::make_unique<CQSetEntSheet>();
        sheet->show();
        sheet->Tabs()->setCurrentIndex(1);
        QLineEdit* edit = sheet->findChild<QLineEdit*>();
        edit->setText(QString::fromUtf8(text));
        clickOn(*sheet, "确定");
        EXPECT_DOUBLE_EQ(CQLTSystemParam().GetEPI(), stored) << text;
    }
}

TEST_F(SettingsSheet, SoftwareNameBoxIsGreyedWhileCustomEntitiesAreOff) {
    showPage(2);
    QCheckBox* freedom = byCaption<QCheckBox>(*m_sheet, "载入第三方软件自定义实体（命令重启后生效）");
    QCheckBox* softwareName = byCaption<QCheckBox>(*m_sheet, "在实体名称前增加软件名称");
    EXPECT_TRUE(softwareName->isEnabled());
    QTest::mouseClick(freedom, Qt::LeftButton);
    EXPECT_FALSE(softwareName->isEnabled());
    QTest::mouseClick(freedom, Qt::LeftButton);
    EXPECT_TRUE(softwareName->isEnabled());

    // Greyed from the start when the stored setting is off.
    CQLTSystemParam().SetHasFreedom(0);
    CQSetEntSheet reopened;
    EXPECT_FALSE(byCaption<QCheckBox>(reopened, "在实体名称前增加软件名称")->isEnabled());
    EXPECT_TRUE(byCaption<QCheckBox>(reopened, "在实体名称前增加软件名称")->isChecked());
}

TEST_F(SettingsSheet, OkStoresEveryChangeAndSynchronisesTheMenusCancelStoresNothing) {
    const auto change = [](CQSetEntSheet& sheet) {
        sheet.Tabs()->setCurrentIndex(0);
        clickOn(sheet, "上次设置");
        sheet.Tabs()->setCurrentIndex(1);
        clickOn(sheet, "弧度");
        sheet.Tabs()->setCurrentIndex(2);
        clickOn(sheet, "实体特性");
        clickOn(sheet, "编辑模式（有选择对象）快捷菜单中嵌入快速选择");
        clickOn(sheet, "在实体名称前增加软件名称");
    };
    change(*m_sheet);
    clickOn(*m_sheet, "取消");
    CQLTSystemParam parameters;
    EXPECT_EQ(synchronisations, 0);
    EXPECT_EQ(parameters.GetPickOperator(), 1);
    EXPECT_EQ(parameters.GetUseRadius(), 0);
    EXPECT_EQ(parameters.GetStartPage(), 0);
    EXPECT_EQ(parameters.GetAcadObjectMenu(), 1);
    EXPECT_EQ(parameters.GetHasEntSoft(), 1);

    CQSetEntSheet sheet;
    sheet.show();
    change(sheet);
    clickOn(sheet, "确定");
    EXPECT_EQ(synchronisations, 1);
    EXPECT_EQ(parameters.GetPickOperator(), 2);
    EXPECT_EQ(parameters.GetUseRadius(), 1);
    EXPECT_EQ(parameters.GetStartPage(), 2);
    EXPECT_EQ(parameters.GetAcadObjectMenu(), 0);
    EXPECT_EQ(parameters.GetHasEntSoft(), 0);
    EXPECT_EQ(parameters.GetHasFreedom(), 1);
}

// Notes the drawing's lock count when the sheet is made, that is, while RunSettingsSheet runs it.
class LockObserver : public QObject {
public:
    int locksSeen = -1;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange && qobject_cast<CQSetEntSheet*>(object) != nullptr) {
            locksSeen = acDocManager->curDocument()->lockCount();
        }
        return false;
    }
};

TEST_F(SettingsSheet, DrawingIsLockedWhileTheSheetRunsAndUnlockedAfter) {
    AcApDocument* document = acDocManager->newDocument();
    LockObserver observer;
    qApp->installEventFilter(&observer);
    RunSettingsSheet(nullptr);
    qApp->removeEventFilter(&observer);
    EXPECT_EQ(observer.locksSeen, 1);
    EXPECT_EQ(document->lockCount(), 0);
    acDocManager->closeDocument(document);
}

// The editor's location comes from the machine-wide settings; a stand-in program notes its process id.
class DefinitionEditorButton : public SettingsSheet {
protected:
    void setLocation(const QString& folder) {
        platform::RegistryStore machine(platform::RegistryRoot::LocalMachine);
        machine.writeValue(L"SOFTWARE\\翠岭轩工作室\\翠岭轩快速选择系统", L"Location",
                           platform::RegistryValue::string(folder.toStdWString()), true);
    }
    QTemporaryDir m_folder;
};

bool processRuns(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string skipPid, name, state;
    return stat >> skipPid >> name >> state && state != "Z";
}

TEST_F(DefinitionEditorButton, EditorStartsAtOnceAndOutlivesCancel) {
    const QString pidFile = m_folder.filePath(QStringLiteral("editor.pid"));
    {
        QFile editor(m_folder.filePath(QStringLiteral("quelto-dom")));
        ASSERT_TRUE(editor.open(QIODevice::WriteOnly));
        editor.write(("#!/bin/sh\necho $$ > '" + pidFile.toStdString() + ".tmp'\nmv '" +
                      pidFile.toStdString() + ".tmp' '" + pidFile.toStdString() + "'\nexec sleep 300\n")
                         .c_str());
        editor.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    setLocation(m_folder.path());
    showPage(2);
    clickOn(*m_sheet, "实体编辑器");
    clickOn(*m_sheet, "取消");
    for (int attempt = 0; attempt < 500 && !QFile::exists(pidFile); ++attempt) {
        QTest::qWait(10);
    }
    QFile written(pidFile);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << "the editor did not start";
    const long pid = written.readAll().trimmed().toLong();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(processRuns(pid));
    EXPECT_TRUE(m_boxes.shown().empty());
    ::kill(static_cast<pid_t>(pid), SIGTERM);
}

TEST_F(DefinitionEditorButton, MissingEditorIsAnInstallationError) {
    setLocation(m_folder.path());
    showPage(2);
    clickOn(*m_sheet, "实体编辑器");
    ASSERT_EQ(m_boxes.shown().size(), 1U);
    EXPECT_EQ(m_boxes.shown()[0].caption, L"安装错误");
    EXPECT_TRUE(m_sheet->isVisible());
}

} // namespace
