// The command page's widgets: three frames laid out as grids, every control bound to the page's model,
// the enabling rules re-applied after each change, and the number fields checked when editing ends.
#include "quelto/ui/sel_ent_page4.h"

#include "platform/message_box.h"
#include "quelto/actions/extend_command.h"
#include "quelto/filter/qlt_system_param.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QVBoxLayout>
#include <span>

namespace {

const char* const kCommandCaptions[] = {"删除", "平移", "缩放", "旋转", "镜像", "分解"};
const char* const kPositionItems[] = {"左下", "左中", "左上", "中下", "正中",
                                      "中上", "右下", "右中", "右上", "原点"};
const char* const kUnitItems[] = {"图形单位", "实体宽度", "实体高度"};

// A frame whose caption greys without disabling what it holds, as a dialog's group box does: the move
// distances stay usable inside the parameter frame while its caption follows the reference point.
class CaptionOnlyFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

    void setCaptionEnabled(bool enabled) {
        m_captionEnabled = enabled;
        update();
    }

protected:
    void initStyleOption(QStyleOptionGroupBox* option) const override {
        QGroupBox::initStyleOption(option);
        if (!m_captionEnabled) {
            option->state &= ~QStyle::State_Enabled;
            option->palette.setCurrentColorGroup(QPalette::Disabled);
        }
    }

private:
    bool m_captionEnabled = true;
};

QComboBox* makeList(const char* const* items, size_t count, QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (size_t i = 0; i < count; ++i) {
        list->addItem(QString::fromUtf8(items[i]));
    }
    return list;
}

// The caption as a label with the control as its buddy, so scripts find the control by the caption.
QLabel* addCaptioned(QGridLayout* grid, int row, int column, const char* caption, QWidget* control) {
    auto* label = new QLabel(QString::fromUtf8(caption), grid->parentWidget());
    label->setBuddy(control);
    grid->addWidget(label, row, column);
    grid->addWidget(control, row, column + 1);
    return label;
}

} // namespace

CQSelEntPage4::CQSelEntPage4(QWidget* parent) : CQSelEntPageBase(parent) {
    CQLTSystemParam param;
    m_model.ReadSettings(param);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildCommandFrame());
    layout->addWidget(BuildReferenceFrame());
    layout->addWidget(BuildParameterFrame());
    layout->addStretch(1);

    ShowModel();
}

CQSelEntPage4::~CQSelEntPage4() {
    CommitAllNumbers(false);
    CQLTSystemParam param;
    m_model.WriteSettings(param);
}

QGroupBox* CQSelEntPage4::BuildCommandFrame() {
    auto* frame = new QGroupBox(QStringLiteral("编辑命令："), this);
    auto* grid = new QGridLayout(frame);
    m_runCheck = new QCheckBox(QStringLiteral("快速选择有效时执行以下命令"), frame);
    m_promptCheck = new QCheckBox(QStringLiteral("命令执行前提示确认"), frame);
    grid->addWidget(m_runCheck, 0, 0, 1, 4);
    grid->addWidget(m_promptCheck, 1, 0, 1, 4);
    m_commandLabel = new QLabel(QStringLiteral("命令："), frame);
    grid->addWidget(m_commandLabel, 2, 0);
    m_commandButtons = new QButtonGroup(frame);
    for (int command = 0; command < 6; ++command) {
        auto* button = new QRadioButton(QString::fromUtf8(kCommandCaptions[command]), frame);
        m_commandButtons->addButton(button, command);
        grid->addWidget(button, 2 + command / 3, 1 + command % 3);
    }
    grid->setColumnStretch(4, 1);

    connect(m_runCheck, &QCheckBox::toggled, this, [this](bool checked) {
        m_model.m_bHasCmd = checked ? 1 : 0;
        ApplyEnabling();
    });
    connect(m_promptCheck, &QCheckBox::toggled, this,
            [this](bool checked) { m_model.m_bHasPrompt = checked ? 1 : 0; });
    connect(m_commandButtons, &QButtonGroup::idToggled, this, [this](int command, bool checked) {
        if (!checked) {
            return;
        }
        m_model.m_nDoType = command;
        ApplyEnabling();
    });
    return frame;
}

