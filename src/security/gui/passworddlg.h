#pragma once

#include "security/passwordguard.h"

#include <QDialog>

class CSettingsStore;
class QLineEdit;

// The password prompt: "Please enter password !!!", a hidden "Password:" field, OK and
// Cancel. OK closes it only for the right password; Cancel, Esc and the close box refuse.
class CPasswordDlg : public QDialog {
    Q_OBJECT

public:
    explicit CPasswordDlg(const CSettingsStore& store, QWidget* parent = nullptr);

    // Shows the prompt modally; true when the right password was given.
    static bool Ask(const CSettingsStore& store, QWidget* parent);
    // The check points with this prompt over `parent` (none at start).
    static CPasswordGuard Guard(const CSettingsStore& store, QWidget* parent);

private:
    void OnOk();

    const CSettingsStore& m_store;
    QLineEdit* m_password = nullptr;
};
