#include "update/updatequery.h"

#include "common/clock.h"
#include "common/settingsstore.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTcpSocket>
#include <QThread>

#include <atomic>
#include <cstring>
#include <memory>

namespace {
// What the reply buffer holds before anything is received.
constexpr char kNoAnswer[] = "Error - can't connect to the server !!!";

std::atomic<int> g_workers{0};
} // namespace

CUpdateQuery::CUpdateQuery(QString host, quint16 port)
    : m_host(std::move(host))
    , m_port(port)
{}

CUpdateQuery CUpdateQuery::FromSettings(const CSettingsStore& store)
{
    QString host = store.Read(Keys::UpdateServer).trimmed();
    if (host.isEmpty())
        host = QString::fromLatin1(Keys::UpdateServer.defaultValue);
    int port = store.Read(Keys::UpdatePort);
    if (port <= 0 || port > 65535)
        port = Keys::UpdatePort.defaultValue;
    return CUpdateQuery(host, static_cast<quint16>(port));
}

void CUpdateQuery::SetTimeouts(int connectMs, int replyMs)
{
    m_connectTimeoutMs = connectMs;
    m_replyTimeoutMs = replyMs;
}

QString CUpdateQuery::QueryUpdateServer(const QString& keyword) const
{
    QTcpSocket socket;
    socket.connectToHost(m_host, m_port);
    if (!socket.waitForConnected(m_connectTimeoutMs))
        return NoAnswerText();

    const QDeadlineTimer deadline(m_replyTimeoutMs);
    socket.write(BuildRequest(CClock::Now(), keyword));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return NoAnswerText();
    }
    // One receive: whatever the first arrival brings, up to the buffer's size.
    QByteArray received;
    if (socket.bytesAvailable() > 0 ||
        socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
        received = socket.read(kReplyBufferSize);
    socket.abort();
    return ReplyText(received);
}

void CUpdateQuery::Start(QObject* receiver, std::function<void(const QString&)> onReply) const
{
    auto reply = std::make_shared<QString>();
    QThread* worker = QThread::create([query = *this, reply] {
        *reply = query.QueryUpdateServer(QString::fromLatin1(kUpgradeKeyword));
    });
    ++g_workers;
    QObject::connect(worker, &QObject::destroyed, [] { --g_workers; });
    QObject::connect(
        worker, &QThread::finished, receiver,
        [reply, onReply = std::move(onReply)] { onReply(*reply); }, Qt::QueuedConnection);
    QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

int CUpdateQuery::WorkersRunning()
{
    return g_workers.load();
}

QByteArray CUpdateQuery::BuildRequest(const QDateTime& now, const QString& keyword)
{
    const QString text = now.toString(QStringLiteral("dd-MM-yyyy|HH:mm:ss|")) +
                         QLatin1String(kVersion) + QLatin1Char('|') + keyword;
    QByteArray block = text.toUtf8().left(kRequestSize);
    block.append(kRequestSize - block.size(), '\0');
    return block;
}

QString CUpdateQuery::ReplyText(const QByteArray& received)
{
    QByteArray buffer(kReplyBufferSize, '\0');
    std::memcpy(buffer.data(), kNoAnswer, sizeof kNoAnswer);
    const qsizetype count = std::min<qsizetype>(received.size(), kReplyBufferSize);
    if (count > 0)
        std::memcpy(buffer.data(), received.constData(), static_cast<size_t>(count));
    // The text ends at the first zero byte, and at the latest one byte before the end.
    const qsizetype end = buffer.indexOf('\0');
    const qsizetype length =
        end < 0 ? kReplyBufferSize - 1 : std::min<qsizetype>(end, kReplyBufferSize - 1);
    return QString::fromUtf8(buffer.constData(), length);
}

QString CUpdateQuery::NoAnswerText()
{
    return QString::fromLatin1(kNoAnswer);
}

CUpdateQuery::Meaning CUpdateQuery::MeaningOf(const QString& reply)
{
    if (reply == QLatin1String("OK"))
        return Meaning::NothingNew;
    if (reply == NoAnswerText())
        return Meaning::NoAnswer;
    return Meaning::Notice;
}
