#include "mail/pop3client.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QSslConfiguration>
#include <QSslSocket>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

const QString kConnectFailed = QStringLiteral("Server cannot be connected");

bool IsBlankOrTab(char c)
{
    return c == ' ' || c == '\t';
}

// The number at the start of text as strtol reads it (leading white space, a sign, digits;
// 0 without digits), kept within an int.
qint64 NumberAt(const char* text)
{
    const long long value = std::strtoll(text, nullptr, 10);
    return std::clamp<long long>(value, INT_MIN, INT_MAX);
}

} // namespace

CPop3Client::CPop3Client()
    : CPop3Client(Options())
{}

CPop3Client::CPop3Client(Options options)
    : m_options(std::move(options))
    , m_socket(std::make_unique<QSslSocket>())
{
    QSslConfiguration config = m_socket->sslConfiguration();
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (!m_options.authorities.isEmpty())
        config.setCaCertificates(m_options.authorities);
    m_socket->setSslConfiguration(config);
    QObject::connect(m_socket.get(), &QSslSocket::sslErrors,
                     [this](const QList<QSslError>& errors) { OnSslErrors(errors); });
}

CPop3Client::~CPop3Client()
{
    // A session still in order ends politely; a broken one is just closed.
    if (m_greeted && m_usable && m_socket->state() == QAbstractSocket::ConnectedState &&
        Send("QUIT")) {
        QByteArray reply;
        ReadLine(reply, kLineLimit);
    }
    m_socket->abort();
}

bool CPop3Client::Login(const QString& server, quint16 port, const QString& user,
                        const QString& password)
{
    const QByteArray userLine = "USER " + user.toUtf8();
    const QByteArray passLine = "PASS " + password.toUtf8();
    // A line break would end the command early and let the rest pass as a command.
    for (const QByteArray& line : {userLine, passLine}) {
        if (line.contains('\r') || line.contains('\n') || line.contains('\0'))
            return Fail(QStringLiteral("The user name or password holds a line break"),
                        CMailFailure::NoReason);
        if (line.size() + 2 > kLineLimit)
            return Fail(QStringLiteral("The user name or password is too long"),
                        CMailFailure::NoReason);
    }
    if (!Connect(server, port))
        return false;
    // Over TLS the handshake has shown that the server speaks; in clear text a silent
    // server is given up soon: it most likely waits for a TLS handshake.
    const bool clearText = m_options.security != Security::Tls;
    const int greetingMs = clearText
                               ? std::min(m_options.greetingTimeoutMs, m_options.replyTimeoutMs)
                               : m_options.replyTimeoutMs;
    if (!ReadReply(GreetingReply, greetingMs)) {
        if (clearText && m_lastReason == CMailFailure::TimedOut)
            m_lastReason = CMailFailure::NoGreeting;
        return false;
    }
    m_greeted = true;
    if (m_options.security == Security::StartTls && !StartTls(server))
        return false;
    return Send(userLine) && ReadReply(UserReply) && Send(passLine) && ReadReply(PassReply);
}

bool CPop3Client::Stat()
{
    return Send("STAT") && ReadReply(StatReply);
}

bool CPop3Client::Command(const QByteArray& command, ReplyKind kind)
{
    if (command.contains('\r') || command.contains('\n') || command.size() + 2 > kLineLimit)
        return Fail(QStringLiteral("The command is not one line"));
    return Send(command) && ReadReply(kind);
}

bool CPop3Client::IsNegative(const QByteArray& reply)
{
    return reply.left(4).compare("-ERR", Qt::CaseInsensitive) == 0;
}

void CPop3Client::ParseStat(const QByteArray& reply, int& count, qint32& size)
{
    int blanks = 0;
    for (qsizetype i = 0; i < reply.size(); ++i) {
        if (!IsBlankOrTab(reply[i]))
            continue;
        const qint64 value = NumberAt(reply.constData() + i);
        if (++blanks == 1) {
            count = static_cast<int>(value);
        } else {
            size = static_cast<qint32>(value);
            return;
        }
    }
}

QString CPop3Client::ErrorText(ReplyKind kind)
{
    switch (kind) {
    case GreetingReply:
        return QStringLiteral("Bad Connection");
    case UserReply:
        return QStringLiteral("Bad User Name");
    case PassReply:
        return QStringLiteral("Bad Password Name");
    case QuitReply:
        return QStringLiteral("Error occurred during QUIT");
    case DeleReply:
        return QStringLiteral("Error occurred during DELE");
    case RsetReply:
        return QStringLiteral("Error occurred during RSET");
    case StatReply:
        return QStringLiteral("Error occurred during STAT");
    case NoopReply:
        return QStringLiteral("Error occurred during NOOP");
    case ListReply:
        return QStringLiteral("Error occurred during LIST");
    case RetrReply:
        return QStringLiteral("Error occurred during RETR");
    }
    return QString();
}

bool CPop3Client::Connect(const QString& server, quint16 port)
{
    if (m_options.security == Security::Tls) {
        m_socket->connectToHostEncrypted(server, port);
        if (m_socket->waitForEncrypted(m_options.connectTimeoutMs)) {
            m_usable = true;
            return true;
        }
        if (m_socket->state() == QAbstractSocket::ConnectedState || !m_sslErrors.isEmpty())
            return FailTls();
        return Fail(kConnectFailed, CMailFailure::FromSocketError(m_socket->error()));
    }
    m_socket->connectToHost(server, port);
    if (!m_socket->waitForConnected(m_options.connectTimeoutMs))
        return Fail(kConnectFailed, CMailFailure::FromSocketError(m_socket->error()));
    m_usable = true;
    return true;
}

