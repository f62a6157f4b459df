#include "common/settingsstore.h"
#include "security/passwordguard.h"
#include "security/passwordhash.h"
#include "security/passwordprompt.h"

#include "support/scriptedmessagebox.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPasswordGuard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(u"ov.ini"_s));
    }

    // Which check point asks, for each state of the three keys, and what a refused or an
    // accepted prompt means there. The keys are read each on its own, as written by hand.
    void checkPointsAsk_data()
    {
        QTest::addColumn<QByteArray>("security");
        QTest::addColumn<bool>("askAtStart");
        QTest::addColumn<bool>("askOnConfig");

        QTest::newRow("no keys") << QByteArray() << false << false;
        QTest::newRow("off, both modes")
            << QByteArray("Enabled=0\nWhenStarted=1\nWhenConfigured=1\n") << false << false;
        QTest::newRow("at start") << QByteArray("Enabled=1\nWhenStarted=1\nWhenConfigured=0\n")
                                  << true << false;
        QTest::newRow("on configuration")
            << QByteArray("Enabled=1\nWhenStarted=0\nWhenConfigured=1\n") << false << true;
        QTest::newRow("both by hand")
            << QByteArray("enabled=1\nwhenstarted=1\nwhenconfigured=1\n") << true << true;
        QTest::newRow("on, no mode") << QByteArray("Enabled=1\n") << false << false;
        QTest::newRow("not a flag")
            << QByteArray("Enabled=2\nWhenStarted=1\nWhenConfigured=1\n") << false << false;
    }

    void checkPointsAsk()
    {
        QFETCH(QByteArray, security);
        QFETCH(bool, askAtStart);
        QFETCH(bool, askOnConfig);
        WriteFile("[Security]\n" + security);

        for (const bool answer : {false, true}) {
            int asked = 0;
            const CPasswordGuard guard(*m_store, [&] {
                ++asked;
                return answer;
            });
            QCOMPARE(guard.MayStart(), askAtStart ? answer : true);
            QCOMPARE(asked, askAtStart ? 1 : 0);
            asked = 0;
            QCOMPARE(guard.MayOpenPreferences(), askOnConfig ? answer : true);
            QCOMPARE(guard.MayOpenSecurity(), askOnConfig ? answer : true);
            QCOMPARE(guard.MayOpenSchedule(), askOnConfig ? answer : true);
            QCOMPARE(asked, askOnConfig ? 3 : 0);
        }
    }

    // The prompt's OK: the right password closes it; a wrong one (also in another letter
    // case) says so and leaves it open, as often as the user tries.
    void promptAcceptsOnlyTheRightPassword()
    {
        CScriptedMessageBox boxes;
        QVERIFY(m_store->Write(Keys::SecurityPassword, CPasswordHash::Make(u"Secret"_s)));
        const CPasswordPrompt prompt(*m_store);
        for (const QString& wrong : {u"secret"_s, u"SECRET"_s, QString(), u"Secret "_s}) {
            QVERIFY(!prompt.Accept(wrong));
        }
        QCOMPARE(boxes.Shown().size(), 4);
        for (const CMessageBox::Box& box : boxes.Shown()) {
            QCOMPARE(box.text, u"Password incorrect. Please try again!"_s);
            QCOMPARE(box.buttons, CMessageBox::Buttons::Ok);
        }
        boxes.Clear();
        QVERIFY(prompt.Accept(u"Secret"_s));
        QVERIFY(boxes.Shown().isEmpty());
    }

    // An older file's plain-text password and an empty one still open the prompt.
    void promptTakesOldAndEmptyPasswords()
    {
        CScriptedMessageBox boxes;
        const CPasswordPrompt prompt(*m_store);
        QVERIFY(prompt.Accept(QString()));
        QVERIFY(!prompt.Accept(u"anything"_s));

        WriteFile("[Security]\nEnabled=1\nPassword=Old Plain\n");
        QVERIFY(prompt.Accept(u"Old Plain"_s));
        QVERIFY(!prompt.Accept(u"old plain"_s));
        QCOMPARE(boxes.Shown().size(), 2);
        // Asking changes nothing in the file: the hash is written at the next save.
        QCOMPARE(m_store->Read(Keys::SecurityPassword), u"Old Plain"_s);
    }

private:
    void WriteFile(const QByteArray& text)
    {
        QFile file(m_store->Path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
};

QTEST_GUILESS_MAIN(TestPasswordGuard)
#include "tst_passwordguard.moc"
