#include "common/settingsstore.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "support/testclock.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

using State = CRemoteAccess::State;

struct Progress {
    QList<unsigned> states;
    QList<unsigned> errors;

    CRemoteAccess::DialNotifier Notifier()
    {
        return [this](unsigned state, unsigned error) {
            states.append(state);
            errors.append(error);
        };
    }
    bool Finished() const
    {
        return !states.isEmpty() &&
               (states.last() == CRemoteAccess::Connected || errors.last() != 0);
    }
};

const QList<unsigned> kConnectSteps = {
    CRemoteAccess::OpenPort,
    CRemoteAccess::PortOpened,
    CRemoteAccess::ConnectDevice,
    CRemoteAccess::DeviceConnected,
    CRemoteAccess::AllDevicesConnected,
    CRemoteAccess::Authenticate,
    CRemoteAccess::Authenticated,
    CRemoteAccess::Connected,
};

} // namespace

class TestSimRemoteAccess : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialGoesThroughProgressAndConnects();
    void busyLineCountsDownThenConnects();
    void failingDialReportsCodeAtItsStep_data();
    void failingDialReportsCodeAtItsStep();
    void refusedDials();
    void hangUpStopsUnfinishedDial();
    void hangUpEndsConnection();
    void connectionFromOutsideComesAndGoes();
    void handEditedFileMakesNewConnection();
    void enumErrorFromFile();
    void countersFollowTheClock();
    void phonebookEntries();
    void garbageFileGivesDefaults();
    void unwritableFileFailsTheDialInsteadOfConnecting();
    void unreadableFileKeepsTheLineUp();
    void errorTexts();
    void defaultFileBesideSettings();

private:
    QString FilePath() const { return m_dir->filePath(u"simulator.ini"_s); }
    // The file as another process reads and writes it.
    QString Get(const char* section, const char* key) const
    {
        return CSettingsStore(FilePath()).ReadString(section, key, u"<none>"_s);
    }
    bool Set(const char* section, const char* key, const QString& value) const
    {
        return CSettingsStore(FilePath()).WriteString(section, key, value);
    }
    bool Set(const char* section, const char* key, int value) const
    {
        return Set(section, key, QString::number(value));
    }
    QList<CActiveConnection> Connections(CSimRemoteAccess& sim);

    std::optional<QTemporaryDir> m_dir;
    std::optional<CTestClock> m_clock;
    const QDateTime m_start = QDateTime(QDate(2024, 3, 1), QTime(10, 0, 0));
};

void TestSimRemoteAccess::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    m_clock.emplace(m_start);
    QVERIFY(Set("Dial", "StepMs", 1));
}

void TestSimRemoteAccess::cleanup()
{
    m_clock.reset();
    m_dir.reset();
}

QList<CActiveConnection> TestSimRemoteAccess::Connections(CSimRemoteAccess& sim)
{
    QList<CActiveConnection> list;
    const int rc = sim.EnumConnections(list);
    if (rc != 0)
        qWarning("EnumConnections failed with %d", rc);
    return list;
}

void TestSimRemoteAccess::dialGoesThroughProgressAndConnects()
{
    CSimRemoteAccess sim(FilePath());
    Progress progress;
    CRemoteAccess::Handle handle = 12345;
    QCOMPARE(sim.Dial(u"home isp"_s, u"joe"_s, u"pw"_s, progress.Notifier(), handle), 0);
    QVERIFY(handle != 0);
    QVERIFY(sim.IsDialing());
    // Progress never arrives inside Dial itself.
    QVERIFY(progress.states.isEmpty());

    QTRY_VERIFY(progress.Finished());
    QCOMPARE(progress.states, kConnectSteps);
    QCOMPARE(progress.errors, QList<unsigned>(kConnectSteps.size(), 0));
    QVERIFY(!sim.IsDialing());

    const QList<CActiveConnection> list = Connections(sim);
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].handle, handle);
    QCOMPARE(list[0].entryName, u"Home ISP"_s);
    QCOMPARE(list[0].deviceName, u"Simulated modem"_s);
    QCOMPARE(list[0].deviceType, u"modem"_s);
    QCOMPARE(list[0].interfaceName, u"ppp0"_s);
    // The handle stays the same as long as the connection does.
    QCOMPARE(Connections(sim).value(0).handle, handle);
    QCOMPARE(Get("Line", "Connected"), u"Home ISP"_s);
    QCOMPARE(Get("Line", "Since"), QString::number(m_start.toMSecsSinceEpoch()));
}

