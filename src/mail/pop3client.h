#pragma once

#include "mail/mailfailure.h"

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QString>

#include <memory>

class QSslSocket;

// A minimal POP3 client that answers one question: how many messages wait in a mailbox.
// It connects, logs in with USER and PASS, asks STAT and reads the count and total size.
// Every call blocks its thread (with time-outs), so the client lives on a worker thread
// and is used by that thread alone. Destruction ends the session with QUIT.
//
// A reply is negative when it begins with "-ERR" (in any case), positive otherwise. The
// text of the last failure stays for the caller, with its reason in the words of
// CMailFailure.
class CPop3Client {
public:
    enum class Security { None = 0, StartTls = 1, Tls = 2 };

    // What each reply answers; a negative reply leaves the kind's error text.
    enum ReplyKind {
        GreetingReply,
        UserReply,
        PassReply,
        QuitReply,
        DeleReply,
        RsetReply,
        StatReply,
        NoopReply,
        ListReply,
        RetrReply
    };

    static constexpr quint16 kPlainPort = 110;
    static constexpr quint16 kTlsPort = 995;
    // A dial-up line can be slow to set up a connection and slower still to answer.
    static constexpr int kConnectTimeoutMs = 30000;
    static constexpr int kReplyTimeoutMs = 60000;
    // A server greets as soon as the connection stands; one that stays silent most likely
    // waits for a TLS handshake, so the wait is short.
    static constexpr int kGreetingTimeoutMs = 5000;
    // The longest status line (and command line) the client deals with, line end included.
    static constexpr int kLineLimit = 512;
    // The longest multi-line answer (LIST, RETR) the client reads.
    static constexpr int kMultiLineLimit = 64 * 1024;

    struct Options {
        Security security = Security::None;
        int connectTimeoutMs = kConnectTimeoutMs;
        int replyTimeoutMs = kReplyTimeoutMs;
        // The wait for the greeting on a connection that starts in clear text.
        int greetingTimeoutMs = kGreetingTimeoutMs;
        // Authorities trusted for the server's certificate; empty: the system's.
        QList<QSslCertificate> authorities;
        // The SHA-256 digest of a certificate the user trusts for this server although the
        // system does not: exactly that certificate is accepted. Empty: none.
        QByteArray pinnedSha256;
    };

    CPop3Client();
    explicit CPop3Client(Options options);
    ~CPop3Client();
    CPop3Client(const CPop3Client&) = delete;
    CPop3Client& operator=(const CPop3Client&) = delete;

    // Connects to server:port (with TLS as the options say) and logs in.
    bool Login(const QString& server, quint16 port, const QString& user, const QString& password);
    // Asks for the message count and total size.
    bool Stat();
    // Sends a command line (without its line end) and reads the reply of the kind.
    bool Command(const QByteArray& command, ReplyKind kind);

    int GetMessageCount() const { return m_messageCount; }
    qint32 TotalSize() const { return m_totalSize; }
    QString LastError() const { return m_lastError; }
    CMailFailure::Reason LastReason() const { return m_lastReason; }
    // The SHA-256 digest of the server's certificate when it was refused; else empty.
    QByteArray RefusedCertificateSha256() const { return m_refusedSha256; }
    const QList<quint32>& MessageSizes() const { return m_messageSizes; }
    QByteArray MessageText() const { return m_messageText; }

    // True when the reply begins with "-ERR", in any case.
    static bool IsNegative(const QByteArray& reply);
    // The count and size of a STAT answer: each is read after a blank or tab, the count
    // after the first, the size after the second. Missing values keep what they were.
    static void ParseStat(const QByteArray& reply, int& count, qint32& size);
    // The error text of a negative reply of the kind.
    static QString ErrorText(ReplyKind kind);

private:
    bool Connect(const QString& server, quint16 port);
    bool StartTls(const QString& server);
    bool Send(const QByteArray& line);
    bool ReadReply(ReplyKind kind, int timeoutMs);
    bool ReadReply(ReplyKind kind) { return ReadReply(kind, m_options.replyTimeoutMs); }
    // One line up to its line end; false (with the reason left) on time-out, a closed
    // connection or a line longer than the limit.
    bool ReadLine(QByteArray& line, int limit, int timeoutMs);
    bool ReadLine(QByteArray& line, int limit)
    {
        return ReadLine(line, limit, m_options.replyTimeoutMs);
    }
    // Accepts the handshake's certificate errors when the certificate is the pinned one.
    void OnSslErrors(const QList<QSslError>& errors);
    // Why the TLS handshake failed.
    bool FailTls();
    // The lines of a multi-line answer up to the one holding ".".
    bool ReadMultiLine(QByteArray& text);
    bool Fail(const QString& text, CMailFailure::Reason reason = CMailFailure::BadAnswer);

    Options m_options;
    std::unique_ptr<QSslSocket> m_socket;
    // False until connected and after the session broke (time-out, closed, TLS failed).
    bool m_usable = false;
    // A server that refused at once gets no QUIT either.
    bool m_greeted = false;
    QList<quint32> m_messageSizes;
    QString m_lastError;
    CMailFailure::Reason m_lastReason = CMailFailure::NoReason;
    // The certificate errors of the last handshake, unless they were accepted.
    QList<QSslError> m_sslErrors;
    QByteArray m_peerSha256;
    QByteArray m_refusedSha256;
    QByteArray m_messageText;
    qint32 m_totalSize = 0;
    int m_messageCount = 0;
};
