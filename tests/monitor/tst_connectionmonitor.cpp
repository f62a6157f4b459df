#include "common/settingsstore.h"
#include "monitor/calljournal.h"
#include "monitor/connectionmonitor.h"
#include "monitor/trafficcounters.h"

#include "support/scriptedmessagebox.h"
#include "support/testclock.h"

#include "support/exampletariff.h"
#include "support/monitorfakes.h"
#include "support/scriptedremoteaccess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

class CFakeCounters : public CTrafficCounters {
public:
    qint64 sent = 0;
    qint64 received = 0;
    int triggers = 0;
    QStringList interfaces;

    void SetInterface(const QString& name) override
    {
        if (interfaces.isEmpty() || interfaces.last() != name)
            interfaces.append(name);
    }
    void Trigger() override { ++triggers; }
    qint64 SentBytes() const override { return sent; }
    qint64 ReceivedBytes() const override { return received; }
    void Cancel() override {}
    bool Busy() const override { return false; }
};

CActiveConnection Call(const QString& entry = QStringLiteral("Home ISP"))
{
    CActiveConnection connection;
    connection.handle = 42;
    connection.entryName = entry;
    connection.deviceName = QStringLiteral("USB Modem");
    connection.interfaceName = QStringLiteral("ppp0");
    return connection;
}

} // namespace

