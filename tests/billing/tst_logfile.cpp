#include "billing/logfile.h"
#include "billing/logreader.h"
#include "support/scriptedmessagebox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// A record copied out of the reader's buffer.
struct Fields {
    QByteArray line, date, startTime, endTime, user, device, isp, up, down;
    int day = 0, month = 0, year = 0, startSecs = 0, endSecs = 0;
};

Fields Copy(const CLogRecord& r)
{
    Fields f;
    f.line = r.line.toByteArray();
    f.date = r.startDate.toByteArray();
    f.startTime = r.startTime.toByteArray();
    f.endTime = r.endTime.toByteArray();
    f.user = r.user.toByteArray();
    f.device = r.device.toByteArray();
    f.isp = r.isp.toByteArray();
    f.up = r.uploaded.toByteArray();
    f.down = r.downloaded.toByteArray();
    f.day = r.startDay;
    f.month = r.startMonth;
    f.year = r.startYear;
    f.startSecs = r.startSecs;
    f.endSecs = r.endSecs;
    return f;
}

// Every field of a record in one text, to compare two records at once.
QByteArray Joined(const Fields& f)
{
    QByteArray joined = QByteArrayList{f.line,   f.date, f.startTime, f.endTime, f.user,
                                       f.device, f.isp,  f.up,        f.down}
                            .join('#');
    for (const int number : {f.day, f.month, f.year, f.startSecs, f.endSecs})
        joined += '#' + QByteArray::number(number);
    return joined;
}

QList<Fields> ReadBack(const QString& path, bool* opened = nullptr)
{
    QList<Fields> records;
    const bool ok =
        CLogReader::ReadAll(path, [&](const CLogRecord& r) { records.append(Copy(r)); });
    if (opened)
        *opened = ok;
    return records;
}

void WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), data.size());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QDateTime At(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

} // namespace

class TstLogFile : public QObject {
    Q_OBJECT

private slots:
    void formatsTheDocumentedLine();
    void formatsNegativeCountsAndTwoDates();
    void sanitisedNamesReadBackAsNineFields_data();
    void sanitisedNamesReadBackAsNineFields();
    void parsesByTheReadingRules_data();
    void parsesByTheReadingRules();
    void skipsLinesWithoutFields();
    void missingFileVisitsNothing();
    void readsLfCrLfAndLastLineWithoutBreak();
    void survivesLongBinaryAndNulLines();
    void skipsOverlongLineAndKeepsNeighbours();
    void readsLinesAcrossChunkBoundaries();
    void streamingReaderAgreesWithLineParser();
    void linesNearTheWrittenFormReadAsParsed_data();
    void linesNearTheWrittenFormReadAsParsed();
    void keepsLongestCrLfLineOnChunkEdges();
    void appendCreatesAndAppends();
    void appendStartsOnFreshLineAfterCutLine();
    void failedAppendKeepsRecordsAndWarnsOnce();
    void waitingRecordsGoOutInOneWrite();
    void specialFilesAreRefused_data();
    void specialFilesAreRefused();
};

void TstLogFile::formatsTheDocumentedLine()
{
    const QString line = CLogFile::FormatRecord(
        At(1999, 12, 24, 21, 5, 10), At(1999, 12, 24, 21, 40, 2), QStringLiteral("anna"),
        QStringLiteral("Standard Modem"), QStringLiteral("Office dial-up"), 123456, 2345678);
    QCOMPARE(line, QStringLiteral("24-12-1999|21:05:10|24-12-1999|21:40:02|anna|Standard "
                                  "Modem|Office dial-up|123456|2345678|\n"));
}

void TstLogFile::formatsNegativeCountsAndTwoDates()
{
    const QString line = CLogFile::FormatRecord(At(2000, 1, 5, 23, 50, 0), At(2000, 1, 6, 0, 10, 0),
                                                QStringLiteral("u"), QStringLiteral("d"),
                                                QStringLiteral("e"), -5, -2147483647 - 1);
    QCOMPARE(line,
             QStringLiteral("05-01-2000|23:50:00|06-01-2000|00:10:00|u|d|e|-5|-2147483648|\n"));

    // The record's views point into this text.
    const QByteArray bytes = line.trimmed().toUtf8();
    CLogRecord r;
    QVERIFY(CLogReader::ParseLine(bytes, r));
    QCOMPARE(r.startSecs, 85800);
    QCOMPARE(r.endSecs, 600);
    QCOMPARE(r.startDay, 5);
    QCOMPARE(r.startMonth, 1);
    QCOMPARE(r.startYear, 2000);
    QCOMPARE(r.uploaded.toByteArray(), QByteArray("-5"));
}

