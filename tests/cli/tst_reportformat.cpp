#include "billing/logreader.h"
#include "billing/reportformat.h"
#include "billing/reportrow.h"
#include "cli/clicommands.h"
#include "common/settingsstore.h"
#include "support/exampletariff.h"

#include <QTemporaryDir>
#include <QTest>

// Rows written straight from the fields give the bytes of the rows joined from the
// column texts, in every form, whatever the fields hold.
class TestReportFormat : public QObject {
    Q_OBJECT

private slots:
    void sameAsTheColumns_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<double>("overage");

        const QByteArray times = "05-01-2026|22:58:10|05-01-2026|23:59:59|";
        QTest::newRow("written form")
            << times + "anna|ISDN Adapter|Home ISP|1303368|491263|" << 0.0;
        QTest::newRow("weekend, overage")
            << QByteArray("10-01-2026|10:00:00|10-01-2026|10:05:00|u|d|i|1|2|") << 1.25;
        QTest::newRow("missing fields") << QByteArray("05-01-2026|22:58:10") << 0.0;
        QTest::newRow("garbled times, negative span")
            << QByteArray("xx|99:99:99|yy|00:00:01|u|d|i|a1|-|") << 0.0;
        QTest::newRow("tab, CR, comma, quote, backslash, control")
            << times + "a\tb|c\rd|e,\"f\\\x01|1|2|" << 0.0;
        QTest::newRow("UTF-8 and broken UTF-8")
            << times + "J\xc3\xbcrgen|\xff\xfe|\xef\xbb\xbfx|1|2|" << 0.0;
        QTest::newRow("old negative, large and text counts")
            << times + "u|d|i|-1|99999999999999999999|" << 0.0;
        QTest::newRow("count text with quote and UTF-8")
            << times + "u|d|i|12\"3|\xc3\xa4\x02|" << 0.0;
    }

    void sameAsTheColumns()
    {
        QFETCH(QByteArray, line);
        QFETCH(double, overage);
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(QStringLiteral("ov.ini")));
        CExampleTariff::WriteTo(store);
        const CTariff tariff = CTariff::Load(store);
        CLogRecord record;
        QVERIFY(CLogReader::ParseLine(line, record));
        const QStringList columns = CReportRow::Columns(record, tariff, overage);

        const struct {
            CReportFormat::Form form;
            QByteArray expected;
        } forms[] = {{CReportFormat::Form::Text, CCliCommands::JoinRow(columns, false)},
                     {CReportFormat::Form::Csv, CCliCommands::JoinRow(columns, true)},
                     {CReportFormat::Form::Json, CCliCommands::JsonRow(columns)}};
        for (const auto& [form, expected] : forms) {
            CReportFormat format(tariff, form);
            QByteArray written(CReportFormat::MaxRowSize(line.size()), Qt::Uninitialized);
            char* const end = format.Write(record, overage, written.data());
            written.truncate(end - written.constData());
            QCOMPARE(written, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestReportFormat)
#include "tst_reportformat.moc"
