#pragma once

#include "tools/icmppinger.h"

#include <QStringList>
#include <QWidget>

class QLineEdit;
class QPushButton;
class QTreeWidget;

// The "Ping" page: pings the host typed and lists one line per click, newest on top. The
// pings run on a thread of their own; the button waits for them.
class CPingPage : public QWidget {
    Q_OBJECT

public:
    explicit CPingPage(QWidget* parent = nullptr);
    ~CPingPage() override;

    // How the page's pings open their sockets (tests).
    void SetSocketOpener(CIcmpPinger::SocketOpener opener) { m_opener = std::move(opener); }

    QLineEdit* HostField() const { return m_host; }
    QPushButton* PingButton() const { return m_ping; }
    // The result lines, newest first.
    QStringList Results() const;

Q_SIGNALS:
    void Answered(const QString& line);

private:
    void Ping();
    void Show(const QString& line);

    CIcmpPinger::SocketOpener m_opener = CIcmpPinger::SystemOpener();
    QLineEdit* m_host;
    QPushButton* m_ping;
    QTreeWidget* m_results;
    bool m_busy = false;
};