void TstLogFile::sanitisedNamesReadBackAsNineFields_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("userRead");
    QTest::addColumn<QByteArray>("deviceRead");
    QTest::addColumn<QByteArray>("entryRead");

    QTest::newRow("bar") << "a|b"
                         << "|modem|"
                         << "x" << QByteArray("a/b") << QByteArray("/modem/") << QByteArray("x");
    QTest::newRow("line breaks") << "a\r\nb"
                                 << "m\n"
                                 << "\rx" << QByteArray("a  b") << QByteArray("m ")
                                 << QByteArray(" x");
    QTest::newRow("empty names") << ""
                                 << ""
                                 << "" << QByteArray(" ") << QByteArray(" ") << QByteArray(" ");
    QTest::newRow("tab and nul") << QStringLiteral("a\tb") << QString(QChar(0)) << "é"
                                 << QByteArray("a b") << QByteArray(" ") << QByteArray("\xc3\xa9");
}

void TstLogFile::sanitisedNamesReadBackAsNineFields()
{
    QFETCH(QString, user);
    QFETCH(QString, device);
    QFETCH(QString, entry);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    CLogFile log;
    QVERIFY(
        log.Append(path, CLogFile::FormatRecord(At(2001, 2, 3, 4, 5, 6), At(2001, 2, 3, 5, 6, 7),
                                                user, device, entry, 11, 22)));
    const QList<Fields> records = ReadBack(path);
    QCOMPARE(records.size(), 1);
    QTEST(records[0].user, "userRead");
    QTEST(records[0].device, "deviceRead");
    QTEST(records[0].isp, "entryRead");
    QCOMPARE(records[0].up, QByteArray("11"));
    QCOMPARE(records[0].down, QByteArray("22"));
    QCOMPARE(records[0].endSecs, 5 * 3600 + 6 * 60 + 7);
}

void TstLogFile::parsesByTheReadingRules_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QList<int>>("numbers");   // day, month, year, start, end
    QTest::addColumn<QByteArrayList>("texts"); // user, device, isp, up, down

    QTest::newRow("full") << QByteArray(
                                 "24-12-1999|21:05:10|24-12-1999|21:40:02|anna|Modem|Office|1|2|")
                          << QList<int>{24, 12, 1999, 75910, 78002}
                          << QByteArrayList{"anna", "Modem", "Office", "1", "2"};
    QTest::newRow("empty user shifts fields")
        << QByteArray("01-02-2003|00:00:01|01-02-2003|00:00:02||Modem|Office|1|2|")
        << QList<int>{1, 2, 2003, 1, 2} << QByteArrayList{"Modem", "Office", "1", "2", ""};
    QTest::newRow("date and start time only")
        << QByteArray("05-06-2007|10:20:30") << QList<int>{5, 6, 2007, 37230, 0}
        << QByteArrayList{"", "", "", "", ""};
    QTest::newRow("leading and doubled separators")
        << QByteArray("||05-06-2007|||10:20:30|x|00:00:09|u|") << QList<int>{5, 6, 2007, 37230, 9}
        << QByteArrayList{"u", "", "", "", ""};
    QTest::newRow("tenth token ignored")
        << QByteArray("01-01-2000|00:00:00|01-01-2000|00:00:00|u|d|i|1|2|3|4|")
        << QList<int>{1, 1, 2000, 0, 0} << QByteArrayList{"u", "d", "i", "1", "2"};
    QTest::newRow("short and odd tokens")
        << QByteArray("7|1:2|x|-1:+2:3|u") << QList<int>{7, 0, 7, 3600, -3600 + 2 * 60}
        << QByteArrayList{"u", "", "", "", ""};
    QTest::newRow("blanks and signs")
        << QByteArray(" 1- 2-  99| 1: 2: 3|d|23:59:59|")
        << QList<int>{1, 2, 99, 3600 + 120 + 3, 86399} << QByteArrayList{"", "", "", "", ""};
    QTest::newRow("no digits") << QByteArray("ab-cd-efgh|xx:yy:zz|") << QList<int>{0, 0, 0, 0, 0}
                               << QByteArrayList{"", "", "", "", ""};
    QTest::newRow("minutes read three characters")
        << QByteArray("01-01-2000|12:345|") << QList<int>{1, 1, 2000, 12 * 3600 + 345 * 60 + 45, 0}
        << QByteArrayList{"", "", "", "", ""};
}

