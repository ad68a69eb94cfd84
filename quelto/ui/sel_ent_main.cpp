// The main dialog's widgets and their wiring: the configuration list and its menu, the tabs, the live
// count under them, the template pick, OK and Cancel; the rules they follow are CSelEntConfigurations'.
#include "quelto/ui/sel_ent_main.h"

#include "platform/message_box.h"
#include "platform/wide_text.h"
#include "quelto/actions/extend_command.h"
#include "quelto/catalogue/template_filter.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/module_info.h"
#include "quelto/ui/settings_sheet.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const wchar_t* const kTemplatePrompt = L"请选择模板实体(直接会车忽略模板实体):";

// "新建配制(&N)" is offered to scripts as "新建配制".
QString entryCaption(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
    return text.remove(u'&');
}

void selectQuietly(QComboBox* box, int position) {
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(position);
}

} // namespace

CSelEntMain::CSelEntMain(QWidget* parent) : CSelEntMain(parent, CreateSelEntPages) {}

CSelEntMain::CSelEntMain(QWidget* parent, const CSelEntPageFactory& createPages)
    : QDialog(parent), m_liveCount([this] { return ReadCriteriaForCount(); }) {
    setWindowTitle(QStringLiteral("翠岭轩快速选择系统"));
    BuildWidgets();
    m_pages = createPages(m_catalogue, *this, m_tabs);
    m_tabs->addTab(m_pages.basic, QStringLiteral("常规选项"));
    m_tabs->addTab(m_pages.advanced, QStringLiteral("扩展选项"));
    m_tabs->addTab(m_pages.property, QStringLiteral("实体特性"));
    m_tabs->addTab(m_pages.command, QStringLiteral("选后操作"));
    m_tabs->addTab(CreateAboutPage(m_tabs), QStringLiteral("软件信息"));
    for (QWidget* page : {m_pages.basic, m_pages.advanced, m_pages.property}) {
        WatchCriteria(page);
    }
    connect(&m_liveCount, &CLiveCount::TextChanged, m_countLine, &QLabel::setText);
}

CSelEntMain::~CSelEntMain() {
    // The pages hold the catalogue and report to this dialog: they go before the members they use.
    m_quiet = true;
    delete m_tabs;
}

void CSelEntMain::BuildWidgets() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout();
    auto* caption = new QLabel(QStringLiteral("配制选项："), this);
    m_configurations = new QComboBox(this);
    caption->setBuddy(m_configurations);
    m_menuButton = new QPushButton(QStringLiteral("配制"), this);
    m_menuButton->setAutoDefault(false);
    top->addWidget(caption);
    top->addWidget(m_configurations, 1);
    top->addWidget(m_menuButton);
    layout->addLayout(top);

    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs, 1);
    m_countLine = new QLabel(this);
    layout->addWidget(m_countLine);

    auto* bottom = new QHBoxLayout();
    auto* settings = new QPushButton(QStringLiteral("设置"), this);
    auto* sample = new QPushButton(QStringLiteral("样本"), this);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    for (QPushButton* button : {settings, sample, cancel}) {
        button->setAutoDefault(false);
    }
    ok->setDefault(true);
    bottom->addWidget(settings);
    bottom->addWidget(sample);
    bottom->addStretch(1);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);

    m_menu = new QMenu(this);
    connect(m_menu->addAction(QStringLiteral("新建配制(&N)")), &QAction::triggered, this,
            [this] { RunWithDocumentLocked([this] { NewConfiguration(); }); });
    connect(m_menu->addAction(QStringLiteral("保存配制(&S)")), &QAction::triggered, this,
            [this] { RunWithDocumentLocked([this] { OverwriteConfiguration(); }); });
    m_menu->addSeparator();
    connect(m_menu->addAction(QStringLiteral("删除配制(&D)")), &QAction::triggered, this,
            [this] { RunWithDocumentLocked([this] { DeleteConfiguration(); }); });

    // Qt dialogs have no system menu: its two entries are the dialog's context menu.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* startupInfo = new QAction(QStringLiteral("显示启动信息(&S)"), this);
    connect(startupInfo, &QAction::triggered, this,
            [this] { RunWithDocumentLocked([this] { ShowStartupInfoDialog(this); }); });
    auto* about = new QAction(QStringLiteral("关于快速选择(&A)"), this);
    connect(about, &QAction::triggered, this, [this] { ShowAboutBox(this); });
    addAction(startupInfo);
    addAction(about);

    connect(m_configurations, &QComboBox::activated, this, &CSelEntMain::ConfigurationChosen);
    connect(m_menuButton, &QPushButton::clicked, this, &CSelEntMain::ShowConfigurationMenu);
    connect(settings, &QPushButton::clicked, this, [this] { RunSettingsSheet(this); });
    connect(sample, &QPushButton::clicked, this, &CSelEntMain::PickTemplate);
    connect(ok, &QPushButton::clicked, this, &CSelEntMain::accept);
    connect(cancel, &QPushButton::clicked, this, &CSelEntMain::reject);
}

