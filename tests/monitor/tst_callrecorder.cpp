#include "common/settingskeys.h"
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
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(const QString& path)
{
    return QFile::encodeName(path);
}

struct stat LinkStat(const QString& path)
{
    struct stat st {};
    st.st_ino = 0;
    ::lstat(Bytes(path).constData(), &st);
    return st;
}

bool WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush();
}

CCallJournal::Call ACall()
{
    CCallJournal::Call call;
    call.start = QDateTime(QDate(2026, 3, 14), QTime(23, 50, 1));
    call.entry = u"Home ISP"_s;
    call.device = u"USB Modem"_s;
    call.interfaceName = u"ppp0"_s;
    call.sent = 300;
    call.received = 4000;
    return call;
}

// Fills a small file system until a write fails; the fillers go with Free().
void Fill(const QString& folder)
{
    const QStringList fillers = QDir(folder).entryList({u"filler-*"_s});
    QFile filler(folder + u"/filler-"_s + QString::number(fillers.size()));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
}

void Free(const QString& folder)
{
    for (const QString& filler : QDir(folder).entryList({u"filler-*"_s}))
        QFile::remove(folder + u'/' + filler);
}

// A small tmpfs, unmounted when it goes.
struct CSmallDisk {
    QByteArray path;
    bool mounted = false;
    explicit CSmallDisk(const QString& folder)
        : path(Bytes(folder))
    {
        mounted = QDir().mkpath(folder) &&
                  ::mount("tmpfs", path.constData(), "tmpfs", 0, "size=64k,mode=0700") == 0;
    }
    ~CSmallDisk()
    {
        if (mounted)
            ::umount2(path.constData(), MNT_DETACH);
    }
};

} // namespace

