#include "billing/tariff.h"
#include "common/settingsstore.h"

#include <QTemporaryDir>
#include <QTest>

#include <climits>

namespace {
// Wednesday 15-03-2000 and the days after it.
struct Day {
    int day, month, year;
};
constexpr Day kWednesday{15, 3, 2000};
constexpr Day kFriday{17, 3, 2000};
constexpr Day kSaturday{18, 3, 2000};
constexpr Day kSunday{19, 3, 2000};

int Secs(int h, int m, int s)
{
    return h * 3600 + m * 60 + s;
}
} // namespace

class TestTariff : public QObject {
    Q_OBJECT

private:
    // A tariff from the given "Price" keys (and "Settings" keys for the weekend flags).
    CTariff Tariff(const QList<QPair<QString, QString>>& keys)
    {
        CSettingsStore store(m_dir.filePath(QStringLiteral("ov%1.ini").arg(++m_files)));
        for (const auto& [key, value] : keys) {
            const bool weekend = key.startsWith(QLatin1String("CheapIn"));
            store.WriteString(weekend ? QStringLiteral("Settings") : QStringLiteral("Price"), key,
                              value);
        }
        return CTariff::Load(store);
    }

    // The tariff of the worked examples.
    CTariff Example()
    {
        return Tariff({{"PricePerDial", "0.1000000000"},
                       {"CostPerMinute", "0.6000000000"},
                       {"CheapCostPerMinute", "0.3000000000"},
                       {"CheapTimeStart", "23:00"},
                       {"CheapTimeEnd", "05:59"},
                       {"MinConTime", "00:01"},
                       {"ConnectionBlock", "00:01"},
                       {"CheapInSat", "1"},
                       {"CheapInSun", "1"}});
    }

    static CTariff::CallPrice Price(const CTariff& tariff, Day day, int start, int end)
    {
        return tariff.PriceCall(day.day, day.month, day.year, start,
                                CTariff::RawDuration(start, end));
    }

