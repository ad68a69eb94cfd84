// Small pages for the main dialog's tests, laid out as the real ones are (a grid row per criterion with
// its check box or label first, a buddy label for single controls, a "逻辑增强：" box) and saving a few
// fields, so that the dialog's wiring and the script lines are tested apart from the pages' own rules.
#pragma once

#include "platform/message_box.h"
#include "quelto/actions/extend_command.h"
#include "quelto/ui/sel_ent_main.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace stand_in {

// Type and layer rows, the preselection radio buttons and a group-name field.
class BasicPage : public CQSelEntPageBase {
public:
    BasicPage(CInfoMapList& catalogue, CTypeChangeListener& listener, QWidget* parent)
        : CQSelEntPageBase(parent), m_listener(listener) {
        auto* grid = new QGridLayout(this);
        m_type = new QCheckBox(QStringLiteral("对象类型："), this);
        m_typeName = new QComboBox(this);
        for (const EntityName& name : catalogue.GetTypeTable()) {
            m_typeName->addItem(QString::fromStdWString(name.displayName));
        }
        m_layer = new QCheckBox(QStringLiteral("对象图层："), this);
        m_layerName = new QComboBox(this);
        m_layerName->setEditable(true);
        m_fromUser = new QRadioButton(QStringLiteral("在用户选择集中过滤"), this);
        m_fromAll = new QRadioButton(QStringLiteral("在全部实体中过滤"), this);
        auto* groupLabel = new QLabel(QStringLiteral("组名："), this);
        m_groupName = new QLineEdit(this);
        groupLabel->setBuddy(m_groupName);
        grid->addWidget(m_type, 0, 0);
        grid->addWidget(m_typeName, 0, 1);
        grid->addWidget(m_layer, 1, 0);
        grid->addWidget(m_layerName, 1, 1);
        grid->addWidget(m_fromUser, 2, 0);
        grid->addWidget(m_fromAll, 2, 1);
        grid->addWidget(groupLabel, 3, 0);
        grid->addWidget(m_groupName, 3, 1);
        connect(m_typeName, &QComboBox::currentTextChanged, this,
                [this](const QString& text) { m_listener.OnTypeChanged(text.toStdWString()); });
    }
    void LoadPage(const CFilter& record) override {
        m_type->setChecked(record.m_bType != 0);
        m_typeName->setCurrentText(QString::fromStdWString(record.m_strType));
        m_layer->setChecked(record.m_bLayer != 0);
        m_layerName->setCurrentText(QString::fromStdWString(record.m_strLayer));
        (record.m_bSelectFromAll ? m_fromAll : m_fromUser)->setChecked(true);
        m_groupName->setText(QString::fromStdWString(record.m_strGroupName));
        m_listener.OnTypeChanged(record.m_strType);
    }
    bool SavePage(CFilter& record) override {
        if (m_layer->isChecked() && m_layerName->currentText().isEmpty()) {
            MessageBox(this, L"图层名不能为空", L"运算值错误", MB_OK | MB_ICONINFORMATION);
            return false;
        }
        record.m_bType = m_type->isChecked();
        record.m_strType = m_typeName->currentText().toStdWString();
        record.m_bLayer = m_layer->isChecked();
        record.m_strLayer = m_layerName->currentText().toStdWString();
        record.m_bSelectFromAll = m_fromAll->isChecked();
        record.m_strGroupName = m_groupName->text().toStdWString();
        return true;
    }

private:
    CTypeChangeListener& m_listener;
    QCheckBox* m_type;
    QComboBox* m_typeName;
    QCheckBox* m_layer;
    QComboBox* m_layerName;
    QRadioButton* m_fromUser;
    QRadioButton* m_fromAll;
    QLineEdit* m_groupName;
};

// Nothing to save: the advanced criteria stay at their defaults.
class EmptyPage : public CQSelEntPageBase {
public:
    using CQSelEntPageBase::CQSelEntPageBase;
    void LoadPage(const CFilter&) override {}
    bool SavePage(CFilter&) override { return true; }
};

