// The configuration-name dialog: an editable list of the existing names and the checks OK makes before
// it closes. Names are compared exactly, without trimming or case folding, as the configuration list
// stores them.
#include "quelto/ui/input_cfg_name.h"

#include "platform/message_box.h"
#include "platform/wide_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CInputCfgName::CInputCfgName(const CStringArray& names, QWidget* parent)
    : QDialog(parent), m_arrNames(names) {
    setWindowTitle(QStringLiteral("指定配制名称"));
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));

    auto* frame = new QGroupBox(QStringLiteral("配制名称："), this);
    auto* frameLayout = new QVBoxLayout(frame);
    m_nameBox = new QComboBox(frame);
    m_nameBox->setEditable(true);
    // Enter means OK here; the typed name must not be added to the list on its way.
    m_nameBox->setInsertPolicy(QComboBox::NoInsert);
    for (const CString& name : names) {
        m_nameBox->addItem(QString::fromStdWString(name));
    }
    m_nameBox->setEditText(QString());
    frameLayout->addWidget(m_nameBox);
    auto* note = new QLabel(
        QStringLiteral("配制名称由中西文及数字组成，“<本次模板>”和“<上一次配制>”为系统保留配制名称。"),
        frame);
    note->setWordWrap(true);
    frameLayout->addWidget(note);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* okButton = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    okButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CInputCfgName::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CInputCfgName::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

void CInputCfgName::accept() {
    const CString name = m_nameBox->currentText().toStdWString();
    HWND owner = static_cast<QWidget*>(this);
    if (name.empty()) {
        MessageBox(owner, L"配制名称不能为空，请输入其他配制名称！", L"配制名称为空",
                   MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (name == L"<本次模板>" || name == L"<上一次配制>") {
        MessageBox(owner, platform::formatWide(L"%s为系统保留的配制名称，请使用其他配制名称！", name.c_str()),
                   L"系统保留", MB_OK | MB_ICONINFORMATION);
        return;
    }
    for (const CString& existing : m_arrNames) {
        if (existing != name) {
            continue;
        }
        if (MessageBox(owner, platform::formatWide(L"确实需要覆盖配制%s吗？", name.c_str()), L"确认覆盖",
                       MB_YESNO | MB_ICONQUESTION) != IDYES) {
            return;
        }
    }
    m_strName = name;
    QDialog::accept();
}
