#include "mail/gui/optmailpage.h"

#include "common/messagebox.h"
#include "dialer/credentialstore.h"
#include "gui/fieldwidth.h"
#include "mail/mailaccount.h"
#include "mail/mailoptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

COptMailPage::COptMailPage(CSettingsStore& store, CCredentialStore& credentials,
                           std::function<void()> checkNow, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_credentials(credentials)
    , m_checkMail(new QCheckBox(tr("Check incoming mail every")))
    , m_minutes(new QLineEdit)
    , m_onConnect(new QCheckBox(tr("Check email immediately upon connection")))
    , m_user(new QLineEdit)
    , m_password(new QLineEdit)
    , m_server(new QLineEdit)
    , m_security(new QComboBox)
    , m_port(new QLineEdit)
{
    auto* checking = new QGroupBox(tr("E-mail checking"));
    auto* every = new QHBoxLayout;
    m_minutes->setMaximumWidth(60);
    CFieldWidth::Fit(m_minutes, QStringLiteral("0000"));
    every->addWidget(m_checkMail);
    every->addWidget(m_minutes);
    every->addWidget(new QLabel(tr("mins")));
    every->addStretch(1);
    auto* checkingLayout = new QVBoxLayout(checking);
    checkingLayout->addLayout(every);
    checkingLayout->addWidget(m_onConnect);

    auto* explanation = new QLabel(tr(
        "Orvalis can periodically check your incoming mail and display the count of new messages. "
        "You must supply your email server, user name and password in order to use this "
        "function."));
    explanation->setWordWrap(true);

    auto* account = new QGroupBox(tr("Mail user/server settings"));
    m_password->setEchoMode(QLineEdit::Password);
    m_security->addItems({tr("None"), tr("STARTTLS"), tr("SSL/TLS")});
    m_port->setMaximumWidth(80);
    CFieldWidth::Fit(m_port, QStringLiteral("000000"));
    auto* form = new QFormLayout(account);
    form->addRow(tr("User name"), m_user);
    form->addRow(tr("Password"), m_password);
    form->addRow(tr("POP server"), m_server);
    form->addRow(tr("Security"), m_security);
    form->addRow(tr("Port"), m_port);

    auto* checkButton = new QPushButton(tr("Check email now"));
    connect(checkButton, &QPushButton::clicked, this, [checkNow = std::move(checkNow)] {
        if (checkNow)
            checkNow();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(checking);
    layout->addWidget(explanation);
    layout->addWidget(account);
    layout->addWidget(checkButton, 0, Qt::AlignLeft);
    layout->addStretch(1);

    const CMailOptions options = CMailOptions::Load(m_store);
    m_checkMail->setChecked(options.checkMail);
    m_minutes->setText(options.minutes);
    m_onConnect->setChecked(options.checkOnConnect);
    m_user->setText(options.user);
    m_server->setText(options.server);
    m_security->setCurrentIndex(options.security);
    m_port->setText(options.port);
    // Choosing a protection proposes its usual port.
    connect(m_security, &QComboBox::activated, this, [this](int index) {
        m_port->setText(
            QString::number(CMailAccount::ProposedPort(static_cast<CPop3Client::Security>(index))));
    });

    m_credentials.Load(
        CMailAccount::CredentialSlot(),
        [page = QPointer<COptMailPage>(this)](const QString&, const QString& password) {
            if (!page)
                return;
            page->m_passwordLoaded = true;
            if (!page->m_password->isModified())
                page->m_password->setText(password);
        });
}

QWidget* COptMailPage::Check()
{
    const std::optional<CMailOptions::Refusal> refusal = Options().Refused();
    if (!refusal)
        return nullptr;
    CMessageBox::Inform(refusal->message);
    return refusal->field == CMailOptions::Minutes ? m_minutes : m_port;
}

void COptMailPage::Save()
{
    const CMailOptions options = Options();
    options.Store(m_store);
    if (m_passwordLoaded || m_password->isModified())
        m_credentials.Save(CMailAccount::CredentialSlot(), options.user, m_password->text());
}

CMailOptions COptMailPage::Options() const
{
    CMailOptions options;
    options.checkMail = m_checkMail->isChecked();
    options.minutes = m_minutes->text();
    options.checkOnConnect = m_onConnect->isChecked();
    options.user = m_user->text();
    options.server = m_server->text();
    options.security = m_security->currentIndex();
    options.port = m_port->text();
    return options;
}
