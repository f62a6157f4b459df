#include "common/settingskeys.h"
#include "common/settingsstore.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSettingsKeys : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Reading through the table gives the table's default for a missing key and the
    // stored value otherwise; writing lands under the key's own section and name, so a
    // file written by hand (any letter case) is read the same way.
    void readsAndWritesThroughTheTable()
    {
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        QCOMPARE(store.Read(Keys::HideOnStart), 1);
        QCOMPARE(store.Read(Keys::ConfirmExit), 1);
        QCOMPARE(store.Read(Keys::HangupInterval), 10);
        QCOMPARE(store.Read(Keys::MinConTime), u"00:00"_s);
        QCOMPARE(store.Read(Keys::CostPerMinute), QString());
        QCOMPARE(store.Read(Keys::IniPath, u"/fallback/"_s), u"/fallback/"_s);

        QVERIFY(store.Write(Keys::WindowMinimized, 1));
        QVERIFY(store.Write(Keys::CostPerMinute, u"0.25"_s));
        QFile file(store.Path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[Settings]\nRedaWindowMinimized=1\n"));
        QVERIFY(text.contains("[Price]\nCostPerMinute=0.25\n"));

        QFile hand(store.Path());
        QVERIFY(hand.open(QIODevice::WriteOnly));
        hand.write("[settings]\nsummarywhen=2\nhideonstart=0\n");
        hand.close();
        QCOMPARE(store.Read(Keys::SummaryWhen), 2);
        QCOMPARE(store.Read(Keys::HideOnStart), 0);

        QVERIFY(store.Write(Keys::CostPerMinute, u"1"_s));
        QVERIFY(store.Remove(Keys::CostPerMinute));
        QCOMPARE(store.Read(Keys::CostPerMinute), QString());
    }

    // The credentials of an entry keep the entry's name as it stands, blanks included,
    // and two entries never share a key.
    void entryKeysKeepTheName()
    {
        QCOMPARE(Keys::EntryUser(u"Home ISP"_s).name, u"Home ISPUser"_s);
        QCOMPARE(Keys::EntryPassword(u" Work "_s).name, u" Work Password"_s);
        QCOMPARE(Keys::EntryUser(u"x"_s).section, u"Connections"_s);

        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        QVERIFY(store.Write(Keys::EntryUser(u"Home ISP"_s), u"anna"_s));
        QVERIFY(store.Write(Keys::EntryPassword(u"Home ISP"_s), u"pw"_s));
        QCOMPARE(store.Read(Keys::EntryUser(u"Home ISP"_s)), u"anna"_s);
        QCOMPARE(store.Read(Keys::EntryUser(u"HomeISP"_s)), QString());
        QVERIFY(store.Remove(Keys::EntryPassword(u"Home ISP"_s)));
        QCOMPARE(store.Read(Keys::EntryPassword(u"Home ISP"_s)), QString());
    }

    // No two keys of the table name the same place in the file (names are compared
    // without regard to case, as the store does).
    void everyKeyHasItsOwnPlace()
    {
        const QList<std::pair<const char*, const char*>> keys = {
#define KEY(k) {Keys::k.section, Keys::k.name}
            KEY(IniPath),
            KEY(StartWhenWindows),
            KEY(HideOnStart),
            KEY(ShowSplash),
            KEY(ShowWhenConnected),
            KEY(ConfirmHangup),
            KEY(ConfirmExit),
            KEY(WindowBottom),
            KEY(WindowTop),
            KEY(WindowRight),
            KEY(WindowLeft),
            KEY(WindowMinimized),
            KEY(SummaryWhen),
            KEY(DialSecsToDial),
            KEY(HangupSecsToHangup),
            KEY(Redial),
            KEY(HangupComboState),
            KEY(HangupInterval),
            KEY(CheckMail),
            KEY(CMailTime),
            KEY(CheckMailOnCon),
            KEY(MUser),
            KEY(MPassword),
            KEY(MServer),
            KEY(MPort),
            KEY(MSecurity),
            KEY(WarnWhenMonth),
            KEY(WarnWhenMonthInterval),
            KEY(WarnWhenCall),
            KEY(WarnWhenCallInterval),
            KEY(DisWhenMonth),
            KEY(DisWhenMonthInterval),
            KEY(DisWhenCall),
            KEY(DisWhenCallInterval),
            KEY(ActionWhenConMade),
            KEY(SoundWhenConMade),
            KEY(ActionWhenConDropped),
            KEY(SoundWhenConDropped),
            KEY(PricePerDial),
            KEY(CostPerMinute),
            KEY(CheapCostPerMinute),
            KEY(CheapTimeStart),
            KEY(CheapTimeEnd),
            KEY(MinConTime),
            KEY(ConnectionBlock),
            KEY(FreeMonthTime),
            KEY(CheapInSat),
            KEY(CheapInSun),
            KEY(CheapTimeFromComboState),
            KEY(CheapTimeToComboState),
            KEY(DisableUpgrade),
            KEY(SecurityEnabled),
            KEY(SecurityWhenStarted),
            KEY(SecurityWhenConfigured),
            KEY(SecurityPassword),
            KEY(TimeServer),
            KEY(RemoteTime),
#undef KEY
        };
        QSet<QString> seen;
        for (const auto& [section, name] : keys) {
            const QString place = (QLatin1String(section) + u'/' + QLatin1String(name)).toLower();
            QVERIFY2(!seen.contains(place), qPrintable(place));
            seen.insert(place);
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsKeys)
#include "tst_settingskeys.moc"
