// Script lines that act on an open dialog by the captions a user sees ("@tab 实体特性", "@check 对象类型：",
// "@press 确定", ...). The console host runs its dialogs offscreen and feeds them these lines; tests use
// the same lines. Works over any QDialog; what only one dialog offers (its menus, its live count) is
// reached through CScriptableDialog.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;

class CScriptableDialog {
public:
    virtual ~CScriptableDialog() = default;
    // Runs the menu entry of the dialog's own menus (captions without "&"); false when there is none.
    virtual bool RunScriptMenuEntry(const QString& entry) = 0;
    // The live count of the current criteria, computed to its end; nothing when it cannot be known.
    virtual std::optional<long> FinishLiveCount() = 0;
};

class CDialogScript {
public:
    struct Outcome {
        bool ok = true;
        // What went wrong, for the transcript; for a missing control its caption and the visible ones.
        QString message;
    };

    // Runs one line (with its leading "@") on the dialog.
    static Outcome Run(QDialog& dialog, const QString& line);
    // The captions of the dialog's visible controls, in reading order (top to bottom, left to right).
    static QStringList VisibleCaptions(QDialog& dialog);
};