// Row A (property, operator, value) of the type's properties and the logic box.
class PropertyPage : public CQSelEntPageBase {
public:
    explicit PropertyPage(QWidget* parent) : CQSelEntPageBase(parent) {
        auto* grid = new QGridLayout(this);
        m_property = new QComboBox(this);
        m_operator = new QComboBox(this);
        m_operator->addItems({"=", ">", "<"});
        m_value = new QLineEdit(this);
        grid->addWidget(new QLabel(QStringLiteral("A："), this), 0, 0);
        grid->addWidget(m_property, 0, 1);
        grid->addWidget(m_operator, 0, 2);
        grid->addWidget(m_value, 0, 3);
        auto* box = new QGroupBox(QStringLiteral("逻辑增强："), this);
        auto* boxLayout = new QHBoxLayout(box);
        m_logic = new QCheckBox(box);
        m_mode = new QComboBox(box);
        m_mode->addItems(
            {QStringLiteral("全部为且[默认]"), QStringLiteral("全部为或"), QStringLiteral("用户定义")});
        m_expression = new QComboBox(box);
        m_expression->setEditable(true);
        boxLayout->addWidget(m_logic);
        boxLayout->addWidget(m_mode);
        boxLayout->addWidget(m_expression);
        grid->addWidget(box, 1, 0, 1, 4);
    }
    void Refill(EntityInfo* info) {
        m_info = info;
        m_property->clear();
        m_property->addItem(QStringLiteral("无"));
        if (info != nullptr) {
            for (const EntityProp& prop : info->props) {
                m_property->addItem(QString::fromStdWString(prop.name));
            }
        }
    }
    void LoadPage(const CFilter&) override {}
    bool SavePage(CFilter& record) override {
        const int chosen = m_property->currentIndex();
        if (chosen > 0 && m_info != nullptr) {
            record.m_arrPropId.push_back(m_info->props[static_cast<std::size_t>(chosen - 1)].id);
            record.m_arrPropRow.push_back(0);
            record.m_arrPropOp.push_back(m_operator->currentText().toStdWString());
            record.m_arrPropValue.push_back(m_value->text().toStdWString());
        }
        record.m_bLogic = m_logic->isChecked();
        record.m_nLogicMode = m_mode->currentIndex();
        record.m_strLogic = m_expression->currentText().toUpper().toStdWString();
        return true;
    }

private:
    EntityInfo* m_info = nullptr;
    QComboBox* m_property;
    QComboBox* m_operator;
    QLineEdit* m_value;
    QCheckBox* m_logic;
    QComboBox* m_mode;
    QComboBox* m_expression;
};

// The command page's first check box, copied into the edit command.
class CommandPage : public CQSelEntPageBase {
public:
    explicit CommandPage(QWidget* parent) : CQSelEntPageBase(parent) {
        auto* grid = new QGridLayout(this);
        m_hasCommand = new QCheckBox(QStringLiteral("快速选择有效时执行以下命令"), this);
        grid->addWidget(m_hasCommand, 0, 0);
    }
    void LoadPage(const CFilter& record) override { m_hasCommand->setChecked(record.m_bHasCmd != 0); }
    bool SavePage(CFilter& record) override {
        record.m_bHasCmd = m_hasCommand->isChecked();
        return true;
    }
    QCheckBox* m_hasCommand;
};

// The factory; `names` receives every name the configuration-name stand-in is asked, which answers
// `answer` (nothing: cancelled).
inline CSelEntPageFactory factory(std::optional<CString>* answer = nullptr) {
    return [answer](CInfoMapList& catalogue, CTypeChangeListener& listener, QWidget* parent) {
        CSelEntPages pages;
        pages.basic = new BasicPage(catalogue, listener, parent);
        pages.advanced = new EmptyPage(parent);
        auto* property = new PropertyPage(parent);
        pages.property = property;
        auto* command = new CommandPage(parent);
        pages.command = command;
        pages.refillProperties = [property](EntityInfo* info) { property->Refill(info); };
        pages.copyCommand = [command](CExtendCommand& target) {
            target.m_bHasCmd = command->m_hasCommand->isChecked();
        };
        pages.askConfigurationName = [answer](const CStringArray&, QWidget*) {
            return answer != nullptr ? *answer : std::optional<CString>();
        };
        return pages;
    };
}

} // namespace stand_in
