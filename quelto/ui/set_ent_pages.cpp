// The settings sheet's pages: each control shows one preference and gives it back on OK. Radio buttons
// sit in button groups whose ids are the stored values.
#include "quelto/ui/set_ent_pages.h"

#include "quelto/customentity/freedom_entity_mangage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <initializer_list>

namespace {

QGroupBox* addBox(QVBoxLayout& page, const QString& title) {
    auto* box = new QGroupBox(title);
    box->setLayout(new QVBoxLayout);
    page.addWidget(box);
    return box;
}

QCheckBox* addCheck(QGroupBox& box, const QString& caption) {
    auto* check = new QCheckBox(caption, &box);
    box.layout()->addWidget(check);
    return check;
}

QLabel* addText(QGroupBox& box, const QString& text) {
    auto* label = new QLabel(text, &box);
    label->setWordWrap(true);
    box.layout()->addWidget(label);
    return label;
}

// Radio buttons in a row; the button group's ids are 0, 1, 2... in caption order.
QButtonGroup* addRadios(QGroupBox& box, std::initializer_list<QString> captions) {
    auto* group = new QButtonGroup(&box);
    auto* row = new QHBoxLayout;
    int id = 0;
    for (const QString& caption : captions) {
        auto* radio = new QRadioButton(caption, &box);
        group->addButton(radio, id++);
        row->addWidget(radio);
    }
    row->addStretch();
    static_cast<QVBoxLayout*>(box.layout())->addLayout(row);
    return group;
}

void checkRadio(QButtonGroup& group, int id) {
    if (QAbstractButton* button = group.button(id)) {
        button->setChecked(true);
        return;
    }
    // A stored value outside the choices leaves none ticked, as the original page did; it is written
    // back unchanged unless the user picks one.
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons()) {
        button->setChecked(false);
    }
    group.setExclusive(true);
}

int checkedRadio(const QButtonGroup& group, int unchanged) {
    const int id = group.checkedId();
    return id >= 0 ? id : unchanged;
}

int flag(const QCheckBox* check) {
    return check->isChecked() ? 1 : 0;
}

} // namespace

CQSetEntPage1::CQSetEntPage1(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    QGroupBox* options = addBox(*layout, QStringLiteral("选项："));
    m_startTemp = addCheck(*options, QStringLiteral("命令启动时提示用户选择样本实体"));
    m_noTempLast = addCheck(*options, QStringLiteral("没有模板实体时自动选择“<上一次配置>”"));
    m_lastGroupOperator = addCheck(*options, QStringLiteral("采用上一次编组设置（读取配置除外）"));
    QGroupBox* configuration = addBox(*layout, QStringLiteral("配置："));
    m_readCfgPick = addCheck(*configuration, QStringLiteral("读入配置预选原则"));
    m_readCfgGroup = addCheck(*configuration, QStringLiteral("读入配置编组方法及组名"));
    m_readCfgCommand = addCheck(*configuration, QStringLiteral("读入配置选后操作"));
    QGroupBox* pick = addBox(*layout, QStringLiteral("预选原则："));
    m_pickOperator = addRadios(
        *pick, {QStringLiteral("用户选择集"), QStringLiteral("全部实体"), QStringLiteral("上次设置")});
    layout->addStretch();
}

void CQSetEntPage1::LoadPage(const CSystemSettings& settings) {
    m_startTemp->setChecked(settings.m_bStartTemp != 0);
    m_noTempLast->setChecked(settings.m_bNoTempLast != 0);
    m_lastGroupOperator->setChecked(settings.m_bLastGroupOperator != 0);
    m_readCfgPick->setChecked(settings.m_bReadCfgPick != 0);
    m_readCfgGroup->setChecked(settings.m_bReadCfgGroup != 0);
    m_readCfgCommand->setChecked(settings.m_bReadCfgCommand != 0);
    checkRadio(*m_pickOperator, settings.m_nPickOperator);
}

void CQSetEntPage1::SavePage(CSystemSettings& settings) const {
    settings.m_bStartTemp = flag(m_startTemp);
    settings.m_bNoTempLast = flag(m_noTempLast);
    settings.m_bLastGroupOperator = flag(m_lastGroupOperator);
    settings.m_bReadCfgPick = flag(m_readCfgPick);
    settings.m_bReadCfgGroup = flag(m_readCfgGroup);
    settings.m_bReadCfgCommand = flag(m_readCfgCommand);
    settings.m_nPickOperator = checkedRadio(*m_pickOperator, settings.m_nPickOperator);
}