void CSelEntMain::SetTemplate(AcDbObjectId templateId, const CString& templateType) {
    m_templateId = templateId;
    m_templateType = templateType;
}

void CSelEntMain::CopyCommand(CExtendCommand* command) const {
    if (command != nullptr && m_pages.copyCommand) {
        m_pages.copyCommand(*command);
    }
}

void CSelEntMain::showEvent(QShowEvent* event) {
    if (!m_initialised) {
        m_initialised = true;
        Initialise();
    }
    QDialog::showEvent(event);
}

void CSelEntMain::Initialise() {
    m_list.Load();
    {
        const QSignalBlocker blocker(m_configurations);
        for (const CString& name : m_list.Names()) {
            m_configurations->addItem(QString::fromStdWString(name));
        }
        m_configurations->setCurrentIndex(0);
    }
    m_usedTemplate = FillFromTemplate();
    CQLTSystemParam settings;
    const int position =
        CSelEntConfigurations::InitialPosition(m_usedTemplate != 0, settings.GetNoTempLast() != 0);
    selectQuietly(m_configurations, position);
    LoadPages(m_list.At(position));
    m_tabs->setCurrentIndex(std::clamp(settings.GetStartPage(), 0, 2));
}

BOOL CSelEntMain::FillFromTemplate() {
    return FillFilterFromTemplate(m_list.At(CSelEntConfigurations::TemplatePosition), m_templateId,
                                  m_catalogue);
}

void CSelEntMain::LoadPages(const CFilter& record) {
    m_quiet = true;
    for (CQSelEntPageBase* page : {m_pages.basic, m_pages.advanced, m_pages.property, m_pages.command}) {
        page->LoadPage(record);
    }
    m_quiet = false;
    m_liveCount.Changed();
}

bool CSelEntMain::SavePages(CFilter& record) {
    for (CQSelEntPageBase* page : {m_pages.basic, m_pages.advanced, m_pages.property, m_pages.command}) {
        if (!page->SavePage(record)) {
            return false;
        }
    }
    return true;
}

void CSelEntMain::OnTypeChanged(const CString& displayName) {
    if (m_pages.refillProperties) {
        m_pages.refillProperties(m_catalogue.GetEntityInfo(displayName, FALSE));
    }
}

void CSelEntMain::ConfigurationChosen(int position) {
    if (position >= 0 && position < m_list.Count()) {
        LoadPages(m_list.At(position));
    }
}

void CSelEntMain::UpdateMenuState() {
    const bool userConfiguration =
        CSelEntConfigurations::CanOverwriteOrDelete(m_configurations->currentIndex());
    const QList<QAction*> entries = m_menu->actions();
    entries[1]->setEnabled(userConfiguration);
    entries[3]->setEnabled(userConfiguration);
}

void CSelEntMain::ShowConfigurationMenu() {
    UpdateMenuState();
    m_menu->exec(m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height())));
}

QStringList CSelEntMain::ConfigurationMenuEntries() const {
    QStringList entries;
    for (QAction* action : m_menu->actions()) {
        if (!action->isSeparator()) {
            entries << entryCaption(action->text());
        }
    }
    return entries;
}

bool CSelEntMain::ConfigurationMenuEntryEnabled(const QString& entry) const {
    const_cast<CSelEntMain*>(this)->UpdateMenuState();
    for (QAction* action : m_menu->actions()) {
        if (entryCaption(action->text()) == entry) {
            return action->isEnabled();
        }
    }
    return false;
}

bool CSelEntMain::RunScriptMenuEntry(const QString& entry) {
    UpdateMenuState();
    QList<QAction*> entries = m_menu->actions();
    entries.append(actions());
    for (QAction* action : entries) {
        if (!action->isSeparator() && entryCaption(action->text()) == entry && action->isEnabled()) {
            action->trigger();
            return true;
        }
    }
    return false;
}

void CSelEntMain::RunWithDocumentLocked(const std::function<void()>& action) {
    AcApDocument* document = curDoc();
    const bool locked = document != nullptr && acDocManager->lockDocument(document) == Acad::eOk;
    action();
    if (locked) {
        acDocManager->unlockDocument(document);
    }
}

