#include "billing/gui/summarydlg.h"
#include "common/settingsstore.h"
#include "support/exampletariff.h"
#include "support/testclock.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {} // namespace

class TestSummaryDlg : public QObject {
    Q_OBJECT

private:
    void WriteLog(const QByteArray& data)
    {
        QFile file(m_dir->filePath(QStringLiteral("logfile.log")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
    }

    // The calls of the worked examples (Wednesday to Saturday, 15 to 18 March 2000) and
    // one call in February.
    void WriteExampleLog()
    {
        WriteLog("15-03-2000|14:20:00|15-03-2000|14:27:30|anna|Modem|Office|1000|5000|\n"
                 "17-03-2000|23:50:00|18-03-2000|00:10:00|anna|Modem|Office|2000|5000|\n"
                 "17-03-2000|23:00:00|17-03-2000|23:00:20|anna|Modem|Office|3000|5000|\r\n"
                 "18-03-2000|12:00:00|18-03-2000|12:02:00|anna|Modem|Office|4000|5000|\n"
                 "15-02-2000|10:00:00|15-02-2000|10:01:00|anna|Modem|Office|0|0|\n");
    }

    static QStringList Texts(const CSummaryDlg& dialog) { return dialog.ValueTexts(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CTestClock> m_clock;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(QStringLiteral("ov.ini")));
        m_clock = std::make_unique<CTestClock>(QDateTime(QDate(2000, 3, 18), QTime(18, 0)));
        CExampleTariff::WriteTo(*m_store);
    }

    void cleanup()
    {
        m_clock.reset();
        m_store.reset();
        m_dir.reset();
    }

    void showsTheEightValuesOfTheLog()
    {
        WriteExampleLog();
        CSummaryDlg dialog(*m_store);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // 4.90 + 6.10 + 0.70 + 0.70 + 0.70; time 450 + 1200 + 60 + 120 + 60.
        QCOMPARE(Texts(dialog), QStringList({"5", "00:31:30", "13.10", "2.62", "00:06:18", "10000",
                                             "20000", "30000"}));
        QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("filter"))->currentText(),
                 QStringLiteral("All"));

        // Every label of the window is there, in the window.
        QStringList shown;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            shown.append(label->text());
        for (const char* text :
             {"Connections", "Total time online", "Total cost", "Average cost per connection",
              "Average connection length", "Total data uploaded", "Total data downloaded",
              "Total data transmitted", "Filter"})
            QVERIFY2(shown.contains(QLatin1String(text)), text);
    }

    void opensWithTheStoredFilter()
    {
        WriteExampleLog();
        m_store->Write(Keys::SummaryWhen, 2);
        CSummaryDlg dialog(*m_store);
        QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("filter"))->currentIndex(), 2);
        QCOMPARE(Texts(dialog), QStringList({"1", "00:02:00", "0.70", "0.70", "00:02:00", "4000",
                                             "5000", "9000"}));
    }

    void choosingAFilterStoresItAndComputes()
    {
        WriteExampleLog();
        CSummaryDlg dialog(*m_store);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* filter = dialog.findChild<QComboBox*>(QStringLiteral("filter"));
        QCOMPARE(filter->count(), 3);
        QCOMPARE(filter->itemText(1), QStringLiteral("Only this month"));
        QCOMPARE(filter->itemText(2), QStringLiteral("Only today"));

        filter->setFocus();
        QTest::keyClick(filter, Qt::Key_Down);
        QCOMPARE(m_store->Read(Keys::SummaryWhen, -1), 1);
        QCOMPARE(Texts(dialog), QStringList({"4", "00:30:30", "12.40", "3.10", "00:07:37", "10000",
                                             "20000", "30000"}));

        // Choosing the same item again computes again: the new call shows.
        WriteLog("18-03-2000|20:00:00|18-03-2000|20:10:00|anna|Modem|Office|1|2|\n");
        emit filter->activated(filter->currentIndex());
        QCOMPARE(Texts(dialog).at(0), QStringLiteral("1"));
        QCOMPARE(m_store->Read(Keys::SummaryWhen, -1), 1);
    }

    void hideStoresTheChoiceAndCloses()
    {
        CSummaryDlg dialog(*m_store);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* filter = dialog.findChild<QComboBox*>(QStringLiteral("filter"));
        filter->setCurrentIndex(2); // chosen without the list closing: nothing stored yet
        QCOMPARE(m_store->Read(Keys::SummaryWhen, -1), 0);

        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("hide")), Qt::LeftButton);
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_store->Read(Keys::SummaryWhen, -1), 2);
    }

    void noRecordsShowZeros()
    {
        // No log at all, then a log without a call today.
        m_store->Write(Keys::FreeMonthTime, QStringLiteral("01:00"));
        m_store->Write(Keys::SummaryWhen, 1);
        const QStringList zeros = {"0", "00:00:00", "0.00", "0", "00:00:00", "0", "0", "0"};
        {
            CSummaryDlg dialog(*m_store);
            QCOMPARE(Texts(dialog), zeros);
        }
        WriteLog("15-02-2000|10:00:00|15-02-2000|10:01:00|anna|Modem|Office|10|20|\n");
        m_store->Write(Keys::SummaryWhen, 2);
        CSummaryDlg dialog(*m_store);
        QCOMPARE(Texts(dialog), zeros);
    }

    void freeAllowanceAndLongTimes()
    {
        m_store->Write(Keys::CostPerMinute, QStringLiteral("0.50"));
        m_store->Write(Keys::FreeMonthTime, QStringLiteral("01:00"));
        m_store->Write(Keys::MinConTime, QStringLiteral("00:00"));
        m_store->Write(Keys::ConnectionBlock, QStringLiteral("00:00"));
        // 228 s on a Thursday afternoon: 0.10 + 0.50 / 60 * 228 = 2.00.
        WriteLog("16-03-2000|12:00:00|16-03-2000|12:03:48|anna|Modem|Office|1|2|\n");
        m_store->Write(Keys::SummaryWhen, 1);
        CSummaryDlg dialog(*m_store);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(Texts(dialog).at(2), QStringLiteral("-28.10"));
        QCOMPARE(Texts(dialog).at(3), QStringLiteral("-28.10"));

        auto* filter = dialog.findChild<QComboBox*>(QStringLiteral("filter"));
        filter->setFocus();
        QTest::keyClick(filter, Qt::Key_Up);
        QCOMPARE(filter->currentIndex(), 0);
        QCOMPARE(Texts(dialog).at(2), QStringLiteral("2.00"));
        QCOMPARE(m_store->Read(Keys::SummaryWhen, -1), 0);

        // Two calls of 15 hours: whole days are not shown.
        WriteLog("16-03-2000|00:00:00|16-03-2000|15:00:00|anna|Modem|Office|1|2|\n"
                 "17-03-2000|00:00:00|17-03-2000|15:00:00|anna|Modem|Office|1|2|\n");
        emit filter->activated(0);
        QCOMPARE(Texts(dialog).at(1), QStringLiteral("06:00:00"));
        QCOMPARE(Texts(dialog).at(4), QStringLiteral("15:00:00"));
    }

    void storedFilterOutsideTheListShowsAll()
    {
        WriteExampleLog();
        m_store->Write(Keys::SummaryWhen, 7);
        CSummaryDlg dialog(*m_store);
        QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("filter"))->currentIndex(), 0);
        QCOMPARE(Texts(dialog).at(0), QStringLiteral("5"));
        QCOMPARE(m_store->Read(Keys::SummaryWhen, -1), 0);
    }
};

QTEST_MAIN(TestSummaryDlg)
#include "tst_summarydlg.moc"
