#pragma once

#include <QObject>
#include <QString>

class CSettingsStore;

// The automatic upgrade check, once per connection: asks the update server on a worker
// thread and shows the server's text in a box only when it has something to say. "OK" and
// no answer at all show nothing.
class CUpgradeNotifier : public QObject {
    Q_OBJECT

public:
    explicit CUpgradeNotifier(CSettingsStore& store, QObject* parent = nullptr);

    // Time-outs of the exchanges started from now on (see CUpdateQuery).
    void SetTimeouts(int connectMs, int replyMs);

    // Starts a check unless the user switched the notification off; false then.
    bool Start();

Q_SIGNALS:
    // A check has ended and its box, if any, was shown.
    void Checked(const QString& reply);

private:
    void OnReply(const QString& reply);

    CSettingsStore& m_store;
    int m_connectTimeoutMs;
    int m_replyTimeoutMs;
};
