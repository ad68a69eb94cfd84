// The quelto-dom window's widgets and how they follow the document: every field writes through a
// DefinitionDocument edit, the title carries the modified mark, a line under the table shows the first
// problem the checks find, and saving refuses (naming class, property and field) while there is one.

#include "quelto_dom_window.h"

#include "platform/code_page.h"
#include "platform/known_folders.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <limits>

namespace quelto::dom {
namespace {

const char* const kProgramName = "quelto-dom";

QString toQString(const CString& text) {
    return QString::fromStdWString(text);
}

CString fromQString(const QString& text) {
    return text.toStdWString();
}

std::filesystem::path toPath(const QString& text) {
    return platform::wideToPath(text.toStdWString());
}

QString idText(const CFreedomProp& prop) {
    const int id = computedId(prop);
    if (id == 0 || id == 3000) {
        return QStringLiteral("none");
    }
    if (prop.GetSlotCount() > 1) {
        return QStringLiteral("%1-%2").arg(id).arg(id + prop.GetSlotCount() - 1);
    }
    return QString::number(id);
}

QString classLabel(const CFreedomEntity& entity) {
    return QStringLiteral("%1  (%2)").arg(toQString(entity.displayName), toQString(entity.className));
}

// The definition folder when it exists, so that files land where the module looks for them.
QString startFolder() {
    const QString folder = toQString(CFreedomEntityFile::GetFolder());
    return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

} // namespace

QString DialogPrompts::pathToOpen(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open definition file"), folder,
                                        QStringLiteral("Definition files (*.dom);;All files (*)"));
}

QString DialogPrompts::pathToSave(QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save definition file"), suggested,
                                        QStringLiteral("Definition files (*.dom)"));
}

DefinitionPrompts::Unsaved DialogPrompts::askUnsaved(QWidget* parent, const QString& fileName) {
    const QMessageBox::StandardButton answer = QMessageBox::question(
        parent, QStringLiteral("Unsaved changes"),
        QStringLiteral("%1 has changed. Save the changes?").arg(fileName),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Save      ? Unsaved::Save
           : answer == QMessageBox::Discard ? Unsaved::Discard
                                            : Unsaved::Cancel;
}

void DialogPrompts::tell(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox::information(parent, title, message);
}

DefinitionWindow::DefinitionWindow(DefinitionPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_prompts(prompts) {
    buildMenus();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildFileFields());
    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->addWidget(buildClassPane());
    splitter->addWidget(buildPropertyPane());
    splitter->setStretchFactor(1, 3);
    layout->addWidget(splitter, 1);
    m_check = new QLabel(central);
    m_check->setObjectName(QStringLiteral("check"));
    m_check->setWordWrap(true);
    layout->addWidget(m_check);
    setCentralWidget(central);
    resize(980, 560);
    showDocument();
}

DefinitionWindow::~DefinitionWindow() {
    // The children are destroyed after this object has stopped being a DefinitionWindow; what they
    // signal on the way must not reach its handlers.
    for (QObject* child : findChildren<QObject*>()) {
        child->disconnect(this);
    }
}

void DefinitionWindow::commitOpenCell() {
    // Leaving a cell editor makes the delegate write its text into the cell at once.
    const QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && m_properties->viewport()->isAncestorOf(focus)) {
        m_properties->setFocus();
    }
}

void DefinitionWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New"), QKeySequence::New, this, &DefinitionWindow::newDefinition);
    file->addAction(QStringLiteral("&Open..."), QKeySequence::Open, this, &DefinitionWindow::open);
    file->addAction(QStringLiteral("&Save"), QKeySequence::Save, this, &DefinitionWindow::save);
    // Not every platform theme names keys for these two; the usual ones are given outright.
    file->addAction(QStringLiteral("Save &as..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this,
                    &DefinitionWindow::saveAs);
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);
}

QWidget* DefinitionWindow::buildFileFields() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    const auto field = [&](QLineEdit*& edit, const char* name, const QString& label, int which) {
        edit = new QLineEdit(box);
        edit->setObjectName(QString::fromLatin1(name));
        form->addRow(label, edit);
        connect(edit, &QLineEdit::textEdited, this, [this, which](const QString& text) {
            if (which < 0) {
                m_document.setSoftware(fromQString(text));
            } else {
                m_document.setFileNote(which, fromQString(text));
            }
            afterEdit();
        });
    };
    field(m_software, "software", QStringLiteral("Software:"), -1);
    field(m_fileNote, "fileNote", QStringLiteral("Notes:"), 0);
    field(m_fileNote2, "fileNote2", QString(), 1);
    return box;
}

