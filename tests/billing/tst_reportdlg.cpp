#include "app/gui/windowopener.h"
#include "billing/gui/reportdlg.h"
#include "billing/gui/reportmodel.h"
#include "billing/gui/summarydlg.h"
#include "billing/reportrow.h"
#include "common/settingsstore.h"

#include "support/exampletariff.h"
#include "support/monitorfakes.h"
#include "support/windowopenerrig.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSizeGrip>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Records of every kind the reading rules know: an empty user (later fields shift), a
// call across midnight, equal times, a date that is no calendar date, a line cut short,
// text beyond ASCII, a weekend call and a line ended by CR LF.
const char* const kMixedLog =
    "14-06-2000|14:20:00|14-06-2000|14:27:30|anna|Modem|Office|100|1000|\n"
    "16-06-2000|23:50:00|17-06-2000|00:10:00|anna|Modem|Office|200|2000|\r\n"
    "17-06-2000|12:00:00|17-06-2000|12:02:00|J\xc3\xbcrgen|Modem|Home|300|3000|\n"
    "18-06-2000|09:00:00|18-06-2000|09:00:00||Modem|Home|-5|7|\n"
    "31-02-2000|10:00:00|31-02-2000|10:00:40|bert|ISDN|Work|1|2|\n"
    "19-06-2000|08:00:00\n"
    "20-06-2000|22:59:59|20-06-2000|23:30:00|carl|Modem|Night|0|0|\n";

QList<QStringList> Rows(const CReportModel& model)
{
    QList<QStringList> rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows.append(model.RowTexts(row));
    return rows;
}

// A call per day from 1 January 2000 on, the user field holding its number (1 is the
// oldest).
QByteArray NumberedLog(int count)
{
    QByteArray log;
    const QDate first(2000, 1, 1);
    for (int i = 1; i <= count; ++i) {
        const QByteArray date = first.addDays(i - 1).toString(u"dd-MM-yyyy").toLatin1();
        log += date + "|10:00:00|" + date + "|10:0" + QByteArray::number(i % 10) + ":00|u" +
               QByteArray::number(i) + "|Modem|Office|" + QByteArray::number(i * 10) + "|" +
               QByteArray::number(i * 100) + "|\n";
    }
    return log;
}

QList<CReportDlg*> OpenReports()
{
    QList<CReportDlg*> reports;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* report = qobject_cast<CReportDlg*>(widget); report && report->isVisible())
            reports.append(report);
    }
    return reports;
}

} // namespace

