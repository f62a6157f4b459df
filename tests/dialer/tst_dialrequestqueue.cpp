#include "dialer/dialrequestqueue.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Window = CDialRequestQueue::Window;
using Request = CDialRequestQueue::Request;
using Answer = CDialRequestQueue::Answer;

namespace {
Window WindowNamed(const QString& name)
{
    static const QHash<QString, Window> windows{{u"None"_s, Window::None},
                                                {u"MailRunning"_s, Window::MailCheckRunning},
                                                {u"MailDone"_s, Window::MailCheckDone},
                                                {u"UpgradeRunning"_s, Window::UpgradeCheckRunning},
                                                {u"UpgradeDone"_s, Window::UpgradeCheckDone},
                                                {u"DialRunning"_s, Window::DialRunning},
                                                {u"DialDone"_s, Window::DialDone},
                                                {u"Credentials"_s, Window::Credentials}};
    return windows.value(name);
}

Request RequestNamed(const QString& name)
{
    static const QHash<QString, Request> requests{{u"ProgramDial"_s, Request::ProgramDial},
                                                  {u"HandDial"_s, Request::HandDial},
                                                  {u"MailCheck"_s, Request::MailCheck},
                                                  {u"UpgradeCheck"_s, Request::UpgradeCheck}};
    return requests.value(name);
}
} // namespace

class TestDialRequestQueue : public QObject {
    Q_OBJECT

private slots:
    void decide_data();
    void decide();
    void waiting_data();
    void waiting();
};

void TestDialRequestQueue::decide_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("request");
    QTest::addColumn<Answer>("answer");

    const auto row = [](const char* open, const char* request, Answer answer) {
        QTest::addRow("%s, %s", open, request)
            << QString::fromLatin1(open) << QString::fromLatin1(request) << answer;
    };
    // Nothing open: everything starts.
    row("None", "ProgramDial", Answer::Start);
    row("None", "HandDial", Answer::Start);
    row("None", "MailCheck", Answer::Start);
    row("None", "UpgradeCheck", Answer::Start);
    // The program's own dial: a finished result gives way, a dial under way takes it in,
    // a check under way makes it wait.
    row("MailDone", "ProgramDial", Answer::Replace);
    row("UpgradeDone", "ProgramDial", Answer::Replace);
    row("DialDone", "ProgramDial", Answer::Replace);
    row("DialRunning", "ProgramDial", Answer::Absorb);
    row("Credentials", "ProgramDial", Answer::Absorb);
    row("MailRunning", "ProgramDial", Answer::Wait);
    row("UpgradeRunning", "ProgramDial", Answer::Wait);
    // By hand: a finished result gives way; anything else comes to the front.
    row("MailDone", "HandDial", Answer::Replace);
    row("UpgradeDone", "HandDial", Answer::Replace);
    row("DialDone", "HandDial", Answer::Replace);
    row("DialRunning", "HandDial", Answer::Absorb);
    row("Credentials", "HandDial", Answer::Absorb);
    row("MailRunning", "HandDial", Answer::Absorb);
    row("UpgradeRunning", "HandDial", Answer::Absorb);
    // A check: its own kind comes to the front, even finished.
    row("MailRunning", "MailCheck", Answer::Absorb);
    row("MailDone", "MailCheck", Answer::Absorb);
    row("UpgradeRunning", "UpgradeCheck", Answer::Absorb);
    row("UpgradeDone", "UpgradeCheck", Answer::Absorb);
    // ... another finished result gives way ...
    row("UpgradeDone", "MailCheck", Answer::Replace);
    row("DialDone", "MailCheck", Answer::Replace);
    row("MailDone", "UpgradeCheck", Answer::Replace);
    row("DialDone", "UpgradeCheck", Answer::Replace);
    // ... and a dial or the other check under way makes it wait.
    row("DialRunning", "MailCheck", Answer::Wait);
    row("Credentials", "MailCheck", Answer::Wait);
    row("UpgradeRunning", "MailCheck", Answer::Wait);
    row("DialRunning", "UpgradeCheck", Answer::Wait);
    row("Credentials", "UpgradeCheck", Answer::Wait);
    row("MailRunning", "UpgradeCheck", Answer::Wait);
}

void TestDialRequestQueue::decide()
{
    QFETCH(QString, open);
    QFETCH(QString, request);
    QFETCH(Answer, answer);
    QCOMPARE(CDialRequestQueue::Decide(WindowNamed(open), RequestNamed(request)), answer);

    // Asking gives the same answer, and keeps the request exactly when it waits.
    CDialRequestQueue queue;
    QCOMPARE(queue.Ask(WindowNamed(open), RequestNamed(request), [] {}), answer);
    QCOMPARE(queue.IsWaiting(RequestNamed(request)), answer == Answer::Wait);
}

void TestDialRequestQueue::waiting_data()
{
    // Each step "Window:Request"; ran: the requests TakeNext hands out, in order.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("ran");

    QTest::newRow("one of a kind waits")
        << QStringList{u"MailRunning:ProgramDial"_s,  u"MailRunning:ProgramDial"_s,
                       u"DialRunning:MailCheck"_s,    u"DialRunning:MailCheck"_s,
                       u"MailRunning:UpgradeCheck"_s, u"MailRunning:UpgradeCheck"_s}
        << QStringList{u"ProgramDial"_s, u"MailCheck"_s, u"UpgradeCheck"_s};
    QTest::newRow("in the order asked")
        << QStringList{u"Credentials:UpgradeCheck"_s, u"Credentials:MailCheck"_s}
        << QStringList{u"UpgradeCheck"_s, u"MailCheck"_s};
    QTest::newRow("a dial that starts takes in the waiting dial")
        << QStringList{u"MailRunning:ProgramDial"_s, u"MailDone:HandDial"_s} << QStringList{};
    QTest::newRow("a dial that replaces takes in the waiting dial")
        << QStringList{u"UpgradeRunning:ProgramDial"_s, u"UpgradeDone:ProgramDial"_s}
        << QStringList{};
    QTest::newRow("a check that starts takes in its own kind only")
        << QStringList{u"DialRunning:MailCheck"_s, u"DialRunning:UpgradeCheck"_s,
                       u"None:MailCheck"_s}
        << QStringList{u"UpgradeCheck"_s};
    QTest::newRow("a dial taken in keeps the waiting checks")
        << QStringList{u"DialRunning:MailCheck"_s, u"DialRunning:ProgramDial"_s,
                       u"Credentials:HandDial"_s}
        << QStringList{u"MailCheck"_s};
}

void TestDialRequestQueue::waiting()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, ran);

    CDialRequestQueue queue;
    QStringList took;
    for (const QString& step : steps) {
        const QString open = step.section(u':', 0, 0);
        const QString request = step.section(u':', 1, 1);
        queue.Ask(WindowNamed(open), RequestNamed(request), [&took, request] { took << request; });
    }
    QCOMPARE(queue.WaitingCount(), ran.size());
    while (const std::function<void()> run = queue.TakeNext())
        run();
    QCOMPARE(took, ran);
    QCOMPARE(queue.WaitingCount(), 0);
    QVERIFY(!queue.TakeNext());
}

QTEST_GUILESS_MAIN(TestDialRequestQueue)
#include "tst_dialrequestqueue.moc"
