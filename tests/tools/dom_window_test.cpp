// quelto-dom's window driven through real key and mouse events offscreen: a definition made from nothing
// (software, a class, properties with their computed ids) is saved and read back by the module's reader;
// a refusal is told and writes nothing; the sample opened and saved unchanged gives its bytes back; and
// unsaved changes are asked about before they are lost.

#include "../filter/filter_test_support.h"
#include "platform/known_folders.h"
#include "quelto_dom_window.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace quelto::dom;
using filter_test::readBytes;

namespace {

const std::filesystem::path kSamplePath =
    std::filesystem::path(QUELTO_SOURCE_DIR) / "samples" / "custom_pipes.dom";

// Answers the window's questions from the test and records what it was told.
class ScriptedPrompts : public DefinitionPrompts {
public:
    QString pathToOpen(QWidget*, const QString&) override { return openAnswer; }
    QString pathToSave(QWidget*, const QString& offered) override {
        suggested = offered;
        return saveAnswer;
    }
    Unsaved askUnsaved(QWidget*, const QString& fileName) override {
        askedAbout.push_back(fileName);
        return unsavedAnswer;
    }
    void tell(QWidget*, const QString& title, const QString& message) override {
        told.push_back(title + QStringLiteral(": ") + message);
    }

    QString openAnswer;
    QString saveAnswer;
    QString suggested;
    Unsaved unsavedAnswer = Unsaved::Cancel;
    QStringList askedAbout;
    QStringList told;
};

class DomWindow : public testing::Test {
protected:
    DomWindow() : m_window(m_prompts) { showActive(); }