void TstLogFile::parsesByTheReadingRules()
{
    QFETCH(QByteArray, line);
    QFETCH(QList<int>, numbers);
    QFETCH(QByteArrayList, texts);

    CLogRecord r;
    QVERIFY(CLogReader::ParseLine(line, r));
    QCOMPARE(r.line.toByteArray(), line);
    QCOMPARE((QList<int>{r.startDay, r.startMonth, r.startYear, r.startSecs, r.endSecs}), numbers);
    QCOMPARE((QByteArrayList{r.user.toByteArray(), r.device.toByteArray(), r.isp.toByteArray(),
                             r.uploaded.toByteArray(), r.downloaded.toByteArray()}),
             texts);
}

void TstLogFile::skipsLinesWithoutFields()
{
    CLogRecord r;
    QVERIFY(!CLogReader::ParseLine("", r));
    QVERIFY(!CLogReader::ParseLine("|", r));
    QVERIFY(!CLogReader::ParseLine("||||||", r));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    WriteFile(path, "\n|||\n\r\n01-01-2000|00:00:01|\n|\n\n");
    const QList<Fields> records = ReadBack(path);
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].startSecs, 1);
}

void TstLogFile::missingFileVisitsNothing()
{
    QTemporaryDir dir;
    bool opened = true;
    QVERIFY(ReadBack(dir.filePath(QStringLiteral("none.log")), &opened).isEmpty());
    QVERIFY(!opened);

    const QString empty = dir.filePath(QStringLiteral("empty.log"));
    WriteFile(empty, {});
    QVERIFY(ReadBack(empty, &opened).isEmpty());
    QVERIFY(opened);
}

void TstLogFile::readsLfCrLfAndLastLineWithoutBreak()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    WriteFile(path, "01-01-2000|00:00:01|01-01-2000|00:00:02|u|d|i|1|2|\r\n"
                    "02-01-2000|00:00:03|02-01-2000|00:00:04|u|d|i|3|4|\n"
                    "03-01-2000|00:00:05|03-01-2000|00:00:06|u|d|i|5|6");
    const QList<Fields> records = ReadBack(path);
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[0].line, QByteArray("01-01-2000|00:00:01|01-01-2000|00:00:02|u|d|i|1|2|"));
    QCOMPARE(records[0].down, QByteArray("2"));
    QCOMPARE(records[1].day, 2);
    QCOMPARE(records[2].down, QByteArray("6"));
    QCOMPARE(records[2].endSecs, 6);
}

void TstLogFile::survivesLongBinaryAndNulLines()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    const QByteArray longName(400, 'n');
    QByteArray data;
    data += "01-01-2000|00:00:01|01-01-2000|00:00:02|" + longName + "|d|i|1|2|\n";
    static const char binary[] = "\x00\xff\xfe|\x01\x02\x03\n";
    static const char withNul[] = "02-01-2000|00:00:03|02-01-2000|00:00:04|u\x00x|d|i|3|4|\n";
    data += QByteArray(binary, sizeof binary - 1);
    data += QByteArray(withNul, sizeof withNul - 1);
    data += "03-01-2000|00:00:05|03-01-2000|00:00:06|u|d|i|5|6|\n";
    WriteFile(path, data);

    const QList<Fields> records = ReadBack(path);
    QCOMPARE(records.size(), 4);
    QCOMPARE(records[0].user, longName);
    QCOMPARE(records[0].down, QByteArray("2"));
    QCOMPARE(records[1].date, QByteArray("\x00\xff\xfe", 3));
    QCOMPARE(records[1].day, 0);
    QCOMPARE(records[2].user, QByteArray("u\x00x", 3));
    QCOMPARE(records[2].down, QByteArray("4"));
    QCOMPARE(records[3].endSecs, 6);
}

