#include "support/dovecotserver.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <tuple>

#include <csignal>

#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The user the mailboxes belong to: dovecot gives no mail to root.
constexpr uid_t kNobody = 65534;

// Two ports nobody listens on; both probes are open at once, so they differ.
std::pair<quint16, quint16> FreePorts()
{
    QTcpServer first;
    QTcpServer second;
    if (!first.listen(QHostAddress::LocalHost, 0) || !second.listen(QHostAddress::LocalHost, 0))
        return {0, 0};
    return {first.serverPort(), second.serverPort()};
}

bool WriteFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

bool Accepting(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(500);
}

} // namespace

CDovecotServer::CDovecotServer()
{
    // Dovecot's own users (dovenull, dovecot) must reach their sockets in here.
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
}

CDovecotServer::~CDovecotServer()
{
    if (m_dovecot && m_dovecot->state() != QProcess::NotRunning) {
        m_dovecot->terminate();
        if (!m_dovecot->waitForFinished(10000))
            m_dovecot->kill();
        m_dovecot->waitForFinished(5000);
    }
}

QString CDovecotServer::Missing()
{
    if (::geteuid() != 0)
        return QStringLiteral("the dovecot tests run as root");
    for (const QString& tool : {QStringLiteral("dovecot"), QStringLiteral("openssl")}) {
        if (QStandardPaths::findExecutable(
                tool, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")})
                .isEmpty())
            return tool + QStringLiteral(" is missing (scripts/install-deps.sh installs it)");
    }
    return QString();
}

bool CDovecotServer::AddUser(const QString& user, const QString& password, int messages)
{
    const QString home = m_dir.filePath(QStringLiteral("home-") + user);
    const QString maildir = home + QStringLiteral("/Maildir");
    for (const char* sub : {"/new", "/cur", "/tmp"}) {
        if (!QDir().mkpath(maildir + QLatin1String(sub)))
            return false;
    }
    for (int i = 0; i < messages; ++i) {
        const QByteArray text = "From: sender@example.org\r\nSubject: note " +
                                QByteArray::number(i) + "\r\n\r\nHello.\r\n";
        if (!WriteFile(maildir + QStringLiteral("/new/%1.orvalis").arg(i), text))
            return false;
    }
    const QStringList owned = {home, maildir, maildir + QStringLiteral("/new"),
                               maildir + QStringLiteral("/cur"), maildir + QStringLiteral("/tmp")};
    for (const QString& path : owned) {
        if (::chown(QFile::encodeName(path).constData(), kNobody, kNobody) != 0)
            return false;
    }
    m_users +=
        QStringLiteral("%1:{PLAIN}%2:%3:%3::%4\n").arg(user, password).arg(kNobody).arg(home);
    return true;
}

bool CDovecotServer::Start(const QString& certificateHost)
{
    std::tie(m_port, m_tlsPort) = FreePorts();
    const bool tls = !certificateHost.isEmpty();
    if (tls && !MakeCertificate(certificateHost))
        return false;
    QFile templ(QStringLiteral(ORVALIS_TEST_SUPPORT_DIR "/dovecot.conf.in"));
    if (!templ.open(QIODevice::ReadOnly))
        return false;
    QByteArray config = templ.readAll();
    config.replace("@DIR@", QFile::encodeName(m_dir.path()))
        .replace("@TLSPORT@", QByteArray::number(m_tlsPort))
        .replace("@PORT@", QByteArray::number(m_port))
        .replace("@SSL@", tls ? "yes" : "no")
        .replace("@SSLFILES@",
                 tls ? "ssl_cert = <" + QFile::encodeName(m_dir.filePath("server.crt")) +
                           "\nssl_key = <" + QFile::encodeName(m_dir.filePath("server.key"))
                     : QByteArray());
    const QString configPath = m_dir.filePath(QStringLiteral("dovecot.conf"));
    if (!WriteFile(configPath, config) || !WriteFile(m_dir.filePath("users"), m_users.toUtf8()))
        return false;
    QDir(m_dir.path()).mkpath(QStringLiteral("run"));
    QDir(m_dir.path()).mkpath(QStringLiteral("state"));

    m_dovecot = std::make_unique<QProcess>();
    m_dovecot->setProcessChannelMode(QProcess::MergedChannels);
    // A test that dies (a crash, a sanitizer's abort) takes its server along.
    m_dovecot->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_dovecot->start(QStringLiteral("dovecot"),
                     {QStringLiteral("-F"), QStringLiteral("-c"), configPath});
    if (!m_dovecot->waitForStarted(10000))
        return false;
    return QTest::qWaitFor(
        [this] { return m_dovecot->state() == QProcess::Running && Accepting(m_port); }, 20000);
}

QList<QSslCertificate> CDovecotServer::Authority() const
{
    return QSslCertificate::fromPath(m_dir.filePath(QStringLiteral("ca.crt")));
}

QSslCertificate CDovecotServer::Certificate() const
{
    const QList<QSslCertificate> found =
        QSslCertificate::fromPath(m_dir.filePath(QStringLiteral("server.crt")));
    return found.isEmpty() ? QSslCertificate() : found.first();
}

QString CDovecotServer::Log() const
{
    QFile file(m_dir.filePath(QStringLiteral("dovecot.log")));
    QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    if (m_dovecot)
        text += QString::fromUtf8(m_dovecot->readAll());
    return text;
}

bool CDovecotServer::MakeCertificate(const QString& host)
{
    const QString dir = m_dir.path() + QLatin1Char('/');
    const QStringList key = {
        QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
        QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
    const char* kind = QHostAddress(host).isNull() ? "DNS:" : "IP:";
    if (!WriteFile(dir + "server.ext", "subjectAltName=" + QByteArray(kind) + host.toUtf8() + "\n"))
        return false;
    return Run(QStringLiteral("openssl"),
               QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + key +
                   QStringList{QStringLiteral("-keyout"), dir + "ca.key", QStringLiteral("-out"),
                               dir + "ca.crt", QStringLiteral("-days"), QStringLiteral("2"),
                               QStringLiteral("-subj"),
                               QStringLiteral("/CN=Orvalis test authority")}) &&
           Run(QStringLiteral("openssl"),
               QStringList{QStringLiteral("req")} + key +
                   QStringList{QStringLiteral("-keyout"), dir + "server.key",
                               QStringLiteral("-out"), dir + "server.csr", QStringLiteral("-subj"),
                               QStringLiteral("/CN=") + host}) &&
           Run(QStringLiteral("openssl"),
               {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                dir + "server.csr", QStringLiteral("-CA"), dir + "ca.crt", QStringLiteral("-CAkey"),
                dir + "ca.key", QStringLiteral("-CAcreateserial"), QStringLiteral("-days"),
                QStringLiteral("2"), QStringLiteral("-extfile"), dir + "server.ext",
                QStringLiteral("-out"), dir + "server.crt"});
}

bool CDovecotServer::Run(const QString& program, const QStringList& arguments) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAll().constData());
        return false;
    }
    return true;
}