void TestSimRemoteAccess::busyLineCountsDownThenConnects()
{
    Set("Dial", "BusyTimes", 2);
    CSimRemoteAccess sim(FilePath());

    for (int attempt = 1; attempt <= 2; ++attempt) {
        Progress progress;
        CRemoteAccess::Handle handle = 0;
        QCOMPARE(sim.Dial(u"Work"_s, {}, {}, progress.Notifier(), handle), 0);
        QTRY_VERIFY(progress.Finished());
        // The busy line is found at the third step (FailAt defaults to 3).
        QCOMPARE(progress.states,
                 QList<unsigned>({CRemoteAccess::OpenPort, CRemoteAccess::PortOpened,
                                  CRemoteAccess::ConnectDevice}));
        QCOMPARE(progress.errors, QList<unsigned>({0, 0, CRemoteAccess::ErrorLineBusy}));
        QCOMPARE(Get("Dial", "BusyTimes").toInt(), 2 - attempt);
        QVERIFY(!sim.IsDialing());
        QVERIFY(Connections(sim).isEmpty());
    }

    Progress progress;
    CRemoteAccess::Handle handle = 0;
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, progress.Notifier(), handle), 0);
    QTRY_VERIFY(progress.Finished());
    QCOMPARE(progress.states.last(), unsigned(CRemoteAccess::Connected));
    QCOMPARE(Connections(sim).value(0).entryName, u"Work"_s);
}

void TestSimRemoteAccess::failingDialReportsCodeAtItsStep_data()
{
    QTest::addColumn<int>("failAt");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("steps");
    QTest::addColumn<unsigned>("lastState");

    QTest::newRow("no answer at the device") << 3 << 678 << 3 << unsigned(State::ConnectDevice);
    QTest::newRow("refused password") << 6 << 691 << 6 << unsigned(State::Authenticate);
    QTest::newRow("first step") << 1 << 680 << 1 << unsigned(State::OpenPort);
    QTest::newRow("beyond the last step") << 99 << 718 << 7 << unsigned(State::Authenticated);
}

void TestSimRemoteAccess::failingDialReportsCodeAtItsStep()
{
    QFETCH(int, failAt);
    QFETCH(int, code);
    QFETCH(int, steps);
    QFETCH(unsigned, lastState);
    Set("Dial", "FailCode", code);
    Set("Dial", "FailAt", failAt);
    CSimRemoteAccess sim(FilePath());

    // The failure stays until it is cleared: two dials fail alike.
    for (int attempt = 0; attempt < 2; ++attempt) {
        Progress progress;
        CRemoteAccess::Handle handle = 0;
        QCOMPARE(sim.Dial(u"Work"_s, {}, {}, progress.Notifier(), handle), 0);
        QTRY_VERIFY(progress.Finished());
        QCOMPARE(progress.states.size(), steps);
        QCOMPARE(progress.states.last(), lastState);
        QCOMPARE(progress.errors.last(), unsigned(code));
        QCOMPARE(progress.errors.count(0u), steps - 1);
        QVERIFY(Connections(sim).isEmpty());
    }

    Set("Dial", "FailCode", 0);
    Progress progress;
    CRemoteAccess::Handle handle = 0;
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, progress.Notifier(), handle), 0);
    QTRY_VERIFY(progress.Finished());
    QCOMPARE(progress.states, kConnectSteps);
}

