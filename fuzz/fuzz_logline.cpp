// Fuzz target for the log reader: CLogReader::ParseLine on single lines, CLogReader::ReadAll and
// a reused CLogReader on a file holding the input. Every reading rule is computed a
// second, plain way here, and the target stops (trap) on the first difference.

#include "billing/logreader.h"
#include "billing/logrecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QTemporaryFile>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// Bytes the reader asks for per read; used only to place lines across a read boundary, the
// checks hold for any value.
constexpr qsizetype kReadChunk = qsizetype(512) << 10;

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

// QByteArray::mid and right on a view: clamped to the text.
QByteArrayView Mid(QByteArrayView text, qsizetype pos, qsizetype length)
{
    if (pos >= text.size())
        return {};
    return text.sliced(pos, std::min(length, text.size() - pos));
}

QByteArrayView Right(QByteArrayView text, qsizetype length)
{
    return length >= text.size() ? text : text.last(length);
}

// Optional blanks and sign, digits up to the first non-digit, 0 when there are none.
int LeadingInt(QByteArrayView text)
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

int TimeOfDay(QByteArrayView token)
{
    return LeadingInt(Mid(token, 0, 2)) * 3600 + LeadingInt(Mid(token, 3, 3)) * 60 +
           LeadingInt(Right(token, 2));
}

// The texts of a record. They are views, into the input for the records expected and into
// the reader's buffer for the records read, so nothing is copied; a record read is compared
// before the reader moves on.
constexpr QByteArrayView CLogRecord::*kTexts[] = {
    &CLogRecord::startDate, &CLogRecord::startTime, &CLogRecord::endDate,
    &CLogRecord::endTime,   &CLogRecord::user,      &CLogRecord::device,
    &CLogRecord::isp,       &CLogRecord::uploaded,  &CLogRecord::downloaded};

// Whether two records hold the same line, texts (by content) and numbers.
bool Same(const CLogRecord& a, const CLogRecord& b)
{
    if (a.line != b.line || a.startDay != b.startDay || a.startMonth != b.startMonth ||
        a.startYear != b.startYear || a.startSecs != b.startSecs || a.endSecs != b.endSecs)
        return false;
    for (const auto text : kTexts) {
        if (a.*text != b.*text)
            return false;
    }
    return true;
}

// Every text view of the record is empty or lies inside the line, and holds no separator.
void CheckViews(const CLogRecord& r)
{
    const char* const begin = r.line.data();
    const char* const end = begin + r.line.size();
    for (const auto text : kTexts) {
        const QByteArrayView& v = r.*text;
        if (v.isEmpty())
            continue;
        Check(v.data() >= begin && v.data() + v.size() <= end, "field view outside the line");
        Check(!v.contains('|'), "field holds a separator");
    }
}

// The reading rules applied the plain way to one line without its line break; false when
// the line is to be skipped.
bool Expected(QByteArrayView line, CLogRecord& f)
{
    // The first nine non-empty parts between separators; missing ones are empty.
    QByteArrayView tokens[9];
    int count = 0;
    qsizetype from = 0;
    while (count < 9 && from <= line.size()) {
        qsizetype to = line.indexOf('|', from);
        if (to < 0)
            to = line.size();
        if (to > from)
            tokens[count++] = line.sliced(from, to - from);
        from = to + 1;
    }
    if (count == 0)
        return false;
    f = CLogRecord();
    f.line = line;
    f.startDate = tokens[0];
    f.startDay = LeadingInt(Mid(tokens[0], 0, 2));
    f.startMonth = LeadingInt(Mid(tokens[0], 3, 2));
    f.startYear = LeadingInt(Right(tokens[0], 4));
    f.startTime = tokens[1];
    f.startSecs = TimeOfDay(tokens[1]);
    f.endDate = tokens[2];
    f.endTime = tokens[3];
    f.endSecs = TimeOfDay(tokens[3]);
    f.user = tokens[4];
    f.device = tokens[5];
    f.isp = tokens[6];
    f.uploaded = tokens[7];
    f.downloaded = tokens[8];
    return true;
}

// Calls visit with every line of data, split at line feeds, and with what follows the last
// line feed, even when that is empty (an empty line is skipped by every rule).
template <typename Visit> void ForEachLine(QByteArrayView data, Visit visit)
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype to = data.indexOf('\n', from);
        if (to < 0)
            break;
        visit(data.sliced(from, to - from));
        from = to + 1;
    }
    visit(data.sliced(from));
}

// A scratch log written in place: the file keeps its pages from input to input, and only
// what follows the part the last input shared with this one is written again.
class ScratchLog {
public:
    const QString& Write(QByteArrayView data)
    {
        if (!m_file.isOpen() && !m_file.open())
            Fail("cannot create the temporary log");
        const qsizetype common = std::min(m_written.size(), data.size());
        // Compared in blocks by memcmp: a loop over the bytes here would be traced compare by
        // compare by the fuzzer.
        constexpr qsizetype kBlock = 4096;
        qsizetype same = 0;
        while (same + kBlock <= common &&
               std::memcmp(m_written.constData() + same, data.data() + same, kBlock) == 0)
            same += kBlock;
        const qsizetype rest = data.size() - same;
        if (!m_file.seek(same) || m_file.write(data.data() + same, rest) != rest ||
            !m_file.flush() || (m_written.size() > data.size() && !m_file.resize(data.size())))
            Fail("cannot write the temporary log");
        // A copy into the kept buffer, not a shared reference the caller would have to
        // detach from.
        m_written.resize(data.size());
        std::memcpy(m_written.data(), data.data(), size_t(data.size()));
        m_name = m_file.fileName();
        return m_name;
    }

private:
    QTemporaryFile m_file{QDir::tempPath() + QStringLiteral("/fuzz_logline_XXXXXX")};
    QByteArray m_written;
    QString m_name;
};

