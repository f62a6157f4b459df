#pragma once

class QDialog;
class QDialogButtonBox;

// The OK and Cancel buttons of the program's small dialogs: OK is the default button,
// Cancel rejects the dialog. The caller connects the box's accepted() to its own OK step.
// The buttons are named "ok" and "cancel" so tests can find them.
class COkCancelButtons {
public:
    static QDialogButtonBox* Create(QDialog* dialog);
};