    QTemporaryDir m_dir;
    int m_files = 0;

private slots:
    void clockText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("secs");
        QTest::newRow("01:30") << "01:30" << 5400;
        QTest::newRow("00:05") << "00:05" << 300;
        QTest::newRow("one digit hour") << "1:30" << 5400;
        QTest::newRow("bare 5") << "5" << 18300;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("no digits") << "ab:cd" << 0;
        QTest::newRow("window end") << "05:59" << 21540;
        QTest::newRow("colon ignored") << "0130" << 5400;
        QTest::newRow("middle ignored") << "12345" << Secs(12, 45, 0);
        QTest::newRow("blanks lead") << " 1: 5" << Secs(1, 5, 0);
        QTest::newRow("sign") << "-1:00" << -3600;
        QTest::newRow("largest") << "99:99" << (99 * 60 + 99) * 60;
        QTest::newRow("digit then letter") << "2x:7x" << Secs(2, 7, 0);
        QTest::newRow("letter then digit") << "x2:x7" << 0;
    }
    void clockText()
    {
        QFETCH(QString, text);
        QFETCH(int, secs);
        QCOMPARE(CTariff::ParseClockText(text), secs);
    }

    void number_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("stored form") << QByteArray("0.6000000000") << 0.6;
        QTest::newRow("empty") << QByteArray() << 0.0;
        QTest::newRow("letters") << QByteArray("abc") << 0.0;
        QTest::newRow("inf") << QByteArray("inf") << 0.0;
        QTest::newRow("-infinity") << QByteArray("-infinity") << 0.0;
        QTest::newRow("nan") << QByteArray("nan") << 0.0;
        QTest::newRow("hex") << QByteArray("0x10") << 0.0;
        QTest::newRow("hex float") << QByteArray("0x1p3") << 0.0;
        QTest::newRow("blanks sign exponent") << QByteArray(" \t-1.5e2xyz") << -150.0;
        QTest::newRow("plus and fraction only") << QByteArray("+.5") << 0.5;
        QTest::newRow("point at end") << QByteArray("5.") << 5.0;
        QTest::newRow("point alone") << QByteArray(".") << 0.0;
        QTest::newRow("sign alone") << QByteArray("-") << 0.0;
        QTest::newRow("exponent without digits") << QByteArray("1e") << 1.0;
        QTest::newRow("exponent sign without digits") << QByteArray("1e+") << 1.0;
        QTest::newRow("capital exponent") << QByteArray("2E3") << 2000.0;
        QTest::newRow("comma stops") << QByteArray("1,5") << 1.0;
        QTest::newRow("second point stops") << QByteArray("1.2.3") << 1.2;
        QTest::newRow("two signs") << QByteArray("--1") << 0.0;
        QTest::newRow("blank after sign") << QByteArray("- 1") << 0.0;
        QTest::newRow("trailing text") << QByteArray("12abc") << 12.0;
        QTest::newRow("overflow") << QByteArray("1e400") << 0.0;
        QTest::newRow("many digits") << QByteArray(400, '0') + "1.25" << 1.25;
        QTest::newRow("byte count") << QByteArray("2345678") << 2345678.0;
        QTest::newRow("negative count") << QByteArray("-42") << -42.0;
    }
    void number()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QCOMPARE(CTariff::ParseNumber(QByteArrayView(text)), value);
        QCOMPARE(CTariff::ParseNumber(QStringView(QString::fromLatin1(text))), value);
    }

    void numberFromUnicodeText()
    {
        QCOMPARE(CTariff::ParseNumber(QStringView(u"\u0663")), 0.0); // Arabic-Indic three
        QCOMPARE(CTariff::ParseNumber(QStringView(u"1\u00e9")), 1.0);
        QCOMPARE(CTariff::ParseNumber(QStringView(u"\u00a01")), 0.0); // no-break space
    }

    void rawDuration()
    {
        QCOMPARE(CTariff::RawDuration(Secs(14, 20, 0), Secs(14, 27, 30)), 450);
        QCOMPARE(CTariff::RawDuration(Secs(23, 50, 0), Secs(0, 10, 0)), 1200);
        QCOMPARE(CTariff::RawDuration(Secs(10, 0, 0), Secs(10, 0, 0)), 0);
        QCOMPARE(CTariff::RawDuration(Secs(10, 0, 0), Secs(9, 59, 59)), 86399);
    }

    void extremeTimesStayDefined()
    {
        // Only garbled records give such times; the arithmetic must still be defined.
        QCOMPARE(CTariff::RawDuration(INT_MIN, INT_MAX), INT_MAX);
        QCOMPARE(CTariff::RawDuration(INT_MAX, INT_MIN), INT_MIN);
        QCOMPARE(CTariff::RawDuration(Secs(99, 99, 99), 0), 86400 - Secs(99, 99, 99));
        const CTariff tariff = Tariff({{"ConnectionBlock", "00:01"}, {"MinConTime", "99:99"}});
        QCOMPARE(tariff.PriceCall(1, 1, 2000, 0, INT_MAX).chargedDuration, INT_MAX);
        QCOMPARE(tariff.PriceCall(1, 1, 2000, 0, INT_MIN).chargedDuration, 362340);
        QCOMPARE(tariff.PriceCall(1, 1, 2000, 0, -61).minimumDuration, 362340);
        const CTariff blocksOnly = Tariff({{"ConnectionBlock", "00:01"}});
        // The minimum "00:00" already lifts a negative duration to 0.
        QCOMPARE(blocksOnly.PriceCall(1, 1, 2000, 0, -61).chargedDuration, 0);
    }

    void workedExamples_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("charged");
        QTest::addColumn<bool>("cheap");
        QTest::addColumn<QString>("price");
        QTest::newRow("wednesday afternoon")
            << kWednesday.day << Secs(14, 20, 0) << Secs(14, 27, 30) << 480 << false << "4.90";
        QTest::newRow("friday across midnight")
            << kFriday.day << Secs(23, 50, 0) << Secs(0, 10, 0) << 1200 << true << "6.10";
        QTest::newRow("friday at window start")
            << kFriday.day << Secs(23, 0, 0) << Secs(23, 0, 20) << 60 << false << "0.70";
        QTest::newRow("saturday noon")
            << kSaturday.day << Secs(12, 0, 0) << Secs(12, 2, 0) << 120 << true << "0.70";
    }
    void workedExamples()
    {
        QFETCH(int, day);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, charged);
        QFETCH(bool, cheap);
        QFETCH(QString, price);
        const CTariff::CallPrice call = Price(Example(), Day{day, 3, 2000}, start, end);
        QCOMPARE(call.chargedDuration, charged);
        QCOMPARE(call.cheap, cheap);
        QCOMPARE(CTariff::PriceText(call.price), price);
    }

    void arithmeticOrder()
    {
        // The rate is scaled by 1/60 first, then multiplied by the duration; in another
        // order this call would cost 0.55 exactly instead of 0.5499999999999999.
        const CTariff tariff = Tariff({{"PricePerDial", "0.1"}, {"CostPerMinute", "0.45"}});
        const double price = tariff.PriceCall(15, 3, 2000, Secs(12, 0, 0), 60).price;
        QVERIFY(price == 0.1 + 0.45 * (1.0 / 60.0) * 60);
        QVERIFY(price != 0.1 + 0.45 * 60 / 60);
        QCOMPARE(tariff.CheapStart(), 0);
        QCOMPARE(Example().CheapStart(), 82800);
        QCOMPARE(Example().CheapEnd(), 21540);
    }

    void cheapWindow_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("cheap");
        // Across midnight: both bounds strict.
        QTest::newRow("night 23:00:00") << "23:00"
                                        << "05:59" << Secs(23, 0, 0) << false;
        QTest::newRow("night 23:00:01") << "23:00"
                                        << "05:59" << Secs(23, 0, 1) << true;
        QTest::newRow("night 00:00:00") << "23:00"
                                        << "05:59" << 0 << true;
        QTest::newRow("night 05:58:59") << "23:00"
                                        << "05:59" << Secs(5, 58, 59) << true;
        QTest::newRow("night 05:59:00") << "23:00"
                                        << "05:59" << Secs(5, 59, 0) << false;
        QTest::newRow("night noon") << "23:00"
                                    << "05:59" << Secs(12, 0, 0) << false;
        // Within one day: cheap strictly between the two times.
        QTest::newRow("day 08:00:00") << "08:00"
                                      << "17:59" << Secs(8, 0, 0) << false;
        QTest::newRow("day 08:00:01") << "08:00"
                                      << "17:59" << Secs(8, 0, 1) << true;
        QTest::newRow("day 17:58:59") << "08:00"
                                      << "17:59" << Secs(17, 58, 59) << true;
        QTest::newRow("day 17:59:00") << "08:00"
                                      << "17:59" << Secs(17, 59, 0) << false;
        QTest::newRow("day midnight") << "08:00"
                                      << "17:59" << 0 << false;
        QTest::newRow("day late") << "08:00"
                                  << "17:59" << Secs(23, 59, 59) << false;
        // Equal bounds: never cheap, also at the very second.
        QTest::newRow("equal before") << "10:00"
                                      << "10:00" << Secs(9, 59, 59) << false;
        QTest::newRow("equal at") << "10:00"
                                  << "10:00" << Secs(10, 0, 0) << false;
        QTest::newRow("equal after") << "10:00"
                                     << "10:00" << Secs(10, 0, 1) << false;
        QTest::newRow("no keys midnight") << QString() << QString() << 0 << false;
        QTest::newRow("no keys noon") << QString() << QString() << Secs(12, 0, 0) << false;
    }
    void cheapWindow()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, start);
        QFETCH(bool, cheap);
        QList<QPair<QString, QString>> keys = {{"CostPerMinute", "0.6"},
                                               {"CheapCostPerMinute", "0.3"}};
        if (!from.isNull()) {
            keys.append({QStringLiteral("CheapTimeStart"), from});
            keys.append({QStringLiteral("CheapTimeEnd"), to});
        }
        const CTariff::CallPrice call = Price(Tariff(keys), kWednesday, start, start + 60);
        QCOMPARE(call.cheap, cheap);
        QCOMPARE(call.price, cheap ? 0.3 : 0.6);
    }

    void weekends()
    {
        const CTariff both = Example();
        // Sunday 23:59:59 into Monday: the whole call at the cheap rate.
        const CTariff::CallPrice sunday = Price(both, kSunday, Secs(23, 59, 59), Secs(0, 30, 0));
        QVERIFY(sunday.cheap);
        QCOMPARE(sunday.chargedDuration, 1860);
        QCOMPARE(CTariff::PriceText(sunday.price), QStringLiteral("9.40"));
        QVERIFY(!Price(both, Day{20, 3, 2000}, Secs(12, 0, 0), Secs(12, 1, 0)).cheap);
        // Friday evening into Saturday stays at the Friday rate.
        QVERIFY(!Price(both, kFriday, Secs(22, 50, 0), Secs(23, 10, 0)).cheap);
        // Leap day 2000 is a Tuesday; 01-01-0001 a Monday; 31-12-9999 a Friday.
        QVERIFY(!Price(both, Day{29, 2, 2000}, Secs(12, 0, 0), Secs(12, 1, 0)).cheap);
        QVERIFY(!Price(both, Day{1, 1, 1}, Secs(12, 0, 0), Secs(12, 1, 0)).cheap);
        QVERIFY(!Price(both, Day{31, 12, 9999}, Secs(12, 0, 0), Secs(12, 1, 0)).cheap);
        QVERIFY(Price(both, Day{1, 1, 2000}, Secs(12, 0, 0), Secs(12, 1, 0)).cheap); // Saturday

        const CTariff saturdayOnly = Tariff({{"CheapInSat", "1"}});
        QVERIFY(Price(saturdayOnly, kSaturday, Secs(12, 0, 0), Secs(12, 1, 0)).cheap);
        QVERIFY(!Price(saturdayOnly, kSunday, Secs(12, 0, 0), Secs(12, 1, 0)).cheap);

        // Only the value 1 switches a flag on.
        const CTariff two = Tariff({{"CheapInSat", "2"}, {"CheapInSun", "-1"}});
        QVERIFY(!Price(two, kSaturday, Secs(12, 0, 0), Secs(12, 1, 0)).cheap);
        QVERIFY(!Price(two, kSunday, Secs(12, 0, 0), Secs(12, 1, 0)).cheap);
    }

    void weekendFlagsLiveUnderSettings()
    {
        CSettingsStore store(m_dir.filePath(QStringLiteral("price-section.ini")));
        // The weekend flag written under the price keys' own section is not the flag.
        store.WriteInt(QLatin1String(Keys::kPrice), QLatin1String(Keys::CheapInSat.name), 1);
        QVERIFY(!Price(CTariff::Load(store), kSaturday, Secs(12, 0, 0), Secs(12, 1, 0)).cheap);
    }

    void invalidDatesSkipTheWeekendRule_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::newRow("31 February") << 31 << 2 << 2000;
        QTest::newRow("29 February 1900") << 29 << 2 << 1900;
        QTest::newRow("all zero") << 0 << 0 << 0;
        QTest::newRow("month 13") << 1 << 13 << 2000;
        QTest::newRow("negative") << -5 << -3 << -2000;
        QTest::newRow("huge") << 99 << 99 << 2147483647;
        QTest::newRow("year 10000") << 1 << 1 << 10000;
    }
    void invalidDatesSkipTheWeekendRule()
    {
        QFETCH(int, day);
        QFETCH(int, month);
        QFETCH(int, year);
        const CTariff tariff = Example();
        const CTariff::CallPrice noon =
            Price(tariff, Day{day, month, year}, Secs(12, 0, 0), Secs(12, 2, 0));
        QVERIFY(!noon.cheap);
        QCOMPARE(CTariff::PriceText(noon.price), QStringLiteral("1.30"));
        // The time window still applies.
        QVERIFY(Price(tariff, Day{day, month, year}, Secs(1, 0, 0), Secs(1, 2, 0)).cheap);
    }

    void minimumAndBlocks_data()
    {
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("block");
        QTest::addColumn<int>("raw");
        QTest::addColumn<int>("afterMinimum");
        QTest::addColumn<int>("charged");
        QTest::newRow("min 5 raises 299") << "00:05"
                                          << "00:00" << 299 << 300 << 300;
        QTest::newRow("min 5 keeps 300") << "00:05"
                                         << "00:00" << 300 << 300 << 300;
        QTest::newRow("min 00:00 keeps 0") << "00:00"
                                           << "00:00" << 0 << 0 << 0;
        QTest::newRow("one block kept") << "00:00"
                                        << "00:01" << 60 << 60 << 60;
        QTest::newRow("one second more") << "00:00"
                                         << "00:01" << 61 << 61 << 120;
        QTest::newRow("zero stays zero") << "00:00"
                                         << "00:01" << 0 << 0 << 0;
        QTest::newRow("no blocks, long call") << "00:00"
                                              << "00:00" << 86399 << 86399 << 86399;
        QTest::newRow("block text 0") << "00:00"
                                      << "0" << 61 << 61 << 61;
        QTest::newRow("block text empty") << "00:00"
                                          << "" << 61 << 61 << 61;
        QTest::newRow("minimum before block") << "00:01"
                                              << "00:05" << 20 << 60 << 300;
        QTest::newRow("negative block") << "00:00"
                                        << "-1:00" << 61 << 61 << 61;
        QTest::newRow("bare 5 block") << "00:00"
                                      << "5" << 1 << 1 << 18300;
    }
    void minimumAndBlocks()
    {
        QFETCH(QString, minimum);
        QFETCH(QString, block);
        QFETCH(int, raw);
        QFETCH(int, afterMinimum);
        QFETCH(int, charged);
        const CTariff tariff = Tariff({{"CostPerMinute", "0.6"},
                                       {"PricePerDial", "0.1"},
                                       {"MinConTime", minimum},
                                       {"ConnectionBlock", block}});
        const CTariff::CallPrice call = tariff.PriceCall(15, 3, 2000, Secs(12, 0, 0), raw);
        QCOMPARE(call.minimumDuration, afterMinimum);
        QCOMPARE(call.chargedDuration, charged);
        QCOMPARE(call.price, 0.1 + 0.6 * (1.0 / 60.0) * charged);
    }

    void freeAllowance()
    {
        QCOMPARE(CTariff::PriceText(Tariff({{"PricePerDial", "0.10"},
                                            {"CostPerMinute", "0.60"},
                                            {"CheapCostPerMinute", "0.30"},
                                            {"FreeMonthTime", "02:00"}})
                                        .FreeAllowanceValue()),
                 QStringLiteral("72.10"));
        QCOMPARE(
            Tariff(
                {{"PricePerDial", "0.10"}, {"CostPerMinute", "0.50"}, {"FreeMonthTime", "01:00"}})
                .FreeAllowanceValue(),
            0.10 + 0.50 * 60);
        QCOMPARE(
            Tariff({{"PricePerDial", "0.10"}, {"FreeMonthTime", "00:00"}}).FreeAllowanceValue(),
            0.0);
        QCOMPARE(Tariff({{"PricePerDial", "0.10"}}).FreeAllowanceValue(), 0.0);
        // Any other text, even one worth no time, is the price of a call of that length.
        QCOMPARE(Tariff({{"PricePerDial", "0.10"}, {"FreeMonthTime", "0"}}).FreeAllowanceValue(),
                 0.10);
    }

    void emptyTariff()
    {
        const CTariff fromEmptyStore = Tariff({});
        QCOMPARE(fromEmptyStore, CTariff());
        const CTariff::CallPrice call = Price(fromEmptyStore, kSaturday, 0, Secs(5, 0, 0));
        QCOMPARE(call.price, 0.0);
        QCOMPARE(CTariff::PriceText(call.price), QStringLiteral("0.00"));
        QCOMPARE(fromEmptyStore.FreeAllowanceValue(), 0.0);
    }

    void equalStartAndEndCostsTheDialCharge()
    {
        const CTariff tariff = Tariff(
            {{"PricePerDial", "0.25"}, {"CostPerMinute", "1"}, {"ConnectionBlock", "00:01"}});
        const CTariff::CallPrice call = Price(tariff, kWednesday, Secs(9, 0, 0), Secs(9, 0, 0));
        QCOMPARE(call.chargedDuration, 0);
        QCOMPARE(call.price, 0.25);
    }

    void changedKeysMakeAnotherTariff()
    {
        QVERIFY(Example() == Example());
        QVERIFY(!(Tariff({{"ConnectionBlock", "0"}}) == Tariff({{"ConnectionBlock", "00:00"}})));
        QVERIFY(!(Tariff({{"CostPerMinute", "1"}}) == Tariff({{"CostPerMinute", "2"}})));
    }

    void blocksRoundUpToTheExactMultiple()
    {
        // Durations on, just below and just above whole blocks, also near the largest int.
        for (const QString block : {"00:01", "00:07", "01:00", "05:05", "99:99"}) {
            const CTariff tariff = Tariff({{"ConnectionBlock", block}});
            const qint64 size = tariff.Block();
            for (const qint64 base : {qint64(0), qint64(1), qint64(7), qint64(59), qint64(3599),
                                      qint64(86399), qint64(INT_MAX) / size - 2}) {
                for (qint64 blocks = base; blocks < base + 3; ++blocks) {
                    for (qint64 raw = blocks * size - 1; raw <= blocks * size + 1; ++raw) {
                        if (raw < 0 || raw > INT_MAX)
                            continue;
                        const qint64 expected = (raw + size - 1) / size * size;
                        QCOMPARE(qint64(tariff.PriceCall(1, 1, 2000, 0, int(raw)).chargedDuration),
                                 qMin<qint64>(expected, INT_MAX));
                    }
                }
            }
        }
    }

    void digitRunsReadAsTheirLeadingNumber()
    {
        // Texts of one to sixteen digits, each also with a letter at every position: the
        // number ends before the letter.
        for (int length = 1; length <= 16; ++length) {
            QByteArray text;
            for (int i = 0; i < length; ++i)
                text += char('1' + (i * 7) % 9);
            QCOMPARE(CTariff::ParseNumber(QByteArrayView(text)), double(text.toLongLong()));
            for (int at = 0; at < length; ++at) {
                QByteArray cut = text;
                cut[at] = 'x';
                const double expected = at == 0 ? 0.0 : double(text.left(at).toLongLong());
                QCOMPARE(CTariff::ParseNumber(QByteArrayView(cut)), expected);
            }
        }
        QCOMPARE(CTariff::ParseNumber(QByteArrayView("00000000")), 0.0);
        QCOMPARE(CTariff::ParseNumber(QByteArrayView("99999999")), 99999999.0);
        QCOMPARE(CTariff::ParseNumber(QByteArrayView("1234567:")), 1234567.0);
        QCOMPARE(CTariff::ParseNumber(QByteArrayView("1234/678")), 1234.0);
    }

    void weekdayOfDates()
    {
        QCOMPARE(CTariff::Weekday(kWednesday.day, kWednesday.month, kWednesday.year), 3u);
        QCOMPARE(CTariff::Weekday(kSunday.day, kSunday.month, kSunday.year), 7u);
        QCOMPARE(CTariff::Weekday(29, 2, 2000), 2u);
        QCOMPARE(CTariff::Weekday(29, 2, 1900), 0u); // no leap year
        QCOMPARE(CTariff::Weekday(31, 4, 2000), 0u);
        QCOMPARE(CTariff::Weekday(1, 1, 0), 0u);
        QCOMPARE(CTariff::Weekday(1, 13, 2000), 0u);
    }

    void fixedText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("price") << 4.9 << 2 << "4.90";
        QTest::newRow("exact tie to even down") << 0.125 << 2 << "0.12";
        QTest::newRow("exact tie to even up") << 0.375 << 2 << "0.38";
        QTest::newRow("below the tie") << 2.675 << 2 << "2.67";
        QTest::newRow("negative") << -28.1 << 2 << "-28.10";
        QTest::newRow("large, no separators") << 1234567.891 << 2 << "1234567.89";
        QTest::newRow("bytes") << 2345678.0 << 0 << "2345678";
        QTest::newRow("half to even") << 2.5 << 0 << "2";
        QTest::newRow("huge bytes") << 1e22 << 0 << "10000000000000000000000";
    }
    void fixedText()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(CTariff::FixedText(value, decimals), text);
    }
};

QTEST_GUILESS_MAIN(TestTariff)
#include "tst_tariff.moc"
