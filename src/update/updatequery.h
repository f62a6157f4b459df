#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

class CSettingsStore;
class QObject;

// One question to the update server: a fixed 100-byte request, one text reply.
//
// The exchange opens a TCP connection, sends "date|time|version|keyword" zero padded to
// exactly 100 bytes, receives once (at most 1000 bytes) and closes. The reply is read from a
// 1000-byte buffer preset with NoAnswerText(), so no reply at all reads as that text, and a
// short reply without its own zero byte keeps the rest of the preset text after it.
class CUpdateQuery {
public:
    // What a reply means to the checks.
    enum class Meaning { NothingNew, NoAnswer, Notice };

    // The question the checks ask (spelled so: the server knows it this way).
    static constexpr const char* kUpgradeKeyword = "IsUpgradeAvaible?";
    // The version sent in every request: the program's own.
    static constexpr const char* kVersion = ORVALIS_VERSION;
    static constexpr int kRequestSize = 100;
    static constexpr int kReplyBufferSize = 1000;
    static constexpr int kDefaultConnectTimeoutMs = 20000;
    static constexpr int kDefaultReplyTimeoutMs = 20000;

    CUpdateQuery(QString host, quint16 port);
    // The server named by the settings.
    static CUpdateQuery FromSettings(const CSettingsStore& store);

    const QString& Host() const { return m_host; }
    quint16 Port() const { return m_port; }
    // How long the connection (with the name lookup) and the reply may take; past either,
    // the reply is NoAnswerText().
    void SetTimeouts(int connectMs, int replyMs);

    // The exchange. Blocks for up to both time-outs: call it on a worker thread only.
    QString QueryUpdateServer(const QString& keyword) const;

    // Runs QueryUpdateServer(kUpgradeKeyword) on a worker thread of its own and hands the
    // reply to onReply on the receiver's thread. When the receiver is gone by then, the
    // reply is dropped; the worker always ends on its own.
    void Start(QObject* receiver, std::function<void(const QString&)> onReply) const;
    // Workers started by Start that have not ended yet.
    static int WorkersRunning();

    // The request block for the local time now: exactly kRequestSize bytes.
    static QByteArray BuildRequest(const QDateTime& now, const QString& keyword);
    // The reply text left in the preset buffer after receiving these bytes (at most the
    // first kReplyBufferSize of them).
    static QString ReplyText(const QByteArray& received);
    static QString NoAnswerText();
    static Meaning MeaningOf(const QString& reply);

private:
    QString m_host;
    quint16 m_port;
    int m_connectTimeoutMs = kDefaultConnectTimeoutMs;
    int m_replyTimeoutMs = kDefaultReplyTimeoutMs;
};
