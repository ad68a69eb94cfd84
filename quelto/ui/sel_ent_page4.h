// CQSelEntPage4: the "选后操作" tab of the main dialog, where the drafter chooses the edit that runs on
// the selected entities. The values and enabling rules live in CCommandPageModel; this class binds the
// widgets to it and keeps the values in the preferences from construction to destruction.
#pragma once

#include "quelto/ui/command_page_model.h"
#include "quelto/ui/sel_ent_page.h"

#include <array>

class CExtendCommand;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

class CQSelEntPage4 : public CQSelEntPageBase {
public:
    // Starts from the page's defaults, then takes the fifteen preferences.
    explicit CQSelEntPage4(QWidget* parent = nullptr);
    // Writes the fifteen values back to the preferences, whether the dialog ended with OK or Cancel.
    ~CQSelEntPage4() override;

    // Takes the record's command only when the preference ReadCfgCommand is on.
    void LoadPage(const CFilter& record) override;
    // Writes the fifteen values; always succeeds.
    bool SavePage(CFilter& record) override;

    void CopyTo(CExtendCommand& command) const;
    const CCommandPageModel& Model() const { return m_model; }

private:
    struct NumberField {
        QLineEdit* edit;
        double CCommandPageModel::*value;
    };

    QGroupBox* BuildCommandFrame();
    QGroupBox* BuildReferenceFrame();
    QGroupBox* BuildParameterFrame();
    QLineEdit* AddNumberField(QWidget* frame, double CCommandPageModel::*value);
    // A text that is not a number is reported and the field shows its previous value again.
    void CommitNumber(NumberField& field, bool reportFailure);
    void CommitAllNumbers(bool reportFailure);
    void ShowModel();
    void ApplyEnabling();

    CCommandPageModel m_model;

    QCheckBox* m_runCheck = nullptr;
    QCheckBox* m_promptCheck = nullptr;
    QLabel* m_commandLabel = nullptr;
    QButtonGroup* m_commandButtons = nullptr;

    QGroupBox* m_referenceFrame = nullptr;
    QComboBox* m_positionList = nullptr;
    QCheckBox* m_offsetCheck = nullptr;
    std::array<QWidget*, 8> m_offsetRowWidgets{};
    QComboBox* m_xUnitList = nullptr;
    QComboBox* m_yUnitList = nullptr;

    QGroupBox* m_parameterFrame = nullptr;
    std::array<QWidget*, 6> m_moveWidgets{};
    std::array<QWidget*, 2> m_scaleWidgets{};
    std::array<QWidget*, 2> m_rotateWidgets{};
    std::array<QWidget*, 2> m_mirrorWidgets{};

    std::array<NumberField, 8> m_numberFields{};
    size_t m_numberFieldCount = 0;
};
