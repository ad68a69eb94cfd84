// CInputCfgName: the "指定配制名称" dialog that asks for the name of a new configuration, offering the
// existing names, refusing an empty or reserved name and confirming before an existing one is reused.
#pragma once

#include "platform/mfc_types.h"

#include <QDialog>

class QComboBox;

class CInputCfgName : public QDialog {
public:
    // names: the existing configuration names, listed in this order.
    explicit CInputCfgName(const CStringArray& names, QWidget* parent = nullptr);

    // The name entered, as accepted by OK.
    CString GetName() const { return m_strName; }

    void accept() override;

private:
    CStringArray m_arrNames;
    CString m_strName;
    QComboBox* m_nameBox = nullptr;
};