void TestSimRemoteAccess::refusedDials()
{
    CSimRemoteAccess sim(FilePath());
    Progress progress;
    CRemoteAccess::Handle handle = 77;

    // Unknown entry.
    QCOMPARE(sim.Dial(u"Nowhere"_s, {}, {}, progress.Notifier(), handle),
             int(CRemoteAccess::ErrorEntryNotFound));
    QCOMPARE(handle, CRemoteAccess::Handle(0));

    // FailAt 0: refused at the start, busy first, then the fail code.
    Set("Dial", "FailAt", 0);
    Set("Dial", "BusyTimes", 1);
    Set("Dial", "FailCode", 680);
    handle = 77;
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, progress.Notifier(), handle),
             int(CRemoteAccess::ErrorLineBusy));
    QCOMPARE(handle, CRemoteAccess::Handle(0));
    QVERIFY(!sim.IsDialing());
    QCOMPARE(Get("Dial", "BusyTimes").toInt(), 0);
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, progress.Notifier(), handle),
             int(CRemoteAccess::ErrorNoDialTone));
    QVERIFY(!sim.IsDialing());
    Set("Dial", "FailCode", 0);

    // One line: no second dial while one is under way or a connection is up.
    Set("Dial", "StepMs", 60000);
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, progress.Notifier(), handle), 0);
    CRemoteAccess::Handle second = 5;
    QCOMPARE(sim.Dial(u"Home ISP"_s, {}, {}, progress.Notifier(), second),
             int(CRemoteAccess::ErrorPortAlreadyOpen));
    QCOMPARE(second, CRemoteAccess::Handle(0));
    QCOMPARE(sim.HangUp(handle), 0);

    Set("Line", "Connected", u"Work"_s);
    QCOMPARE(sim.Dial(u"Home ISP"_s, {}, {}, progress.Notifier(), second),
             int(CRemoteAccess::ErrorPortAlreadyOpen));
    QVERIFY(progress.states.isEmpty());
}

void TestSimRemoteAccess::hangUpStopsUnfinishedDial()
{
    CSimRemoteAccess sim(FilePath());

    // Hung up from inside the notifier at the second step: nothing more arrives.
    Progress first;
    CRemoteAccess::Handle firstHandle = 0;
    auto record = first.Notifier();
    QCOMPARE(sim.Dial(
                 u"Work"_s, {}, {},
                 [&](unsigned state, unsigned error) {
                     record(state, error);
                     if (state == CRemoteAccess::PortOpened)
                         QCOMPARE(sim.HangUp(firstHandle), 0);
                 },
                 firstHandle),
             0);
    QTRY_COMPARE(first.states.size(), 2);
    QVERIFY(!sim.IsDialing());

    // A later dial runs to the end; by then the first would long have gone on.
    Progress second;
    CRemoteAccess::Handle secondHandle = 0;
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, second.Notifier(), secondHandle), 0);
    QVERIFY(secondHandle != firstHandle);
    QTRY_VERIFY(second.Finished());
    QCOMPARE(second.states, kConnectSteps);
    QCOMPARE(first.states, QList<unsigned>({CRemoteAccess::OpenPort, CRemoteAccess::PortOpened}));
    // The old handle names nothing any more.
    QCOMPARE(sim.HangUp(firstHandle), int(CRemoteAccess::ErrorInvalidHandle));
    QCOMPARE(Connections(sim).size(), 1);
}

void TestSimRemoteAccess::hangUpEndsConnection()
{
    CSimRemoteAccess sim(FilePath());
    Progress progress;
    CRemoteAccess::Handle handle = 0;
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, progress.Notifier(), handle), 0);
    QTRY_VERIFY(progress.Finished());

    QCOMPARE(sim.HangUp(0), int(CRemoteAccess::ErrorInvalidHandle));
    QCOMPARE(sim.HangUp(handle + 1), int(CRemoteAccess::ErrorInvalidHandle));
    QCOMPARE(Connections(sim).size(), 1);

    QCOMPARE(sim.HangUp(Connections(sim).value(0).handle), 0);
    QVERIFY(Connections(sim).isEmpty());
    QCOMPARE(Get("Line", "Connected"), QString());
    QCOMPARE(Get("Line", "Since"), u"<none>"_s);
    QCOMPARE(sim.HangUp(handle), int(CRemoteAccess::ErrorInvalidHandle));
}

