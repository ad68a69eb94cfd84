// The main dialog's own pages and its configuration-name dialog.
#include "quelto/ui/input_cfg_name.h"
#include "quelto/ui/modal_dialog.h"
#include "quelto/ui/sel_ent_main.h"
#include "quelto/ui/sel_ent_page1.h"
#include "quelto/ui/sel_ent_page2.h"
#include "quelto/ui/sel_ent_page3.h"
#include "quelto/ui/sel_ent_page4.h"

CSelEntPages CreateSelEntPages(CInfoMapList& catalogue, CTypeChangeListener& listener, QWidget* parent) {
    CSelEntPages pages;
    pages.basic = new CQSelEntPage1(catalogue, listener, parent);
    pages.advanced = new CQSelEntPage2(catalogue, parent);
    auto* property = new CQSelEntPage3(parent);
    pages.property = property;
    auto* command = new CQSelEntPage4(parent);
    pages.command = command;
    pages.refillProperties = [property](EntityInfo* info) { property->Refill(info); };
    pages.copyCommand = [command](CExtendCommand& target) { command->CopyTo(target); };
    pages.askConfigurationName = [](const CStringArray& names, QWidget* owner) -> std::optional<CString> {
        CInputCfgName dialog(names, owner);
        if (RunModalDialog(dialog) != QDialog::Accepted) {
            return std::nullopt;
        }
        return dialog.GetName();
    };
    return pages;
}