QWidget* DefinitionWindow::buildClassPane() {
    auto* pane = new QWidget(this);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Entity classes:"), pane));
    m_classes = new QListWidget(pane);
    m_classes->setObjectName(QStringLiteral("classes"));
    layout->addWidget(m_classes, 1);
    connect(m_classes, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling) {
            showClass(row);
        }
    });
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Add class"), pane);
    add->setObjectName(QStringLiteral("addClass"));
    m_removeClass = new QPushButton(QStringLiteral("Remove class"), pane);
    m_removeClass->setObjectName(QStringLiteral("removeClass"));
    buttons->addWidget(add);
    buttons->addWidget(m_removeClass);
    layout->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, &DefinitionWindow::addClass);
    connect(m_removeClass, &QPushButton::clicked, this, &DefinitionWindow::removeClass);

    auto* form = new QFormLayout;
    const auto field = [&](QLineEdit*& edit, const char* name, const QString& label,
                           DefinitionDocument::EntityText which) {
        edit = new QLineEdit(pane);
        edit->setObjectName(QString::fromLatin1(name));
        form->addRow(label, edit);
        connect(edit, &QLineEdit::textEdited, this, [this, which](const QString& text) {
            const int entity = currentClass();
            if (entity < 0) {
                return;
            }
            m_document.setEntityText(entity, which, fromQString(text));
            m_classes->item(entity)->setText(classLabel(m_document.file().entities[entity]));
            afterEdit();
        });
    };
    field(m_displayName, "displayName", QStringLiteral("Display name:"),
          DefinitionDocument::EntityText::DisplayName);
    field(m_className, "className", QStringLiteral("DXF class name:"),
          DefinitionDocument::EntityText::ClassName);
    field(m_classNote, "classNote", QStringLiteral("Note:"), DefinitionDocument::EntityText::Note);
    layout->addLayout(form);
    return pane;
}

QWidget* DefinitionWindow::buildPropertyPane() {
    auto* pane = new QWidget(this);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(
        new QLabel(QStringLiteral("Properties of the class (items: value=text; value=text):"), pane));
    m_properties = new QTableWidget(0, IdColumn + 1, pane);
    m_properties->setObjectName(QStringLiteral("properties"));
    m_properties->setHorizontalHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Kind"), QStringLiteral("Group code"),
         QStringLiteral("Items"), QStringLiteral("Note"), QStringLiteral("Note 2"), QStringLiteral("Id")});
    m_properties->horizontalHeader()->setSectionResizeMode(ItemsColumn, QHeaderView::Stretch);
    // The kind and group-code cells hold widgets, which the header cannot measure.
    m_properties->setColumnWidth(KindColumn, 150);
    m_properties->setColumnWidth(GroupCodeColumn, 100);
    m_properties->setColumnWidth(IdColumn, 90);
    m_properties->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_properties->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(m_properties, 1);
    connect(m_properties, &QTableWidget::cellChanged, this, &DefinitionWindow::propertyCellEdited);
    connect(m_properties, &QTableWidget::currentCellChanged, this, [this] {
        const int row = m_properties->currentRow();
        m_removeProperty->setEnabled(row >= 0);
        m_moveUp->setEnabled(row > 0);
        m_moveDown->setEnabled(row >= 0 && row + 1 < m_properties->rowCount());
    });

    auto* buttons = new QHBoxLayout;
    const auto button = [&](QPushButton*& target, const char* name, const QString& caption) {
        target = new QPushButton(caption, pane);
        target->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(target);
    };
    button(m_addProperty, "addProperty", QStringLiteral("Add property"));
    button(m_removeProperty, "removeProperty", QStringLiteral("Remove property"));
    button(m_moveUp, "moveUp", QStringLiteral("Move up"));
    button(m_moveDown, "moveDown", QStringLiteral("Move down"));
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(m_addProperty, &QPushButton::clicked, this, &DefinitionWindow::addProperty);
    connect(m_removeProperty, &QPushButton::clicked, this, &DefinitionWindow::removeProperty);
    connect(m_moveUp, &QPushButton::clicked, this, [this] { moveProperty(-1); });
    connect(m_moveDown, &QPushButton::clicked, this, [this] { moveProperty(1); });
    return pane;
}

bool DefinitionWindow::openPath(const QString& path) {
    if (!QFileInfo::exists(path)) {
        m_document.clear(toPath(path));
        showDocument();
        return true;
    }
    std::string error;
    if (!m_document.open(toPath(path), error)) {
        m_prompts.tell(this, QStringLiteral("Cannot open"), QString::fromStdString(error));
        return false;
    }
    showDocument();
    return true;
}

void DefinitionWindow::newDefinition() {
    if (mayDiscard()) {
        m_document.clear();
        showDocument();
    }
}

void DefinitionWindow::open() {
    if (!mayDiscard()) {
        return;
    }
    const QString path = m_prompts.pathToOpen(this, startFolder());
    if (!path.isEmpty()) {
        openPath(path);
    }
}

