#include "billing/dataplan.h"
#include "billing/dataplanoptions.h"
#include "billing/priceoptions.h"
#include "common/settingsstore.h"
#include "monitor/warningsoptions.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPageOptions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(QStringLiteral("ov.ini")));
    }

    void warningAmounts_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("message");
        const QString notInteger = QStringLiteral("Please enter an integer.");
        const QString outside = QStringLiteral("Please enter an integer between 1 and 100000.");
        QTest::newRow("word") << "abc" << notInteger;
        QTest::newRow("empty") << "" << notInteger;
        QTest::newRow("fraction") << "1.5" << notInteger;
        QTest::newRow("too big for int") << "99999999999" << notInteger;
        QTest::newRow("zero") << "0" << outside;
        QTest::newRow("negative") << "-3" << outside;
        QTest::newRow("one over") << "100001" << outside;
        QTest::newRow("lowest") << "1" << QString();
        QTest::newRow("highest") << "100000" << QString();
        QTest::newRow("blanks and sign") << " +250 " << QString();
    }

    // Each amount is an integer from 1 to 100000; the first refused one, in the order of
    // the limits, is named with its message.
    void warningAmounts()
    {
        QFETCH(QString, amount);
        QFETCH(QString, message);
        CWarningsOptions options = CWarningsOptions::Load(*m_store);
        QCOMPARE(options.amounts[0], QStringLiteral("1"));
        QVERIFY(!options.enabled[0]);
        options.amounts[CWarningsOptions::DisconnectMonth] = amount;
        options.amounts[CWarningsOptions::DisconnectCall] = QStringLiteral("x");
        const auto refused = options.Refused();
        QVERIFY(refused);
        if (message.isEmpty()) {
            QCOMPARE(refused->limit, CWarningsOptions::DisconnectCall);
        } else {
            QCOMPARE(refused->limit, CWarningsOptions::DisconnectMonth);
            QCOMPARE(refused->message, message);
        }
    }

    void warningsStoreBoxesThenAmounts()
    {
        CWarningsOptions options;
        options.enabled = {true, false, false, true};
        options.amounts = {QStringLiteral(" 20"), QStringLiteral("5"), QStringLiteral("7"),
                           QStringLiteral("100000")};
        QVERIFY(!options.Refused());
        options.Store(*m_store);
        QFile file(m_store->Path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("[Settings]\nWarnWhenMonth=1\nWarnWhenCall=0\n"
                            "DisWhenMonth=0\nDisWhenCall=1\n"
                            "WarnWhenMonthInterval=20\nWarnWhenCallInterval=5\n"
                            "DisWhenMonthInterval=7\nDisWhenCallInterval=100000\n"));
        const CWarningsOptions loaded = CWarningsOptions::Load(*m_store);
        QVERIFY(loaded.enabled == options.enabled);
        QCOMPARE(loaded.amounts[0], QStringLiteral("20"));
    }

    void priceLists()
    {
        QCOMPARE(CPriceOptions::FromTime(0), QStringLiteral("00:00"));
        QCOMPARE(CPriceOptions::FromTime(5), QStringLiteral("01:15"));
        QCOMPARE(CPriceOptions::FromTime(92), QStringLiteral("23:00"));
        QCOMPARE(CPriceOptions::FromTime(95), QStringLiteral("23:45"));
        QCOMPARE(CPriceOptions::ToTime(0), QStringLiteral("00:14"));
        QCOMPARE(CPriceOptions::ToTime(23), QStringLiteral("05:59"));
        QCOMPARE(CPriceOptions::ToTime(95), QStringLiteral("23:59"));
    }

    void priceMoneyFields()
    {
        QCOMPARE(CPriceOptions::ParseMoney(QStringLiteral(" -2.5e1 ")).value_or(0), -25.0);
        QCOMPARE(CPriceOptions::ParseMoney(QStringLiteral(".6")).value_or(0), 0.6);
        for (const char* bad : {"", "  ", "abc", "0,6", "1,000", "0.6x", "inf", "nan", "1e999"})
            QVERIFY2(!CPriceOptions::ParseMoney(QLatin1String(bad)), bad);

        // The fields are read as the page reads them: price per dial, cheap rate, rate.
        CPriceOptions options = CPriceOptions::Load(*m_store);
        QCOMPARE(options.pricePerDial, QStringLiteral("0"));
        QVERIFY(!options.Refused());
        options.costPerMinute = QStringLiteral("a");
        QCOMPARE(options.Refused().value_or(CPriceOptions::MoneyField(-1)),
                 CPriceOptions::CostPerMinute);
        options.cheapCostPerMinute = QStringLiteral("b");
        QCOMPARE(options.Refused().value_or(CPriceOptions::MoneyField(-1)),
                 CPriceOptions::CheapCostPerMinute);
        options.pricePerDial = QStringLiteral("c");
        QCOMPARE(options.Refused().value_or(CPriceOptions::MoneyField(-1)),
                 CPriceOptions::PricePerDial);
    }

    // Money with ten decimals, clock texts exactly as typed, both the position and the text
    // of each list item, the weekend boxes under "Settings".
    void priceStoreAndLoad()
    {
        m_store->Write(Keys::CheapTimeToComboState, 96);
        CPriceOptions options = CPriceOptions::Load(*m_store);
        QCOMPARE(options.fromIndex, 92);
        QCOMPARE(options.toIndex, 23);
        options.pricePerDial = QStringLiteral("0.1");
        options.costPerMinute = QStringLiteral(" 0.6 ");
        options.cheapCostPerMinute = QStringLiteral("3e-1");
        options.fromIndex = 88;
        options.toIndex = 27;
        options.cheapInSun = true;
        options.minConTime = QStringLiteral("1:30");
        options.connectionBlock = QStringLiteral("5");
        options.freeMonthTime = QStringLiteral("02:00");
        options.Store(*m_store);
        QCOMPARE(m_store->Read(Keys::PricePerDial), QStringLiteral("0.1000000000"));
        QCOMPARE(m_store->Read(Keys::CostPerMinute), QStringLiteral("0.6000000000"));
        QCOMPARE(m_store->Read(Keys::CheapCostPerMinute), QStringLiteral("0.3000000000"));
        QCOMPARE(m_store->Read(Keys::CheapTimeFromComboState), 88);
        QCOMPARE(m_store->Read(Keys::CheapTimeStart), QStringLiteral("22:00"));
        QCOMPARE(m_store->Read(Keys::CheapTimeToComboState), 27);
        QCOMPARE(m_store->Read(Keys::CheapTimeEnd), QStringLiteral("06:59"));
        QCOMPARE(m_store->ReadString(QStringLiteral("Settings"), QStringLiteral("CheapInSun"),
                                     QString()),
                 QStringLiteral("1"));
        QCOMPARE(m_store->Read(Keys::CheapInSat), 0);
        QCOMPARE(m_store->Read(Keys::MinConTime), QStringLiteral("1:30"));
        QCOMPARE(m_store->Read(Keys::ConnectionBlock), QStringLiteral("5"));

        const CPriceOptions loaded = CPriceOptions::Load(*m_store);
        QCOMPARE(loaded.costPerMinute, QStringLiteral("0.6"));
        QCOMPARE(loaded.cheapCostPerMinute, QStringLiteral("0.3"));
        QCOMPARE(loaded.fromIndex, 88);
        QVERIFY(loaded.cheapInSun && !loaded.cheapInSat);
    }

    void dataPlanProblems_data()
    {
        QTest::addColumn<QString>("startDay");
        QTest::addColumn<QString>("allowance");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("warnAt");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");
        const QString day = QStringLiteral("Please enter a day of the month from 1 to 31.");
        const QString gb = QStringLiteral("Please enter the allowance in GB as a number such as "
                                          "30 or 2.5, or leave it empty for no plan.");
        const QString money = QStringLiteral("Please enter a price of 0 or more.");
        const QString percent = QStringLiteral(
            "Please enter percentages from 1 to 1000, separated by commas, such as 80,100.");
        QTest::newRow("good") << "15"
                              << "30"
                              << "1.5"
                              << "80, 100" << -1 << QString();
        QTest::newRow("no plan") << "1"
                                 << ""
                                 << "0"
                                 << "" << -1 << QString();
        QTest::newRow("fraction of a GB") << "31"
                                          << " 2.5 "
                                          << "0"
                                          << "90" << -1 << QString();
        QTest::newRow("day 0") << "0"
                               << "30"
                               << "0"
                               << "80" << int(CDataPlanOptions::StartDay) << day;
        QTest::newRow("day 40") << "40"
                                << "30"
                                << "0"
                                << "80" << int(CDataPlanOptions::StartDay) << day;
        QTest::newRow("negative allowance") << "1"
                                            << "-1"
                                            << "0"
                                            << "80" << int(CDataPlanOptions::Allowance) << gb;
        QTest::newRow("word allowance") << "1"
                                        << "abc"
                                        << "0"
                                        << "80" << int(CDataPlanOptions::Allowance) << gb;
        QTest::newRow("word price") << "1"
                                    << "30"
                                    << "x"
                                    << "80" << int(CDataPlanOptions::OveragePerGB) << money;
        QTest::newRow("negative price") << "1"
                                        << "30"
                                        << "-1"
                                        << "80" << int(CDataPlanOptions::OveragePerGB) << money;
        QTest::newRow("word threshold") << "1"
                                        << "30"
                                        << "0"
                                        << "80,abc" << int(CDataPlanOptions::WarnAt) << percent;
        QTest::newRow("first in page order") << "40"
                                             << "abc"
                                             << "x"
                                             << "80,abc" << int(CDataPlanOptions::StartDay) << day;
    }

    void dataPlanProblems()
    {
        QFETCH(QString, startDay);
        QFETCH(QString, allowance);
        QFETCH(QString, price);
        QFETCH(QString, warnAt);
        QFETCH(int, field);
        QFETCH(QString, message);
        CDataPlanOptions options;
        options.startDay = startDay;
        options.allowance = allowance;
        options.overagePerGB = price;
        options.warnAt = warnAt;
        const auto problem = options.Problem();
        QCOMPARE(problem ? int(problem->field) : -1, field);
        QCOMPARE(problem ? problem->message : QString(), message);
    }

    // Garbage in the file shows as what the plan makes of it; the page's values are stored
    // in their plain form and read back as typed, and the warnings already given are left
    // alone.
    void dataPlanStoreAndLoad()
    {
        m_store->Write(Keys::CycleStartDay, 40);
        m_store->Write(Keys::Allowance, QStringLiteral("lots"));
        m_store->Write(Keys::Counted, 1);
        m_store->Write(Keys::OveragePerGB, QStringLiteral("-3"));
        m_store->Write(Keys::WarnAt, QStringLiteral("90,abc,50"));
        m_store->Write(Keys::AtLimit, 1);
        m_store->Write(Keys::WarnedCycle, QStringLiteral("2026-12-01"));
        m_store->Write(Keys::WarnedAt, QStringLiteral("80"));
        CDataPlanOptions options = CDataPlanOptions::Load(*m_store);
        QCOMPARE(options.startDay, QStringLiteral("31"));
        QCOMPARE(options.allowance, QString());
        QVERIFY(options.receivedOnly);
        QCOMPARE(options.overagePerGB, QStringLiteral("0"));
        QCOMPARE(options.warnAt, QStringLiteral("50,90"));
        QVERIFY(options.hangUpAtLimit);

        options.startDay = QStringLiteral(" 15");
        options.allowance = QStringLiteral(" 2.50 ");
        options.receivedOnly = false;
        options.overagePerGB = QStringLiteral("1.25");
        options.warnAt = QStringLiteral("100, 80,80");
        options.hangUpAtLimit = false;
        QVERIFY(!options.Problem());
        options.Store(*m_store);
        QCOMPARE(m_store->Read(Keys::CycleStartDay), 15);
        QCOMPARE(m_store->Read(Keys::Allowance), QStringLiteral("2.5"));
        QCOMPARE(m_store->Read(Keys::Counted), 0);
        QCOMPARE(m_store->Read(Keys::OveragePerGB), QStringLiteral("1.2500000000"));
        QCOMPARE(m_store->Read(Keys::WarnAt), QStringLiteral("80,100"));
        QCOMPARE(m_store->Read(Keys::AtLimit), 0);
        QCOMPARE(m_store->Read(Keys::WarnedCycle), QStringLiteral("2026-12-01"));
        QCOMPARE(m_store->Read(Keys::WarnedAt), QStringLiteral("80"));
        QCOMPARE(CDataPlan::Load(*m_store).allowance, 2500000000);

        const CDataPlanOptions loaded = CDataPlanOptions::Load(*m_store);
        QCOMPARE(loaded.startDay, QStringLiteral("15"));
        QCOMPARE(loaded.allowance, QStringLiteral("2.5"));
        QCOMPARE(loaded.overagePerGB, QStringLiteral("1.25"));
        QCOMPARE(loaded.warnAt, QStringLiteral("80,100"));

        // An empty allowance is no plan, and so is stored.
        options.allowance = QString();
        options.Store(*m_store);
        QCOMPARE(m_store->Read(Keys::Allowance), QString());
        QVERIFY(!CDataPlan::Load(*m_store).Active());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
};

QTEST_GUILESS_MAIN(TestPageOptions)
#include "tst_pageoptions.moc"