bool CPop3Client::StartTls(const QString& server)
{
    QByteArray reply;
    if (!Send("STLS") || !ReadLine(reply, kLineLimit))
        return false;
    if (IsNegative(reply))
        return Fail(QStringLiteral("The server does not offer STARTTLS"),
                    CMailFailure::StartTlsRefused);
    m_socket->setPeerVerifyName(server);
    m_socket->startClientEncryption();
    if (!m_socket->waitForEncrypted(m_options.connectTimeoutMs)) {
        m_usable = false;
        return FailTls();
    }
    return true;
}

void CPop3Client::OnSslErrors(const QList<QSslError>& errors)
{
    const QSslCertificate peer = m_socket->peerCertificate();
    m_peerSha256 = peer.isNull() ? QByteArray() : peer.digest(QCryptographicHash::Sha256);
    m_sslErrors = errors;
    if (m_options.pinnedSha256.isEmpty() || m_peerSha256 != m_options.pinnedSha256)
        return;
    // Only what is wrong with the pinned certificate (and the chain it came with) is let
    // pass, nothing else.
    const QList<QSslCertificate> chain = m_socket->peerCertificateChain();
    for (const QSslError& error : errors) {
        if (!error.certificate().isNull() && error.certificate() != peer &&
            !chain.contains(error.certificate()))
            return;
    }
    m_socket->ignoreSslErrors(errors);
    m_sslErrors.clear();
}

bool CPop3Client::FailTls()
{
    const QString text = QStringLiteral("The secure connection failed: ") + m_socket->errorString();
    if (!m_sslErrors.isEmpty()) {
        m_refusedSha256 = m_peerSha256;
        return Fail(text, CMailFailure::FromSslErrors(m_sslErrors));
    }
    if (m_socket->state() == QAbstractSocket::ConnectedState &&
        m_socket->error() != QAbstractSocket::SslHandshakeFailedError)
        return Fail(text, CMailFailure::TimedOut);
    return Fail(text, m_socket->error() == QAbstractSocket::SslHandshakeFailedError
                          ? CMailFailure::BadAnswer
                          : CMailFailure::FromSocketError(m_socket->error()));
}

bool CPop3Client::Send(const QByteArray& line)
{
    if (!m_usable)
        return false;
    // Nothing but STLS goes out in clear text when the session is to be protected.
    if (m_options.security != Security::None && !m_socket->isEncrypted() && line != "STLS")
        return Fail(QStringLiteral("The connection is not secure"), CMailFailure::NoReason);
    m_socket->write(line + "\r\n");
    // A lost connection shows up in the reply.
    m_socket->waitForBytesWritten(m_options.replyTimeoutMs);
    return true;
}

bool CPop3Client::ReadReply(ReplyKind kind, int timeoutMs)
{
    QByteArray reply;
    if (!ReadLine(reply, kLineLimit, timeoutMs))
        return false;
    if (IsNegative(reply))
        return Fail(ErrorText(kind), kind == UserReply || kind == PassReply
                                         ? CMailFailure::LoginRefused
                                         : CMailFailure::BadAnswer);
    switch (kind) {
    case StatReply:
        ParseStat(reply, m_messageCount, m_totalSize);
        break;
    case ListReply: {
        QByteArray text;
        if (!ReadMultiLine(text))
            return false;
        for (const QByteArray& line : text.split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 2)
                m_messageSizes.append(fields.at(1).toUInt());
        }
        break;
    }
    case RetrReply:
        if (!ReadMultiLine(m_messageText))
            return false;
        break;
    default:
        break;
    }
    return true;
}

bool CPop3Client::ReadLine(QByteArray& line, int limit, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_socket->canReadLine()) {
        if (m_socket->bytesAvailable() >= limit) {
            m_usable = false;
            return Fail(QStringLiteral("The server's reply is too long"));
        }
        if (m_socket->state() != QAbstractSocket::ConnectedState) {
            m_usable = false;
            return Fail(QStringLiteral("The server closed the connection"),
                        CMailFailure::ConnectionBroken);
        }
        if (deadline.hasExpired() || !m_socket->waitForReadyRead(int(deadline.remainingTime()))) {
            if (m_socket->canReadLine())
                break;
            m_usable = false;
            if (m_socket->error() == QAbstractSocket::SocketTimeoutError || deadline.hasExpired())
                return Fail(QStringLiteral("The server did not answer in time"),
                            CMailFailure::TimedOut);
            return Fail(QStringLiteral("The server closed the connection"),
                        CMailFailure::ConnectionBroken);
        }
    }
    line = m_socket->readLine(limit + 1);
    if (!line.endsWith('\n')) {
        m_usable = false;
        return Fail(QStringLiteral("The server's reply is too long"));
    }
    return true;
}

bool CPop3Client::ReadMultiLine(QByteArray& text)
{
    text.clear();
    QByteArray line;
    while (ReadLine(line, kLineLimit * 2)) {
        if (line == ".\r\n" || line == ".\n")
            return true;
        // A leading dot of a line of text is doubled on the wire.
        text += line.startsWith("..") ? line.mid(1) : line;
        if (text.size() > kMultiLineLimit) {
            m_usable = false;
            return Fail(QStringLiteral("The server's answer is too long"));
        }
    }
    return false;
}

bool CPop3Client::Fail(const QString& text, CMailFailure::Reason reason)
{
    m_lastError = text;
    m_lastReason = reason;
    return false;
}
