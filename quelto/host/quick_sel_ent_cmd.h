// CQuickSelEntCmd: one run of the command QS, from the template entity through the main dialog to the
// selection, the grouping and the report or edit command.
#pragma once

#include "platform/mfc_types.h"

class CFilter;
class CExtendCommand;

class CQuickSelEntCmd {
public:
    virtual ~CQuickSelEntCmd();

    // True when the dialog was closed with OK.
    BOOL DoQuickSelect();
    // Selects with the record; a null record does nothing, a null command means no edit command.
    void DoFilterSelect(CFilter* pFilter, CExtendCommand* pCommand);
};
