// The settings sheet "系统设置": the system parameters on three pages, written back only on OK, after
// which the right-click entries follow the new settings at once.
#pragma once

class QWidget;

void RunSettingsSheet(QWidget* parent);
