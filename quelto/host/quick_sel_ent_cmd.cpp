// The command driver of QS. Not written yet: the command does nothing.
#include "quelto/host/quick_sel_ent_cmd.h"

CQuickSelEntCmd::~CQuickSelEntCmd() = default;

BOOL CQuickSelEntCmd::DoQuickSelect() {
    return FALSE;
}

void CQuickSelEntCmd::DoFilterSelect(CFilter*, CExtendCommand*) {}