// Reads data from a file and checks its records against the expected ones. The reader
// object is kept from input to input, so what an earlier log left in its buffer must not
// show through. ReadAll, which reads with a reader of its own, is checked too when
// withReadAll is set; it is not run on every input because a fresh reader's buffer makes it
// many times slower here.
void CheckRead(QByteArrayView data, bool withReadAll, bool padded,
               const QList<CLogRecord>& expected, const char* what)
{
    static ScratchLog logs[2];
    const QString& path = logs[padded ? 1 : 0].Write(data);

    const auto next = [&expected, what](qsizetype& seen, const CLogRecord& record) {
        CheckViews(record);
        Check(!record.line.contains('\n'), "record holds a line feed");
        if (seen >= expected.size() || !Same(record, expected[seen]))
            Fail(what);
        ++seen;
    };

    static CLogReader reader;
    Check(reader.Open(path), "Reader could not open the log");
    qsizetype seen = 0;
    CLogRecord record;
    while (reader.Next(record))
        next(seen, record);
    if (seen != expected.size())
        Fail(what);

    if (withReadAll) {
        qsizetype visited = 0;
        const bool opened =
            CLogReader::ReadAll(path, [&next, &visited](const CLogRecord& r) { next(visited, r); });
        Check(opened, "ReadAll could not open the log");
        Check(visited == expected.size(), "ReadAll differs from a reused Reader");
    }
}

// ParseLine on one line against the plain rules; whether the line is taken, with its fields
// in expected.
bool CheckParseLine(QByteArrayView line, CLogRecord& expected)
{
    CLogRecord record;
    const bool taken = CLogReader::ParseLine(line, record);
    Check(taken == Expected(line, expected), "ParseLine skip decision");
    if (!taken)
        return false;
    Check(record.line.data() == line.data() && record.line.size() == line.size(),
          "record.line is not the line");
    CheckViews(record);
    Check(Same(record, expected), "ParseLine fields");
    return true;
}

// Checks ParseLine on every line of data, as a whole file splits it at line feeds, and
// fills records with what reading data as a file must give: one CR before a line feed
// dropped (also on a last line without its line feed), over-long lines skipped. Each line
// goes through the plain rules once, or twice when it ends in a CR.
void CheckLines(QByteArrayView data, QList<CLogRecord>& records)
{
    records.clear();
    ForEachLine(data, [&records](QByteArrayView line) {
        CLogRecord f;
        bool taken = CheckParseLine(line, f);
        if (line.endsWith('\r')) {
            line.chop(1);
            taken = Expected(line, f);
        }
        if (taken && line.size() <= CLogReader::kMaxLineLength)
            records.append(f);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArrayView data(bytes, qsizetype(size));

    // The whole input as one line, and each of its lines as ParseLine gets them. The list
    // is kept from input to input, so its memory is not allocated again each time.
    CLogRecord whole;
    CheckParseLine(data, whole);
    static QList<CLogRecord> expected;
    CheckLines(data, expected);

    // The costly checks run on a share of the inputs, picked by a hash of the input: the
    // same input always takes the same path, whatever its size. A fresh reader (ReadAll)
    // maps and unmaps a megabyte of buffers under the sanitizer, the cost of some ten
    // inputs, so it reads one input in 256; what it shares with the reused reader is
    // checked on every input.
    const size_t hash = qHash(data);
    CheckRead(data, (hash >> 8) % 256 == 0, false, expected, "records read from the file");

    // The same lines behind an over-long line (which must be skipped) that ends just before
    // the first read boundary, so the input is split across two reads; then behind one that
    // crosses the boundary, so the reader drops its rest while skipping. It costs a read of
    // half a megabyte, so it runs on one input in 128.
    if (hash % 128 == 0) {
        const qsizetype shift = qsizetype(hash >> 8) % 64;
        const bool across = (hash >> 16) & 1;
        const qsizetype fill = across ? kReadChunk + shift : kReadChunk - 1 - shift;
        static const QByteArray filler = [] {
            QByteArray text;
            while (text.size() < kReadChunk + 64)
                text.append("01-01-2000|10:00:00|01-01-2000|10:05:00|x|y|z|1|2|");
            return text;
        }();
        // Kept from input to input, so the half megabyte is not allocated and faulted in
        // again each time; it grows with room to spare, as the inputs grow during a run.
        static QByteArray padded;
        padded.resize(0);
        const qsizetype needed = kReadChunk + 64 + 1 + data.size();
        if (padded.capacity() < needed)
            padded.reserve(needed + 64 * 1024);
        padded.append(filler.constData(), fill);
        padded.append('\n');
        padded.append(data);
        // A fresh reader on one in four of them.
        CheckRead(padded, (hash >> 24) % 4 == 0, true, expected, "records after an over-long line");
    }
    return 0;
}