QGroupBox* CQSelEntPage4::BuildReferenceFrame() {
    m_referenceFrame = new QGroupBox(QStringLiteral("参考点："), this);
    auto* grid = new QGridLayout(m_referenceFrame);
    m_positionList = makeList(kPositionItems, std::size(kPositionItems), m_referenceFrame);
    addCaptioned(grid, 0, 0, "基准位置：", m_positionList);
    m_offsetCheck = new QCheckBox(QStringLiteral("参考点相对基准位置偏移"), m_referenceFrame);
    grid->addWidget(m_offsetCheck, 1, 0, 1, 4);

    // Both rows carry the caption "横向偏移："; the second one is the Y offset.
    size_t widget = 0;
    QComboBox** unitLists[] = {&m_xUnitList, &m_yUnitList};
    double CCommandPageModel::*offsets[] = {&CCommandPageModel::m_dXOffset, &CCommandPageModel::m_dYOffset};
    for (int row = 0; row < 2; ++row) {
        QLineEdit* edit = AddNumberField(m_referenceFrame, offsets[row]);
        QComboBox* unitList = makeList(kUnitItems, std::size(kUnitItems), m_referenceFrame);
        *unitLists[row] = unitList;
        m_offsetRowWidgets[widget++] = addCaptioned(grid, 2 + row, 0, "横向偏移：", edit);
        m_offsetRowWidgets[widget++] = edit;
        m_offsetRowWidgets[widget++] = addCaptioned(grid, 2 + row, 2, "偏移单位：", unitList);
        m_offsetRowWidgets[widget++] = unitList;
    }
    grid->setColumnStretch(4, 1);

    connect(m_positionList, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model.m_nPosIndex = index; });
    connect(m_offsetCheck, &QCheckBox::toggled, this, [this](bool checked) {
        m_model.m_bHasOffset = checked ? 1 : 0;
        ApplyEnabling();
    });
    connect(m_xUnitList, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model.m_nXUnit = index; });
    connect(m_yUnitList, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model.m_nYUnit = index; });
    return m_referenceFrame;
}

QGroupBox* CQSelEntPage4::BuildParameterFrame() {
    m_parameterFrame = new CaptionOnlyFrame(QStringLiteral("命令参数："), this);
    auto* grid = new QGridLayout(m_parameterFrame);
    const char* moveCaptions[] = {"横向平移：", "竖向平移：", "纵向平移："};
    double CCommandPageModel::*moves[] = {&CCommandPageModel::m_dMoveX, &CCommandPageModel::m_dMoveY,
                                          &CCommandPageModel::m_dMoveZ};
    for (int row = 0; row < 3; ++row) {
        QLineEdit* edit = AddNumberField(m_parameterFrame, moves[row]);
        m_moveWidgets[2 * row] = addCaptioned(grid, row, 0, moveCaptions[row], edit);
        m_moveWidgets[2 * row + 1] = edit;
    }
    const struct {
        const char* caption;
        double CCommandPageModel::*value;
        std::array<QWidget*, 2>* widgets;
    } single[] = {{"缩放比例：", &CCommandPageModel::m_dScaleA, &m_scaleWidgets},
                  {"旋转角度：", &CCommandPageModel::m_dRoateA, &m_rotateWidgets},
                  {"轴线角度：", &CCommandPageModel::m_dAxiusA, &m_mirrorWidgets}};
    for (int row = 0; row < 3; ++row) {
        QLineEdit* edit = AddNumberField(m_parameterFrame, single[row].value);
        (*single[row].widgets)[0] = addCaptioned(grid, row, 2, single[row].caption, edit);
        (*single[row].widgets)[1] = edit;
    }
    grid->setColumnStretch(4, 1);
    return m_parameterFrame;
}

QLineEdit* CQSelEntPage4::AddNumberField(QWidget* frame, double CCommandPageModel::*value) {
    auto* edit = new QLineEdit(frame);
    const size_t index = m_numberFieldCount++;
    m_numberFields[index] = {edit, value};
    connect(edit, &QLineEdit::editingFinished, this,
            [this, index] { CommitNumber(m_numberFields[index], true); });
    return edit;
}

