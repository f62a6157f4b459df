#include "common/settingsstore.h"
#include "support/scriptedmessagebox.h"
#include "support/testclock.h"
#include "support/updateserverprocess.h"
#include "update/updatequery.h"
#include "update/upgradedialcheck.h"
#include "update/upgradenotifier.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kNothingNew = QStringLiteral("No update available. Please try again later.");
const QString kNoAnswer = QStringLiteral("Error - can't connect to the server !!!");
const QString kNotice =
    QStringLiteral("Orvalis 4.0 is out | get it at https://orvalis.example.org/");
// What a bare "OK" without its zero byte leaves in the preset reply buffer.
const QString kOkWithoutZero = QStringLiteral("OKror - can't connect to the server !!!");

QString NoAnswerShown()
{
    return QStringLiteral("Error: cannot connect to the server.\nPlease visit "
                          "https://orvalis.example.org/ to see whether "
                          "a newer version is available.");
}
} // namespace

class TestUpgradeCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every worker has ended (and been deleted) before the next case.
    void cleanup() { QTRY_COMPARE_WITH_TIMEOUT(CUpdateQuery::WorkersRunning(), 0, 30000); }

    // The request block and the preset reply buffer, byte by byte. The version field is
    // the project's version.
    void requestAndReplyBuffer()
    {
        const QDateTime at(QDate(2027, 2, 3), QTime(4, 5, 6));
        const QByteArray fields("03-02-2027|04:05:06|" ORVALIS_VERSION "|");
        const QByteArray text = fields + "IsUpgradeAvaible?";
        QByteArray request = CUpdateQuery::BuildRequest(at, QStringLiteral("IsUpgradeAvaible?"));
        QCOMPARE(request, text + QByteArray(100 - text.size(), '\0'));
        request = CUpdateQuery::BuildRequest(at, QString(120, QLatin1Char('k')));
        QCOMPARE(request, fields + QByteArray(100 - fields.size(), 'k'));

        QCOMPARE(CUpdateQuery::ReplyText({}), kNoAnswer);
        QCOMPARE(CUpdateQuery::ReplyText(QByteArray("OK\0", 3)), QStringLiteral("OK"));
        QCOMPARE(CUpdateQuery::ReplyText("OK"), kOkWithoutZero);
        QCOMPARE(CUpdateQuery::ReplyText(QByteArray(45, 'n')), QString(45, QLatin1Char('n')));
        QCOMPARE(CUpdateQuery::ReplyText(QByteArray(1200, 'n')), QString(999, QLatin1Char('n')));

        QCOMPARE(CUpdateQuery::MeaningOf(QStringLiteral("OK")), CUpdateQuery::Meaning::NothingNew);
        QCOMPARE(CUpdateQuery::MeaningOf(kNoAnswer), CUpdateQuery::Meaning::NoAnswer);
        QCOMPARE(CUpdateQuery::MeaningOf(kOkWithoutZero), CUpdateQuery::Meaning::Notice);
    }

    // The check of the dial window against our server: what the window shows, or the box
    // that closes it.
    void onDemand_data()
    {
        QTest::addColumn<QStringList>("server");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("replyTimeoutMs");
        QTest::newRow("OK with its zero byte")
            << QStringList{} << kNothingNew << QString() << 10000;
        QTest::newRow("OK without it")
            << QStringList{"--mode", "no-zero"} << QString() << kOkWithoutZero << 10000;
        QTest::newRow("notice") << QStringList{"--reply", kNotice} << QString() << kNotice << 10000;
        QTest::newRow("closed without a word")
            << QStringList{"--mode", "close"} << NoAnswerShown() << QString() << 10000;
        QTest::newRow("never answers")
            << QStringList{"--mode", "silent"} << NoAnswerShown() << QString() << 300;
        QTest::newRow("no server") << QStringList{"none"} << NoAnswerShown() << QString() << 10000;
    }

    void onDemand()
    {
        QFETCH(QStringList, server);
        QFETCH(QString, shown);
        QFETCH(QString, box);
        QFETCH(int, replyTimeoutMs);
        const bool none = server == QStringList{"none"};
        CUpdateServerProcess process(none ? QStringList{} : server);
        QVERIFY(process.Port() != 0);
        CScriptedMessageBox boxes;
        CUpdateQuery query(QStringLiteral("127.0.0.1"),
                           none ? CUpdateServerProcess::ClosedPort() : process.Port());
        query.SetTimeouts(10000, replyTimeoutMs);
        CUpgradeDialCheck check(query);
        QSignalSpy finished(&check, &CDialCheck::Finished);
        QSignalSpy closed(&check, &CDialCheck::CloseWindow);

        check.Start();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count() + closed.count(), 1, 15000);
        if (shown.isEmpty()) {
            QCOMPARE(closed.count(), 1);
            QCOMPARE(boxes.Shown().size(), 1);
            QCOMPARE(boxes.Shown()[0].text, box);
            QCOMPARE(boxes.Shown()[0].caption, QStringLiteral("Orvalis"));
            QCOMPARE(boxes.Shown()[0].buttons, CMessageBox::Buttons::Ok);
        } else {
            QCOMPARE(finished[0][0].toString(), shown);
            QCOMPARE(finished[0][1].toBool(), true);
            QVERIFY(boxes.Shown().isEmpty());
        }
        if (!none)
            QTRY_COMPARE(process.Requests().size(), 1);
    }

    // What reaches the server under a set clock: 100 bytes, the fields, zero padding.
    void requestOnTheWire()
    {
        const CTestClock clock(QDateTime(QDate(2027, 12, 31), QTime(23, 59, 58)));
        CUpdateServerProcess process;
        CUpgradeDialCheck check(CUpdateQuery(QStringLiteral("127.0.0.1"), process.Port()));
        QSignalSpy finished(&check, &CDialCheck::Finished);
        check.Start();
        QTRY_COMPARE(finished.count(), 1);
        const QString text =
            QStringLiteral("31-12-2027|23:59:58|" ORVALIS_VERSION "|IsUpgradeAvaible?");
        QTRY_COMPARE(process.Requests(),
                     QStringList{QStringLiteral("100 bytes, text \"%1\", then %2 zero bytes")
                                     .arg(text)
                                     .arg(100 - text.size())});
    }

    // A window closed before the reply drops it; the worker still ends on its own.
    void windowClosedFirst()
    {
        CUpdateServerProcess process({"--mode", "silent"});
        CScriptedMessageBox boxes;
        CUpdateQuery query(QStringLiteral("127.0.0.1"), process.Port());
        query.SetTimeouts(10000, 200);
        auto check = std::make_unique<CUpgradeDialCheck>(query);
        check->Start();
        QTRY_COMPARE(process.Requests().size(), 1);
        check.reset();
        QTRY_COMPARE(CUpdateQuery::WorkersRunning(), 0);
        QVERIFY(boxes.Shown().isEmpty());
    }

    // The check after a connection comes up: only a notice shows, in a box of its own;
    // switched off, it makes no connection at all while the on-demand check still asks.
    void automatic()
    {
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(QStringLiteral("ov.ini")));
        CScriptedMessageBox boxes;
        CUpdateServerProcess notice({"--reply", kNotice});
        CUpdateServerProcess ok;
        CUpgradeNotifier notifier(store);
        notifier.SetTimeouts(10000, 5000);
        QSignalSpy checked(&notifier, &CUpgradeNotifier::Checked);
        store.Write(Keys::UpdateServer, QStringLiteral("127.0.0.1"));

        store.Write(Keys::UpdatePort, notice.Port());
        QVERIFY(notifier.Start());
        QTRY_COMPARE(checked.count(), 1);
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].text, kNotice);
        QCOMPARE(boxes.Shown()[0].caption, QStringLiteral("Orvalis"));

        store.Write(Keys::UpdatePort, ok.Port());
        QVERIFY(notifier.Start());
        QTRY_COMPARE(checked.count(), 2);
        QCOMPARE(checked[1][0].toString(), QStringLiteral("OK"));
        store.Write(Keys::UpdatePort, CUpdateServerProcess::ClosedPort());
        QVERIFY(notifier.Start());
        QTRY_COMPARE(checked.count(), 3);
        QCOMPARE(checked[2][0].toString(), kNoAnswer);
        QCOMPARE(boxes.Shown().size(), 1);

        store.Write(Keys::UpdatePort, ok.Port());
        store.Write(Keys::DisableUpgrade, 1);
        QVERIFY(!notifier.Start());
        QCOMPARE(CUpdateQuery::WorkersRunning(), 0);
        CUpgradeDialCheck onDemand(CUpdateQuery::FromSettings(store));
        QSignalSpy finished(&onDemand, &CDialCheck::Finished);
        onDemand.Start();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished[0][0].toString(), kNothingNew);
        // The OK server saw the one automatic check before and the on-demand one, no more.
        QTRY_COMPARE(ok.Requests().size(), 2);
        QCOMPARE(checked.count(), 3);
    }

    // A missing or impossible server setting falls back to the default server.
    void serverSettings()
    {
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(QStringLiteral("ov.ini")));
        CUpdateQuery query = CUpdateQuery::FromSettings(store);
        QCOMPARE(query.Host(), QStringLiteral("update.orvalis.example.org"));
        QCOMPARE(query.Port(), quint16(4444));
        store.Write(Keys::UpdateServer, QStringLiteral("  "));
        store.Write(Keys::UpdatePort, 70000);
        query = CUpdateQuery::FromSettings(store);
        QCOMPARE(query.Host(), QStringLiteral("update.orvalis.example.org"));
        QCOMPARE(query.Port(), quint16(4444));
        store.Write(Keys::UpdateServer, QStringLiteral("updates.lan"));
        store.Write(Keys::UpdatePort, 8444);
        query = CUpdateQuery::FromSettings(store);
        QCOMPARE(query.Host(), QStringLiteral("updates.lan"));
        QCOMPARE(query.Port(), quint16(8444));
    }
};

QTEST_GUILESS_MAIN(TestUpgradeCheck)
#include "tst_upgradecheck.moc"
