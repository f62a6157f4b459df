#include "app/commandrouter.h"

#include "support/commandfakes.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCommandRouter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandDoesItsAction_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QStringList>("done");
        const auto row = [](const char* name, int command, const QStringList& done) {
            QTest::newRow(name) << command << done;
        };
        row("connect", CCommandTable::Connect, {u"connect"_s});
        row("hangup", CCommandTable::Hangup, {u"hangup asking"_s});
        row("check mail", CCommandTable::CheckMail, {u"mail"_s});
        row("check update", CCommandTable::CheckUpdate, {u"update"_s});
        row("inet tools", CCommandTable::InetTools, {u"tools"_s});
        row("connections", CCommandTable::Connections, {u"connections"_s});
        row("security", CCommandTable::Security, {u"security"_s});
        row("timer", CCommandTable::Timer, {u"schedule timer"_s, u"schedule"_s});
        row("report", CCommandTable::Report, {u"report"_s});
        row("report alias", CCommandTable::ReportAlias, {u"report"_s});
        row("summary", CCommandTable::Summary, {u"summary"_s});
        row("statistics", CCommandTable::Statistics, {u"statistics"_s});
        row("contents", CCommandTable::Contents, {u"help"_s});
        row("about alias", CCommandTable::AboutAlias, {u"about"_s});
        row("hide", CCommandTable::Hide, {u"hide"_s});
        row("minimize", CCommandTable::Minimize, {u"minimize"_s});
        row("show", CCommandTable::Show, {u"show"_s});
        row("exit", CCommandTable::Exit, {u"exit asking"_s});
        row("general", CCommandTable::PreferencesGeneral, {u"preferences 0"_s});
        row("price", CCommandTable::PreferencesPrice, {u"preferences 4"_s});
        row("data plan", CCommandTable::PreferencesDataPlan, {u"preferences 5"_s});
        row("upgrade", CCommandTable::PreferencesUpgrade, {u"preferences 7"_s});
        row("mail preferences", CCommandTable::MailPreferences, {u"preferences 0"_s, u"rearm"_s});
        row("hide mail icon", CCommandTable::HideMailIcon, {u"clear mail count"_s});
        row("unknown", 4711, {});
    }

    void commandDoesItsAction()
    {
        QFETCH(int, command);
        QFETCH(QStringList, done);
        QStringList log;
        CRecordingWindows windows(log);
        CRecordingCallCommands call(log);
        CRecordingWindowActions window(log);
        CCommandRouter router(windows, call, window);
        QSignalSpy hideMail(&router, &CCommandRouter::MailIconHideRequested);
        router.Run(static_cast<CCommandTable::Command>(command));
        QCOMPARE(log, done);
        QCOMPARE(hideMail.count(), command == CCommandTable::HideMailIcon ? 1 : 0);
    }

    // The mail icon's Preferences re-arms the timers only after OK.
    void mailPreferencesCancelledLeavesTheTimers()
    {
        QStringList log;
        CRecordingWindows windows(log);
        windows.preferencesAccepted = false;
        CRecordingCallCommands call(log);
        CRecordingWindowActions window(log);
        CCommandRouter router(windows, call, window);
        router.Run(CCommandTable::MailPreferences);
        QCOMPARE(log, QStringList{u"preferences 0"_s});
    }

    // A command from another start asks its question on a real display: with a box that
    // closes itself while the window is hidden, one that waits while it is on screen; with
    // no display it asks nothing. The show request runs at once, the others once the
    // socket's handler has returned.
    void requestsAskOnlyOnScreen_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<bool>("onScreen");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QStringList>("done");
        const QString x = u"xcb"_s;
        QTest::newRow("show") << QByteArray("12345") << false << x << true
                              << QStringList{u"show"_s};
        QTest::newRow("exit hidden") << QByteArray("command exit") << false << x << true
                                     << QStringList{u"exit asking, closing itself"_s};
        QTest::newRow("exit on screen")
            << QByteArray("command exit") << true << x << true << QStringList{u"exit asking"_s};
        QTest::newRow("exit offscreen") << QByteArray("command exit") << false << u"offscreen"_s
                                        << true << QStringList{u"exit without asking"_s};
        QTest::newRow("hangup by number") << QByteArray("command 32812") << false << x << true
                                          << QStringList{u"hangup asking, closing itself"_s};
        QTest::newRow("report alias")
            << QByteArray("command 1034") << true << x << true << QStringList{u"report"_s};
        QTest::newRow("unknown number")
            << QByteArray("command 99999") << true << x << false << QStringList{};
        QTest::newRow("rubbish") << QByteArray("rubbish") << true << x << false << QStringList{};
    }

    void requestsAskOnlyOnScreen()
    {
        QFETCH(QByteArray, request);
        QFETCH(bool, onScreen);
        QFETCH(QString, platform);
        QFETCH(bool, handled);
        QFETCH(QStringList, done);
        QStringList log;
        CRecordingWindows windows(log);
        CRecordingCallCommands call(log);
        CRecordingWindowActions window(log);
        window.onScreen = onScreen;
        CCommandRouter router(windows, call, window);
        router.SetPlace([platform] { return CShellCommandQuestion::Place{platform, true}; });
        QCOMPARE(router.HandleRequest(request), handled);
        if (request != CCommandTable::kShowRequest)
            QVERIFY(log.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(log, done);
    }
};

QTEST_GUILESS_MAIN(TestCommandRouter)
#include "tst_commandrouter.moc"
