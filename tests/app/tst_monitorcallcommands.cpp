#include "app/monitorcallcommands.h"
#include "common/settingsstore.h"
#include "monitor/connectionmonitor.h"

#include "support/monitorfakes.h"
#include "support/scriptedmessagebox.h"
#include "support/scriptedremoteaccess.h"
#include "support/testclock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// "Connect" by hand: past the data plan's cap it asks first.
class TestMonitorCallCommands : public QObject {
    Q_OBJECT

private slots:
    void connectPastTheCapAsks_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<int>("answer"); // CMessageBox::Answer
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("dials");

        const QByteArray past = "02-03-2026|10:00:00|02-03-2026|10:10:00|u|M|Work|0|1000000000|\n";
        const QByteArray below = "02-03-2026|10:00:00|02-03-2026|10:10:00|u|M|Work|0|999999999|\n";
        const int yes = int(CMessageBox::Answer::Yes);
        const int no = int(CMessageBox::Answer::No);
        QTest::newRow("below the cap") << below << no << 0 << 1;
        QTest::newRow("past the cap, yes") << past << yes << 1 << 1;
        QTest::newRow("past the cap, no") << past << no << 1 << 0;
    }
    void connectPastTheCapAsks()
    {
        QFETCH(QByteArray, log);
        QFETCH(int, answer);
        QFETCH(int, questions);
        QFETCH(int, dials);

        CTestClock clock(QDateTime(QDate(2026, 3, 14), QTime(12, 0, 0)));
        QTemporaryDir dir;
        QFile file(dir.filePath(u"logfile.log"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(log);
        file.close();
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        store.Write(Keys::Allowance, u"1"_s);
        store.Write(Keys::AtLimit, 1);
        CScriptedRemoteAccess remote;
        CRecordingSink sink;
        CRecordingServices services;
        CRecordingSound sound;
        CConnectionMonitor monitor(store, remote, nullptr, sink, services, sound);
        CMonitorCallCommands commands(monitor, services);
        CScriptedMessageBox boxes;
        boxes.Answer(static_cast<CMessageBox::Answer>(answer));

        commands.Connect();
        QCOMPARE(boxes.Shown().size(), questions);
        QCOMPARE(services.dials, dials);
    }
};

QTEST_GUILESS_MAIN(TestMonitorCallCommands)
#include "tst_monitorcallcommands.moc"
