#include "common/inidocument.h"
#include "common/settingskeys.h"
#include "common/settingsstore.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <type_traits>
#include <variant>

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

    // Every key of the table reads its default from an empty file, and what is written
    // under it is read back, through a file written under its own section and name.
    void everyKeyReadsItsDefaultAndRoundTrips_data()
    {
        QTest::addColumn<int>("table");
        QTest::newRow("settings file") << 0;
        QTest::newRow("simulator file") << 1;
    }
    void everyKeyReadsItsDefaultAndRoundTrips()
    {
        QFETCH(int, table);
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        for (const CAnyKey& any : table == 0 ? Keys::All() : SimKeys::All()) {
            std::visit(
                [&store](const auto& key) {
                    const QString name = QLatin1String(key.name);
                    QVERIFY2(CIniDocument::IsUsableKey(name) && name == name.trimmed() &&
                                 !name.contains(u'='),
                             key.name);
                    if constexpr (std::is_same_v<std::decay_t<decltype(key)>, CIntKey>) {
                        QCOMPARE(store.Read(key), key.defaultValue);
                        QVERIFY(store.Write(key, key.defaultValue + 7));
                        QCOMPARE(store.ReadInt(QLatin1String(key.section), name.toUpper(), -1),
                                 key.defaultValue + 7);
                    } else {
                        QCOMPARE(store.Read(key), QLatin1String(key.defaultValue));
                        QVERIFY(store.Write(key, name + u" value"));
                        QCOMPARE(store.ReadString(QLatin1String(key.section), name.toLower(), {}),
                                 name + u" value");
                    }
                },
                any);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // No two keys of a table name the same place in the file (names are compared
    // without regard to case, as the store does), and every settings key lives in one of
    // the sections the program knows.
    void everyKeyHasItsOwnPlace()
    {
        const QSet<QString> sections = {
            QLatin1String(Keys::kSettings),    QLatin1String(Keys::kPrice),
            QLatin1String(Keys::kConnections), QLatin1String(Keys::kSecurity),
            QLatin1String(Keys::kInet),        QLatin1String(Keys::kDataPlan)};
        for (const std::span<const CAnyKey> table : {Keys::All(), SimKeys::All()}) {
            QVERIFY(!table.empty());
            QSet<QString> seen;
            for (const CAnyKey& any : table) {
                const auto [section, name] = std::visit(
                    [](const auto& key) { return std::pair(key.section, key.name); }, any);
                if (table.data() == Keys::All().data())
                    QVERIFY2(sections.contains(QLatin1String(section)), section);
                const QString place =
                    (QLatin1String(section) + u'/' + QLatin1String(name)).toLower();
                QVERIFY2(!seen.contains(place), qPrintable(place));
                seen.insert(place);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsKeys)
#include "tst_settingskeys.moc"