bool DefinitionWindow::save() {
    commitOpenCell();
    if (m_document.path().empty()) {
        return saveAs();
    }
    return saveTo(QString::fromStdWString(platform::pathToWide(m_document.path())));
}

bool DefinitionWindow::saveAs() {
    commitOpenCell();
    QString suggested = QString::fromStdWString(platform::pathToWide(m_document.path()));
    if (suggested.isEmpty()) {
        const QString name = toQString(m_document.file().softName);
        suggested = startFolder() + QLatin1Char('/') +
                    (name.isEmpty() ? QStringLiteral("definitions") : name) + QStringLiteral(".dom");
    }
    QString path = m_prompts.pathToSave(this, suggested);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".dom");
    }
    return saveTo(path);
}

bool DefinitionWindow::saveTo(const QString& path) {
    std::string error;
    if (!m_document.saveAs(toPath(path), error)) {
        if (const std::optional<Problem>& problem = m_document.lastProblem()) {
            showProblem(*problem);
        }
        m_prompts.tell(this, QStringLiteral("Not saved"), QString::fromStdString(error));
        return false;
    }
    afterEdit();
    return true;
}

bool DefinitionWindow::mayDiscard() {
    commitOpenCell();
    if (!m_document.modified()) {
        return true;
    }
    switch (m_prompts.askUnsaved(this, displayFileName())) {
    case DefinitionPrompts::Unsaved::Save:
        return save();
    case DefinitionPrompts::Unsaved::Discard:
        return true;
    case DefinitionPrompts::Unsaved::Cancel:
        return false;
    }
    return false;
}

