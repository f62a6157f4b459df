#include "common/settingsstore.h"
#include "monitor/costguard.h"

#include "support/scriptedmessagebox.h"
#include "support/testclock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The four rules of the cost guard over a log of two calls at 5.00 a dial: 10.00 this
// month, 5.00 a call.
class TestCostGuard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(u"ov.ini"_s));
        m_clock = std::make_unique<CTestClock>(QDateTime(QDate(2026, 3, 14), QTime(23, 50, 0)));
        m_store->Write(Keys::PricePerDial, u"5.0000000000"_s);
        QFile log(m_dir->filePath(u"logfile.log"_s));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write("14-03-2026|10:00:00|14-03-2026|10:10:00|u|m|isp|1|2|\n"
                  "14-03-2026|11:00:00|14-03-2026|11:10:00|u|m|isp|1|2|\n");
        m_hangUps = 0;
        m_boxesBeforeHangUp = -1;
        m_connected = true;
        m_hangUpDone = true;
    }
    void cleanup() { m_clock.reset(); }

    void ruleFiresAboveItsAmount_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("enabled");
        QTest::addColumn<int>("amount");
        QTest::addColumn<QString>("text"); // empty: no box
        QTest::addColumn<bool>("hangsUp");

        const QString warnMonth = u"Warning - cost per month too high. See "
                                  "Preferences->Warnings. Cost: 10.00"_s;
        const QString warnCall =
            u"Warning - cost per call too high. See Preferences->Warnings. Cost: 5.00"_s;
        const QString limitMonth = u"Warning - cost per month too high. See "
                                   "Preferences->Warnings. Connection closed."_s;
        const QString limitCall = u"Warning - cost per call too high. See "
                                  "Preferences->Warnings. Connection closed."_s;
        struct Case {
            const char* name;
            int rule;
            QString text;
            int total; // the total the rule watches
            bool hangsUp;
        };
        const Case cases[] = {{"warn month", 0, warnMonth, 10, false},
                              {"warn call", 1, warnCall, 5, false},
                              {"limit month", 2, limitMonth, 10, true},
                              {"limit call", 3, limitCall, 5, true}};
        for (const Case& c : cases) {
            QTest::addRow("%s, amount below the total", c.name)
                << c.rule << 1 << c.total - 1 << c.text << c.hangsUp;
            QTest::addRow("%s, amount at the total", c.name)
                << c.rule << 1 << c.total << QString() << false;
            QTest::addRow("%s, amount above the total", c.name)
                << c.rule << 1 << c.total + 1 << QString() << false;
            QTest::addRow("%s, off", c.name) << c.rule << 0 << c.total - 1 << QString() << false;
            // Only 1 switches a rule on.
            QTest::addRow("%s, switch 2", c.name)
                << c.rule << 2 << c.total - 1 << QString() << false;
        }
    }
    void ruleFiresAboveItsAmount()
    {
        QFETCH(int, rule);
        QFETCH(int, enabled);
        QFETCH(int, amount);
        QFETCH(QString, text);
        QFETCH(bool, hangsUp);
        const CCostGuard::Rule& row = CCostGuard::Rules()[rule];
        m_store->Write(row.enabled, enabled);
        m_store->Write(row.amount, amount);

        CScriptedMessageBox boxes;
        m_boxes = &boxes;
        CCostGuard guard = MakeGuard();
        guard.Check();
        m_boxes = nullptr;

        QCOMPARE(boxes.Shown().size(), text.isEmpty() ? 0 : 1);
        QCOMPARE(m_hangUps, hangsUp ? 1 : 0);
        if (text.isEmpty())
            return;
        QCOMPARE(boxes.Shown()[0].text, text);
        if (hangsUp) {
            // The line is down before the box says so.
            QCOMPARE(m_boxesBeforeHangUp, 0);
            QCOMPARE(boxes.Shown()[0].caption, u"orvalis"_s);
        } else {
            QCOMPARE(boxes.Shown()[0].caption, u"Warning"_s);
            QCOMPARE(boxes.Shown()[0].icon, CMessageBox::Icon::Stop);
        }
    }

    void oneBoxOfARuleAtATime_data()
    {
        QTest::addColumn<int>("rule");
        QTest::newRow("warn month") << 0;
        QTest::newRow("warn call") << 1;
        QTest::newRow("limit month") << 2;
        QTest::newRow("limit call") << 3;
    }
    void oneBoxOfARuleAtATime()
    {
        QFETCH(int, rule);
        const CCostGuard::Rule& row = CCostGuard::Rules()[rule];
        m_store->Write(row.enabled, 1);
        m_store->Write(row.amount, 1);
        CCostGuard guard = MakeGuard();

        // The next minute's check runs while the box is still open.
        int shown = 0;
        CMessageBox::SetPresenter([&](const CMessageBox::Box&) {
            if (++shown == 1)
                guard.Check();
            return CMessageBox::Answer::Ok;
        });
        guard.Check();
        QCOMPARE(shown, 1);
        // Once it is closed, the next check shows it again.
        guard.Check();
        CMessageBox::SetPresenter({});
        QCOMPARE(shown, 2);
    }

    // While one rule's box is open, the others still show theirs.
    void otherRulesShowUnderAnOpenBox()
    {
        for (const CCostGuard::Rule& row : CCostGuard::Rules()) {
            m_store->Write(row.enabled, 1);
            m_store->Write(row.amount, 1);
        }
        CCostGuard guard = MakeGuard();
        QStringList texts;
        CMessageBox::SetPresenter([&](const CMessageBox::Box& box) {
            texts.append(box.text);
            if (texts.size() == 1)
                guard.Check();
            return CMessageBox::Answer::Ok;
        });
        guard.Check();
        CMessageBox::SetPresenter({});
        // The first box, the other three underneath it, then the other three again.
        QCOMPARE(texts.size(), 7);
        QCOMPARE(texts.count(texts[0]), 1);
        QCOMPARE(m_hangUps, 4);
        QCOMPARE(guard.LogPasses(), 1);
    }

    // A limit hangs up only a call that is up and says the line is closed only when the
    // hang-up was done; with no call up it shows the warning of its total.
    void limitWithOrWithoutACall_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("hangUpDone");
        QTest::addColumn<QString>("text"); // empty: no box
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("hangUps");

        const QString warning = u"Warning"_s;
        const QString app = u"orvalis"_s;
        const QString warnMonth = u"Warning - cost per month too high. See "
                                  "Preferences->Warnings. Cost: 10.00"_s;
        const QString warnCall =
            u"Warning - cost per call too high. See Preferences->Warnings. Cost: 5.00"_s;
        const QString closedMonth = u"Warning - cost per month too high. See "
                                    "Preferences->Warnings. Connection closed."_s;
        const QString closedCall = u"Warning - cost per call too high. See "
                                   "Preferences->Warnings. Connection closed."_s;
        QTest::newRow("month, call, hung up") << 2 << true << true << closedMonth << app << 1;
        QTest::newRow("month, call, declined") << 2 << true << false << QString() << app << 1;
        QTest::newRow("month, no call") << 2 << false << true << warnMonth << warning << 0;
        QTest::newRow("call, call, hung up") << 3 << true << true << closedCall << app << 1;
        QTest::newRow("call, call, declined") << 3 << true << false << QString() << app << 1;
        QTest::newRow("call, no call") << 3 << false << true << warnCall << warning << 0;
    }
    void limitWithOrWithoutACall()
    {
        QFETCH(int, rule);
        QFETCH(bool, connected);
        QFETCH(bool, hangUpDone);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(int, hangUps);
        const CCostGuard::Rule& row = CCostGuard::Rules()[rule];
        m_store->Write(row.enabled, 1);
        m_store->Write(row.amount, 1);
        m_connected = connected;
        m_hangUpDone = hangUpDone;

        CScriptedMessageBox boxes;
        CCostGuard guard = MakeGuard();
        guard.Check();
        QCOMPARE(m_hangUps, hangUps);
        QCOMPARE(boxes.Shown().size(), text.isEmpty() ? 0 : 1);
        if (text.isEmpty())
            return;
        QCOMPARE(boxes.Shown()[0].text, text);
        QCOMPARE(boxes.Shown()[0].caption, caption);
    }

    // With no call up a limit's warning shows once in an episode: again only after the
    // total came down to the amount, the rule was off, or the billing month changed.
    void limitWarnsOncePerEpisode_data()
    {
        QTest::addColumn<QString>("between");
        QTest::addColumn<int>("cycleStartDay");
        QTest::addColumn<bool>("shownAgain");
        QTest::newRow("nothing") << u"nothing"_s << 1 << false;
        QTest::newRow("into the next day") << u"next day"_s << 1 << false;
        QTest::newRow("into the next month") << u"next month"_s << 1 << true;
        QTest::newRow("into the next cycle") << u"next day"_s << 15 << true;
        QTest::newRow("total came down") << u"amount up"_s << 1 << true;
        QTest::newRow("rule off") << u"off"_s << 1 << true;
        QTest::newRow("a call is up") << u"call"_s << 1 << false;
    }
    void limitWarnsOncePerEpisode()
    {
        QFETCH(QString, between);
        QFETCH(int, cycleStartDay);
        QFETCH(bool, shownAgain);
        const CCostGuard::Rule& row = CCostGuard::Rules()[2];
        m_store->Write(row.enabled, 1);
        m_store->Write(row.amount, 1);
        m_store->Write(Keys::CycleStartDay, cycleStartDay);
        m_connected = false;
        CScriptedMessageBox boxes;
        CCostGuard guard = MakeGuard();
        guard.Check();
        guard.Check();
        QCOMPARE(boxes.Shown().size(), 1);

        if (between == u"next day"_s) {
            m_clock->AdvanceSecs(15 * 60);
        } else if (between == u"next month"_s) {
            m_clock->Set(QDateTime(QDate(2026, 4, 2), QTime(9, 0, 0)));
        } else if (between == u"amount up"_s || between == u"off"_s) {
            const CIntKey& key = between == u"off"_s ? row.enabled : row.amount;
            const int before = m_store->Read(key);
            m_store->Write(key, between == u"off"_s ? 0 : 10);
            guard.Check();
            m_store->Write(key, before);
        } else if (between == u"call"_s) {
            // The call is hung up and said so; the episode goes on after it.
            m_connected = true;
            guard.Check();
            QCOMPARE(m_hangUps, 1);
            m_connected = false;
            boxes.Clear();
        }
        boxes.Clear();
        guard.Check();
        guard.Check();
        QCOMPARE(boxes.Shown().size(), shownAgain ? 1 : 0);
        QCOMPARE(m_hangUps, between == u"call"_s ? 1 : 0);
    }

    void rulesSwitchedOnCountsEverySetSwitch()
    {
        CCostGuard guard = MakeGuard();
        QCOMPARE(guard.RulesSwitchedOn(), 0);
        m_store->Write(Keys::WarnWhenCall, 1);
        m_store->Write(Keys::DisWhenMonth, 2);
        QCOMPARE(guard.RulesSwitchedOn(), 2);
    }

private:
    CCostGuard MakeGuard()
    {
        return CCostGuard(
            *m_store,
            [this] {
                ++m_hangUps;
                m_boxesBeforeHangUp = m_boxes ? int(m_boxes->Shown().size()) : -1;
                return m_hangUpDone;
            },
            [this] { return m_connected; });
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CTestClock> m_clock;
    CScriptedMessageBox* m_boxes = nullptr;
    int m_hangUps = 0;
    int m_boxesBeforeHangUp = -1;
    bool m_connected = true;
    bool m_hangUpDone = true;
};

QTEST_GUILESS_MAIN(TestCostGuard)
#include "tst_costguard.moc"