// A call the last run journaled meets the connections of the first look of this run.
class TestCallRecorder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Whatever sits at the journal's name is never followed, overwritten nor removed: it is
    // kept under a dated name, the user hears of it once, and a new journal begins.
    void hostileJournalIsKeptAsideNeverFollowed_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"pipe", "link to a file of ours", "file of another user",
                                 "mode 000", "17 MiB", "garbage", "directory"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void hostileJournalIsKeptAsideNeverFollowed()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        CScriptedRemoteAccess remoteAccess;
        CRecordingSink sink;
        CScriptedMessageBox boxes;
        const CCallJournal::Call call = ACall();
        CCallRecorder recorder(store, remoteAccess, sink, [&] { return call; });
        const QString path = recorder.JournalPath();
        const QByteArray name = Bytes(path);
        const QString target = dir.filePath(u"precious"_s);
        QVERIFY(WriteFile(target, "precious\n"));

        if (kind == u"pipe") {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (kind == u"link to a file of ours") {
            QCOMPARE(::symlink(Bytes(target).constData(), name.constData()), 0);
        } else if (kind == u"file of another user") {
            QVERIFY(WriteFile(path, "start=2026-03-14 23:50:01\n"));
            if (::chown(name.constData(), ::geteuid() + 4321, ::getegid()) != 0)
                QSKIP("needs root to give a file away");
        } else if (kind == u"mode 000") {
            QVERIFY(WriteFile(path, "start=2026-03-14 23:50:01\n"));
            QCOMPARE(::chmod(name.constData(), 0), 0);
        } else if (kind == u"17 MiB") {
            QVERIFY(WriteFile(path, QByteArray(17 * 1024 * 1024, '#')));
        } else if (kind == u"garbage") {
            QVERIFY(WriteFile(path, "\x01\x7f garbage \xff\xfe\n"));
        } else {
            QVERIFY(QDir().mkdir(path));
        }
        const struct stat before = LinkStat(path);

        const QDateTime now = call.start.addSecs(60);
        recorder.Start(u"anna"_s, now);
        recorder.CallSeen(now);

        QFile precious(target);
        QVERIFY(precious.open(QIODevice::ReadOnly));
        QCOMPARE(precious.readAll(), QByteArray("precious\n"));
        const QString aside = path + u".unreadable-2026-03-14T23-51-01"_s;
        QCOMPARE(LinkStat(aside).st_ino, before.st_ino);
        QCOMPARE(LinkStat(aside).st_mode, before.st_mode);
        QCOMPARE(boxes.Shown().size(), 1);
        QVERIFY(boxes.Shown().first().text.contains(aside));
        QString problem;
        const CCallJournal::State state = CCallJournal(path).Load(&problem);
        QCOMPARE(problem, QString());
        QVERIFY(state.call);
        QCOMPARE(state.call->start, call.start);
        QCOMPARE(LinkStat(path).st_mode & 07777, mode_t(0600));
    }

    // Others could plant anything in a folder they may write to: the journal stays beside
    // the settings.
    void journalStaysOutOfAFolderOthersMayWrite()
    {
        QTemporaryDir dir;
        const QString shared = dir.filePath(u"shared"_s);
        QVERIFY(QDir().mkdir(shared));
        QCOMPARE(::chmod(Bytes(shared).constData(), 01777), 0);
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        QVERIFY(store.Write(Keys::IniPath, shared));
        CScriptedRemoteAccess remoteAccess;
        CRecordingSink sink;
        const CCallJournal::Call call = ACall();
        CCallRecorder recorder(store, remoteAccess, sink, [&] { return call; });
        recorder.Start(u"anna"_s, call.start);
        recorder.CallSeen(call.start);
        QCOMPARE(recorder.JournalPath(), dir.filePath(u"logfile.journal"_s));
        QVERIFY(CCallJournal(recorder.JournalPath()).Load().call);
        QVERIFY(QDir(shared).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                     QDir::NoDotAndDotDot));
    }

    // With the log's folder full the journal moves beside the settings; with both full the
    // user hears of it once and the call is saved as soon as there is room again.
    void journalOutlivesAFullDisk()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to mount file systems in a private namespace");
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            QSKIP("no private mount namespace here");
        QTemporaryDir dir;
        const QString logFolder = dir.filePath(u"log"_s);
        const QString settingsFolder = dir.filePath(u"settings"_s);
        const CSmallDisk logDisk(logFolder);
        const CSmallDisk settingsDisk(settingsFolder);
        if (!logDisk.mounted || !settingsDisk.mounted)
            QSKIP("cannot mount a tmpfs here");
        CSettingsStore store(settingsFolder + u"/ov.ini"_s);
        QVERIFY(store.Write(Keys::IniPath, logFolder));
        CScriptedRemoteAccess remoteAccess;
        CRecordingSink sink;
        CScriptedMessageBox boxes;
        const CCallJournal::Call call = ACall();
        const QString besideLog = logFolder + u"/logfile.journal"_s;
        const QString besideSettings = settingsFolder + u"/logfile.journal"_s;
        auto lastSeen = [](const QString& path) {
            const CCallJournal::State state = CCallJournal(path).Load();
            return state.call ? state.call->lastSeen : QDateTime();
        };

        const QDateTime now = call.start;
        {
            CCallRecorder recorder(store, remoteAccess, sink, [&] { return call; });
            recorder.Start(u"anna"_s, now);
            QCOMPARE(lastSeen(besideLog), now);

            Fill(logFolder);
            recorder.CallGoesOn(now.addSecs(60));
            QCOMPARE(recorder.JournalPath(), besideSettings);
            QCOMPARE(lastSeen(besideSettings), now.addSecs(60));
            QVERIFY(!QFile::exists(besideLog));
            QVERIFY(boxes.Shown().isEmpty());

            // The old journal beside the log went and left room: fill it again.
            Fill(logFolder);
            Fill(settingsFolder);
            recorder.CallGoesOn(now.addSecs(120));
            recorder.CallGoesOn(now.addSecs(121));
            QCOMPARE(boxes.Shown().size(), 1);
            QCOMPARE(lastSeen(besideSettings), now.addSecs(60));

            // Room again: saved at once, not a minute later.
            Free(logFolder);
            recorder.CallGoesOn(now.addSecs(122));
            QCOMPARE(lastSeen(besideLog), now.addSecs(122));
            QVERIFY(!QFile::exists(besideSettings));
            QCOMPARE(boxes.Shown().size(), 1);
        }
        // Killed here: the next run finds the call.
        CCallRecorder next(store, remoteAccess, sink, [] { return std::nullopt; });
        next.Start(u"anna"_s, now.addSecs(300));
        QVERIFY(next.HasJournaledCall());
        Free(settingsFolder);
    }

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
