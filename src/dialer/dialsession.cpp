#include "dialer/dialsession.h"

#include "common/settingsstore.h"
#include "dialer/credentialstore.h"

#include <QCoreApplication>
#include <QPointer>

#include <utility>

namespace {

struct StateText {
    unsigned state;
    const char* text;
};

// The text shown for each progress state of a dial.
constexpr StateText kStateTexts[] = {
    {CRemoteAccess::OpenPort, QT_TRANSLATE_NOOP("CDialSession", "Opening the port...")},
    {CRemoteAccess::PortOpened,
     QT_TRANSLATE_NOOP("CDialSession", "Port has been opened successfully")},
    {CRemoteAccess::ConnectDevice,
     QT_TRANSLATE_NOOP("CDialSession", "Connecting to the device...")},
    {CRemoteAccess::DeviceConnected,
     QT_TRANSLATE_NOOP("CDialSession", "The device has connected successfully.")},
    {CRemoteAccess::AllDevicesConnected,
     QT_TRANSLATE_NOOP("CDialSession",
                       "All devices in the device chain have successfully connected.")},
    {CRemoteAccess::Authenticate,
     QT_TRANSLATE_NOOP("CDialSession", "Verifying the user name and password...")},
    {CRemoteAccess::AuthNotify,
     QT_TRANSLATE_NOOP("CDialSession", "Authentication...\nPlease wait...")},
    {CRemoteAccess::AuthRetry,
     QT_TRANSLATE_NOOP("CDialSession", "Requested another validation attempt with a new user.")},
    {CRemoteAccess::AuthCallback,
     QT_TRANSLATE_NOOP("CDialSession", "Server has requested a callback number.")},
    {CRemoteAccess::AuthChangePassword,
     QT_TRANSLATE_NOOP("CDialSession", "The client has requested to change the password")},
    {CRemoteAccess::AuthProject,
     QT_TRANSLATE_NOOP("CDialSession", "Registering your computer on the network...")},
    {CRemoteAccess::AuthLinkSpeed,
     QT_TRANSLATE_NOOP("CDialSession", "The link-speed calculation phase is starting...")},
    {CRemoteAccess::AuthAck,
     QT_TRANSLATE_NOOP("CDialSession", "An authentication request is being acknowledged.")},
    // The trailing blank belongs to the text.
    {CRemoteAccess::ReAuthenticate,
     QT_TRANSLATE_NOOP("CDialSession", "Reauthentication (after callback) is starting.")},
    {CRemoteAccess::Authenticated,
     QT_TRANSLATE_NOOP("CDialSession", "The client has successfully completed authentication.")},
    {CRemoteAccess::PrepareForCallback,
     QT_TRANSLATE_NOOP("CDialSession", "The line is about to disconnect for callback.")},
    {CRemoteAccess::WaitForModemReset,
     QT_TRANSLATE_NOOP("CDialSession", "Delaying to give the modem time to reset for callback.")},
    {CRemoteAccess::WaitForCallback,
     QT_TRANSLATE_NOOP("CDialSession", "Waiting for an incoming call from server.")},
    {CRemoteAccess::Projected,
     QT_TRANSLATE_NOOP("CDialSession", "Projection result information is available.")},
    {CRemoteAccess::StartAuthentication,
     QT_TRANSLATE_NOOP("CDialSession", "User authentication is being initiated or retried.")},
    {CRemoteAccess::CallbackComplete,
     QT_TRANSLATE_NOOP("CDialSession",
                       "Client has been called back and is about to resume authentication.")},
    {CRemoteAccess::LogonNetwork,
     QT_TRANSLATE_NOOP("CDialSession", "Logging on to the network...")},
    {CRemoteAccess::SubEntryConnected,
     QT_TRANSLATE_NOOP("CDialSession", "Subentry has been connected")},
    {CRemoteAccess::SubEntryDisconnected,
     QT_TRANSLATE_NOOP("CDialSession", "Subentry has been disconnected")},
    {CRemoteAccess::Interactive,
     QT_TRANSLATE_NOOP("CDialSession", "Waiting for input in the terminal window.")},
    {CRemoteAccess::RetryAuthentication,
     QT_TRANSLATE_NOOP("CDialSession", "Waiting for a new user name and password.")},
    {CRemoteAccess::CallbackSetByCaller,
     QT_TRANSLATE_NOOP("CDialSession", "Waiting for a callback number.")},
    {CRemoteAccess::PasswordExpired,
     QT_TRANSLATE_NOOP("CDialSession", "The password has expired and must be changed.")},
    {CRemoteAccess::Connected,
     QT_TRANSLATE_NOOP("CDialSession", "Connected to the remote server.")},
    {CRemoteAccess::Disconnected, QT_TRANSLATE_NOOP("CDialSession", "Disconnected")},
};

} // namespace

