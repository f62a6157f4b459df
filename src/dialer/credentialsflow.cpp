#include "dialer/credentialsflow.h"

#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "dialer/credentialstore.h"
#include "dialer/remoteaccess.h"

#include <QPointer>

#include <utility>

CCredentialsFlow::CCredentialsFlow(CSettingsStore& store, CRemoteAccess& remote,
                                   CCredentialStore& credentials, ShowConnections showConnections,
                                   QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_remote(remote)
    , m_credentials(credentials)
    , m_showConnections(std::move(showConnections))
{}

CCredentialsFlow::~CCredentialsFlow() = default;

void CCredentialsFlow::Open(Mode mode, const QString& editEntry)
{
    m_mode = mode;
    m_editEntry = editEntry;
    m_remember = m_store.Read(Keys::RememberPassword) != 0;
    m_entry = m_store.Read(Keys::DefaultCon);

    // A phonebook of one entry makes it the default without asking.
    QStringList entries;
    if (m_remote.EnumEntries(entries) == 0 && entries.size() == 1) {
        m_entry = entries.constFirst();
        m_store.Write(Keys::DefaultCon, m_entry);
    }

    if (!m_entry.isEmpty()) {
        AfterDefaultKnown();
        return;
    }
    CMessageBox::Inform(
        tr("Please select the default connection to dial. You must do this only once.\n"
           "Click the connection you want as default, click Set as default, then click Hide."));
    QPointer<CCredentialsFlow> self(this);
    m_showConnections([self] {
        if (!self)
            return;
        self->m_entry = self->m_store.Read(Keys::DefaultCon);
        if (self->m_entry.isEmpty())
            Q_EMIT self->Closed(false);
        else
            self->AfterDefaultKnown();
    });
}

void CCredentialsFlow::AfterDefaultKnown()
{
    if (m_mode == Mode::Edit)
        m_entry = m_editEntry;
    QPointer<CCredentialsFlow> self(this);
    m_credentials.Load(m_entry, [self](const QString& user, const QString& password) {
        if (!self)
            return;
        self->m_user = user;
        self->m_password = password;
        // A dial with remembered credentials asks nothing.
        if (self->m_mode == Mode::Normal && !user.isEmpty() && !password.isEmpty())
            Q_EMIT self->Closed(true);
        else
            Q_EMIT self->FieldsReady();
    });
}

QString CCredentialsFlow::Title() const
{
    return tr("Connection %1 user name and password.").arg(m_entry);
}

void CCredentialsFlow::Accept(const QString& user, const QString& password, bool remember)
{
    m_remember = remember;
    m_store.Write(Keys::RememberPassword, remember ? 1 : 0);
    if (user.isEmpty() || password.isEmpty()) {
        CMessageBox::Inform(tr("Please enter the user name and password used to connect to the "
                               "remote server (internet)."));
        return;
    }
    if (!m_store.Read(Keys::DefaultCon).isEmpty()) {
        Store(user, password);
        return;
    }
    CMessageBox::Inform(
        tr("Please select the default connection to dial. You must do this only once.\n"
           "Double-click the connection you want as default, then click Hide."));
    QPointer<CCredentialsFlow> self(this);
    m_showConnections([self, user, password] {
        if (!self)
            return;
        if (self->m_store.Read(Keys::DefaultCon).isEmpty())
            Q_EMIT self->Closed(false);
        else
            self->Store(user, password);
    });
}

void CCredentialsFlow::Store(const QString& user, const QString& password)
{
    m_user = user;
    m_password = password;
    // A dial that loads them next gets these at once, even while the keyring still works on
    // the save (a failed save is kept in the settings file, as the store says).
    m_credentials.Save(m_entry, user, password);
    Q_EMIT Closed(true);
}
