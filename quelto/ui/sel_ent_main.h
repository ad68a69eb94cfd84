// CSelEntMain: the main dialog of QS ("翠岭轩快速选择系统"): the configuration list and its menu, the five
// tabs, the live count, the template pick ("样本"), the settings, OK and Cancel. The rules that need no
// widgets live in CSelEntConfigurations; the pages come from CreateSelEntPages.
#pragma once

#include "cad/app/host_api.h"
#include "platform/mfc_types.h"
#include "quelto/catalogue/info_map_list.h"
#include "quelto/filter/filter.h"
#include "quelto/ui/dialog_script.h"
#include "quelto/ui/live_count.h"
#include "quelto/ui/sel_ent_configurations.h"
#include "quelto/ui/sel_ent_page.h"

#include <QDialog>
#include <functional>
#include <optional>

class CExtendCommand;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;

// The four pages of criteria and command, what the dialog needs of them beyond CQSelEntPageBase, and the
// configuration-name dialog.
struct CSelEntPages {
    CQSelEntPageBase* basic = nullptr;
    CQSelEntPageBase* advanced = nullptr;
    CQSelEntPageBase* property = nullptr;
    CQSelEntPageBase* command = nullptr;
    std::function<void(EntityInfo*)> refillProperties;
    std::function<void(CExtendCommand&)> copyCommand;
    // "新建配制" asks for the name with the configuration-name dialog; nothing when it was cancelled.
    std::function<std::optional<CString>(const CStringArray& names, QWidget* parent)> askConfigurationName;
};
using CSelEntPageFactory =
    std::function<CSelEntPages(CInfoMapList& catalogue, CTypeChangeListener& listener, QWidget* parent)>;
// The module's own pages.
CSelEntPages CreateSelEntPages(CInfoMapList& catalogue, CTypeChangeListener& listener, QWidget* parent);

class CSelEntMain : public QDialog, public CTypeChangeListener, public CScriptableDialog {
    Q_OBJECT
public:
    explicit CSelEntMain(QWidget* parent);
    CSelEntMain(QWidget* parent, const CSelEntPageFactory& createPages);
    ~CSelEntMain() override;

    // Given by the command before the dialog runs.
    void SetTemplate(AcDbObjectId templateId, const CString& templateType);
    // The record OK assembled from the pages.
    CFilter& GetFilter() { return m_filter; }
    // The command page's settings into the command (after OK).
    void CopyCommand(CExtendCommand* command) const;

    void LoadPages(const CFilter& record);
    bool SavePages(CFilter& record);
    BOOL FillFromTemplate();
    void OnTypeChanged(const CString& displayName) override;

    bool RunScriptMenuEntry(const QString& entry) override;
    std::optional<long> FinishLiveCount() override;

    // Menu entries by their captions without "&", in menu order, and whether each is enabled now.
    QStringList ConfigurationMenuEntries() const;
    bool ConfigurationMenuEntryEnabled(const QString& entry) const;
    QComboBox* ConfigurationBox() const { return m_configurations; }
    QTabWidget* Tabs() const { return m_tabs; }
    QString LiveCountText() const;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildWidgets();
    void Initialise();
    void ConfigurationChosen(int position);
    void ShowConfigurationMenu();
    void UpdateMenuState();
    void NewConfiguration();
    void OverwriteConfiguration();
    void DeleteConfiguration();
    void PickTemplate();
    void WatchCriteria(QWidget* page);
    void CriteriaChanged();
    void RunWithDocumentLocked(const std::function<void()>& action);
    std::optional<CLiveCount::Criteria> ReadCriteriaForCount();

    AcDbObjectId m_templateId;
    CString m_templateType;
    CFilter m_filter;
    CInfoMapList m_catalogue;
    CSelEntConfigurations m_list;
    BOOL m_usedTemplate = FALSE;
    bool m_initialised = false;
    // While the pages are being loaded or read for the count, their change signals are not criteria changes.
    bool m_quiet = false;

    CSelEntPages m_pages;
    QComboBox* m_configurations = nullptr;
    QPushButton* m_menuButton = nullptr;
    QMenu* m_menu = nullptr;
    QTabWidget* m_tabs = nullptr;
    QLabel* m_countLine = nullptr;
    CLiveCount m_liveCount;
};
