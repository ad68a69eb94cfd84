// The module's information dialogs. Until they are written the entries open nothing and the about page
// is empty.
#include "quelto/ui/module_info.h"

#include <QWidget>

void ShowStartupInfoDialog(QWidget*) {}

void ShowAboutBox(QWidget*) {}

QWidget* CreateAboutPage(QWidget* parent) {
    return new QWidget(parent);
}
