#include "dbus/busconnectcheck.h"
#include "dbus/busfields.h"
#include "dbus/busproperties.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The rules of the session-bus interface: when a Connect is refused and with which error,
// which properties count as changed, and the fields of a logged record.
class TestBusRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void connectCheck_data();
    void connectCheck();
    void changedProperties_data();
    void changedProperties();
    void dueProperties_data();
    void dueProperties();
    void recordFields();
};

void TestBusRules::connectCheck_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("defaultEntry");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("dialing");
    QTest::addColumn<bool>("mayDial");
    QTest::addColumn<QString>("error"); // empty: dials
    QTest::newRow("default") << u""_s << u"Home"_s << false << false << true << u""_s;
    QTest::newRow("named default") << u"Home"_s << u"Home"_s << false << false << true << u""_s;
    QTest::newRow("unknown, even while connected")
        << u"Nope"_s << u"Home"_s << true << false << true << u"UnknownEntry"_s;
    QTest::newRow("connected") << u""_s << u"Home"_s << true << false << true
                               << u"AlreadyConnected"_s;
    QTest::newRow("dialing") << u"Home"_s << u"Home"_s << false << true << true << u"Busy"_s;
    QTest::newRow("no default") << u""_s << u""_s << false << false << true << u"UnknownEntry"_s;
    QTest::newRow("another entry")
        << u"Work"_s << u"Home"_s << false << false << true << u"NotDefaultEntry"_s;
    QTest::newRow("allowance used up")
        << u""_s << u"Home"_s << false << false << false << u"AllowanceUsedUp"_s;
}

void TestBusRules::connectCheck()
{
    QFETCH(QString, entry);
    QFETCH(QString, defaultEntry);
    QFETCH(bool, connected);
    QFETCH(bool, dialing);
    QFETCH(bool, mayDial);
    QFETCH(QString, error);
    const CBusConnectCheck::Situation situation{
        {u"Home"_s, u"Work"_s}, defaultEntry, connected, dialing, mayDial};
    const CBusConnectCheck::Refusal refusal = CBusConnectCheck::Check(entry, situation);
    QCOMPARE(refusal.error, error.isEmpty() ? QString() : u"org.orvalis.Orvalis1.Error."_s + error);
    QCOMPARE(refusal.message.isEmpty(), error.isEmpty());
}

void TestBusRules::changedProperties_data()
{
    QTest::addColumn<CBusProperties>("after");
    QTest::addColumn<QVariantMap>("changed");
    const CBusProperties idle;
    CBusProperties up = idle;
    up.connected = true;
    up.entry = u"Home"_s;
    CBusProperties second = up;
    second.seconds = 1;
    second.received = 48;
    CBusProperties mail = idle;
    mail.mailCount = 2;
    mail.usagePercent = 12.5;
    QTest::newRow("nothing") << idle << QVariantMap();
    QTest::newRow("call up") << up << QVariantMap{{u"Connected"_s, true}, {u"Entry"_s, u"Home"_s}};
    QTest::newRow("a second on, as unsigned")
        << second
        << QVariantMap{{u"Connected"_s, true},
                       {u"Entry"_s, u"Home"_s},
                       {u"Seconds"_s, QVariant::fromValue(qulonglong(1))},
                       {u"BytesReceived"_s, QVariant::fromValue(qulonglong(48))}};
    QTest::newRow("mail and usage")
        << mail << QVariantMap{{u"MailCount"_s, 2}, {u"UsagePercent"_s, 12.5}};
}

void TestBusRules::changedProperties()
{
    QFETCH(CBusProperties, after);
    QFETCH(QVariantMap, changed);
    const QVariantMap got = after.ChangedSince(CBusProperties());
    QCOMPARE(got, changed);
    for (auto it = got.begin(); it != got.end(); ++it)
        QCOMPARE(it.value().metaType(), changed.value(it.key()).metaType());
}

void TestBusRules::dueProperties_data()
{
    QTest::addColumn<CBusProperties>("sent");
    QTest::addColumn<CBusProperties>("now");
    QTest::addColumn<QStringList>("due"); // the names that go out
    CBusProperties up;
    up.connected = true;
    up.entry = u"Home"_s;
    const auto at = [](CBusProperties properties, qint64 seconds, qint64 received) {
        properties.seconds = seconds;
        properties.received = received;
        return properties;
    };
    CBusProperties mail = at(up, 14, 900);
    mail.mailCount = 1;
    const QStringList counts{u"BytesReceived"_s, u"Seconds"_s};
    QTest::newRow("a call's first second") << up << at(up, 1, 40) << counts;
    QTest::newRow("counts alone wait") << at(up, 1, 40) << at(up, 10, 800) << QStringList();
    QTest::newRow("counts after the period") << at(up, 1, 40) << at(up, 11, 800) << counts;
    QTest::newRow("counts go along with a mail count")
        << at(up, 11, 800) << mail << QStringList{u"BytesReceived"_s, u"MailCount"_s, u"Seconds"_s};
    QTest::newRow("call end at once")
        << at(up, 11, 800) << CBusProperties()
        << QStringList{u"BytesReceived"_s, u"Connected"_s, u"Entry"_s, u"Seconds"_s};
    QTest::newRow("nothing changed") << at(up, 11, 800) << at(up, 11, 800) << QStringList();
}

void TestBusRules::dueProperties()
{
    QFETCH(CBusProperties, sent);
    QFETCH(CBusProperties, now);
    QFETCH(QStringList, due);
    QCOMPARE(now.DueSince(sent).keys(), due);
}

void TestBusRules::recordFields()
{
    const QString line = u"07-12-2026|23:59:58|08-12-2026|00:00:03|ann|ppp0|Home|790|3952|"_s;
    const QVariantMap fields = CBusFields::Record(line);
    QCOMPARE(fields.value(u"start"_s), u"2026-12-07T23:59:58"_s);
    QCOMPARE(fields.value(u"end"_s), u"2026-12-08T00:00:03"_s);
    QCOMPARE(fields.value(u"user"_s), u"ann"_s);
    QCOMPARE(fields.value(u"device"_s), u"ppp0"_s);
    QCOMPARE(fields.value(u"entry"_s), u"Home"_s);
    QCOMPARE(fields.value(u"sent"_s), qlonglong(790));
    QCOMPARE(fields.value(u"received"_s), qlonglong(3952));
    QCOMPARE(fields.value(u"line"_s), line);
}

QTEST_GUILESS_MAIN(TestBusRules)
#include "tst_busrules.moc"