void TstLogFile::skipsOverlongLineAndKeepsNeighbours()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    // Longer than both the line limit and the read chunk, so it spans several reads.
    const QByteArray junk(3 * 1024 * 1024 + 17, '|');
    QByteArray data = "01-01-2000|00:00:01|01-01-2000|00:00:02|u|d|i|1|2|\n";
    data += "09-09-2009|" + junk + "\n";
    data += "02-01-2000|00:00:03|02-01-2000|00:00:04|u|d|i|3|4|\n";
    data += QByteArray(CLogReader::kMaxLineLength + 1, 'x') + "\n";
    data += QByteArray(CLogReader::kMaxLineLength - 1, 'y') + "|\r\n";
    data += "03-01-2000|00:00:05|03-01-2000|00:00:06|u|d|i|5|6|\n";
    data += "10-10-2010|" + junk; // cut off at the end of the file
    WriteFile(path, data);

    const QList<Fields> records = ReadBack(path);
    QCOMPARE(records.size(), 4);
    QCOMPARE(records[0].day, 1);
    QCOMPARE(records[1].day, 2);
    QCOMPARE(records[2].line.size(), CLogReader::kMaxLineLength);
    QCOMPARE(records[3].day, 3);
    QCOMPARE(records[3].down, QByteArray("6"));
}

void TstLogFile::readsLinesAcrossChunkBoundaries()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    // About 5 MB of lines of varying length, so line ends fall on every offset of a chunk.
    QByteArray data;
    qint64 expectedSum = 0;
    const int count = 60000;
    for (int i = 0; i < count; ++i) {
        const QByteArray user(i % 37 + 1, 'a' + i % 26);
        data += "01-01-2000|00:00:00|01-01-2000|00:00:00|" + user + "|dev|isp|" +
                QByteArray::number(i) + "|0|" + (i % 3 == 0 ? "\r\n" : "\n");
        expectedSum += i;
    }
    WriteFile(path, data);

    int seen = 0;
    qint64 sum = 0;
    bool inOrder = true;
    bool usersRight = true;
    QVERIFY(CLogReader::ReadAll(path, [&](const CLogRecord& r) {
        const int value = r.uploaded.toInt();
        inOrder = inOrder && value == seen;
        usersRight = usersRight && r.user.size() == value % 37 + 1 && r.downloaded == "0";
        sum += value;
        ++seen;
    }));
    QCOMPARE(seen, count);
    QVERIFY(inOrder);
    QVERIFY(usersRight);
    QCOMPARE(sum, expectedSum);
}

void TstLogFile::streamingReaderAgreesWithLineParser()
{
    // Random bytes rich in separators and line breaks, long lines included: the streaming
    // reader must yield exactly what splitting the file by hand and parsing each line gives.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    QRandomGenerator random(20240615);
    const QByteArray alphabet("||||||\r\n\n1234567890-: a\0\xff", 24);
    QByteArray data;
    while (data.size() < 3 * 1024 * 1024) {
        const int length = random.bounded(20) == 0 ? random.bounded(70000) : random.bounded(120);
        for (int i = 0; i < length; ++i)
            data += alphabet.at(random.bounded(int(alphabet.size())));
        data += '\n';
    }
    data.chop(1); // and no line break at the very end
    WriteFile(path, data);

    QList<QByteArray> expected;
    for (QByteArray line : data.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        CLogRecord r;
        if (line.size() <= CLogReader::kMaxLineLength && CLogReader::ParseLine(line, r)) {
            const Fields f = Copy(r);
            expected.append(f.line + '#' + f.date + '#' + f.startTime + '#' + f.endTime + '#' +
                            f.user + '#' + f.device + '#' + f.isp + '#' + f.up + '#' + f.down +
                            '#' + QByteArray::number(f.day) + '#' +
                            QByteArray::number(f.startSecs) + '#' + QByteArray::number(f.endSecs));
        }
    }
    QList<QByteArray> actual;
    for (const Fields& f : ReadBack(path))
        actual.append(f.line + '#' + f.date + '#' + f.startTime + '#' + f.endTime + '#' + f.user +
                      '#' + f.device + '#' + f.isp + '#' + f.up + '#' + f.down + '#' +
                      QByteArray::number(f.day) + '#' + QByteArray::number(f.startSecs) + '#' +
                      QByteArray::number(f.endSecs));
    QVERIFY(expected.size() > 1000);
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i)
        QCOMPARE(actual.at(i), expected.at(i));
}