void DefinitionWindow::closeEvent(QCloseEvent* event) {
    if (mayDiscard()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void DefinitionWindow::showDocument() {
    const CFreedomEntityFile& file = m_document.file();
    m_filling = true;
    m_software->setText(toQString(file.softName));
    m_fileNote->setText(toQString(file.fileNote));
    m_fileNote2->setText(toQString(file.fileNote2));
    m_classes->clear();
    for (const CFreedomEntity& entity : file.entities) {
        m_classes->addItem(classLabel(entity));
    }
    m_filling = false;
    showClass(file.entities.empty() ? -1 : 0);
    afterEdit();
}

void DefinitionWindow::showClass(int entity) {
    m_filling = true;
    m_classes->setCurrentRow(entity);
    const bool present = entity >= 0;
    const CFreedomEntity none;
    const CFreedomEntity& shown = present ? m_document.file().entities[entity] : none;
    for (QLineEdit* edit : {m_displayName, m_className, m_classNote}) {
        edit->setEnabled(present);
    }
    m_displayName->setText(toQString(shown.displayName));
    m_className->setText(toQString(shown.className));
    m_classNote->setText(toQString(shown.entityNote));
    m_removeClass->setEnabled(present);
    m_addProperty->setEnabled(present);
    m_properties->setRowCount(0);
    m_properties->setRowCount(static_cast<int>(shown.props.size()));
    for (int row = 0; row < m_properties->rowCount(); ++row) {
        showProperty(row);
    }
    m_filling = false;
    m_properties->setCurrentCell(-1, -1);
    m_removeProperty->setEnabled(false);
    m_moveUp->setEnabled(false);
    m_moveDown->setEnabled(false);
}

void DefinitionWindow::showProperty(int row) {
    const int entity = currentClass();
    const CFreedomProp& prop = m_document.file().entities[entity].props[row];
    const auto text = [&](int column, const CString& value) {
        m_properties->setItem(row, column, new QTableWidgetItem(toQString(value)));
    };
    text(NameColumn, prop.name);
    text(ItemsColumn, joinItems(prop.items));
    text(NoteColumn, prop.propNote);
    text(Note2Column, prop.propNote2);
    auto* id = new QTableWidgetItem(idText(prop));
    id->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    m_properties->setItem(row, IdColumn, id);

    auto* kind = new QComboBox(m_properties);
    static const char* const kInds[] = {"1 3D point",      "2 2D point",     "3 real",
                                        "4 short integer", "5 long integer", "6 text"};
    for (int value = CFreedomProp::Point3d; value <= CFreedomProp::Text; ++value) {
        kind->addItem(QString::fromLatin1(kInds[value - 1]), value);
    }
    // A kind this editor does not know is shown and kept as it is, until it is changed.
    if (kind->findData(prop.kind) < 0) {
        kind->addItem(QStringLiteral("%1 unknown").arg(prop.kind), prop.kind);
    }
    kind->setCurrentIndex(kind->findData(prop.kind));
    m_properties->setCellWidget(row, KindColumn, kind);
    connect(kind, &QComboBox::currentIndexChanged, this, [this, kind, row] {
        if (!m_filling) {
            m_document.setPropertyKind(currentClass(), row, kind->currentData().toInt());
            afterEdit();
        }
    });

    auto* code = new QSpinBox(m_properties);
    code->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    code->setValue(prop.groupCode);
    m_properties->setCellWidget(row, GroupCodeColumn, code);
    connect(code, &QSpinBox::valueChanged, this, [this, row](int value) {
        if (!m_filling) {
            m_document.setPropertyGroupCode(currentClass(), row, value);
            afterEdit();
        }
    });
}

void DefinitionWindow::propertyCellEdited(int row, int column) {
    if (m_filling) {
        return;
    }
    const int entity = currentClass();
    const CString text = fromQString(m_properties->item(row, column)->text());
    switch (column) {
    case NameColumn:
        m_document.setPropertyText(entity, row, DefinitionDocument::PropertyText::Name, text);
        break;
    case ItemsColumn:
        m_document.setPropertyItems(entity, row, splitItems(text));
        break;
    case NoteColumn:
        m_document.setPropertyText(entity, row, DefinitionDocument::PropertyText::Note, text);
        break;
    case Note2Column:
        m_document.setPropertyText(entity, row, DefinitionDocument::PropertyText::Note2, text);
        break;
    default:
        return;
    }
    afterEdit();
}

void DefinitionWindow::afterEdit() {
    const int entity = currentClass();
    if (entity >= 0) {
        m_filling = true;
        const CArray<CFreedomProp>& props = m_document.file().entities[entity].props;
        for (int row = 0; row < m_properties->rowCount() && row < static_cast<int>(props.size()); ++row) {
            m_properties->item(row, IdColumn)->setText(idText(props[row]));
        }
        m_filling = false;
    }
    const std::optional<Problem> problem = checkFile(m_document.file());
    m_check->setText(problem ? QStringLiteral("Cannot be saved yet: ") +
                                   QString::fromStdString(describeProblem(m_document.file(), *problem))
                             : QStringLiteral("Ready to save."));
    setWindowTitle(displayFileName() + QStringLiteral("[*] - ") + QLatin1String(kProgramName));
    setWindowModified(m_document.modified());
}

void DefinitionWindow::showProblem(const Problem& problem) {
    if (problem.entity < 0) {
        m_software->setFocus();
        return;
    }
    showClass(problem.entity);
    if (problem.property < 0) {
        (problem.field == "name" ? m_displayName : m_className)->setFocus();
        return;
    }
    const int column = problem.field == "kind"                ? KindColumn
                       : problem.field == "groupCode"         ? GroupCodeColumn
                       : problem.field.rfind("items", 0) == 0 ? ItemsColumn
                                                              : NameColumn;
    m_properties->setCurrentCell(problem.property, column);
}

void DefinitionWindow::addClass() {
    commitOpenCell();
    const int entity = m_document.addEntity();
    m_classes->addItem(classLabel(m_document.file().entities[entity]));
    showClass(entity);
    afterEdit();
    m_displayName->setFocus();
    m_displayName->selectAll();
}

void DefinitionWindow::removeClass() {
    commitOpenCell();
    const int entity = currentClass();
    if (entity < 0) {
        return;
    }
    m_document.removeEntity(entity);
    m_filling = true;
    delete m_classes->takeItem(entity);
    m_filling = false;
    showClass(std::min(entity, static_cast<int>(m_document.file().entities.size()) - 1));
    afterEdit();
}

void DefinitionWindow::addProperty() {
    commitOpenCell();
    const int entity = currentClass();
    if (entity < 0) {
        return;
    }
    const int row = m_document.addProperty(entity);
    showClass(entity);
    afterEdit();
    m_properties->setCurrentCell(row, NameColumn);
}

void DefinitionWindow::removeProperty() {
    commitOpenCell();
    const int entity = currentClass();
    const int row = m_properties->currentRow();
    if (entity < 0 || row < 0) {
        return;
    }
    m_document.removeProperty(entity, row);
    showClass(entity);
    afterEdit();
}

void DefinitionWindow::moveProperty(int direction) {
    commitOpenCell();
    const int entity = currentClass();
    const int row = m_properties->currentRow();
    if (entity < 0 || row < 0 || !m_document.moveProperty(entity, row, direction)) {
        return;
    }
    showClass(entity);
    afterEdit();
    m_properties->setCurrentCell(row + direction, NameColumn);
}

int DefinitionWindow::currentClass() const {
    return m_classes->currentRow();
}

QString DefinitionWindow::displayFileName() const {
    return m_document.path().empty()
               ? QStringLiteral("untitled.dom")
               : QString::fromStdWString(platform::pathToWide(m_document.path().filename()));
}

} // namespace quelto::dom
