#include "common/settingsstore.h"
#include "monitor/callrecorder.h"

#include "support/monitorfakes.h"
#include "support/scriptedremoteaccess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// A call the last run journaled meets the connections of the first look of this run.
class TestCallRecorder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void journaledCallIsTakenOverOnlyWhenItIsTheCallUp_data()
    {
        QTest::addColumn<QString>("entry"); // of the connection up now; empty: none
        QTest::addColumn<QString>("interfaceName");
        QTest::addColumn<bool>("watching"); // the monitor already watches a call
        QTest::addColumn<bool>("alreadyLogged");
        QTest::addColumn<bool>("takenOver");

        QTest::newRow("the same call") << u"Home ISP"_s << u"ppp0"_s << false << false << true;
        QTest::newRow("no call up") << QString() << QString() << false << false << false;
        QTest::newRow("another entry") << u"Work"_s << u"ppp0"_s << false << false << false;
        QTest::newRow("another interface") << u"Home ISP"_s << u"ppp1"_s << false << false << false;
        QTest::newRow("a call watched") << u"Home ISP"_s << u"ppp0"_s << true << false << false;
        QTest::newRow("in the log already") << QString() << QString() << false << true << false;
    }
    void journaledCallIsTakenOverOnlyWhenItIsTheCallUp()
    {
        QFETCH(QString, entry);
        QFETCH(QString, interfaceName);
        QFETCH(bool, watching);
        QFETCH(bool, alreadyLogged);
        QFETCH(bool, takenOver);

        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        CScriptedRemoteAccess remoteAccess;
        CRecordingSink sink;
        CCallRecorder recorder(store, remoteAccess, sink, [] { return std::nullopt; });

        CCallJournal::Call call;
        call.start = QDateTime(QDate(2026, 3, 14), QTime(23, 50, 1));
        call.lastSeen = call.start.addSecs(60);
        call.user = u"anna"_s;
        call.device = u"USB Modem"_s;
        call.entry = u"Home ISP"_s;
        call.interfaceName = u"ppp0"_s;
        call.sent = 300;
        call.received = 4000;
        CCallJournal::State state;
        state.call = call;
        QVERIFY(CCallJournal(recorder.JournalPath()).Save(state));
        const QByteArray record = CCallJournal::RecordOf(call);
        QFile log(dir.filePath(u"logfile.log"_s));
        if (alreadyLogged) {
            QVERIFY(log.open(QIODevice::WriteOnly));
            log.write(record);
            log.close();
        }

        const QDateTime now = call.lastSeen.addSecs(600);
        recorder.Start(u"anna"_s, now);
        QVERIFY(recorder.HasJournaledCall());
        QList<CActiveConnection> connections;
        if (!entry.isEmpty()) {
            CActiveConnection connection;
            connection.entryName = entry;
            connection.interfaceName = interfaceName;
            connections.append(connection);
        }
        const std::optional<CCallJournal::Call> settled =
            recorder.SettleJournaledCall(connections, watching, now);
        QVERIFY(!recorder.HasJournaledCall());

        QCOMPARE(settled.has_value(), takenOver);
        if (takenOver) {
            QCOMPARE(settled->start, call.start);
            const CCallRecorder::Carried carried = recorder.CarriedSoFar(*settled);
            QCOMPARE(carried.sent, 300);
            QCOMPARE(carried.received, 4000);
        }
        // A call that is gone is in the log once; one taken over stays in the journal until
        // the monitor journals it as its own.
        const QByteArray logged = log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
        QCOMPARE(logged, takenOver ? QByteArray() : record);
        QCOMPARE(QFile::exists(recorder.JournalPath()), takenOver);
        QVERIFY(sink.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCallRecorder)
#include "tst_callrecorder.moc"