void TestSimRemoteAccess::connectionFromOutsideComesAndGoes()
{
    CSimRemoteAccess sim(FilePath());
    QVERIFY(Connections(sim).isEmpty());
    m_clock->AdvanceSecs(5);
    QVERIFY(Set("Line", "Connected", u"Work"_s));
    const QList<CActiveConnection> list = Connections(sim);
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].entryName, u"Work"_s);
    QVERIFY(list[0].handle != 0);
    // The first look gives the line its start time and handle, in the file.
    QCOMPARE(Get("Line", "Since"), QString::number(m_start.addSecs(5).toMSecsSinceEpoch()));
    QCOMPARE(Get("Line", "Handle"), QString::number(list[0].handle));
    m_clock->AdvanceSecs(30);
    QCOMPARE(Connections(sim).value(0).handle, list[0].handle);
    QCOMPARE(Get("Line", "Since"), QString::number(m_start.addSecs(5).toMSecsSinceEpoch()));

    // The remote side hangs up.
    QVERIFY(Set("Line", "Connected", QString()));
    QVERIFY(Connections(sim).isEmpty());
    quint64 in = 0;
    quint64 out = 0;
    QVERIFY(!sim.ReadByteCounters(u"ppp0"_s, in, out));
}

void TestSimRemoteAccess::handEditedFileMakesNewConnection()
{
    CSimRemoteAccess sim(FilePath());
    Set("Line", "Connected", u"Work"_s);
    const CRemoteAccess::Handle first = Connections(sim).value(0).handle;
    QVERIFY(first != 0);

    // An editor empties the line and later fills it in again, leaving the old start time
    // and handle in the file: the simulator sees a new connection.
    const auto rewrite = [this](const QByteArray& from, const QByteArray& to) {
        QFile file(FilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        QVERIFY(text.contains(from));
        text.replace(from, to);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    m_clock->AdvanceSecs(60);
    rewrite("Connected=Work", "Connected=");
    QVERIFY(Connections(sim).isEmpty());
    m_clock->AdvanceSecs(60);
    rewrite("Connected=\n", "Connected=Home ISP\n");
    const QList<CActiveConnection> list = Connections(sim);
    QCOMPARE(list.value(0).entryName, u"Home ISP"_s);
    QVERIFY(list.value(0).handle != first);
    QCOMPARE(Get("Line", "Since"), QString::number(m_start.addSecs(120).toMSecsSinceEpoch()));

    // Changed to another entry without being seen down: also a new connection.
    m_clock->AdvanceSecs(60);
    rewrite("Connected=Home ISP", "Connected=Work");
    const QList<CActiveConnection> again = Connections(sim);
    QCOMPARE(again.value(0).entryName, u"Work"_s);
    QVERIFY(again.value(0).handle != list.value(0).handle);
    QCOMPARE(Get("Line", "Since"), QString::number(m_start.addSecs(180).toMSecsSinceEpoch()));
}

void TestSimRemoteAccess::enumErrorFromFile()
{
    CSimRemoteAccess sim(FilePath());
    Set("Line", "Connected", u"Work"_s);
    Set("Line", "EnumError", 610);
    QList<CActiveConnection> list{CActiveConnection()};
    QCOMPARE(sim.EnumConnections(list), 610);
    QVERIFY(list.isEmpty());
    Set("Line", "EnumError", 0);
    QCOMPARE(sim.EnumConnections(list), 0);
    QCOMPARE(list.size(), 1);
}

void TestSimRemoteAccess::countersFollowTheClock()
{
    CSimRemoteAccess sim(FilePath());
    quint64 in = 1;
    quint64 out = 1;
    QVERIFY(!sim.ReadByteCounters(u"ppp0"_s, in, out));

    Set("Line", "Connected", u"Work"_s);
    // The counters only read the file: the line counts once listing it gave it a start.
    QCOMPARE(Connections(sim).size(), 1);
    QVERIFY(sim.ReadByteCounters(u"ppp0"_s, in, out));
    QCOMPARE(in, quint64(0));
    QCOMPARE(out, quint64(0));

    m_clock->AdvanceSecs(10);
    QVERIFY(sim.ReadByteCounters(u"ppp0"_s, in, out));
    QCOMPARE(in, quint64(40000));
    QCOMPARE(out, quint64(8000));

    m_clock->AdvanceMsecs(250);
    QVERIFY(sim.ReadByteCounters(u"ppp0"_s, in, out));
    QCOMPARE(in, quint64(41000));
    QCOMPARE(out, quint64(8200));

    // Another interface is not the simulator's: the caller asks the system.
    QVERIFY(!sim.ReadByteCounters(u"eth0"_s, in, out));

    // Rates and interface come from the file.
    Set("Line", "RateIn", 7);
    Set("Line", "RateOut", -5);
    Set("Line", "Interface", u"sim9"_s);
    QCOMPARE(Connections(sim).value(0).interfaceName, u"sim9"_s);
    QVERIFY(!sim.ReadByteCounters(u"ppp0"_s, in, out));
    QVERIFY(sim.ReadByteCounters(u"sim9"_s, in, out));
    QCOMPARE(in, quint64(71)); // 7 * 10.25 s
    QCOMPARE(out, quint64(0));
}

void TestSimRemoteAccess::phonebookEntries()
{
    CSimRemoteAccess sim(FilePath());
    QStringList entries;
    QCOMPARE(sim.EnumEntries(entries), 0);
    QCOMPARE(entries, QStringList({u"Home ISP"_s, u"Work"_s}));

    QCOMPARE(sim.CreateEntry(), 0);
    QCOMPARE(sim.CreateEntry(), 0);
    QCOMPARE(sim.DeleteEntry(u"new ENTRY 1"_s), 0);
    QCOMPARE(sim.CreateEntry(), 0);
    QCOMPARE(sim.EnumEntries(entries), 0);
    QCOMPARE(entries, QStringList({u"Home ISP"_s, u"Work"_s, u"New entry 2"_s, u"New entry 1"_s}));

    QCOMPARE(sim.DeleteEntry(u"Nowhere"_s), int(CRemoteAccess::ErrorEntryNotFound));
    QCOMPARE(sim.EditEntry(u"Nowhere"_s), int(CRemoteAccess::ErrorEntryNotFound));
    QCOMPARE(sim.EditEntry(u"work"_s), 0);

    // Edited by hand: blanks, empty names and repeats are dropped.
    Set("Phonebook", "Entries", u" A one |b||a ONE| c "_s);
    QCOMPARE(sim.EnumEntries(entries), 0);
    QCOMPARE(entries, QStringList({u"A one"_s, u"b"_s, u"c"_s}));
    // An empty phonebook stays empty.
    Set("Phonebook", "Entries", QString());
    QCOMPARE(sim.EnumEntries(entries), 0);
    QVERIFY(entries.isEmpty());
    CRemoteAccess::Handle handle = 0;
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, {}, handle), int(CRemoteAccess::ErrorEntryNotFound));
}