CDialSession::CDialSession(CSettingsStore& store, CRemoteAccess& remote,
                           CCredentialStore& credentials, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_remote(remote)
    , m_credentials(credentials)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CDialSession::Attempt);
}

CDialSession::~CDialSession() = default;

QString CDialSession::StateMessage(unsigned state)
{
    for (const StateText& entry : kStateTexts) {
        if (entry.state == state)
            return tr(entry.text);
    }
    return {};
}

void CDialSession::Start()
{
    m_entry = m_store.Read(Keys::DefaultCon);
    m_busyCount = 0;
    m_handle = 0;
    SetText(tr("Connecting to %1...").arg(m_entry), false);
    m_timer.start(kFirstDialMs);
}

void CDialSession::HangUp()
{
    m_timer.stop();
    // Whatever the attempt has reached: a later notification of it is dropped.
    ++m_attempt;
    if (m_handle != 0)
        m_remote.HangUp(m_handle);
    m_handle = 0;
}

void CDialSession::Attempt()
{
    m_timer.stop();
    m_handle = 0;
    const int attempt = ++m_attempt;
    // The credentials are read anew for every attempt: a redial after they were erased
    // dials with empty ones.
    QPointer<CDialSession> self(this);
    m_credentials.Load(m_entry, [self, attempt](const QString& user, const QString& password) {
        if (self && self->m_attempt == attempt)
            self->Dial(user, password);
    });
}

void CDialSession::Dial(const QString& user, const QString& password)
{
    const int attempt = m_attempt;
    QPointer<CDialSession> self(this);
    // Called on the service's thread: the step is queued to this object's thread, where the
    // pointer is looked at.
    CRemoteAccess::DialNotifier notifier = [self, attempt](unsigned state, unsigned error) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, attempt, state, error] {
                if (self && self->m_attempt == attempt)
                    self->OnProgress(state, error);
            },
            Qt::QueuedConnection);
    };
    const int code = m_remote.Dial(m_entry, user, password, std::move(notifier), m_handle);
    if (code != 0) {
        ShowError(code, false);
        if (code == CRemoteAccess::ErrorLineBusy)
            OnBusy();
    }
    if (m_store.Read(Keys::RememberPassword) == 0)
        m_credentials.Save(m_entry, QString(), QString());
}

void CDialSession::OnProgress(unsigned state, unsigned error)
{
    if (state == CRemoteAccess::Connected) {
        const QString url = m_store.Read(Keys::UrlToLaunch, QString());
        if (m_store.Read(Keys::LaunchBrowser) == 1 && !url.isEmpty())
            Q_EMIT OpenAddress(url);
        Q_EMIT CloseRequested();
        return;
    }
    if (state == CRemoteAccess::Disconnected) {
        Q_EMIT CloseRequested();
        return;
    }
    const QString message = StateMessage(state);
    if (!message.isEmpty())
        SetText(message, m_buttonOk);
    if (error != 0) {
        ShowError(static_cast<int>(error), true);
        if (error == CRemoteAccess::ErrorLineBusy)
            OnBusy();
    }
}

void CDialSession::ShowError(int code, bool duringProgress)
{
    QString text;
    if (!m_remote.GetErrorString(code, text) || text.isEmpty()) {
        text = duringProgress ? tr("Unknown dialing error.")
                              : tr("Unknown dialing error (%1).").arg(code);
    }
    SetText(text, true);
}

void CDialSession::OnBusy()
{
    ++m_busyCount;
    const int choice = m_store.Read(Keys::RedialWhenBusy);
    // Choices 0 (none stored) and 3 (do not redial) leave the busy error shown with "OK".
    const bool redial =
        choice == 2 || (choice == 1 && m_busyCount < m_store.Read(Keys::RedialTimes));
    if (!redial || (m_mayRedial && !m_mayRedial()))
        return;
    SetText(tr("Line is busy.\nRedialing, please wait..."), false);
    m_timer.start(kRedialMs);
}

void CDialSession::SetText(const QString& text, bool buttonOk)
{
    m_text = text;
    m_buttonOk = buttonOk;
    Q_EMIT Changed();
}