void CSelEntMain::NewConfiguration() {
    if (!m_pages.askConfigurationName) {
        return;
    }
    const std::optional<CString> name = m_pages.askConfigurationName(m_list.Names(), this);
    if (!name) {
        return;
    }
    const CSelEntConfigurations::NewResult result =
        m_list.SaveAsNew(*name, [this](CFilter& record) { return SavePages(record); });
    if (result.appended) {
        const QSignalBlocker blocker(m_configurations);
        m_configurations->addItem(QString::fromStdWString(*name));
    }
    selectQuietly(m_configurations, result.position);
}

void CSelEntMain::OverwriteConfiguration() {
    const int position = m_configurations->currentIndex();
    if (!CSelEntConfigurations::CanOverwriteOrDelete(position)) {
        return;
    }
    const CString question =
        platform::formatWide(L"确实要覆盖当前配制“%s”吗？", m_list.At(position).m_strName.c_str());
    if (MessageBox(this, question, L"确认覆盖", MB_YESNO | MB_ICONQUESTION) == IDYES) {
        m_list.Overwrite(position, [this](CFilter& record) { return SavePages(record); });
    }
}

void CSelEntMain::DeleteConfiguration() {
    const int position = m_configurations->currentIndex();
    if (!CSelEntConfigurations::CanOverwriteOrDelete(position)) {
        return;
    }
    const CString question = platform::formatWide(L"删除的配制无法恢复，确实需要删除当前配制“%s”吗？",
                                                  m_list.At(position).m_strName.c_str());
    if (MessageBox(this, question, L"确认删除", MB_YESNO | MB_ICONQUESTION) == IDYES) {
        m_list.Remove(position);
        const QSignalBlocker blocker(m_configurations);
        m_configurations->removeItem(position);
        m_configurations->setCurrentIndex(0);
    }
}

void CSelEntMain::PickTemplate() {
    hide();
    ads_name entity = {0, 0};
    ads_point point = {0.0, 0.0, 0.0};
    const int status = acedEntSel(kTemplatePrompt, entity, point);
    if (status != RTCAN) {
        AcDbObjectId picked;
        if (status != RTNORM || acdbGetObjectId(picked, entity) != Acad::eOk) {
            picked = AcDbObjectId();
        }
        m_templateId = picked;
        m_templateType = picked.isNull() ? CString() : CInfoMapList::GetEntityDxfName(picked);
        m_usedTemplate = FillFromTemplate();
        if (m_usedTemplate) {
            selectQuietly(m_configurations, CSelEntConfigurations::TemplatePosition);
            LoadPages(m_list.At(CSelEntConfigurations::TemplatePosition));
        }
    }
    show();
}

void CSelEntMain::accept() {
    if (m_list.Accept(m_filter, [this](CFilter& record) { return SavePages(record); })) {
        QDialog::accept();
    }
}

void CSelEntMain::WatchCriteria(QWidget* page) {
    const auto changed = [this] { CriteriaChanged(); };
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        connect(button, &QAbstractButton::toggled, this, changed);
    }
    for (QComboBox* box : page->findChildren<QComboBox*>()) {
        connect(box, &QComboBox::currentIndexChanged, this, changed);
        connect(box, &QComboBox::editTextChanged, this, changed);
    }
    for (QLineEdit* edit : page->findChildren<QLineEdit*>()) {
        if (qobject_cast<QComboBox*>(edit->parentWidget()) == nullptr) {
            connect(edit, &QLineEdit::textChanged, this, changed);
        }
    }
}

void CSelEntMain::CriteriaChanged() {
    if (!m_quiet) {
        m_liveCount.Changed();
    }
}

std::optional<CLiveCount::Criteria> CSelEntMain::ReadCriteriaForCount() {
    // The pages validate as they save; a refusal here is no message for the user, only no count.
    platform::QueuedMessageBoxService silent;
    const platform::ScopedMessageBoxService silence(silent);
    CLiveCount::Criteria criteria;
    m_quiet = true;
    const bool saved = m_pages.basic->SavePage(criteria.record) &&
                       m_pages.advanced->SavePage(criteria.record) &&
                       m_pages.property->SavePage(criteria.record);
    m_quiet = false;
    if (!saved || !silent.shown().empty()) {
        return std::nullopt;
    }
    criteria.dxfName = m_catalogue.GetDxfName(criteria.record.m_strType);
    return criteria;
}

std::optional<long> CSelEntMain::FinishLiveCount() {
    return m_liveCount.Finish();
}

QString CSelEntMain::LiveCountText() const {
    return m_countLine->text();
}