CQSetEntPage2::CQSetEntPage2(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    QGroupBox* coordinates = addBox(*layout, QStringLiteral("坐标："));
    addText(*coordinates, QStringLiteral("在进行坐标条件匹配时，用户输入的坐标值为："));
    m_coordinates = addRadios(*coordinates, {QStringLiteral("世界坐标"), QStringLiteral("用户坐标")});
    QGroupBox* angles = addBox(*layout, QStringLiteral("角度："));
    addText(*angles, QStringLiteral("在进行角度条件匹配时，用户输入的角度值为："));
    m_angles = addRadios(*angles, {QStringLiteral("角度"), QStringLiteral("弧度")});
    QGroupBox* precision = addBox(*layout, QStringLiteral("精度："));
    QLabel* caption =
        addText(*precision,
                QStringLiteral(
                    "在进行实数比较时，两个实数之间的差值小于精度设定值被认为相等（系统推荐值为0.0001）："));
    m_precision = new QLineEdit(precision);
    caption->setBuddy(m_precision);
    precision->layout()->addWidget(m_precision);
    layout->addStretch();
}

void CQSetEntPage2::LoadPage(const CSystemSettings& settings) {
    checkRadio(*m_coordinates, settings.m_bUseUserCoord);
    checkRadio(*m_angles, settings.m_bUseRadius);
    m_precision->setText(QString::fromStdWString(CSystemSettings::FormatPrecision(settings.m_dEPI)));
}

void CQSetEntPage2::SavePage(CSystemSettings& settings) const {
    settings.m_bUseUserCoord = checkedRadio(*m_coordinates, settings.m_bUseUserCoord);
    settings.m_bUseRadius = checkedRadio(*m_angles, settings.m_bUseRadius);
    settings.m_dEPI = CSystemSettings::ParsePrecision(m_precision->text().toStdWString());
}

CQSetEntPage3::CQSetEntPage3(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    QGroupBox* start = addBox(*layout, QStringLiteral("启动："));
    addText(*start, QStringLiteral("命令启动时，切换以下页面为首页："));
    m_startPage = addRadios(
        *start, {QStringLiteral("常规选项"), QStringLiteral("扩展选项"), QStringLiteral("实体特性")});
    QGroupBox* menus = addBox(*layout, QStringLiteral("菜单："));
    m_nullMenu = addCheck(*menus, QStringLiteral("默认模式（无选择对象）快捷菜单中嵌入快速选择"));
    m_objectMenu = addCheck(*menus, QStringLiteral("编辑模式（有选择对象）快捷菜单中嵌入快速选择"));
    QGroupBox* extensions = addBox(*layout, QStringLiteral("扩展："));
    m_hasFreedom = addCheck(*extensions, QStringLiteral("载入第三方软件自定义实体（命令重启后生效）"));
    m_hasEntSoft = addCheck(*extensions, QStringLiteral("在实体名称前增加软件名称"));
    m_editorButton = new QPushButton(QStringLiteral("实体编辑器"), extensions);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_editorButton);
    buttonRow->addStretch();
    static_cast<QVBoxLayout*>(extensions->layout())->addLayout(buttonRow);
    layout->addStretch();

    connect(m_hasFreedom, &QCheckBox::toggled, this, &CQSetEntPage3::UpdateSoftwareNameEnabled);
    // The editor is its own program: it runs on whether the sheet ends with OK or Cancel.
    connect(m_editorButton, &QPushButton::clicked, this,
            [] { CFreedomEntityMangage::RunDefinitionEditor(); });
}

void CQSetEntPage3::LoadPage(const CSystemSettings& settings) {
    checkRadio(*m_startPage, settings.m_nStartPage);
    m_nullMenu->setChecked(settings.m_bAcadNullMenu != 0);
    m_objectMenu->setChecked(settings.m_bAcadObjectMenu != 0);
    m_hasFreedom->setChecked(settings.m_bHasFreedom != 0);
    m_hasEntSoft->setChecked(settings.m_bHasEntSoft != 0);
    UpdateSoftwareNameEnabled();
}

void CQSetEntPage3::SavePage(CSystemSettings& settings) const {
    settings.m_nStartPage = checkedRadio(*m_startPage, settings.m_nStartPage);
    settings.m_bAcadNullMenu = flag(m_nullMenu);
    settings.m_bAcadObjectMenu = flag(m_objectMenu);
    settings.m_bHasFreedom = flag(m_hasFreedom);
    settings.m_bHasEntSoft = flag(m_hasEntSoft);
}

void CQSetEntPage3::UpdateSoftwareNameEnabled() {
    m_hasEntSoft->setEnabled(m_hasFreedom->isChecked());
}
