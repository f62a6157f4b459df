#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The kernel's link events: a network interface added, removed, or changed (up, down,
// carrier), heard on a netlink socket (NETLINK_ROUTE, the link group) with a socket notifier,
// so nothing wakes between events. Lives on the user-interface thread.
class CLinkEvents : public QObject {
    Q_OBJECT
public:
    // One link message of the kernel.
    struct Change {
        bool removed = false; // RTM_DELLINK; otherwise RTM_NEWLINK (added or changed)
        int index = 0;
        unsigned flags = 0; // IFF_UP, IFF_RUNNING, ...
        QString name;
        bool operator==(const Change&) const = default;
    };

    // The link messages in what one read of the socket gave; anything else, and whatever
    // is cut short, is left out.
    static QList<Change> Parse(const char* data, qsizetype size);

    explicit CLinkEvents(QObject* parent = nullptr);
    ~CLinkEvents() override;

    // Opens the socket; false when the kernel does not let the program listen.
    bool Open();

Q_SIGNALS:
    // One read brought at least one link message.
    void Changed();

private:
    void Read();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr; // a child
};