void TestSimRemoteAccess::garbageFileGivesDefaults()
{
    {
        QFile file(FilePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        static const char garbage[] =
            "\xff\xfe\x00garbage\n[Dial\nStepMs=abc\n[Dial]\nStepMs=-40\nBusyTimes=-3\n"
            "FailAt=zz\nFailCode=-9\n=\n[Line]\nConnected=Work\nSince=yesterday\nHandle=-1\n"
            "RateIn=1e9\nCounted=1 2\n";
        file.write(garbage, sizeof garbage - 1);
    }
    CSimRemoteAccess sim(FilePath());
    QStringList entries;
    QCOMPARE(sim.EnumEntries(entries), 0);
    QCOMPARE(entries.size(), 2);

    const QList<CActiveConnection> list = Connections(sim);
    QCOMPARE(list.size(), 1);
    QVERIFY(list[0].handle != 0);
    m_clock->AdvanceSecs(2);
    quint64 in = 0;
    quint64 out = 0;
    QVERIFY(sim.ReadByteCounters(u"ppp0"_s, in, out));
    QCOMPARE(in, quint64(2));
    QCOMPARE(out, quint64(1600));

    // Negative busy count and fail code mean none: the dial only meets the line in use.
    CRemoteAccess::Handle handle = 0;
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, {}, handle), int(CRemoteAccess::ErrorPortAlreadyOpen));
    QCOMPARE(sim.HangUp(list[0].handle), 0);
    Progress progress;
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, progress.Notifier(), handle), 0);
    QTRY_VERIFY(progress.Finished());
    QCOMPARE(progress.states, kConnectSteps);
}

