#include "monitor/linkevents.h"

#include <QTest>

#include <linux/netlink.h>
#include <linux/rtnetlink.h>

#include <net/if.h>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// One netlink message as the kernel sends it: header, interface info, the name attribute.
QByteArray Message(quint16 type, int index, unsigned flags, const QByteArray& name = {})
{
    QByteArray body(sizeof(ifinfomsg), '\0');
    ifinfomsg info{};
    info.ifi_index = index;
    info.ifi_flags = flags;
    std::memcpy(body.data(), &info, sizeof info);
    if (!name.isEmpty()) {
        rtattr attribute{};
        attribute.rta_type = IFLA_IFNAME;
        attribute.rta_len = RTA_LENGTH(name.size() + 1);
        QByteArray raw(RTA_SPACE(name.size() + 1), '\0');
        std::memcpy(raw.data(), &attribute, sizeof attribute);
        std::memcpy(raw.data() + RTA_LENGTH(0), name.constData(), name.size());
        body += raw;
    }
    nlmsghdr header{};
    header.nlmsg_type = type;
    header.nlmsg_len = NLMSG_LENGTH(body.size());
    QByteArray out(NLMSG_HDRLEN, '\0');
    std::memcpy(out.data(), &header, sizeof header);
    return out + body;
}

} // namespace

class TestLinkEvents : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        using Change = CLinkEvents::Change;
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QList<Change>>("changes");
        const QByteArray up = Message(RTM_NEWLINK, 7, IFF_UP | IFF_RUNNING, "ppp0");
        const QByteArray gone = Message(RTM_DELLINK, 7, 0, "ppp0");
        QTest::newRow("link up") << up
                                 << QList<Change>{{false, 7, IFF_UP | IFF_RUNNING, u"ppp0"_s}};
        QTest::newRow("two in one read, one removed")
            << up + gone
            << QList<Change>{{false, 7, IFF_UP | IFF_RUNNING, u"ppp0"_s}, {true, 7, 0, u"ppp0"_s}};
        QTest::newRow("without a name")
            << Message(RTM_NEWLINK, 3, 0) << QList<Change>{{false, 3, 0, {}}};
        QTest::newRow("an address is no link") << Message(RTM_NEWADDR, 7, 0) << QList<Change>();
        QTest::newRow("cut short") << up.left(up.size() - 1) << QList<Change>();
        QTest::newRow("nothing") << QByteArray() << QList<Change>();
    }
    void parse()
    {
        QFETCH(QByteArray, data);
        QFETCH(QList<CLinkEvents::Change>, changes);
        QCOMPARE(CLinkEvents::Parse(data.constData(), data.size()), changes);
    }
};

QTEST_GUILESS_MAIN(TestLinkEvents)
#include "tst_linkevents.moc"
