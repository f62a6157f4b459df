// Fuzz target for the log reader: CLogReader::ParseLine on single lines, CLogReader::ReadAll and
// a reused CLogReader on a file holding the input. Every reading rule is computed a
// second, plain way here, and the target stops (trap) on the first difference.

#include "billing/logreader.h"
#include "billing/logrecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QList>
#include <QString>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

// Bytes ReadAll asks for per read; used only to place lines across a read boundary, the
// checks hold for any value.
constexpr qsizetype kReadChunk = qsizetype(1) << 20;

void Fail(const char* what)
{
    std::fprintf(stderr, "log reader property violated: %s\n", what);
    __builtin_trap();
}

void Check(bool ok, const char* what)
{
    if (!ok)
        Fail(what);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Optional blanks and sign, digits up to the first non-digit, 0 when there are none.
int LeadingInt(const QByteArray& text)
{
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    int sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        sign = text[i] == '-' ? -1 : 1;
        ++i;
    }
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + (text[i] - '0');
    return sign * value;
}

int TimeOfDay(const QByteArray& token)
{
    return LeadingInt(token.mid(0, 2)) * 3600 + LeadingInt(token.mid(3, 3)) * 60 +
           LeadingInt(token.right(2));
}

// A record with its texts copied, so records from both readers can be kept and compared.
struct Fields {
    QByteArray line, startDate, startTime, endTime, user, device, isp, uploaded, downloaded;
    int startDay = 0, startMonth = 0, startYear = 0, startSecs = 0, endSecs = 0;

    bool operator==(const Fields&) const = default;
};

Fields Copy(const CLogRecord& r)
{
    Fields f;
    f.line = r.line.toByteArray();
    f.startDate = r.startDate.toByteArray();
    f.startTime = r.startTime.toByteArray();
    f.endTime = r.endTime.toByteArray();
    f.user = r.user.toByteArray();
    f.device = r.device.toByteArray();
    f.isp = r.isp.toByteArray();
    f.uploaded = r.uploaded.toByteArray();
    f.downloaded = r.downloaded.toByteArray();
    f.startDay = r.startDay;
    f.startMonth = r.startMonth;
    f.startYear = r.startYear;
    f.startSecs = r.startSecs;
    f.endSecs = r.endSecs;
    return f;
}

// Every text view of the record is empty or lies inside the line, and holds no separator.
void CheckViews(const CLogRecord& r)
{
    const char* const begin = r.line.data();
    const char* const end = begin + r.line.size();
    const QByteArrayView views[] = {r.startDate, r.startTime, r.endTime,  r.user,
                                    r.device,    r.isp,       r.uploaded, r.downloaded};
    for (const QByteArrayView& v : views) {
        if (v.isEmpty())
            continue;
        Check(v.data() >= begin && v.data() + v.size() <= end, "field view outside the line");
        Check(!v.contains('|'), "field holds a separator");
    }
}

// The reading rules applied the plain way to one line without its line break; false when
// the line is to be skipped.
bool Expected(const QByteArray& line, Fields& f)
{
    QList<QByteArray> tokens;
    for (const QByteArray& part : line.split('|')) {
        if (!part.isEmpty())
            tokens.append(part);
    }
    if (tokens.isEmpty())
        return false;
    while (tokens.size() < 9)
        tokens.append(QByteArray());
    f = Fields();
    f.line = line;
    f.startDate = tokens[0];
    f.startDay = LeadingInt(tokens[0].mid(0, 2));
    f.startMonth = LeadingInt(tokens[0].mid(3, 2));
    f.startYear = LeadingInt(tokens[0].right(4));
    f.startTime = tokens[1];
    f.startSecs = TimeOfDay(tokens[1]);
    f.endTime = tokens[3];
    f.endSecs = TimeOfDay(tokens[3]);
    f.user = tokens[4];
    f.device = tokens[5];
    f.isp = tokens[6];
    f.uploaded = tokens[7];
    f.downloaded = tokens[8];
    return true;
}

