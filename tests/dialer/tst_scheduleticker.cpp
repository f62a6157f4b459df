#include "common/settingsstore.h"
#include "dialer/scheduleticker.h"

#include "support/testclock.h"

#include <QTemporaryDir>
#include <QTest>

#include <QFileInfo>

#include <sys/inotify.h>
#include <unistd.h>

namespace {
// Counts the writes of the settings file: every write of the store renames a finished
// temporary file onto it, which the kernel reports as one move into the folder.
class CWriteCounter {
public:
    explicit CWriteCounter(const QString& path)
        : m_name(QFile::encodeName(QFileInfo(path).fileName()))
        , m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        inotify_add_watch(m_fd, QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~CWriteCounter() { ::close(m_fd); }
    CWriteCounter(const CWriteCounter&) = delete;
    CWriteCounter& operator=(const CWriteCounter&) = delete;

    // Writes since the last call.
    int Take()
    {
        int writes = 0;
        alignas(inotify_event) char buffer[4096];
        ssize_t got = 0;
        while ((got = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && m_name == event->name)
                    ++writes;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return writes;
    }

private:
    QByteArray m_name;
    int m_fd;
};

QString Remaining(const char* text)
{
    return QStringLiteral("Time remaining : ") + QLatin1String(text);
}
} // namespace

class TestScheduleTicker : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(QStringLiteral("ov.ini")));
        m_clock = std::make_unique<CTestClock>(QDateTime(QDate(2024, 3, 1), QTime(6, 0)));
    }
    void cleanup() { m_clock.reset(); }

    // Two minutes: 00:02:00 down to 00:00:02 on successive ticks, the dial on the 120th,
    // then stopped; the file is written at the start, on the first tick, at the firing and
    // when the stopped line is first shown, never once a second.
    // After the dial has fired, the status line says the dial waits for as long as a dial
    // of the program waits for an open window, then "stopped".
    void firedDialThatWaitsIsNotStopped_data()
    {
        QTest::addColumn<bool>("fired");
        QTest::addColumn<bool>("waits");
        QTest::addColumn<QString>("status");
        const QString waiting = QStringLiteral("Dial waits for the open window to close");
        const QString stopped = QStringLiteral("Dial sequence stopped");
        QTest::newRow("fired, dial waits") << true << true << waiting;
        QTest::newRow("fired, dial started") << true << false << stopped;
        // Another dial of the program (a redial) waits: not the schedule's business.
        QTest::newRow("never fired, a dial waits") << false << true << stopped;
    }
    void firedDialThatWaitsIsNotStopped()
    {
        QFETCH(bool, fired);
        QFETCH(bool, waits);
        QFETCH(QString, status);
        CScheduleTicker ticker(*m_store);
        bool waiting = waits;
        ticker.SetDialWaits([&waiting] { return waiting; });
        if (fired) {
            ticker.Start(CScheduleTicker::Dial, {false, true, QString(), 1});
            QCOMPARE(ticker.Tick(), CScheduleTicker::DialNow);
        }
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Status(CScheduleTicker::Dial), status);
        QCOMPARE(m_store->Read(Keys::DialTimerStatus), status);
        // Once the dial has started, the sequence is stopped.
        waiting = false;
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Status(CScheduleTicker::Dial), QStringLiteral("Dial sequence stopped"));
        // ... and stays so when another dial waits later.
        waiting = true;
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Status(CScheduleTicker::Dial), QStringLiteral("Dial sequence stopped"));
    }

    void countdownFiresOnItsLastTickWithoutWritingEachSecond()
    {
        CWriteCounter writes(m_store->Path());
        CScheduleTicker ticker(*m_store);
        ticker.Start(CScheduleTicker::Dial, {false, true, QString(), 120});
        QCOMPARE(writes.Take(), 3);
        QCOMPARE(m_store->Read(Keys::DialSecsToDial), 120);
        QCOMPARE(m_store->Read(Keys::DAfterTime), 1);

        // The first tick stores the first line of the countdown and the hang-up's "stopped".
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QStringList shown{ticker.Status(CScheduleTicker::Dial)};
        QCOMPARE(writes.Take(), 2);
        for (int tick = 2; tick < 120; ++tick) {
            QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
            shown << ticker.Status(CScheduleTicker::Dial);
        }
        QCOMPARE(writes.Take(), 0);
        QCOMPARE(shown.first(), Remaining("00:02:00"));
        QCOMPARE(shown.at(1), Remaining("00:01:59"));
        QCOMPARE(shown.at(60), Remaining("00:01:00"));
        QCOMPARE(shown.last(), Remaining("00:00:02"));
        QCOMPARE(shown.size(), 119);
        // The file says what ran from the start: a running counter and the first line.
        QCOMPARE(m_store->Read(Keys::DialTimerStatus), Remaining("00:02:00"));
        QCOMPARE(m_store->Read(Keys::DialSecsToDial), 120);
        QCOMPARE(ticker.Counter(CScheduleTicker::Dial), 1);

        QCOMPARE(ticker.Tick(), CScheduleTicker::DialNow);
        QCOMPARE(m_store->Read(Keys::DialSecsToDial), 0);
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(m_store->Read(Keys::DialTimerStatus), QStringLiteral("Dial sequence stopped"));
        QCOMPARE(writes.Take(), 2);
        for (int tick = 0; tick < 5; ++tick)
            QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(writes.Take(), 0);

        // One second fires at once; none is stopped at once.
        ticker.Start(CScheduleTicker::Hangup, {false, true, QString(), 1});
        QCOMPARE(ticker.Tick(), CScheduleTicker::HangupNow);
        ticker.Start(CScheduleTicker::Hangup, {false, true, QString(), 0});
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Status(CScheduleTicker::Hangup), QStringLiteral("Hangup sequence stopped"));
    }

    // Whole days are not shown; a negative counter runs for ever without firing.
    void remainingTimeAndNegativeCounters()
    {
        QCOMPARE(CScheduleTicker::RemainingText(30 * 3600), QStringLiteral("06:00:00"));
        QCOMPARE(CScheduleTicker::RemainingText(86399), QStringLiteral("23:59:59"));
        QCOMPARE(CScheduleTicker::RemainingText(-5), QStringLiteral("23:59:55"));

        CScheduleTicker ticker(*m_store);
        ticker.Start(CScheduleTicker::Dial, {false, true, QString(), 30 * 3600});
        ticker.Tick();
        QCOMPARE(ticker.Status(CScheduleTicker::Dial), Remaining("06:00:00"));

        ticker.Start(CScheduleTicker::Hangup, {false, true, QString(), -600});
        for (int tick = 0; tick < 2000; ++tick)
            QVERIFY(ticker.Tick() != CScheduleTicker::HangupNow);
        QCOMPARE(ticker.Counter(CScheduleTicker::Hangup), -2600);
        ticker.Stop(CScheduleTicker::Hangup);
        QCOMPARE(ticker.Counter(CScheduleTicker::Hangup), 0);
        QCOMPARE(m_store->Read(Keys::HangupSecsToHangup), 0);
    }

    // A time of day fires once, at the first tick in the matching minute (seconds are not
    // compared), and the hour and minute are read from fixed places of the text.
    void timeOfDayFiresOnceInItsMinute()
    {
        CScheduleTicker ticker(*m_store);
        ticker.Start(CScheduleTicker::Dial, {true, false, QStringLiteral("07:30:45"), 0});
        QCOMPARE(m_store->Read(Keys::DialSecsToDial), CScheduleTicker::kWaitingMarker);
        QCOMPARE(m_store->Read(Keys::DialTime), QStringLiteral("07:30:45"));
        QCOMPARE(m_store->Read(Keys::DAtTime), 1);

        m_clock->Set(QDateTime(QDate(2024, 3, 1), QTime(7, 29, 59)));
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Status(CScheduleTicker::Dial), QStringLiteral("Dialing at : 07:30:45"));
        QCOMPARE(m_store->Read(Keys::DialTimerStatus), QStringLiteral("Dialing at : 07:30:45"));
        m_clock->Set(QDateTime(QDate(2024, 3, 1), QTime(7, 30, 0)));
        QCOMPARE(ticker.Tick(), CScheduleTicker::DialNow);
        m_clock->AdvanceSecs(1);
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        m_clock->Set(QDateTime(QDate(2024, 3, 2), QTime(7, 30, 0)));
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Status(CScheduleTicker::Dial), QStringLiteral("Dial sequence stopped"));

        // "7:30:00" is hour 7, minute 0.
        ticker.Start(CScheduleTicker::Hangup, {true, false, QStringLiteral("7:30:00"), 0});
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Status(CScheduleTicker::Hangup), QStringLiteral("Hangup at : 7:30:00"));
        m_clock->Set(QDateTime(QDate(2024, 3, 2), QTime(7, 0, 30)));
        QCOMPARE(ticker.Tick(), CScheduleTicker::HangupNow);
    }

    // Both due in the same second: the dial now, the hang-up at the next tick.
    void dialBeforeHangup()
    {
        CScheduleTicker ticker(*m_store);
        ticker.Start(CScheduleTicker::Dial, {false, true, QString(), 3});
        ticker.Start(CScheduleTicker::Hangup, {false, true, QString(), 3});
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Tick(), CScheduleTicker::DialNow);
        QCOMPARE(ticker.Counter(CScheduleTicker::Hangup), 1);
        QCOMPARE(ticker.Tick(), CScheduleTicker::HangupNow);
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
    }

    // What the file says is taken: the last status lines until the first tick, an unknown
    // at-time flag that neither counts nor fires, and a counter set by another writer while
    // the ticker runs.
    void followsTheFile()
    {
        m_store->Write(Keys::DialTimerStatus, Remaining("00:00:07"));
        m_store->Write(Keys::HangupTimerStatus, QStringLiteral("Hangup at : 12:00:00"));
        m_store->Write(Keys::DialSecsToDial, 10);
        m_store->Write(Keys::DAtTime, 5);
        CScheduleTicker ticker(*m_store);
        QCOMPARE(ticker.Status(CScheduleTicker::Dial), Remaining("00:00:07"));
        QCOMPARE(ticker.Status(CScheduleTicker::Hangup), QStringLiteral("Hangup at : 12:00:00"));
        for (int tick = 0; tick < 20; ++tick)
            QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Counter(CScheduleTicker::Dial), 10);
        QCOMPARE(ticker.Status(CScheduleTicker::Dial), Remaining("00:00:07"));
        QCOMPARE(m_store->Read(Keys::HangupTimerStatus), QStringLiteral("Hangup sequence stopped"));

        // Another writer of the same file: its counter and flag are taken over, and an
        // unrelated write (which replaces the file too) changes nothing of the countdown.
        CSettingsStore other(m_store->Path());
        other.Write(Keys::DAtTime, 0);
        other.Write(Keys::DialSecsToDial, 4);
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Status(CScheduleTicker::Dial), Remaining("00:00:04"));
        other.Write(Keys::SummaryWhen, 1);
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
        QCOMPARE(ticker.Status(CScheduleTicker::Dial), Remaining("00:00:02"));
        QCOMPARE(ticker.Tick(), CScheduleTicker::DialNow);
        QCOMPARE(other.Read(Keys::DialSecsToDial), 0);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CTestClock> m_clock;
};

QTEST_GUILESS_MAIN(TestScheduleTicker)
#include "tst_scheduleticker.moc"