    // Key shortcuts and the focus of cell editors need the window to be the active one.
    void showActive() {
        m_window.show();
        m_window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    template <class Widget>
    Widget* find(const char* name) {
        auto* widget = m_window.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTableWidget* table() { return find<QTableWidget>("properties"); }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    // Chinese text arrives from the input method as one committed string.
    static void commit(QWidget* widget, const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(widget, &event);
    }
    // Replaces the text of a line edit as a person would: select all, type.
    void type(const char* edit, const QString& text) {
        QLineEdit* field = find<QLineEdit>(edit);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        commit(field, text);
    }
    // Edits a text cell of the property table through its editor.
    void typeCell(int row, int column, const QString& text) {
        table()->setCurrentCell(row, column);
        QTest::keyClick(table(), Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        commit(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits what Return ends on the next turn of the event loop.
        QCoreApplication::processEvents();
    }
    void chooseKind(int row, int kind) {
        auto* combo = qobject_cast<QComboBox*>(table()->cellWidget(row, DefinitionWindow::KindColumn));
        ASSERT_NE(combo, nullptr);
        combo->setFocus();
        while (combo->currentData().toInt() != kind && combo->currentIndex() + 1 < combo->count()) {
            QTest::keyClick(combo, Qt::Key_Down);
        }
    }
    void typeGroupCode(int row, int code) {
        auto* spin = qobject_cast<QSpinBox*>(table()->cellWidget(row, DefinitionWindow::GroupCodeColumn));
        ASSERT_NE(spin, nullptr);
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(spin, QString::number(code));
        QTest::keyClick(spin, Qt::Key_Return);
    }
    QString idShown(int row) { return table()->item(row, DefinitionWindow::IdColumn)->text(); }
    void saveWithKeys() { QTest::keyClick(&m_window, Qt::Key_S, Qt::ControlModifier); }

    quelto::testing::TemporaryFolder m_folder;
    ScriptedPrompts m_prompts;
    DefinitionWindow m_window;
};

TEST_F(DomWindow, ADefinitionMadeInTheWindowIsSavedAndReadBackByTheModulesReader) {
    EXPECT_FALSE(m_window.isWindowModified());
    type("software", QStringLiteral("管网软件"));
    type("fileNote", QStringLiteral("第一行"));
    EXPECT_TRUE(m_window.isWindowModified());
    EXPECT_EQ(m_window.windowTitle(), QStringLiteral("untitled.dom[*] - quelto-dom"));

    click("addClass");
    type("displayName", QStringLiteral("管道"));
    type("className", QStringLiteral("QLT_PIPE"));
    EXPECT_EQ(find<QListWidget>("classes")->item(0)->text(), QStringLiteral("管道  (QLT_PIPE)"));

    // The computed id follows the group code and the items as they are typed.
    struct Row {
        QString name;
        int kind;
        int code;
        QString items;
        QString id;
    };
    const Row rows[] = {
        {QStringLiteral("起点"), 1, 10, QString(), QStringLiteral("2055-2057")},
        {QStringLiteral("材质"), 4, 70, QStringLiteral("1=钢管; 2=塑料管"), QStringLiteral("4011")},
        {QStringLiteral("重量"), 3, 1040, QString(), QStringLiteral("2035")},
        {QStringLiteral("编号"), 6, 1, QString(), QStringLiteral("3002")}};
    for (int row = 0; row < 4; ++row) {
        click("addProperty");
        ASSERT_EQ(table()->rowCount(), row + 1);
        typeCell(row, DefinitionWindow::NameColumn, rows[row].name);
        chooseKind(row, rows[row].kind);
        typeGroupCode(row, rows[row].code);
        if (!rows[row].items.isEmpty()) {
            typeCell(row, DefinitionWindow::ItemsColumn, rows[row].items);
        }
        EXPECT_EQ(idShown(row), rows[row].id) << row;
    }
    typeCell(0, DefinitionWindow::NoteColumn, QStringLiteral("管道起点"));
    EXPECT_EQ(find<QLabel>("check")->text(), QStringLiteral("Ready to save."));

    m_prompts.saveAnswer = QString::fromStdString((m_folder.path() / "pipes").string());
    saveWithKeys();
    ASSERT_TRUE(m_prompts.told.isEmpty()) << m_prompts.told.join('\n').toStdString();
    EXPECT_FALSE(m_window.isWindowModified());
    EXPECT_EQ(m_window.windowTitle(), QStringLiteral("pipes.dom[*] - quelto-dom"));

    CFreedomEntityFile read;
    ASSERT_EQ(read.ReadFile(platform::pathToWide(m_folder.path() / "pipes.dom")).status,
              CFreedomReadResult::Read);
    EXPECT_EQ(read.softName, L"管网软件");
    EXPECT_EQ(read.fileNote, L"第一行");
    ASSERT_EQ(read.entities.size(), 1u);
    EXPECT_EQ(read.entities[0].displayName, L"管道");
    EXPECT_EQ(read.entities[0].className, L"QLT_PIPE");
    ASSERT_EQ(read.entities[0].props.size(), 4u);
    for (int row = 0; row < 4; ++row) {
        const CFreedomProp& prop = read.entities[0].props[row];
        EXPECT_EQ(QString::fromStdWString(prop.name), rows[row].name);
        EXPECT_EQ(prop.kind, rows[row].kind);
        EXPECT_EQ(prop.groupCode, rows[row].code);
        EXPECT_EQ(QString::fromStdWString(joinItems(prop.items)), rows[row].items);
    }
    EXPECT_EQ(read.entities[0].props[0].propNote, L"管道起点");
}

TEST_F(DomWindow, ARefusalNamesClassPropertyAndFieldSelectsTheRowAndWritesNothing) {
    type("software", QStringLiteral("S"));
    click("addClass");
    click("addProperty");
    click("addProperty");
    typeGroupCode(1, 10);
    EXPECT_EQ(
        find<QLabel>("check")->text(),
        QStringLiteral("Cannot be saved yet: class 新实体1 (NEW_ENTITY1), property 属性2, group code: group "
                       "code 10 gives id 2055, which 属性1 (group code 10) already covers; a criterion would "
                       "always read that one"));
    table()->setCurrentCell(0, DefinitionWindow::NameColumn);
    m_prompts.saveAnswer = QString::fromStdString((m_folder.path() / "bad.dom").string());
    saveWithKeys();
    ASSERT_EQ(m_prompts.told.size(), 1);
    EXPECT_EQ(m_prompts.told[0],
              QStringLiteral(
                  "Not saved: class 新实体1 (NEW_ENTITY1), property 属性2, group code: group code 10 gives "
                  "id 2055, which 属性1 (group code 10) already covers; a criterion would always read "
                  "that one"));
    EXPECT_EQ(table()->currentRow(), 1);
    EXPECT_EQ(table()->currentColumn(), DefinitionWindow::GroupCodeColumn);
    EXPECT_FALSE(std::filesystem::exists(m_folder.path() / "bad.dom"));
    EXPECT_TRUE(m_window.isWindowModified());

    type("className", QStringLiteral("A B"));
    typeGroupCode(1, 11);
    saveWithKeys();
    ASSERT_EQ(m_prompts.told.size(), 2);
    EXPECT_EQ(m_prompts.told[1],
              QStringLiteral("Not saved: class 新实体1 (A B), class name: must be one word, as "
                             "DXF type names in group 0 are"));
    EXPECT_TRUE(find<QLineEdit>("className")->hasFocus());
}

TEST_F(DomWindow, TheSampleOpenedAndSavedAsUnchangedGivesTheSameBytes) {
    m_prompts.openAnswer = QString::fromStdString(kSamplePath.string());
    QTest::keyClick(&m_window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(find<QLineEdit>("software")->text(), QStringLiteral("水暖通"));
    EXPECT_EQ(find<QListWidget>("classes")->item(0)->text(), QStringLiteral("管道  (QXPIPE)"));
    EXPECT_EQ(idShown(0), QStringLiteral("2055-2057"));
    EXPECT_FALSE(m_window.isWindowModified());
    // The README's picture of the window: QUELTO_DOM_SCREENSHOT=docs/images/quelto_dom.png.
    if (const char* picture = std::getenv("QUELTO_DOM_SCREENSHOT")) {
        m_window.resize(1240, 420);
        m_window.grab().save(QString::fromLocal8Bit(picture));
    }

    m_prompts.saveAnswer = QString::fromStdString((m_folder.path() / "copy.dom").string());
    QTest::keyClick(&m_window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(m_prompts.told.isEmpty()) << m_prompts.told.join('\n').toStdString();
    EXPECT_EQ(readBytes(m_folder.path() / "copy.dom"), readBytes(kSamplePath));
}

TEST_F(DomWindow, UnsavedChangesAreAskedAboutBeforeTheyAreLost) {
    m_window.openPath(QString::fromStdString((m_folder.path() / "new.dom").string()));
    EXPECT_EQ(m_window.windowTitle(), QStringLiteral("new.dom[*] - quelto-dom"));
    EXPECT_TRUE(m_window.close());
    EXPECT_TRUE(m_prompts.askedAbout.isEmpty());
    showActive();

    type("software", QStringLiteral("S"));
    m_prompts.unsavedAnswer = DefinitionPrompts::Unsaved::Cancel;
    EXPECT_FALSE(m_window.close());
    m_prompts.openAnswer = QString::fromStdString(kSamplePath.string());
    QTest::keyClick(&m_window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(find<QLineEdit>("software")->text(), QStringLiteral("S"));
    EXPECT_EQ(m_prompts.askedAbout, QStringList({QStringLiteral("new.dom"), QStringLiteral("new.dom")}));

    // Save writes to the path the window was opened on, without asking for one.
    m_prompts.unsavedAnswer = DefinitionPrompts::Unsaved::Save;
    EXPECT_TRUE(m_window.close());
    CFreedomEntityFile read;
    ASSERT_EQ(read.ReadFile(platform::pathToWide(m_folder.path() / "new.dom")).status,
              CFreedomReadResult::Read);
    EXPECT_EQ(read.softName, L"S");

    showActive();
    type("software", QStringLiteral("T"));
    m_prompts.unsavedAnswer = DefinitionPrompts::Unsaved::Discard;
    QTest::keyClick(&m_window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(find<QLineEdit>("software")->text().isEmpty());
    EXPECT_EQ(m_prompts.askedAbout.size(), 4);
    EXPECT_TRUE(m_window.close());
}

} // namespace
