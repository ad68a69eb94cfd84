// CCmdInfoDlg: the information dialog shown when the module loads, with the command names, a check box
// that decides whether it is shown at the next load, and the way to the about box.
#pragma once

#include "platform/mfc_types.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

class CCmdInfoDlg : public QDialog {
    Q_OBJECT
public:
    // The check box starts from InitShow.
    explicit CCmdInfoDlg(QWidget* parent = nullptr);

    // "    <product><version>已经加载，命令信息为：" and the group, global and local command names.
    static CString InfoText();

    BOOL m_bInitShow = 1;
    CString m_strInfo;

private:
    // The close button stores the check box as InitShow; Esc and the window's close do not.
    void CloseWithButton();

    QLabel* m_infoLabel = nullptr;
    QCheckBox* m_showCheck = nullptr;
    QPushButton* m_aboutButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};
