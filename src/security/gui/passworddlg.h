#pragma once

#include "security/passwordguard.h"

#include <QDialog>

class CSettingsStore;
class QLabel;
class QLineEdit;
class QPushButton;

// The password prompt: "Please enter the password.", a hidden "Password:" field, OK and
// Cancel. OK closes it only for the right password; Cancel, Esc and the close box refuse.
class CPasswordDlg : public QDialog {
    Q_OBJECT

public:
    explicit CPasswordDlg(const CSettingsStore& store, QWidget* parent = nullptr);

    // Shows the prompt modally; true when the right password was given.
    static bool Ask(const CSettingsStore& store, QWidget* parent);
    // The check points with this prompt over `parent` (none at start).
    static CPasswordGuard Guard(const CSettingsStore& store, QWidget* parent);

    // True while the typed password is being checked (on a thread of its own, as a slow
    // hash takes up to a second).
    bool Checking() const { return m_checking; }

private:
    void OnOk();
    void SetChecking(bool checking);

    const CSettingsStore& m_store;
    QLineEdit* m_password = nullptr;
    QLabel* m_heading = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_checking = false;
};