class TestReportDlg : public QObject {
    Q_OBJECT

private:
    void WriteLog(const QByteArray& data)
    {
        QFile file(m_log);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(data), data.size());
    }

    // What orvalis-cli report prints for the same settings, split into fields; the
    // headings first.
    QList<QStringList> CliReport()
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
        env.remove(QStringLiteral("DISPLAY"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(ORVALIS_CLI_PATH), {QStringLiteral("report")});
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            return {};
        QList<QStringList> rows;
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts))
            rows.append(line.split(u'\t'));
        return rows;
    }

    // The window's rows against the tool's: equal, but for the date on load, which the
    // window writes in the locale's short form.
    void CompareWithCli(const CReportModel& model)
    {
        const QList<QStringList> cli = CliReport();
        QCOMPARE(cli.value(0), CReportRow::Headings());
        QCOMPARE(model.rowCount(), cli.size() - 1);
        for (int row = 0; row < model.rowCount(); ++row) {
            QStringList expected = cli.at(row + 1);
            const QDate date = QDate::fromString(expected.at(0), u"dd-MM-yyyy");
            if (date.isValid())
                expected[0] = QLocale().toString(date, QLocale::ShortFormat);
            QCOMPARE(model.RowTexts(row), expected);
        }
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    QString m_log;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("config/orvalis")));
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("logs")));
        m_store = std::make_unique<CSettingsStore>(
            m_dir->filePath(QStringLiteral("config/orvalis/ov.ini")));
        m_log = m_dir->filePath(QStringLiteral("logs/logfile.log"));
        m_store->Write(Keys::IniPath, m_dir->filePath(QStringLiteral("logs")));
        CExampleTariff::WriteTo(*m_store);
    }

    void cleanup()
    {
        m_store.reset();
        m_dir.reset();
    }

    // The rows are the tool's, newest first; a new tariff re-prices every row of the next
    // opening, and the tool agrees again.
    void rowsAreTheToolsAndFollowTheTariff()
    {
        WriteLog(kMixedLog);
        QStringList before;
        {
            CReportDlg dlg(*m_store);
            QVERIFY(!dlg.Loading());
            QCOMPARE(dlg.Model().rowCount(), 7);
            QCOMPARE(dlg.Model().RowTexts(0).at(4), QStringLiteral("carl"));
            QCOMPARE(dlg.Model().RowTexts(6).at(4), QStringLiteral("anna"));
            QCOMPARE(dlg.Model().RowTexts(6).at(9), QStringLiteral("4.90"));
            QCOMPARE(dlg.Model().RowTexts(5).at(3), QStringLiteral("00:20:00"));
            CompareWithCli(dlg.Model());
            for (const QStringList& row : Rows(dlg.Model()))
                before.append(row.at(9));
        }

        m_store->Write(Keys::PricePerDial, QStringLiteral("1.0000000000"));
        m_store->Write(Keys::CostPerMinute, QStringLiteral("1.2000000000"));
        m_store->Write(Keys::CheapCostPerMinute, QStringLiteral("0.9000000000"));
        CReportDlg dlg(*m_store);
        const QList<QStringList> rows = Rows(dlg.Model());
        QCOMPARE(rows.size(), before.size());
        for (int row = 0; row < rows.size(); ++row)
            QVERIFY2(rows.at(row).at(9) != before.at(row), qPrintable(before.at(row)));
        CompareWithCli(dlg.Model());

        // No log at all: an empty list, no message.
        QVERIFY(QFile::remove(m_log));
        CReportDlg empty(*m_store);
        QCOMPARE(empty.Model().rowCount(), 0);
    }

    // 50 records and 20 rows visible: Down shows 30 to 49 with the date as stored, Up
    // 31 to 50, Up once more nothing.
    void pagesWithTheKeyboard()
    {
        WriteLog(NumberedLog(50));
        CReportDlg dlg(*m_store);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* list = dlg.findChild<QTableView*>(QStringLiteral("reportList"));
        QVERIFY(list);
        const int height = 20 * dlg.RowHeight() + dlg.RowHeight() / 2;
        dlg.resize(dlg.width(), dlg.height() + height - list->viewport()->height());
        QTRY_COMPARE(dlg.VisibleRows(), 20);
        QCOMPARE(dlg.Model().rowCount(), 50);
        const auto users = [&dlg] {
            QStringList users;
            for (const QStringList& row : Rows(dlg.Model()))
                users.append(row.at(4));
            return users;
        };
        const auto numbered = [](int newest, int oldest) {
            QStringList users;
            for (int i = newest; i >= oldest; --i)
                users.append(QStringLiteral("u%1").arg(i));
            return users;
        };
        QCOMPARE(users(), numbered(50, 1));
        QCOMPARE(dlg.Model().RowTexts(0).at(0),
                 QLocale().toString(QDate(2000, 2, 19), QLocale::ShortFormat));

        list->setCurrentIndex(dlg.Model().index(3, 0));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(users(), numbered(49, 30));
        QCOMPARE(dlg.Model().RowTexts(0).at(0), QStringLiteral("18-02-2000"));
        QCOMPARE(dlg.Model().RowTexts(0).at(9), QStringLiteral("5.50"));
        QCOMPARE(list->currentIndex().row(), 4); // the list moved its selection too

        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(users(), numbered(50, 31));
        QCOMPARE(dlg.Model().RowTexts(0).at(0), QStringLiteral("19-02-2000"));
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(users(), numbered(50, 31));
        QCOMPARE(dlg.Model().Paging().Position(), 0);
    }

    // At its first opening every column shows, Price (the last) included, without
    // scrolling; the grip in the corner resizes the window and the next one opens at the
    // size the last was left at.
    void opensWideEnoughAndRemembersItsSize()
    {
        WriteLog(kMixedLog);
        QSize chosen;
        {
            CReportDlg dlg(*m_store);
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            auto* list = dlg.findChild<QTableView*>(QStringLiteral("reportList"));
            const int price = dlg.Model().columnCount() - 1;
            QVERIFY(list->horizontalHeader()->sectionViewportPosition(price) +
                        list->columnWidth(price) <=
                    list->viewport()->width());
            QVERIFY(dlg.findChild<QSizeGrip*>(QStringLiteral("reportGrip"))->isVisible());
            dlg.resize(dlg.width() - 30, dlg.height() + 40);
            chosen = dlg.size();
            dlg.reject();
        }
        CReportDlg again(*m_store);
        QCOMPARE(again.size(), chosen);
    }

    // The Report command opens one window; asking again raises it. Summary opens the summary
    // over it, Hide closes it. The dark look stays on the report's own widgets.
    void openedOnceWithSummaryAndHide()
    {
        WriteLog(kMixedLog);
        CRecordingSound sound;
        CWindowOpenerRig rig(*m_store, sound);
        CWindowOpener& features = rig.windows;
        QCOMPARE(OpenReports().size(), 0);
        features.OpenReport();
        QCOMPARE(OpenReports().size(), 1);
        CReportDlg* dlg = OpenReports().constFirst();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        features.OpenReport();
        QCOMPARE(OpenReports(), QList<CReportDlg*>{dlg});
        QVERIFY(dlg->isModal());

        auto* list = dlg->findChild<QTableView*>(QStringLiteral("reportList"));
        QCOMPARE(list->palette().color(QPalette::Base), QColor(64, 64, 64));
        {
            QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("x"),
                            QMessageBox::Ok, dlg);
            box.ensurePolished();
            QVERIFY(box.palette().color(QPalette::Window) != QColor(50, 50, 50));
        }

        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("reportSummary")),
                          Qt::LeftButton);
        auto* summary = dlg->findChild<CSummaryDlg*>();
        QVERIFY(summary);
        QTRY_VERIFY(summary->isVisible());
        QVERIFY(summary->isModal());
        QCOMPARE(dlg->Model().rowCount(), 7);
        summary->close();

        const QPointer<CReportDlg> watched = dlg;
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("reportHide")),
                          Qt::LeftButton);
        QTRY_VERIFY(watched.isNull());
        QCOMPARE(OpenReports().size(), 0);

        // A new opening after the close, left open for the features to clean up.
        features.OpenReport();
        QCOMPARE(OpenReports().size(), 1);
    }
};

QTEST_MAIN(TestReportDlg)
#include "tst_reportdlg.moc"