void TestSimRemoteAccess::unwritableFileFailsTheDialInsteadOfConnecting()
{
    // The file's place is taken by a folder: reads give defaults, writes fail.
    const QString path = m_dir->filePath(u"folder.ini"_s);
    QVERIFY(QDir().mkpath(path));
    CSimRemoteAccess sim(path);
    QStringList entries;
    QCOMPARE(sim.EnumEntries(entries), 0);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(sim.CreateEntry(), int(CRemoteAccess::ErrorCannotWritePhonebook));

    Progress progress;
    CRemoteAccess::Handle handle = 0;
    QCOMPARE(sim.Dial(u"Work"_s, {}, {}, progress.Notifier(), handle), 0);
    QTRY_VERIFY_WITH_TIMEOUT(progress.Finished(), 20000);
    QVERIFY(progress.states.last() != CRemoteAccess::Connected);
    QCOMPARE(progress.errors.last(), unsigned(CRemoteAccess::ErrorHardwareFailure));
    QVERIFY(Connections(sim).isEmpty());
}

void TestSimRemoteAccess::unreadableFileKeepsTheLineUp()
{
    CSettingsStore::SetNoticeHandler([](const QString&) {});
    const auto restore = qScopeGuard([] { CSettingsStore::SetNoticeHandler({}); });
    CSimRemoteAccess sim(FilePath());
    QVERIFY(Set("Line", "Connected", u"Work"_s));
    const QList<CActiveConnection> before = Connections(sim);
    QCOMPARE(before.size(), 1);
    m_clock->AdvanceSecs(3);
    quint64 in = 0;
    quint64 out = 0;
    QVERIFY(sim.ReadByteCounters(u"ppp0"_s, in, out));

    // For a while the file cannot be read (no descriptors left, say): the line stays up
    // as it was, the same call with the same handle, and its counters go on.
    QFile file(FilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    file.close();
    QVERIFY(QFile::remove(FilePath()));
    QVERIFY(QDir().mkpath(FilePath()));
    const auto unblock = qScopeGuard([this] { QDir(FilePath()).removeRecursively(); });
    m_clock->AdvanceSecs(3);
    const QList<CActiveConnection> during = Connections(sim);
    QCOMPARE(during.size(), 1);
    QCOMPARE(during[0].handle, before[0].handle);
    quint64 laterIn = 0;
    quint64 laterOut = 0;
    QVERIFY(sim.ReadByteCounters(u"ppp0"_s, laterIn, laterOut));
    QVERIFY(laterIn > in);

    QVERIFY(QDir(FilePath()).removeRecursively());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    QCOMPARE(Connections(sim).value(0).handle, before[0].handle);
}

void TestSimRemoteAccess::errorTexts()
{
    CSimRemoteAccess sim(FilePath());
    const QList<int> codes = {676, 678, 680, 691, 623, 718, 602, 629, 6};
    QSet<QString> texts;
    for (int code : codes) {
        QString text;
        QVERIFY2(sim.GetErrorString(code, text), qPrintable(QString::number(code)));
        QVERIFY(!text.isEmpty());
        texts.insert(text);
    }
    QCOMPARE(texts.size(), codes.size());
    QString text = u"old"_s;
    QVERIFY(!sim.GetErrorString(12345, text));
    QVERIFY(text.isEmpty());
    QVERIFY(!sim.GetErrorString(0, text));
}

void TestSimRemoteAccess::defaultFileBesideSettings()
{
    QCOMPARE(CSimRemoteAccess::DefaultFile(u"/home/u/.config/orvalis/ov.ini"_s),
             u"/home/u/.config/orvalis/simulator.ini"_s);

    // A new file is written with every key, so the user can find them.
    const QString path = m_dir->filePath(u"sub/new.ini"_s);
    CSimRemoteAccess sim(path);
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFile::permissions(path) & (QFile::ReadOther | QFile::ReadGroup),
             QFile::Permissions());
    const CSettingsStore store(path);
    QCOMPARE(store.ReadString(u"Phonebook"_s, u"Entries"_s, QString()), u"Home ISP|Work"_s);
    QCOMPARE(store.ReadString(u"Line"_s, u"Connected"_s, u"<none>"_s), QString());

    // An existing file is left as it is.
    CSimRemoteAccess again(FilePath());
    QCOMPARE(Get("Dial", "StepMs"), u"1"_s);
    QCOMPARE(Get("Phonebook", "Entries"), u"<none>"_s);
}

QTEST_GUILESS_MAIN(TestSimRemoteAccess)
#include "tst_simremoteaccess.moc"