void CQSelEntPage4::CommitNumber(NumberField& field, bool reportFailure) {
    double value = m_model.*field.value;
    if (CCommandPageModel::ParseNumber(field.edit->text().toStdWString(), value)) {
        m_model.*field.value = value;
        return;
    }
    field.edit->setText(QString::fromStdWString(CCommandPageModel::FormatNumber(m_model.*field.value)));
    if (reportFailure) {
        MessageBox(static_cast<QWidget*>(window()), L"请输入一个数字。",
                   window()->windowTitle().toStdWString(), MB_OK | MB_ICONWARNING);
    }
}

void CQSelEntPage4::CommitAllNumbers(bool reportFailure) {
    for (size_t i = 0; i < m_numberFieldCount; ++i) {
        CommitNumber(m_numberFields[i], reportFailure);
    }
}

void CQSelEntPage4::LoadPage(const CFilter& record) {
    CQLTSystemParam param;
    if (!param.GetReadCfgCommand()) {
        return;
    }
    m_model.LoadFrom(record);
    ShowModel();
}

bool CQSelEntPage4::SavePage(CFilter& record) {
    CommitAllNumbers(true);
    m_model.SaveTo(record);
    return true;
}

void CQSelEntPage4::CopyTo(CExtendCommand& command) const {
    m_model.CopyTo(command);
}

void CQSelEntPage4::ShowModel() {
    // Setting the controls fires their change handlers; a value a control cannot show (a command or list
    // index out of range in a record) would come back as another one, so the values are put back after.
    const CCommandPageModel shown = m_model;
    m_runCheck->setChecked(shown.m_bHasCmd != 0);
    m_promptCheck->setChecked(shown.m_bHasPrompt != 0);
    if (QAbstractButton* button = m_commandButtons->button(shown.m_nDoType)) {
        button->setChecked(true);
    } else if (QAbstractButton* checked = m_commandButtons->checkedButton()) {
        m_commandButtons->setExclusive(false);
        checked->setChecked(false);
        m_commandButtons->setExclusive(true);
    }
    m_positionList->setCurrentIndex(shown.m_nPosIndex);
    m_offsetCheck->setChecked(shown.m_bHasOffset != 0);
    m_xUnitList->setCurrentIndex(shown.m_nXUnit);
    m_yUnitList->setCurrentIndex(shown.m_nYUnit);
    m_model = shown;
    for (size_t i = 0; i < m_numberFieldCount; ++i) {
        m_numberFields[i].edit->setText(
            QString::fromStdWString(CCommandPageModel::FormatNumber(m_model.*m_numberFields[i].value)));
    }
    ApplyEnabling();
}

void CQSelEntPage4::ApplyEnabling() {
    const CCommandPageEnabling enabling = m_model.Enabling();
    m_commandLabel->setEnabled(enabling.m_bCommandChoice);
    m_promptCheck->setEnabled(enabling.m_bCommandChoice);
    for (QAbstractButton* button : m_commandButtons->buttons()) {
        button->setEnabled(enabling.m_bCommandChoice);
    }
    m_referenceFrame->setEnabled(enabling.m_bReferencePoint);
    for (QWidget* widget : m_offsetRowWidgets) {
        widget->setEnabled(enabling.m_bOffsetRows);
    }
    static_cast<CaptionOnlyFrame*>(m_parameterFrame)->setCaptionEnabled(enabling.m_bParameterFrame);
    const std::pair<std::span<QWidget* const>, bool> groups[] = {{m_moveWidgets, enabling.m_bMove},
                                                                 {m_scaleWidgets, enabling.m_bScale},
                                                                 {m_rotateWidgets, enabling.m_bRotate},
                                                                 {m_mirrorWidgets, enabling.m_bMirror}};
    for (const auto& [widgets, enabled] : groups) {
        for (QWidget* widget : widgets) {
            widget->setEnabled(enabled);
        }
    }
}
