#include "dialer/gui/credentialsdlg.h"

#include "dialer/gui/connectionsdlg.h"
#include "gui/windowframe.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <utility>

CCredentialsDlg::CCredentialsDlg(const CDialerParts& parts, QWidget* parent, Done done)
    : QDialog(parent)
    , m_done(std::move(done))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setWindowTitle(tr("Orvalis"));
    m_flow = new CCredentialsFlow(
        parts.store, parts.remote, parts.credentials,
        [parts, this](std::function<void()> closed) {
            CConnectionsDlg::Open(parts, this->parentWidget(), std::move(closed));
        },
        this);
    connect(m_flow, &CCredentialsFlow::FieldsReady, this, &CCredentialsDlg::ShowFields);
    connect(m_flow, &CCredentialsFlow::Closed, this, &CCredentialsDlg::Finish);

    m_title = new QLabel(this);
    m_title->setTextFormat(Qt::PlainText); // holds the entry's name
    m_user = new QLineEdit(this);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    m_remember = new QCheckBox(tr("Remember user name and password"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(tr("User name"), m_user);
    fields->addRow(tr("Password"), m_password);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addLayout(fields);
    layout->addWidget(m_remember);
    layout->addWidget(buttons);
    CWindowFrame::Apply(this);
}

CCredentialsDlg::~CCredentialsDlg() = default;

CCredentialsDlg* CCredentialsDlg::Run(const CDialerParts& parts, CCredentialsFlow::Mode mode,
                                      const QString& editEntry, QWidget* parent, Done done)
{
    auto* window = new CCredentialsDlg(parts, parent, std::move(done));
    window->m_flow->Open(mode, editEntry);
    return window;
}

void CCredentialsDlg::ShowFields()
{
    m_title->setText(m_flow->Title());
    m_user->setText(m_flow->User());
    m_password->setText(m_flow->Password());
    m_remember->setChecked(m_flow->Remember());
    show();
    raise();
    activateWindow();
}

void CCredentialsDlg::accept()
{
    // Closed follows, or the window stays open after a message.
    m_flow->Accept(m_user->text(), m_password->text(), m_remember->isChecked());
}

void CCredentialsDlg::reject()
{
    Finish(false);
}

void CCredentialsDlg::Finish(bool ok)
{
    // Once only: the window may close itself and be closed by the user at the same time.
    Done done = std::exchange(m_done, {});
    disconnect(m_flow, nullptr, this, nullptr);
    if (isVisible())
        QDialog::done(ok ? Accepted : Rejected);
    else
        deleteLater();
    if (done)
        done(ok);
}
