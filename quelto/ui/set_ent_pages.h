// The three pages of the settings sheet: "系统" (CQSetEntPage1: start of the command, what reading a
// configuration brings along, the pre-selection rule), "配置" (CQSetEntPage2: coordinates, angles,
// precision) and "界面" (CQSetEntPage3: first page, right-click entries, custom entities, editor).
#pragma once

#include "quelto/ui/system_settings.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

class CQSetEntPage1 : public QWidget {
    Q_OBJECT
public:
    explicit CQSetEntPage1(QWidget* parent = nullptr);
    void LoadPage(const CSystemSettings& settings);
    void SavePage(CSystemSettings& settings) const;

private:
    QCheckBox* m_startTemp = nullptr;
    QCheckBox* m_noTempLast = nullptr;
    QCheckBox* m_lastGroupOperator = nullptr;
    QCheckBox* m_readCfgPick = nullptr;
    QCheckBox* m_readCfgGroup = nullptr;
    QCheckBox* m_readCfgCommand = nullptr;
    QButtonGroup* m_pickOperator = nullptr;
};

class CQSetEntPage2 : public QWidget {
    Q_OBJECT
public:
    explicit CQSetEntPage2(QWidget* parent = nullptr);
    void LoadPage(const CSystemSettings& settings);
    void SavePage(CSystemSettings& settings) const;

private:
    QButtonGroup* m_coordinates = nullptr;
    QButtonGroup* m_angles = nullptr;
    QLineEdit* m_precision = nullptr;
};

class CQSetEntPage3 : public QWidget {
    Q_OBJECT
public:
    explicit CQSetEntPage3(QWidget* parent = nullptr);
    void LoadPage(const CSystemSettings& settings);
    void SavePage(CSystemSettings& settings) const;

private:
    // "在实体名称前增加软件名称" only means something while custom entities are loaded at all.
    void UpdateSoftwareNameEnabled();

    QButtonGroup* m_startPage = nullptr;
    QCheckBox* m_nullMenu = nullptr;
    QCheckBox* m_objectMenu = nullptr;
    QCheckBox* m_hasFreedom = nullptr;
    QCheckBox* m_hasEntSoft = nullptr;
    QPushButton* m_editorButton = nullptr;
};
