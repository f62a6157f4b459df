#pragma once

#include "dialer/credentialsflow.h"
#include "dialer/gui/dialerparts.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

// Asks for the user name and password of a phonebook entry before a dial (normal mode) or
// for the Connections window's "Advanced" (edit mode). The rules are CCredentialsFlow's;
// the window shows only once the stored credentials have arrived, and not at all when a
// dial finds them remembered.
class CCredentialsDlg : public QDialog {
    Q_OBJECT

public:
    using Done = std::function<void(bool ok)>;

    ~CCredentialsDlg() override;

    // Runs the window; done (may be empty) learns whether it ended with OK. The window
    // deletes itself once it has ended.
    static CCredentialsDlg* Run(const CDialerParts& parts, CCredentialsFlow::Mode mode,
                                const QString& editEntry, QWidget* parent, Done done);

    CCredentialsFlow& Flow() { return *m_flow; }

    // OK: stores what the fields hold, or keeps the window open after a message.
    void accept() override;
    void reject() override;

private:
    CCredentialsDlg(const CDialerParts& parts, QWidget* parent, Done done);
    void ShowFields();
    void Finish(bool ok);

    CCredentialsFlow* m_flow;
    Done m_done;
    QLabel* m_title = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QCheckBox* m_remember = nullptr;
};
