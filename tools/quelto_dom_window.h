// The quelto-dom window: software and notes, the list of entity classes, the property table of the
// selected class with each property's computed id, and open / save / save as. Every question the window
// asks (file names, unsaved changes, refusals) goes through DefinitionPrompts, so tests can answer them.
#pragma once

#include "quelto_dom_document.h"

#include <QMainWindow>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace quelto::dom {

class DefinitionPrompts {
public:
    enum class Unsaved { Save, Discard, Cancel };
    virtual ~DefinitionPrompts() = default;
    // An empty text when the person cancels.
    virtual QString pathToOpen(QWidget* parent, const QString& folder) = 0;
    virtual QString pathToSave(QWidget* parent, const QString& suggested) = 0;
    virtual Unsaved askUnsaved(QWidget* parent, const QString& fileName) = 0;
    virtual void tell(QWidget* parent, const QString& title, const QString& message) = 0;
};

// The prompts as Qt's file dialogs and message boxes.
class DialogPrompts : public DefinitionPrompts {
public:
    QString pathToOpen(QWidget* parent, const QString& folder) override;
    QString pathToSave(QWidget* parent, const QString& suggested) override;
    Unsaved askUnsaved(QWidget* parent, const QString& fileName) override;
    void tell(QWidget* parent, const QString& title, const QString& message) override;
};

class DefinitionWindow : public QMainWindow {
    Q_OBJECT
public:
    // Columns of the property table.
    enum Column { NameColumn, KindColumn, GroupCodeColumn, ItemsColumn, NoteColumn, Note2Column, IdColumn };

    explicit DefinitionWindow(DefinitionPrompts& prompts, QWidget* parent = nullptr);
    ~DefinitionWindow() override;

    // Opens the file; a path that does not exist yet starts an empty definition to be saved there.
    // False (after telling why) when the file exists but cannot be read.
    bool openPath(const QString& path);
    const DefinitionDocument& document() const { return m_document; }

public slots:
    void newDefinition();
    void open();
    bool save();
    bool saveAs();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QWidget* buildFileFields();
    QWidget* buildClassPane();
    QWidget* buildPropertyPane();

    // Ends an edit still open in a table cell, so that saving or rebuilding the table does not lose it.
    void commitOpenCell();
    // Whether the current content may be dropped: saved, discarded, or unchanged.
    bool mayDiscard();
    bool saveTo(const QString& path);

    // Refills every field from the document.
    void showDocument();
    void showClass(int entity);
    void showProperty(int row);
    void afterEdit();
    // Selects the class and the property a refusal names.
    void showProblem(const Problem& problem);

    void addClass();
    void removeClass();
    void addProperty();
    void removeProperty();
    void moveProperty(int direction);
    void propertyCellEdited(int row, int column);

    int currentClass() const;
    QString displayFileName() const;

    DefinitionPrompts& m_prompts;
    DefinitionDocument m_document;
    // Set while fields are filled from the document, so that the fields' change signals are not taken
    // for edits.
    bool m_filling = false;

    QLineEdit* m_software = nullptr;
    QLineEdit* m_fileNote = nullptr;
    QLineEdit* m_fileNote2 = nullptr;
    QListWidget* m_classes = nullptr;
    QPushButton* m_removeClass = nullptr;
    QLineEdit* m_displayName = nullptr;
    QLineEdit* m_className = nullptr;
    QLineEdit* m_classNote = nullptr;
    QTableWidget* m_properties = nullptr;
    QPushButton* m_addProperty = nullptr;
    QPushButton* m_removeProperty = nullptr;
    QPushButton* m_moveUp = nullptr;
    QPushButton* m_moveDown = nullptr;
    QLabel* m_check = nullptr;
};

} // namespace quelto::dom