void TstLogFile::linesNearTheWrittenFormReadAsParsed_data()
{
    // The reader takes the date and time fields of a line as the program writes them at
    // fixed places; any other line goes by the general reading rules.
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("written") << QByteArray("24-12-1999|21:05:10|25-12-1999|01:40:59|a|m|o|1|2|");
    QTest::newRow("written, CR LF") << QByteArray("01-02-2003|00:00:01|01-02-2003|23:59:09|\r");
    QTest::newRow("digit for a colon") << QByteArray("01-01-2000|12:34:56|01-01-2000|12:34056|u|");
    QTest::newRow("letter for a digit") << QByteArray("01-01-2000|12:34:56|01-01-2x00|12:34:56|u|");
    QTest::newRow("separator moved") << QByteArray("01-01-2000|12:34:5|6|01-01-2000|12:34:56|u|");
    QTest::newRow("ends inside") << QByteArray("01-01-2000|12:34:56|01-01-2000|12:3");
}

void TstLogFile::linesNearTheWrittenFormReadAsParsed()
{
    QFETCH(QByteArray, line);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    WriteFile(path, line + '\n' + line + '\n');
    // The parsed record's fields are views of this text.
    const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
    CLogRecord parsed;
    QVERIFY(CLogReader::ParseLine(text, parsed));
    const QList<Fields> read = ReadBack(path);
    QCOMPARE(read.size(), 2);
    for (const Fields& f : read)
        QCOMPARE(Joined(f), Joined(Copy(parsed)));
}

void TstLogFile::keepsLongestCrLfLineOnChunkEdges()
{
    // A line of the longest length a record may have, ended by CR LF, whose CR is the last
    // byte of the first 128 KiB, 256 KiB ... 4 MiB of the file: wherever the reader's
    // chunks end, the line must not be taken for an over-long one.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    const QByteArray longest = QByteArray(CLogReader::kMaxLineLength - 1, 'y') + '|';
    for (qint64 edge = qint64(128) << 10; edge <= qint64(4) << 20; edge *= 2) {
        // Filler lines of 1000 bytes and one shorter one put the long line in place.
        const qint64 fill = edge - 1 - longest.size();
        QByteArray data;
        while (fill - data.size() >= 2000)
            data += QByteArray(998, 'f') + "|\n";
        data += QByteArray(fill - data.size() - 2, 'g') + "|\n";
        const qsizetype fillers = data.count('\n');
        data += longest + "\r\n";
        data += "03-01-2000|00:00:05|03-01-2000|00:00:06|u|d|i|5|6|\n";
        QCOMPARE(data.indexOf('\r'), edge - 1);
        WriteFile(path, data);

        const QList<Fields> records = ReadBack(path);
        QCOMPARE(records.size(), fillers + 2);
        QCOMPARE(records[fillers].line, longest);
        QCOMPARE(records[fillers + 1].down, QByteArray("6"));
    }
}

void TstLogFile::appendCreatesAndAppends()
{
    CScriptedMessageBox boxes;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    CLogFile log;
    QVERIFY(log.Append(path, "a|\n"));
    QVERIFY(log.Append(path, "b|\n"));
    QCOMPARE(ReadFile(path), QByteArray("a|\nb|\n"));
    QCOMPARE(log.PendingCount(), 0);
    QVERIFY(boxes.Shown().isEmpty());
    QVERIFY(log.Flush(path)); // nothing pending: nothing written twice
    QCOMPARE(ReadFile(path), QByteArray("a|\nb|\n"));
}

void TstLogFile::appendStartsOnFreshLineAfterCutLine()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    WriteFile(path, "01-01-2000|00:00:01|01-01");
    CLogFile log;
    QVERIFY(log.Append(path, "02-01-2000|00:00:02|\n"));
    QCOMPARE(ReadFile(path), QByteArray("01-01-2000|00:00:01|01-01\n02-01-2000|00:00:02|\n"));
    QCOMPARE(ReadBack(path).size(), 2);
}