// The records of a whole file: split at line feeds, one CR before a line feed dropped (also
// on a last line without its line feed), over-long lines skipped.
QList<Fields> ExpectedRecords(const QByteArray& data)
{
    QList<Fields> records;
    QList<QByteArray> lines = data.split('\n');
    if (data.endsWith('\n'))
        lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        Fields f;
        if (line.size() <= CLogReader::kMaxLineLength && Expected(line, f))
            records.append(f);
    }
    return records;
}

// The records of data as a reader sees them in a file. The reader object is kept from input
// to input, so what an earlier log left in its buffer must not show through. ReadAll, which
// reads with a reader of its own, is compared with it when withReadAll is set; it is not
// run on every input because a fresh reader's buffer makes it many times slower here.
QList<Fields> ReadBack(const QByteArray& data, bool withReadAll)
{
    static QTemporaryFile file(QDir::tempPath() + QStringLiteral("/fuzz_logline_XXXXXX"));
    if (!file.isOpen() && !file.open())
        Fail("cannot create the temporary log");
    if (!file.resize(0) || !file.seek(0) || file.write(data) != data.size() || !file.flush())
        Fail("cannot write the temporary log");

    static CLogReader reader;
    Check(reader.Open(file.fileName()), "Reader could not open the log");
    QList<Fields> records;
    CLogRecord record;
    while (reader.Next(record)) {
        CheckViews(record);
        Check(!record.line.contains('\n'), "record holds a line feed");
        records.append(Copy(record));
    }

    if (withReadAll) {
        QList<Fields> visited;
        const bool opened = CLogReader::ReadAll(file.fileName(), [&visited](const CLogRecord& r) {
            CheckViews(r);
            visited.append(Copy(r));
        });
        Check(opened, "ReadAll could not open the log");
        Check(visited == records, "ReadAll differs from a reused Reader");
    }
    return records;
}

void CheckParseLine(QByteArrayView line)
{
    CLogRecord record;
    const bool taken = CLogReader::ParseLine(line, record);
    Fields expected;
    Check(taken == Expected(line.toByteArray(), expected), "ParseLine skip decision");
    if (!taken)
        return;
    Check(record.line.data() == line.data() && record.line.size() == line.size(),
          "record.line is not the line");
    CheckViews(record);
    Check(Copy(record) == expected, "ParseLine fields");
}

void CheckRead(const QByteArray& data, bool withReadAll, const QList<Fields>& expected,
               const char* what)
{
    if (ReadBack(data, withReadAll) != expected)
        Fail(what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));

    // The whole input as one line, and each of its lines as ParseLine gets them.
    CheckParseLine(data);
    for (const QByteArray& line : data.split('\n'))
        CheckParseLine(line);

    const QList<Fields> expected = ExpectedRecords(data);
    CheckRead(data, size % 8 == 0, expected, "records read from the file");

    // The same lines behind an over-long line (which must be skipped) that ends just before
    // the first read boundary, so the input is split across two reads; then behind one that
    // crosses the boundary, so the reader drops its rest while skipping.
    if (size > 0 && size % 16 == 0) {
        const qsizetype shift = qsizetype(bytes[0]) % 64;
        const bool across = bytes[size - 1] & 1;
        const qsizetype fill = across ? kReadChunk + shift : kReadChunk - 1 - shift;
        static const QByteArray filler = [] {
            QByteArray text;
            while (text.size() < kReadChunk + 64)
                text.append("01-01-2000|10:00:00|01-01-2000|10:05:00|x|y|z|1|2|");
            return text;
        }();
        QByteArray padded;
        padded.reserve(fill + 1 + data.size());
        padded.append(filler.first(fill));
        padded.append('\n');
        padded.append(data);
        CheckRead(padded, true, expected, "records after an over-long line");
    }
    return 0;
}
