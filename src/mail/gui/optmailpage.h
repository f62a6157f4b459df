#pragma once

#include "prefs/preferencespage.h"

#include <QWidget>

#include <functional>

class CCredentialStore;
struct CMailOptions;
class CSettingsStore;
class QCheckBox;
class QComboBox;
class QLineEdit;

// The "Email" page: the periodic mail check, the mailbox's user name, password and
// server, how the connection is protected, and a button that checks now.
class COptMailPage : public QWidget, public CPreferencesPage {
    Q_OBJECT
public:
    COptMailPage(CSettingsStore& store, CCredentialStore& credentials,
                 std::function<void()> checkNow, QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    QWidget* Check() override;
    void Save() override;

    QCheckBox* CheckMailBox() const { return m_checkMail; }
    QLineEdit* MinutesEdit() const { return m_minutes; }
    QCheckBox* OnConnectBox() const { return m_onConnect; }
    QLineEdit* UserEdit() const { return m_user; }
    QLineEdit* PasswordEdit() const { return m_password; }
    QLineEdit* ServerEdit() const { return m_server; }
    QComboBox* SecurityList() const { return m_security; }
    QLineEdit* PortEdit() const { return m_port; }

private:
    CMailOptions Options() const;

    CSettingsStore& m_store;
    CCredentialStore& m_credentials;
    QCheckBox* m_checkMail;
    QLineEdit* m_minutes;
    QCheckBox* m_onConnect;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_server;
    QComboBox* m_security;
    QLineEdit* m_port;
    // Until the stored password has arrived, an untouched field must not erase it.
    bool m_passwordLoaded = false;
};
