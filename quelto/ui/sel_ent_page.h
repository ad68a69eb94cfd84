// What the main dialog needs of its tab pages: each page takes its controls from a CFilter record and,
// after validating them, writes them back. The basic page reports type changes through
// CTypeChangeListener so that it does not depend on the main dialog's class.
#pragma once

#include "platform/mfc_types.h"
#include "quelto/filter/filter.h"

#include <QWidget>

class CTypeChangeListener {
public:
    virtual ~CTypeChangeListener() = default;
    // The display name of the chosen entity type; empty when the type criterion is off or no type is chosen.
    virtual void OnTypeChanged(const CString& displayName) = 0;
};

class CQSelEntPageBase : public QWidget {
public:
    using QWidget::QWidget;
    // Takes the controls from the record; each page decides by the settings which fields it takes.
    virtual void LoadPage(const CFilter& record) = 0;
    // Validates the controls and writes them into the record; false after showing the first failing
    // test's message box, with every control left as it was.
    virtual bool SavePage(CFilter& record) = 0;
};