class TestConnectionMonitor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(QStringLiteral("ov.ini")));
        m_clock = std::make_unique<CTestClock>(QDateTime(QDate(2026, 3, 14), QTime(23, 50, 0)));
        m_ras = std::make_unique<CScriptedRemoteAccess>();
        m_counters = std::make_unique<CFakeCounters>();
        m_sink = std::make_unique<CRecordingSink>();
        m_services = std::make_unique<CRecordingServices>();
        m_sound = std::make_unique<CRecordingSound>();
        m_monitor = std::make_unique<CConnectionMonitor>(*m_store, *m_ras, m_counters.get(),
                                                         *m_sink, *m_services, *m_sound);
    }
    void cleanup()
    {
        m_monitor.reset();
        m_clock.reset();
    }

    void wholeCallIsTimedCountedAndLogged()
    {
        m_store->Write(Keys::ShowWhenConnected, 1);
        m_store->Write(Keys::ActionWhenConMade, 1);
        m_store->Write(Keys::ActionWhenConDropped, 2);
        m_store->Write(Keys::SoundWhenConDropped, QStringLiteral("/s/drop.wav"));
        m_monitor->Start(QStringLiteral("anna"));
        QVERIFY(m_monitor->Timer(CConnectionMonitor::PollTimer).isActive());
        QCOMPARE(m_monitor->Timer(CConnectionMonitor::CostTimer).interval(), 60000);

        // Counters near the top of the 32-bit range: the received one still counts in 32
        // bits and wraps.
        m_counters->sent = 2147483000;
        m_counters->received = 4294967196;
        m_ras->connections = {Call()};
        m_monitor->Poll();
        QCOMPARE(m_sink->messages.first(), QStringLiteral("Connection Home ISP detected"));
        QCOMPARE(m_sink->tooltip, QStringLiteral("Connected - 00:00:00"));
        QCOMPARE(m_sink->picture, int(CMonitorSink::PictureConnected));
        QCOMPARE(m_sink->shows, 1);
        QCOMPARE(m_sound->played, QStringList{QStringLiteral("beeps 2")});
        QCOMPARE(m_counters->interfaces.last(), QStringLiteral("ppp0"));
        QVERIFY(m_monitor->Timer(CConnectionMonitor::FirstMinuteTimer).isActive());

        // The same second again: no work.
        const int triggers = m_counters->triggers;
        m_monitor->Poll();
        QCOMPARE(m_counters->triggers, triggers);

        // 25 hours and 5 seconds later, the clock past midnight.
        m_clock->AdvanceSecs(25 * 3600 + 5);
        m_counters->sent = qint64(2147483000) + 1000;
        m_counters->received = 2000;
        m_monitor->Poll();
        QCOMPARE(m_sink->values, (QStringList{QStringLiteral("01:00:05"), QStringLiteral("2100"),
                                              QStringLiteral("1000")}));
        QCOMPARE(m_sink->title, QStringLiteral("01:00:05"));
        QCOMPARE(m_sink->tooltip, QStringLiteral("Connected - 01:00:05"));

        m_ras->connections.clear();
        m_clock->AdvanceSecs(1);
        m_monitor->Poll();
        QCOMPARE(m_sink->messages.first(), QStringLiteral("Connection closed"));
        QCOMPARE(m_sink->tooltip, QStringLiteral("Waiting for connection..."));
        QCOMPARE(m_sink->picture, int(CMonitorSink::PictureWaiting));
        QCOMPARE(m_sink->title, QStringLiteral("OrvalisDUI"));
        QCOMPARE(m_sink->hides, 1);
        QCOMPARE(m_sound->played.last(), QStringLiteral("/s/drop.wav"));
        QCOMPARE(m_counters->interfaces.last(), QString());
        QCOMPARE(
            ReadLog(),
            QByteArray(
                "14-03-2026|23:50:00|16-03-2026|00:50:06|anna|USB Modem|Home ISP|1000|2100|\n"));
        QVERIFY(!m_monitor->Connected());
        QCOMPARE(m_services->dials, 0); // Redial is off
    }

    void redialOnlyWhileTheProgramHasNotHungUp()
    {
        m_store->Write(Keys::Redial, 1);
        CScriptedMessageBox boxes;
        m_monitor->Start(QStringLiteral("u"));
        Connect();
        Drop();
        QCOMPARE(m_services->dials, 1);

        Connect();
        boxes.Answer(CMessageBox::Answer::No);
        m_monitor->HangupCommand();
        QCOMPARE(m_sink->messages.first(), QStringLiteral("Hangup..."));
        QCOMPARE(boxes.Shown().last().text,
                 QStringLiteral("You are about to hang up an active connection. Are you sure?"));
        QVERIFY(m_ras->hangUps.isEmpty());
        QVERIFY(!m_monitor->UserHungUp());

        boxes.Answer(CMessageBox::Answer::Yes);
        m_monitor->HangupCommand();
        QCOMPARE(m_ras->hangUps, QList<CRemoteAccess::Handle>{42});
        Drop();
        QCOMPARE(m_services->dials, 1);
        // Any later drop in this run is not redialled either.
        Connect();
        Drop();
        QCOMPARE(m_services->dials, 1);

        m_monitor->HangupCommand();
        QCOMPARE(m_sink->messages.first(), QStringLiteral("Not connected..."));
    }

    void enumerationFailureShowsOneBoxPerEpisode()
    {
        CScriptedMessageBox boxes;
        m_monitor->Start(QStringLiteral("u"));
        Connect();
        m_ras->connectionsResult = 1;
        for (int i = 0; i < 5; ++i) {
            m_clock->AdvanceSecs(1);
            m_monitor->Poll();
        }
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].text,
                 QStringLiteral("Unknown error: the list of connections cannot be read."));
        QCOMPARE(boxes.Shown()[0].caption, QStringLiteral("Error"));
        QVERIFY(m_monitor->Connected()); // the state is kept through the failure
        m_ras->connectionsResult = 0;
        m_clock->AdvanceSecs(1);
        m_monitor->Poll();
        m_ras->connectionsResult = 1;
        m_clock->AdvanceSecs(1);
        m_monitor->Poll();
        QCOMPARE(boxes.Shown().size(), 2);
    }

    void idleHangupAndStayOnline()
    {
        m_store->Write(Keys::HangupComboState, 1);
        m_store->Write(Keys::HangupInterval, 0);
        m_store->Write(Keys::ConfirmHangup, 0);
        m_monitor->Start(QStringLiteral("u"));
        // A period of 0 minutes would spin: it counts as one minute.
        QCOMPARE(m_monitor->Timer(CConnectionMonitor::IdleTimer).interval(), 60000);
        Connect();
        m_monitor->IdleCheck(); // the first period only stores
        m_counters->received += 1;
        m_monitor->IdleCheck(); // traffic: postponed
        QVERIFY(m_ras->hangUps.isEmpty());
        m_monitor->IdleCheck(); // no traffic since the last check
        QCOMPARE(m_ras->hangUps.size(), 1);

        m_store->Write(Keys::HangupComboState, 2);
        m_monitor->ReArm();
        Connect();
        m_monitor->IdleCheck();
        QCOMPARE(m_services->mailChecks, 1);
        QVERIFY(m_monitor->Timer(CConnectionMonitor::MailResultTimer).isActive());
    }

    void firstMinuteAndMailResults()
    {
        m_monitor->Start(QStringLiteral("u"));
        m_monitor->FirstMinuteChecks(); // not connected: nothing
        QCOMPARE(m_services->upgradeChecks, 0);
        Connect();
        m_monitor->FirstMinuteChecks();
        QCOMPARE(m_services->upgradeChecks, 1);
        QCOMPARE(m_services->mailChecks, 1);
        QVERIFY(!m_monitor->Timer(CConnectionMonitor::FirstMinuteTimer).isActive());

        QCOMPARE(m_monitor->MailResult(), QStringLiteral("yahoohoo"));
        m_monitor->ShowMailResult();
        QCOMPARE(m_sink->mailPicture, 0);
        m_monitor->SetMailResult(QStringLiteral("3"));
        m_monitor->ShowMailResult();
        QCOMPARE(m_sink->mailCount, QStringLiteral("You have 3 new email(s)"));
        QCOMPARE(m_sink->mailTooltip, QStringLiteral("You have 3 new email(s)"));
        QCOMPARE(m_sink->mailPicture, int(CMonitorSink::PictureMail));
        QCOMPARE(m_monitor->MailResult(), QStringLiteral("You have 3 new email(s)"));
        m_sink->mailCount.clear();
        for (const QString& ignored :
             {QStringLiteral("There are no new emails."), QStringLiteral("10000")}) {
            m_monitor->SetMailResult(ignored);
            m_monitor->ShowMailResult();
            QCOMPARE(m_sink->mailCount, QString());
        }
        m_monitor->SetMailResult(CConnectionMonitor::kMailErrorResult);
        m_monitor->ShowMailResult();
        QCOMPARE(m_sink->mailPicture, int(CMonitorSink::PictureMailError));
        QCOMPARE(m_sink->mailTooltip, QStringLiteral("Error connecting to the email server."));
        // A result written by a worker thread is shown without waiting for the timer.
        m_sink->mailCount.clear();
        m_monitor->SetMailResult(QStringLiteral("7"));
        QTRY_COMPARE(m_sink->mailCount, QStringLiteral("You have 7 new email(s)"));
    }

    void costWarningsAndLimits()
    {
        // Two calls at 5.00 a dial: 10.00 in all, 5.00 a call, exactly.
        m_store->Write(Keys::PricePerDial, QStringLiteral("5.0000000000"));
        WriteLog("14-03-2026|10:00:00|14-03-2026|10:10:00|u|m|isp|1|2|\n"
                 "14-03-2026|11:00:00|14-03-2026|11:10:00|u|m|isp|1|2|\n");
        const QString s = QStringLiteral("Settings");
        m_store->Write(Keys::WarnWhenMonth, 1);
        m_store->Write(Keys::WarnWhenMonthInterval, 9);
        m_store->Write(Keys::WarnWhenCall, 1);
        m_store->Write(Keys::WarnWhenCallInterval, 5); // equal: no warning
        CScriptedMessageBox boxes;
        m_monitor->Start(QStringLiteral("u"));
        m_monitor->CostChecks();
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].text,
                 QStringLiteral(
                     "Warning - cost per month too high. See Preferences->Warnings. Cost: 10.00"));
        QCOMPARE(boxes.Shown()[0].caption, QStringLiteral("Warning"));
        QCOMPARE(boxes.Shown()[0].icon, CMessageBox::Icon::Stop);

        // While a warning box stays open, the next minute's check does not stack another.
        int nested = 0;
        CMessageBox::SetPresenter([&](const CMessageBox::Box&) {
            if (++nested == 1)
                m_monitor->CostChecks();
            return CMessageBox::Answer::Ok;
        });
        m_monitor->CostChecks();
        QCOMPARE(nested, 1);
        // Nothing changed: the log was read once for all these checks.
        QCOMPARE(m_monitor->LogPasses(), 1);

        m_store->Write(Keys::WarnWhenMonth, 0);
        m_store->Write(Keys::DisWhenCall, 1);
        m_store->Write(Keys::DisWhenCallInterval, 4);
        CScriptedMessageBox limitBoxes;
        Connect();
        limitBoxes.Answer(CMessageBox::Answer::Yes);
        m_monitor->CostChecks();
        QCOMPARE(m_ras->hangUps.size(), 1);
        QCOMPARE(limitBoxes.Shown().size(), 2);
        QCOMPARE(
            limitBoxes.Shown()[1].text,
            QStringLiteral(
                "Warning - cost per call too high. See Preferences->Warnings. Connection closed."));
        QCOMPARE(limitBoxes.Shown()[1].caption, QStringLiteral("orvalis"));
    }

    void recordIsKeptWhenTheLogCannotBeWritten()
    {
        // The log folder is a file: the append fails.
        WriteLog("");
        m_store->Write(Keys::IniPath, m_dir->filePath(QStringLiteral("logfile.log")));
        CScriptedMessageBox boxes;
        m_monitor->Start(QStringLiteral("u"));
        Connect();
        Drop();
        Connect();
        Drop();
        QCOMPARE(boxes.Shown().size(), 1);
        QVERIFY(boxes.Shown()[0].text.startsWith(QStringLiteral("Can not write to file")));
        QCOMPARE(m_monitor->Log().PendingCount(), 2);

        m_store->Remove(Keys::IniPath);
        m_monitor->CostChecks();
        QCOMPARE(m_monitor->Log().PendingCount(), 0);
        QCOMPARE(ReadLog().count('\n'), 2);
    }

    // The counts of a call follow the counters in 64 bits: a source that still counts in
    // 32 bits wraps without a loss, and one that starts again never makes them go back.
    void countsFollowWrapsAndRestarts_data()
    {
        QTest::addColumn<QList<qint64>>("readings");
        QTest::addColumn<qint64>("count");
        const qint64 gib4 = qint64(1) << 32;
        QTest::newRow("32-bit wrap") << QList<qint64>{gib4 - 100, 2000} << qint64(2100);
        QTest::newRow("32-bit wrap past 4 GiB")
            << QList<qint64>{0, (qint64(1) << 31) + 10, 5} << gib4 + 5;
        QTest::newRow("fall of less than 2^31 is a restart")
            << QList<qint64>{0, 3000000000, 1000000000} << qint64(4000000000);
        QTest::newRow("across 4 GiB")
            << QList<qint64>{1000, gib4 - 1, gib4 + 1000, 5400001000} << qint64(5400000000);
        QTest::newRow("restart") << QList<qint64>{5000, 80000, 300} << qint64(75300);
        QTest::newRow("restart above 4 GiB")
            << QList<qint64>{10, 5000000010, 200} << qint64(5000000200);
    }
    void countsFollowWrapsAndRestarts()
    {
        QFETCH(QList<qint64>, readings);
        QFETCH(qint64, count);
        m_monitor->Start(QStringLiteral("u"));
        m_counters->sent = readings.first();
        m_counters->received = readings.first();
        Connect();
        qint64 shown = 0;
        for (const qint64 reading : readings.mid(1)) {
            m_counters->sent = reading;
            m_counters->received = reading;
            m_clock->AdvanceSecs(1);
            m_monitor->Poll();
            const CCallStatus status = m_monitor->Status();
            QVERIFY2(status.received >= shown, qPrintable(QString::number(reading)));
            QCOMPARE(status.sent, status.received);
            shown = status.received;
        }
        QCOMPARE(shown, count);
        QCOMPARE(m_sink->values[1], QString::number(count));
        Drop();
        QVERIFY(ReadLog().endsWith(QStringLiteral("|%1|%1|\n").arg(count).toLatin1()));
    }

    // A call seen by one run and ended while the program was gone (killed, logged out)
    // gives one record, ending when the journal last saw it.
    void journaledCallThatEndedWhileTheProgramWasGone()
    {
        m_monitor->Start(QStringLiteral("anna"));
        m_counters->sent = 1000;
        m_counters->received = 5000;
        Connect(); // 23:50:01
        const QString journal = m_monitor->JournalPath();
        QVERIFY(QFile::exists(journal));
        QCOMPARE(QFile::permissions(journal), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadUser | QFileDevice::WriteUser);
        // Within the minute the journal is not written again; after it, it is.
        m_counters->sent = 1300;
        m_counters->received = 9000;
        m_clock->AdvanceSecs(30);
        m_monitor->Poll();
        QVERIFY(!ReadFile(journal).contains("last=2026-03-14 23:50:31"));
        m_clock->AdvanceSecs(30);
        m_monitor->Poll();
        QVERIFY(ReadFile(journal).contains("last=2026-03-14 23:51:01"));
        QVERIFY(ReadFile(journal).contains("sent=300"));

        // Killed: no Shutdown. The line drops while the program is away.
        m_clock->AdvanceSecs(20);
        Restart();
        m_ras->connections.clear();
        m_clock->AdvanceSecs(600);
        m_monitor->Poll();
        QCOMPARE(ReadLog(), QByteArray("14-03-2026|23:50:01|14-03-2026|23:51:01|anna|USB Modem|"
                                       "Home ISP|300|4000|\n"));
        QVERIFY(!QFile::exists(journal));

        // A restart after that writes nothing more.
        Restart();
        m_clock->AdvanceSecs(1);
        m_monitor->Poll();
        QCOMPARE(ReadLog().count('\n'), 1);
    }

    // A call still up at the restart is taken over: one record from its real start, with
    // the bytes of both runs.
    void journaledCallStillUpIsTakenOver()
    {
        m_monitor->Start(QStringLiteral("anna"));
        m_counters->sent = 100;
        m_counters->received = 200;
        Connect(); // 23:50:01
        m_counters->sent = 400;
        m_counters->received = 1200;
        m_clock->AdvanceSecs(60);
        m_monitor->Poll();     // journaled: 300 up, 1000 down
        m_monitor->Shutdown(); // as Exit or a signal: journaled once more, seen until now
        QVERIFY(m_monitor->WaitingRecordsNote().isEmpty());
        QVERIFY(ReadLog().isEmpty());

        Restart(); // the new run's counters start from other values
        m_counters->sent = 7000;
        m_counters->received = 7000;
        m_clock->AdvanceSecs(5);
        m_monitor->Poll();
        QVERIFY(m_monitor->Connected());
        QCOMPARE(m_sink->values[0], QStringLiteral("00:01:05"));
        QCOMPARE(m_sink->values[1], QStringLiteral("1000"));
        m_counters->sent = 7050;
        m_counters->received = 7500;
        Drop();
        QCOMPARE(ReadLog(), QByteArray("14-03-2026|23:50:01|14-03-2026|23:51:07|anna|USB Modem|"
                                       "Home ISP|350|1500|\n"));
        QVERIFY(!QFile::exists(m_monitor->JournalPath()));
    }

    // Records that could not be written survive the end of the run in the journal, the
    // user is told where, and the next run writes them once.
    void waitingRecordsSurviveTheExit()
    {
        WriteLog("");
        m_store->Write(Keys::IniPath, m_dir->filePath(QStringLiteral("logfile.log")));
        CScriptedMessageBox boxes;
        m_monitor->Start(QStringLiteral("u"));
        Connect();
        Drop();
        QCOMPARE(m_monitor->Log().PendingCount(), 1);
        m_monitor->Shutdown();
        const QString note = m_monitor->WaitingRecordsNote();
        QVERIFY(note.startsWith(QStringLiteral("1 call record(s) could not be written")));
        // The log's folder is unusable, so the journal went beside the settings.
        QCOMPARE(m_monitor->JournalPath(), m_dir->filePath(QStringLiteral("logfile.journal")));
        QVERIFY(note.contains(m_monitor->JournalPath()));
        QVERIFY(ReadFile(m_monitor->JournalPath()).contains("pending="));

        m_store->Remove(Keys::IniPath);
        Restart();
        QCOMPARE(ReadLog().count('\n'), 1);
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("logfile.journal"))));
        // Already in the log: a journal that still names it does not write it twice.
        const QByteArray line = ReadLog();
        CCallJournal::State state;
        state.pending = {line};
        QVERIFY(CCallJournal(m_dir->filePath(QStringLiteral("logfile.journal"))).Save(state));
        Restart();
        QCOMPARE(ReadLog(), line);
    }

    // After the clock steps back the monitor keeps watching: the call's duration goes on,
    // and a call inside the stepped-back time is seen.
    void clockSteppedBack()
    {
        m_monitor->Start(QStringLiteral("u"));
        Connect(); // 23:50:01
        m_clock->AdvanceSecs(10);
        m_monitor->Poll();
        QCOMPARE(m_sink->values[0], QStringLiteral("00:00:10"));
        m_clock->AdvanceSecs(-3600);
        m_monitor->Poll();
        QCOMPARE(m_sink->values[0], QStringLiteral("00:00:11"));
        m_clock->AdvanceSecs(1);
        m_monitor->Poll();
        QCOMPARE(m_sink->values[0], QStringLiteral("00:00:12"));
        Drop();
        QCOMPARE(ReadLog().left(40), QByteArray("14-03-2026|22:50:00|14-03-2026|22:50:13|"));

        // The clock goes back once more with no call up; a call right after is seen.
        m_clock->AdvanceSecs(-600);
        Connect();
        QCOMPARE(m_sink->messages.first(), QStringLiteral("Connection Home ISP detected"));
    }

    // "Play a file" with no file chosen still sounds: the player gets the empty name and
    // falls back to its default sound.
    void soundFileActionWithoutFileStillSounds()
    {
        m_store->Write(Keys::ActionWhenConMade, 2);
        m_monitor->Start(QStringLiteral("u"));
        Connect();
        QCOMPARE(m_sound->played, QStringList{QString()});
    }

    // What the program hangs up on its own asks with a box that closes itself and goes
    // ahead; No stops it. The Hangup command waits for its answer.
    void hangUpsOnTheirOwnAskWithABoxThatClosesItself_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<int>("answer"); // -1: nobody answers
        QTest::addColumn<int>("closeAfter");
        QTest::addColumn<int>("hangUps");
        const int no = int(CMessageBox::Answer::No);
        for (const char* trigger : {"idle", "schedule", "cost limit"}) {
            QTest::addRow("%s, nobody answers", trigger)
                << QString::fromLatin1(trigger) << -1 << 30 << 1;
            QTest::addRow("%s, no", trigger) << QString::fromLatin1(trigger) << no << 30 << 0;
        }
        QTest::newRow("hangup command, no") << QStringLiteral("command") << no << 0 << 0;
    }
    void hangUpsOnTheirOwnAskWithABoxThatClosesItself()
    {
        QFETCH(QString, trigger);
        QFETCH(int, answer);
        QFETCH(int, closeAfter);
        QFETCH(int, hangUps);
        m_store->Write(Keys::ConfirmHangup, 1);
        m_store->Write(Keys::HangupComboState, 1);
        m_store->Write(Keys::PricePerDial, QStringLiteral("5.0000000000"));
        WriteLog("14-03-2026|10:00:00|14-03-2026|10:10:00|u|m|isp|1|2|\n");
        CScriptedMessageBox boxes;
        m_monitor->Start(QStringLiteral("u"));
        Connect();
        if (answer < 0)
            boxes.AnswerTimedOut();
        else
            boxes.Answer(CMessageBox::Answer(answer));
        if (trigger == QStringLiteral("idle")) {
            m_monitor->IdleCheck();
            m_monitor->IdleCheck();
        } else if (trigger == QStringLiteral("schedule")) {
            m_services->scheduleResult = 2;
            m_monitor->ScheduleTick();
        } else if (trigger == QStringLiteral("cost limit")) {
            m_store->Write(Keys::DisWhenMonth, 1);
            m_store->Write(Keys::DisWhenMonthInterval, 1);
            m_monitor->CostChecks();
        } else {
            m_monitor->HangupCommand();
        }
        QVERIFY(!boxes.Shown().isEmpty());
        QCOMPARE(boxes.Shown()[0].text,
                 QStringLiteral("You are about to hang up an active connection. Are you sure?"));
        QCOMPARE(boxes.Shown()[0].closeAfterSeconds, closeAfter);
        QCOMPARE(m_ras->hangUps.size(), hangUps);
        QCOMPARE(boxes.Unanswered(), 0);
        // "Connection closed." only after a hang-up that was done.
        const bool closedSaid =
            boxes.Shown().last().text.endsWith(QStringLiteral("Connection closed."));
        QCOMPARE(closedSaid, trigger == QStringLiteral("cost limit") && hangUps == 1);
    }

    void scheduleResults()
    {
        m_monitor->Start(QStringLiteral("u"));
        m_monitor->StartScheduleTicker();
        QCOMPARE(m_monitor->Timer(CConnectionMonitor::ScheduleTimer).interval(), 1000);
        m_services->scheduleResult = 1;
        m_monitor->ScheduleTick();
        QCOMPARE(m_services->dials, 1);
        m_services->scheduleResult = 2;
        m_monitor->ScheduleTick();
        QCOMPARE(m_sink->messages.first(), QStringLiteral("Not connected..."));
        m_services->scheduleResult = 3;
        m_monitor->ScheduleTick();
        QCOMPARE(m_services->dials, 1);
    }

    // With a data plan the tooltip carries the cycle's usage, the call's bytes and time
    // price included, and asking every second of a call does not read the log again.
    void dataPlanUsageDuringACallReadsTheLogOnce()
    {
        // A Monday, for the day rate.
        m_clock->Set(QDateTime(QDate(2026, 3, 16), QTime(12, 0, 0)));
        WriteLog("02-03-2026|10:00:00|02-03-2026|10:10:00|u|USB Modem|Home ISP|100000000|"
                 "500000000|\n");
        m_store->Write(Keys::Allowance, QStringLiteral("2"));
        CExampleTariff::WriteTo(*m_store);
        CScriptedMessageBox boxes;
        m_monitor->Start(QStringLiteral("u"));
        QCOMPARE(m_sink->tooltip,
                 QStringLiteral("Waiting for connection...\n0.60/2.00 GB, 30 %, 16 day(s) left"));
        const qint64 passes = m_monitor->PlanWatch().LogPasses();
        const double logCost = m_monitor->Usage().timeCost;

        Connect();
        for (int second = 1; second <= 120; ++second) {
            m_counters->received = second * 10000000;
            m_clock->AdvanceSecs(1);
            m_monitor->Poll();
        }
        QCOMPARE(m_monitor->PlanWatch().LogPasses(), passes);
        QCOMPARE(m_sink->tooltip,
                 QStringLiteral("Connected - 00:02:00\n1.80/2.00 GB, 90 %, 16 day(s) left"));
        // Without a notification server, 80 % is told in a box, once.
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].text,
                 QStringLiteral("80 % of your data used\n1.60 GB of 2.00 GB used, 16 day(s) left "
                                "in this cycle"));
        const CCycleUsage usage = m_monitor->Usage();
        QCOMPARE(usage.received, qint64(1700000000));
        QCOMPARE(usage.calls, 2);
        // Two minutes at 0.60 and the dial charge of 0.10.
        QCOMPARE(usage.timeCost - logCost, 1.30);

        // The call's record goes to the log: read once more, and the line stays.
        Drop();
        QCOMPARE(m_monitor->PlanWatch().LogPasses(), passes + 1);
        QCOMPARE(m_sink->tooltip,
                 QStringLiteral("Waiting for connection...\n1.80/2.00 GB, 90 %, 16 day(s) left"));
    }

    // At the cap a plan that hangs up there ends the call that took the cycle past its
    // allowance and says why; asked once per call when the hang-up wants a yes.
    void dataPlanCapHangsUpTheCallThatReachesIt()
    {
        m_clock->Set(QDateTime(QDate(2026, 3, 14), QTime(12, 0, 0)));
        m_store->Write(Keys::Allowance, QStringLiteral("1"));
        m_store->Write(Keys::AtLimit, 1);
        m_store->Write(Keys::WarnAt, QString());
        m_store->Write(Keys::ConfirmHangup, 1);
        CScriptedMessageBox boxes;
        m_monitor->Start(QStringLiteral("u"));
        Connect();
        m_counters->received = 999999999;
        Tick();
        QVERIFY(boxes.Shown().isEmpty());

        // Declined: the call goes on and is not asked about again.
        boxes.Answer(CMessageBox::Answer::No);
        m_counters->received = 1000000000;
        Tick();
        Tick();
        QCOMPARE(boxes.Shown().size(), 1);
        QVERIFY(m_ras->hangUps.isEmpty());
        Drop();

        // A new start below the cap.
        QFile::remove(m_dir->filePath(QStringLiteral("logfile.log")));
        m_counters->received = 0;
        Connect();
        boxes.Clear();
        boxes.Answer(CMessageBox::Answer::Yes);
        m_counters->received = 1000000000;
        Tick();
        QCOMPARE(m_ras->hangUps.size(), 1);
        QCOMPARE(boxes.Shown().size(), 2);
        QCOMPARE(boxes.Shown()[1].text,
                 QStringLiteral("Your data allowance of 1.00 GB is used up. Connection closed. "
                                "Nothing is dialled on its own until the next cycle."));
    }

    // Past the cap nothing is dialled on its own until the next cycle; a call dialled by
    // hand goes on.
    void dataPlanPastTheCapDialsNothingOnItsOwn()
    {
        m_clock->Set(QDateTime(QDate(2026, 3, 14), QTime(12, 0, 0)));
        WriteLog("02-03-2026|10:00:00|02-03-2026|10:10:00|u|USB Modem|Home ISP|0|1200000000|\n");
        m_store->Write(Keys::Allowance, QStringLiteral("1"));
        m_store->Write(Keys::AtLimit, 1);
        m_store->Write(Keys::Redial, 1);
        CScriptedMessageBox boxes;
        m_monitor->Start(QStringLiteral("u"));
        Connect();
        m_counters->received = 5000;
        Tick();
        QVERIFY(m_ras->hangUps.isEmpty());
        Drop();
        QCOMPARE(m_services->dials, 0);
        QCOMPARE(m_sink->messages.first(),
                 QStringLiteral("No redial: the data allowance is used up"));
        m_services->scheduleResult = 1;
        m_monitor->ScheduleTick();
        QCOMPARE(m_services->dials, 0);
        QCOMPARE(m_sink->messages.first(),
                 QStringLiteral("No scheduled dial: the data allowance is used up"));

        m_clock->Set(QDateTime(QDate(2026, 4, 1), QTime(0, 0, 5)));
        m_monitor->ScheduleTick();
        QCOMPARE(m_services->dials, 1);
    }

    void pollSleepsBetweenCallsWhenTheBackendTells()
    {
        m_ras->tellsChanges = true;
        m_monitor->Start(QStringLiteral("u"));
        const QTimer& poll = m_monitor->Timer(CConnectionMonitor::PollTimer);
        m_monitor->Poll();
        QVERIFY(!poll.isActive());
        // Told in a second it has looked at: it looks at the next one, as the poll would.
        m_ras->connections = {Call()};
        m_ras->changed();
        m_monitor->Poll();
        QVERIFY(!m_monitor->Connected());
        QVERIFY(poll.isActive());
        m_clock->AdvanceSecs(1);
        m_monitor->Poll();
        QVERIFY(m_monitor->Connected());
        QVERIFY(poll.isActive()); // a call is timed every second
        m_ras->changed();
        Drop();
        QVERIFY(!poll.isActive());
        m_monitor->Shutdown();
        QVERIFY(!m_ras->changed);
    }

    void costChecksRunOnlyWithSomethingToCheck()
    {
        m_monitor->Start(QStringLiteral("u"));
        const QTimer& cost = m_monitor->Timer(CConnectionMonitor::CostTimer);
        QVERIFY(!cost.isActive());
        Connect();
        QVERIFY(cost.isActive());
        Drop();
        QVERIFY(!cost.isActive());
        m_store->Write(CCostGuard::Rules().front().enabled, 1);
        m_monitor->ReArm();
        QVERIFY(cost.isActive());
    }

