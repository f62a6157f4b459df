#include "common/settingsstore.h"
#include "monitor/callrecorder.h"

#include "support/monitorfakes.h"
#include "support/scriptedmessagebox.h"
#include "support/scriptedremoteaccess.h"

#include <QDir>
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
        QTest::addColumn<qint64>("sent"); // the bytes the call carried
        QTest::addColumn<qint64>("received");
        // The journal as an older version wrote it, with counts cut to 32 signed bits.
        QTest::addColumn<bool>("oldJournal");

        const qint64 up = 300;
        const qint64 down = 4000;
        QTest::newRow("the same call")
            << u"Home ISP"_s << u"ppp0"_s << false << false << true << up << down << false;
        QTest::newRow("no call up")
            << QString() << QString() << false << false << false << up << down << false;
        QTest::newRow("another entry")
            << u"Work"_s << u"ppp0"_s << false << false << false << up << down << false;
        QTest::newRow("another interface")
            << u"Home ISP"_s << u"ppp1"_s << false << false << false << up << down << false;
        QTest::newRow("a call watched")
            << u"Home ISP"_s << u"ppp0"_s << true << false << false << up << down << false;
        QTest::newRow("in the log already")
            << QString() << QString() << false << true << false << up << down << false;
        QTest::newRow("past 4 GiB, taken over")
            << u"Home ISP"_s << u"ppp0"_s << false << false << true << qint64(5400000000)
            << qint64(6000000000) << false;
        QTest::newRow("past 4 GiB, gone") << QString() << QString() << false << false << false
                                          << qint64(5400000000) << qint64(6000000000) << false;
        QTest::newRow("old journal, taken over")
            << u"Home ISP"_s << u"ppp0"_s << false << false << true << qint64(3000000000)
            << qint64(4294967295) << true;
        QTest::newRow("old journal, gone") << QString() << QString() << false << false << false
                                           << qint64(3000000000) << down << true;
    }
    void journaledCallIsTakenOverOnlyWhenItIsTheCallUp()
    {
        QFETCH(QString, entry);
        QFETCH(QString, interfaceName);
        QFETCH(bool, watching);
        QFETCH(bool, alreadyLogged);
        QFETCH(bool, takenOver);
        QFETCH(qint64, sent);
        QFETCH(qint64, received);
        QFETCH(bool, oldJournal);

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
        call.sent = sent;
        call.received = received;
        CCallJournal::State state;
        state.call = call;
        QVERIFY(CCallJournal(recorder.JournalPath()).Save(state));
        if (oldJournal) {
            QFile journal(recorder.JournalPath());
            QVERIFY(journal.open(QIODevice::ReadWrite));
            QByteArray text = journal.readAll();
            for (const QByteArray& key : {QByteArray("sent="), QByteArray("received=")}) {
                const qint64 value = key == "sent=" ? sent : received;
                const QByteArray now = key + QByteArray::number(value);
                const QByteArray old = key + QByteArray::number(qint32(quint32(value)));
                QVERIFY(text.contains(now));
                text.replace(now, old);
            }
            QVERIFY(text.contains("sent=-"));
            QVERIFY(journal.resize(0) && journal.seek(0));
            journal.write(text);
        }
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
            QCOMPARE(carried.sent, sent);
            QCOMPARE(carried.received, received);
        }
        // A call that is gone is in the log once; one taken over stays in the journal until
        // the monitor journals it as its own.
        const QByteArray logged = log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
        QCOMPARE(logged, takenOver ? QByteArray() : record);
        QCOMPARE(QFile::exists(recorder.JournalPath()), takenOver);
        QVERIFY(sink.messages.isEmpty());
    }

    // What the journal holds is checked before it becomes a record: damaged lines are
    // kept aside and said once, sound ones reach the log (or are settled as a call).
    void damagedJournalLinesAreKeptAside_data()
    {
        QTest::addColumn<QByteArray>("journal");
        QTest::addColumn<bool>("sound");

        const QByteArray names = "|anna|USB Modem|Home ISP|300|4000|";
        QTest::newRow("a good record")
            << "pending=02-12-2026|10:00:00|02-12-2026|10:00:16" + names << true;
        QTest::newRow("a good call") << QByteArray("start=2026-12-02 10:00:00\n"
                                                   "last=2026-12-02 10:00:16\nentry=Home%20ISP")
                                     << true;
        QTest::newRow("cut short") << QByteArray("pending=02-12-2026|10:0") << false;
        QTest::newRow("year 1") << "pending=02-12-0001|10:00:00|02-12-0001|10:00:16" + names
                                << false;
        QTest::newRow("year 9999")
            << "pending=02-12-9999|10:00:00|02-12-9999|10:00:16" + names << false;
        QTest::newRow("25 hours") << "pending=01-12-2026|10:00:00|02-12-2026|11:00:00" + names
                                  << false;
        QTest::newRow("end before start")
            << "pending=02-12-2026|10:00:16|02-12-2026|10:00:00" + names << false;
        QTest::newRow("no calendar date")
            << "pending=31-02-2026|10:00:00|31-02-2026|10:00:16" + names << false;
        QTest::newRow("no count")
            << QByteArray("pending=02-12-2026|10:00:00|02-12-2026|10:00:16|a|d|e|3x|4|") << false;
        QTest::newRow("garbage") << QByteArray("pending=%01zz|q%FF|||x") << false;
        QTest::newRow("call started in year 1")
            << QByteArray("start=0001-12-02 10:00:00\nlast=2026-12-02 10:00:16") << false;
        QTest::newRow("call last seen in year 9999")
            << QByteArray("start=2026-12-02 10:00:00\nlast=9999-12-02 10:00:16") << false;
    }
    void damagedJournalLinesAreKeptAside()
    {
        QFETCH(QByteArray, journal);
        QFETCH(bool, sound);

        CScriptedMessageBox boxes;
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        CScriptedRemoteAccess remoteAccess;
        CRecordingSink sink;
        CCallRecorder recorder(store, remoteAccess, sink, [] { return std::nullopt; });
        QFile file(recorder.JournalPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(journal + '\n');
        file.close();

        recorder.Start(u"anna"_s, QDateTime(QDate(2026, 12, 2), QTime(12, 0)));
        const bool pending = journal.startsWith("pending=");
        QFile log(dir.filePath(u"logfile.log"_s));
        const QByteArray logged = log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
        QCOMPARE(logged, sound && pending ? journal.mid(8) + '\n' : QByteArray());
        QCOMPARE(recorder.HasJournaledCall(), sound && !pending);
        QFile rejected(recorder.JournalPath() + u".rejected"_s);
        QCOMPARE(rejected.exists(), !sound);
        QCOMPARE(boxes.Shown().size(), sound ? 0 : 1);
        if (!sound && pending) {
            QVERIFY(rejected.open(QIODevice::ReadOnly));
            QCOMPARE(rejected.readAll(), QByteArray::fromPercentEncoding(journal.mid(8)) + '\n');
        }
    }

    // The clock went back between the last run and this one: the call taken over keeps
    // the length it had, as if no time had passed.
    void clockSteppedBackBeforeTheTakeover()
    {
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        CScriptedRemoteAccess remoteAccess;
        CRecordingSink sink;
        CCallRecorder recorder(store, remoteAccess, sink, [] { return std::nullopt; });
        CCallJournal::Call call;
        call.start = QDateTime(QDate(2026, 12, 2), QTime(10, 0));
        call.lastSeen = call.start.addSecs(16);
        call.entry = u"Home ISP"_s;
        call.interfaceName = u"ppp0"_s;
        CCallJournal::State state;
        state.call = call;
        QVERIFY(CCallJournal(recorder.JournalPath()).Save(state));

        const QDateTime now = call.start.addSecs(-3600);
        recorder.Start(u"anna"_s, now);
        CActiveConnection connection;
        connection.entryName = call.entry;
        connection.interfaceName = call.interfaceName;
        const std::optional<CCallJournal::Call> settled =
            recorder.SettleJournaledCall({connection}, false, now);
        QVERIFY(settled);
        QCOMPARE(settled->start.secsTo(now), 16);
    }

    // The log's folder changes during a call: the journal moves with it at the next tick,
    // so a start that finds the log in its new place finds the call too.
    void journalFollowsTheLogToAnotherFolder()
    {
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        CScriptedRemoteAccess remoteAccess;
        CRecordingSink sink;
        const QDateTime start(QDate(2026, 12, 2), QTime(10, 0));
        CCallRecorder recorder(store, remoteAccess, sink, [&] {
            CCallJournal::Call call;
            call.start = start;
            call.entry = u"Home ISP"_s;
            return std::optional(call);
        });
        recorder.Start(u"anna"_s, start);
        recorder.CallSeen(start);
        const QString old = recorder.JournalPath();
        QVERIFY(QFile::exists(old));

        QVERIFY(QDir().mkpath(dir.filePath(u"elsewhere"_s)));
        QVERIFY(store.Write(Keys::IniPath, dir.filePath(u"elsewhere"_s)));
        recorder.CallGoesOn(start.addSecs(1));
        QCOMPARE(recorder.JournalPath(), dir.filePath(u"elsewhere/logfile.journal"_s));
        QVERIFY(!QFile::exists(old));
        const CCallJournal::State moved = CCallJournal(recorder.JournalPath()).Load();
        QVERIFY(moved.call);
        QCOMPARE(moved.call->start, start);
    }
};

QTEST_GUILESS_MAIN(TestCallRecorder)
#include "tst_callrecorder.moc"
