#pragma once

#include "security/securitysettings.h"

#include <QDialog>

class CSettingsStore;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The Security window: switches password protection on or off, chooses when the password
// is asked and sets it. The rules are CSecuritySettings'; the window draws and forwards.
class CSecurityDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSecurityDlg(CSettingsStore& store, QWidget* parent = nullptr);

    // Asks for the password where protection says so, then shows the window modally.
    // False when the password was refused (nothing shown, nothing stored).
    static bool Open(CSettingsStore& store, QWidget* parent);

private:
    void OnOk();
    void FollowCheckBox();
    void ChooseWhenToAsk(bool on);

    CSecuritySettings m_settings;
    QCheckBox* m_enabled = nullptr;
    QRadioButton* m_whenStarted = nullptr;
    QRadioButton* m_whenConfigured = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_confirm = nullptr;
    QLabel* m_note = nullptr;
};
