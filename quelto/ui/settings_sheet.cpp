// The settings sheet. Until its pages exist the main dialog's "设置" button opens nothing.
#include "quelto/ui/settings_sheet.h"

void RunSettingsSheet(QWidget*) {}
