#include "dialer/dialrequestqueue.h"

#include <QTest>

using Window = CDialRequestQueue::Window;
using Request = CDialRequestQueue::Request;
using Answer = CDialRequestQueue::Answer;
using Step = std::pair<Window, Request>;

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
    QTest::addColumn<Window>("open");
    QTest::addColumn<Request>("request");
    QTest::addColumn<Answer>("answer");
    const auto row = [](const char* name, Window open, Request request, Answer answer) {
        QTest::newRow(name) << open << request << answer;
    };
    // Nothing open: everything starts.
    row("none, program dial", Window::None, Request::ProgramDial, Answer::Start);
    row("none, hand dial", Window::None, Request::HandDial, Answer::Start);
    row("none, mail", Window::None, Request::MailCheck, Answer::Start);
    row("none, upgrade", Window::None, Request::UpgradeCheck, Answer::Start);
    // The program's own dial: a finished result gives way, a dial under way takes it in,
    // a check under way makes it wait.
    row("mail done, program dial", Window::MailCheckDone, Request::ProgramDial, Answer::Replace);
    row("upgrade done, program dial", Window::UpgradeCheckDone, Request::ProgramDial,
        Answer::Replace);
    row("dial done, program dial", Window::DialDone, Request::ProgramDial, Answer::Replace);
    row("dialling, program dial", Window::DialRunning, Request::ProgramDial, Answer::Absorb);
    row("asking, program dial", Window::Credentials, Request::ProgramDial, Answer::Absorb);
    row("mail running, program dial", Window::MailCheckRunning, Request::ProgramDial, Answer::Wait);
    row("upgrade running, program dial", Window::UpgradeCheckRunning, Request::ProgramDial,
        Answer::Wait);
    // By hand: a finished result gives way; anything else comes to the front.
    row("mail done, hand dial", Window::MailCheckDone, Request::HandDial, Answer::Replace);
    row("upgrade done, hand dial", Window::UpgradeCheckDone, Request::HandDial, Answer::Replace);
    row("dial done, hand dial", Window::DialDone, Request::HandDial, Answer::Replace);
    row("dialling, hand dial", Window::DialRunning, Request::HandDial, Answer::Absorb);
    row("asking, hand dial", Window::Credentials, Request::HandDial, Answer::Absorb);
    row("mail running, hand dial", Window::MailCheckRunning, Request::HandDial, Answer::Absorb);
    row("upgrade running, hand dial", Window::UpgradeCheckRunning, Request::HandDial,
        Answer::Absorb);
    // A check: its own kind comes to the front, even finished; another finished result
    // gives way; a dial or the other check under way makes it wait.
    row("mail running, mail", Window::MailCheckRunning, Request::MailCheck, Answer::Absorb);
    row("mail done, mail", Window::MailCheckDone, Request::MailCheck, Answer::Absorb);
    row("upgrade running, upgrade", Window::UpgradeCheckRunning, Request::UpgradeCheck,
        Answer::Absorb);
    row("upgrade done, upgrade", Window::UpgradeCheckDone, Request::UpgradeCheck, Answer::Absorb);
    row("upgrade done, mail", Window::UpgradeCheckDone, Request::MailCheck, Answer::Replace);
    row("dial done, mail", Window::DialDone, Request::MailCheck, Answer::Replace);
    row("mail done, upgrade", Window::MailCheckDone, Request::UpgradeCheck, Answer::Replace);
    row("dial done, upgrade", Window::DialDone, Request::UpgradeCheck, Answer::Replace);
    row("dialling, mail", Window::DialRunning, Request::MailCheck, Answer::Wait);
    row("asking, mail", Window::Credentials, Request::MailCheck, Answer::Wait);
    row("upgrade running, mail", Window::UpgradeCheckRunning, Request::MailCheck, Answer::Wait);
    row("dialling, upgrade", Window::DialRunning, Request::UpgradeCheck, Answer::Wait);
    row("asking, upgrade", Window::Credentials, Request::UpgradeCheck, Answer::Wait);
    row("mail running, upgrade", Window::MailCheckRunning, Request::UpgradeCheck, Answer::Wait);
}

void TestDialRequestQueue::decide()
{
    QFETCH(Window, open);
    QFETCH(Request, request);
    QFETCH(Answer, answer);
    QCOMPARE(CDialRequestQueue::Decide(open, request), answer);
    // Asking gives the same answer, and keeps the request exactly when it waits.
    CDialRequestQueue queue;
    QCOMPARE(queue.Ask(open, request, [] {}), answer);
    QCOMPARE(queue.IsWaiting(request), answer == Answer::Wait);
}

void TestDialRequestQueue::waiting_data()
{
    // ran: the requests TakeNext hands out after the steps, in order.
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QList<Request>>("ran");
    const Step mailRunsProgramDial{Window::MailCheckRunning, Request::ProgramDial};
    const Step dialRunsMail{Window::DialRunning, Request::MailCheck};
    const Step dialRunsUpgrade{Window::DialRunning, Request::UpgradeCheck};
    QTest::newRow("one of a kind waits, in the order asked")
        << QList<Step>{dialRunsUpgrade, mailRunsProgramDial, mailRunsProgramDial,
                       dialRunsMail,    dialRunsMail,        dialRunsUpgrade}
        << QList<Request>{Request::UpgradeCheck, Request::ProgramDial, Request::MailCheck};
    QTest::newRow("a dial that starts takes in the waiting dial")
        << QList<Step>{mailRunsProgramDial, {Window::MailCheckDone, Request::HandDial}}
        << QList<Request>{};
    QTest::newRow("a dial that replaces takes in the waiting dial")
        << QList<Step>{mailRunsProgramDial, {Window::UpgradeCheckDone, Request::ProgramDial}}
        << QList<Request>{};
    QTest::newRow("a check that starts takes in its own kind only")
        << QList<Step>{dialRunsMail, dialRunsUpgrade, {Window::None, Request::MailCheck}}
        << QList<Request>{Request::UpgradeCheck};
    QTest::newRow("a dial taken in keeps the waiting checks")
        << QList<Step>{dialRunsMail,
                       {Window::DialRunning, Request::ProgramDial},
                       {Window::Credentials, Request::HandDial}}
        << QList<Request>{Request::MailCheck};
}

void TestDialRequestQueue::waiting()
{
    QFETCH(QList<Step>, steps);
    QFETCH(QList<Request>, ran);
    CDialRequestQueue queue;
    QList<Request> took;
    for (const auto& [open, request] : steps)
        queue.Ask(open, request, [&took, request = request] { took << request; });
    QCOMPARE(queue.WaitingCount(), ran.size());
    while (const std::function<void()> run = queue.TakeNext())
        run();
    QCOMPARE(took, ran);
    QVERIFY(!queue.TakeNext());
}

QTEST_GUILESS_MAIN(TestDialRequestQueue)
#include "tst_dialrequestqueue.moc"
