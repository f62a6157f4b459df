#include "support/keyringsession.h"

#include "dialer/credentialstore.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

namespace {

const QString kKeyringPassword = QStringLiteral("keyring test password");

void Stop(std::unique_ptr<QProcess>& process)
{
    if (!process)
        return;
    process->kill();
    process->waitForFinished();
    process.reset();
}

} // namespace

CKeyringSession::CKeyringSession() = default;

CKeyringSession::~CKeyringSession()
{
    Stop(m_keyring);
    m_bus.Stop();
}

QString CKeyringSession::MissingTools()
{
    const char* tools[] = {"dbus-daemon", "gnome-keyring-daemon", "secret-tool"};
    for (const char* tool : tools) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return QStringLiteral("%1 is not installed (scripts/install-deps.sh)").arg(tool);
    }
    return {};
}

bool CKeyringSession::StartBus()
{
    if (!m_dir.isValid())
        return false;
    m_address =
        m_bus.Start(CPrivateBus::OpenConfig("session"), m_dir.filePath(QStringLiteral("bus")));
    return !m_address.isEmpty();
}

bool CKeyringSession::StartKeyring()
{
    const QString runtime = m_dir.filePath(QStringLiteral("runtime"));
    if (!QDir().mkpath(m_dir.filePath(QStringLiteral("home"))) || !QDir().mkpath(runtime) ||
        !QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return false;
    m_keyring = std::make_unique<QProcess>();
    m_keyring->setProcessEnvironment(Environment());
    m_keyring->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_keyring->setStandardOutputFile(QProcess::nullDevice());
    // The password on standard input creates the login keyring and unlocks it.
    m_keyring->start(QStringLiteral("gnome-keyring-daemon"),
                     {QStringLiteral("--foreground"), QStringLiteral("--unlock"),
                      QStringLiteral("--components=secrets")});
    if (!m_keyring->waitForStarted())
        return false;
    m_keyring->write(kKeyringPassword.toUtf8());
    m_keyring->closeWriteChannel();
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(m_address),
                                                        QStringLiteral("keyring-probe"));
    const bool up = QTest::qWaitFor(
        [&bus, this] {
            return m_keyring->state() == QProcess::Running && bus.interface() &&
                   bus.interface()
                       ->isServiceRegistered(QString::fromLatin1(CCredentialStore::kSecretService))
                       .value();
        },
        15000);
    QDBusConnection::disconnectFromBus(QStringLiteral("keyring-probe"));
    return up;
}

void CKeyringSession::Export() const
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address);
    // The keyring library picks KWallet on a KDE desktop: this bus has the Secret Service.
    qunsetenv("XDG_CURRENT_DESKTOP");
    qunsetenv("KDE_FULL_SESSION");
    qunsetenv("DESKTOP_SESSION");
}

QProcessEnvironment CKeyringSession::Environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(m_address));
    env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("runtime")));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

QString CKeyringSession::Lookup(const QString& entry, const QString& service) const
{
    QProcess tool;
    tool.setProcessEnvironment(Environment());
    tool.start(QStringLiteral("secret-tool"), {QStringLiteral("lookup"), QStringLiteral("server"),
                                               service, QStringLiteral("user"), entry});
    if (!tool.waitForFinished(10000) || tool.exitCode() != 0)
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput());
}

bool CKeyringSession::Store(const QString& entry, const QString& password) const
{
    QProcess tool;
    tool.setProcessEnvironment(Environment());
    tool.start(QStringLiteral("secret-tool"),
               {QStringLiteral("store"), QStringLiteral("--label=") + entry,
                QStringLiteral("server"), QString::fromLatin1(CCredentialStore::kKeyringService),
                QStringLiteral("user"), entry, QStringLiteral("type"),
                QStringLiteral("plaintext")});
    if (!tool.waitForStarted())
        return false;
    tool.write(password.toUtf8());
    tool.closeWriteChannel();
    return tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

bool CKeyringSession::Freeze(bool frozen) const
{
    return m_keyring && ::kill(pid_t(m_keyring->processId()), frozen ? SIGSTOP : SIGCONT) == 0;
}