void TstLogFile::failedAppendKeepsRecordsAndWarnsOnce()
{
    CScriptedMessageBox boxes;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("missing"));
    const QString path = folder + QStringLiteral("/logfile.log");
    CLogFile log;

    QVERIFY(!log.Append(path, "first|\n"));
    QCOMPARE(log.PendingCount(), 1);
    QCOMPARE(boxes.Shown().size(), 1);
    QCOMPARE(boxes.Shown()[0].caption, QStringLiteral("Error"));
    QCOMPARE(boxes.Shown()[0].buttons, CMessageBox::Buttons::Ok);
    QCOMPARE(boxes.Shown()[0].text,
             QStringLiteral("Can not write to file") + path +
                 QStringLiteral(" You can try to specify other location for logfile."));

    // Still failing: the records stay queued and the box is not shown again.
    QVERIFY(!log.Append(path, "second|\n"));
    QVERIFY(!log.Flush(path));
    QCOMPARE(log.PendingCount(), 2);
    QCOMPARE(boxes.Shown().size(), 1);

    // The folder appears: the next chance writes both, oldest first.
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(log.Flush(path));
    QCOMPARE(log.PendingCount(), 0);
    QCOMPARE(ReadFile(path), QByteArray("first|\nsecond|\n"));

    // A new failure after a success is shown again.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(folder).removeRecursively());
    QVERIFY(!log.Append(path, "third|\n"));
    QCOMPARE(boxes.Shown().size(), 2);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(log.Append(path, "fourth|\n"));
    QCOMPARE(ReadFile(path), QByteArray("third|\nfourth|\n"));
}

// Many records left by an earlier run: one write and one sync for all of them, in order.
void TstLogFile::waitingRecordsGoOutInOneWrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    QList<QByteArray> lines;
    for (int i = 0; i < 20000; ++i)
        lines.append("01-01-2000|00:00:01|01-01-2000|00:00:02|u|d|i|" + QByteArray::number(i) +
                     "|2|\n");
    CLogFile log;
    log.Requeue(lines);
    QVERIFY(log.Flush(path));
    QCOMPARE(log.WriteCount(), 1);
    QCOMPARE(log.PendingCount(), 0);
    QCOMPARE(ReadFile(path), lines.join());
}

void TstLogFile::specialFilesAreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("pipe nobody writes to") << QStringLiteral("fifo");
    QTest::newRow("link to /dev/zero") << QStringLiteral("zero");
    QTest::newRow("folder") << QStringLiteral("folder");
}

void TstLogFile::specialFilesAreRefused()
{
    QFETCH(QString, kind);
    CScriptedMessageBox boxes;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logfile.log"));
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == u"zero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else
        QVERIFY(QDir().mkdir(path));

    // Reading gives up at once instead of waiting for a writer or reading for ever.
    int visited = 0;
    CLogReader::Problem problem = CLogReader::Problem::None;
    QVERIFY(!CLogReader::ReadAll(
        path, [&](const CLogRecord&) { ++visited; }, &problem));
    QCOMPARE(problem, CLogReader::Problem::NotRegularFile);
    QCOMPARE(visited, 0);
    QCOMPARE(CLogReader::Check(path), CLogReader::Problem::NotRegularFile);
    QCOMPARE(CLogReader::ProblemText(path, problem),
             path + QStringLiteral(" is not a regular file"));

    // Appending keeps the records as on a full disk, with one box for the episode.
    CLogFile log;
    QVERIFY(!log.Append(path, "first|\n"));
    QVERIFY(!log.Append(path, "second|\n"));
    QVERIFY(!log.Flush(path));
    QCOMPARE(log.PendingCount(), 2);
    QCOMPARE(boxes.Shown().size(), 1);
    QCOMPARE(boxes.Shown()[0].caption, QStringLiteral("Error"));
    QCOMPARE(boxes.Shown()[0].text, CLogFile::NotRegularText(path));
    QVERIFY(boxes.Shown()[0].text.contains(path + QStringLiteral(" is not a regular file")));
    QVERIFY(QFileInfo(path).isSymLink() || !QFileInfo(path).isFile());

    // A regular file in its place takes both, oldest first.
    if (kind == u"folder")
        QVERIFY(QDir(path).removeRecursively());
    else
        QVERIFY(QFile::remove(path));
    QVERIFY(log.Flush(path));
    QCOMPARE(ReadFile(path), QByteArray("first|\nsecond|\n"));
    QCOMPARE(boxes.Shown().size(), 1);
    QCOMPARE(CLogReader::Check(path), CLogReader::Problem::None);
}

QTEST_GUILESS_MAIN(TstLogFile)
#include "tst_logfile.moc"