private:
    void Tick()
    {
        m_clock->AdvanceSecs(1);
        m_monitor->Poll();
    }
    void Connect()
    {
        m_ras->connections = {Call()};
        m_clock->AdvanceSecs(1);
        m_monitor->Poll();
        QVERIFY(m_monitor->Connected());
    }
    void Drop()
    {
        m_ras->connections.clear();
        m_clock->AdvanceSecs(1);
        m_monitor->Poll();
        QVERIFY(!m_monitor->Connected());
    }
    // A new run over the same files, as after a kill: the old monitor ends without its
    // shutdown.
    void Restart()
    {
        m_monitor = std::make_unique<CConnectionMonitor>(*m_store, *m_ras, m_counters.get(),
                                                         *m_sink, *m_services, *m_sound);
        m_monitor->Start(QStringLiteral("anna"));
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteLog(const QByteArray& data)
    {
        QFile file(m_dir->filePath(QStringLiteral("logfile.log")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    QByteArray ReadLog() const
    {
        QFile file(m_dir->filePath(QStringLiteral("logfile.log")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CTestClock> m_clock;
    std::unique_ptr<CScriptedRemoteAccess> m_ras;
    std::unique_ptr<CFakeCounters> m_counters;
    std::unique_ptr<CRecordingSink> m_sink;
    std::unique_ptr<CRecordingServices> m_services;
    std::unique_ptr<CRecordingSound> m_sound;
    std::unique_ptr<CConnectionMonitor> m_monitor;
};

QTEST_GUILESS_MAIN(TestConnectionMonitor)
#include "tst_connectionmonitor.moc"
