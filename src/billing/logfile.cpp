#include "billing/logfile.h"

#include "common/messagebox.h"

#include <QFile>

#include <bit>

#include <cerrno>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes read from the log per read call.
constexpr qsizetype kReadChunk = qsizetype(1) << 20;
// Room after the data: one added line feed and the overhang of a 16-byte block scan.
constexpr qsizetype kPadding = 64;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Optional blanks and sign, then digits up to the first non-digit; 0 when there are none.
// The texts handed in are at most a few characters long, so the value cannot overflow.
int LeadingInt(QByteArrayView text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && IsBlank(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    int value = 0;
    while (p < end && IsDigit(*p)) {
        value = value * 10 + (*p - '0');
        ++p;
    }
    return negative ? -value : value;
}

// At most count characters of text starting at from; empty when text is shorter.
QByteArrayView Part(QByteArrayView text, qsizetype from, qsizetype count) {
    if (from >= text.size())
        return {};
    return text.sliced(from, std::min(count, text.size() - from));
}

QByteArrayView Last(QByteArrayView text, qsizetype count) {
    return text.last(std::min(count, text.size()));
}

int TwoDigits(const char* p) {
    return (p[0] - '0') * 10 + (p[1] - '0');
}

// Day from the first two characters, month from the two starting at the fourth, year
// from the last four.
void ParseDate(QByteArrayView token, CLogRecord& record) {
    const char* d = token.data();
    if (token.size() == 10 && IsDigit(d[0]) && IsDigit(d[1]) && IsDigit(d[3]) && IsDigit(d[4]) &&
        IsDigit(d[6]) && IsDigit(d[7]) && IsDigit(d[8]) && IsDigit(d[9])) {
        // The written form dd-mm-yyyy: the same values as the general rule, found faster.
        record.startDay = TwoDigits(d);
        record.startMonth = TwoDigits(d + 3);
        record.startYear = TwoDigits(d + 6) * 100 + TwoDigits(d + 8);
        return;
    }
    record.startDay = LeadingInt(Part(token, 0, 2));
    record.startMonth = LeadingInt(Part(token, 3, 2));
    record.startYear = LeadingInt(Last(token, 4));
}

// Hours from the first two characters, minutes from the three starting at the fourth
// (the parse stops at the colon), seconds from the last two.
int TimeOfDay(QByteArrayView token) {
    const char* t = token.data();
    if (token.size() == 8 && IsDigit(t[0]) && IsDigit(t[1]) && IsDigit(t[3]) && IsDigit(t[4]) &&
        !IsDigit(t[5]) && IsDigit(t[6]) && IsDigit(t[7]))
        return TwoDigits(t) * 3600 + TwoDigits(t + 3) * 60 + TwoDigits(t + 6);
    return LeadingInt(Part(token, 0, 2)) * 3600 + LeadingInt(Part(token, 3, 3)) * 60 +
           LeadingInt(Last(token, 2));
}

// The first nine tokens of a line: runs of separators count as one and leading
// separators are skipped, so an empty field is not seen at all.
struct Tokens {
    static constexpr int kUsed = 9;
    QByteArrayView at[kUsed];
    int count = 0;

    void Add(const char* begin, const char* end) {
        if (end > begin && count < kUsed)
            at[count++] = QByteArrayView(begin, end - begin);
    }
};

void Split(QByteArrayView line, Tokens& tokens) {
    tokens.count = 0;
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p < end && tokens.count < Tokens::kUsed) {
        const void* bar = std::memchr(p, '|', size_t(end - p));
        const char* const tokenEnd = bar ? static_cast<const char*>(bar) : end;
        tokens.Add(p, tokenEnd);
        p = tokenEnd + 1;
    }
}

// Sets every field of the record (it is reused from line to line).
void Fill(QByteArrayView line, Tokens& tokens, CLogRecord& record) {
    // Tokens the line does not have read as empty (the array is reused from line to line).
    for (int i = tokens.count; i < Tokens::kUsed; ++i)
        tokens.at[i] = QByteArrayView();
    record.line = line;
    record.startDate = tokens.at[0];
    ParseDate(tokens.at[0], record);
    record.startTime = tokens.at[1];
    record.startSecs = TimeOfDay(tokens.at[1]);
    record.endTime = tokens.at[3];
    record.endSecs = TimeOfDay(tokens.at[3]);
    record.user = tokens.at[4];
    record.device = tokens.at[5];
    record.isp = tokens.at[6];
    record.uploaded = tokens.at[7];
    record.downloaded = tokens.at[8];
}

// Finds the end of the line that starts at p and splits it into tokens in the same scan.
// Returns the line feed that ends the line, or nullptr when there is none before limit.
// lineEnd receives the end of the line without its CR LF or LF. Reads up to 15 bytes past
// limit, which the buffer must hold.
const char* ScanLine(const char* p, const char* limit, Tokens& tokens, const char*& lineEnd) {
    tokens.count = 0;
#if defined(__SSE2__)
    const __m128i bar = _mm_set1_epi8('|');
    const __m128i feed = _mm_set1_epi8('\n');
    const char* tokenStart = p;
    for (const char* block = p; block < limit; block += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
        unsigned bars = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, bar)));
        unsigned feeds = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed)));
        if (limit - block < 16) {
            const unsigned valid = (1u << (limit - block)) - 1;
            bars &= valid;
            feeds &= valid;
        }
        if (feeds)
            bars &= (feeds & (0u - feeds)) - 1; // only the separators before the line feed
        if (tokens.count < Tokens::kUsed) {
            for (; bars; bars &= bars - 1) {
                const char* const at = block + std::countr_zero(bars);
                tokens.Add(tokenStart, at);
                tokenStart = at + 1;
            }
        }
        if (feeds) {
            const char* const newline = block + std::countr_zero(feeds);
            lineEnd = newline > p && newline[-1] == '\r' ? newline - 1 : newline;
            tokens.Add(tokenStart, lineEnd);
            return newline;
        }
    }
    return nullptr;
#else
    const void* found = std::memchr(p, '\n', size_t(limit - p));
    if (!found)
        return nullptr;
    const char* const newline = static_cast<const char*>(found);
    lineEnd = newline > p && newline[-1] == '\r' ? newline - 1 : newline;
    Split(QByteArrayView(p, lineEnd - p), tokens);
    return newline;
#endif
}

bool WriteAll(int fd, const char* data, qsizetype size, qsizetype& written) {
    written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size_t(size - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return false;
        written += n;
    }
    return true;
}

} // namespace

QString CLogFile::SanitizeName(const QString& name) {
    if (name.isEmpty())
        return QStringLiteral(" ");
    QString clean = name;
    for (QChar& c : clean) {
        if (c == u'|')
            c = u'/';
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    }
    return clean;
}

QString CLogFile::FormatRecord(const QDateTime& start, const QDateTime& end, const QString& user,
                               const QString& device, const QString& entry, qint32 up,
                               qint32 down) {
    // An invalid moment still gives its two fields, so the line keeps its shape.
    const auto date = [](const QDateTime& moment) {
        const QDate d = moment.date();
        return d.isValid() ? QString::asprintf("%02d-%02d-%04d", d.day(), d.month(), d.year())
                           : QStringLiteral("00-00-0000");
    };
    const auto time = [](const QDateTime& moment) {
        const QTime t = moment.time();
        return t.isValid() ? QString::asprintf("%02d:%02d:%02d", t.hour(), t.minute(), t.second())
                           : QStringLiteral("00:00:00");
    };
    const QChar bar = u'|';
    return date(start) + bar + time(start) + bar + date(end) + bar + time(end) + bar +
           SanitizeName(user) + bar + SanitizeName(device) + bar + SanitizeName(entry) + bar +
           QString::number(up) + bar + QString::number(down) + bar + u'\n';
}

bool CLogFile::ParseLine(QByteArrayView line, CLogRecord& record) {
    Tokens tokens;
    Split(line, tokens);
    if (tokens.count == 0)
        return false;
    Fill(line, tokens, record);
    return true;
}

bool CLogFile::ReadAll(const QString& path, const std::function<void(const CLogRecord&)>& visit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;

    // One buffer for the whole pass. The lines are split where they lie and handed out as
    // views; only the unfinished last line of a chunk is moved to the front for the next read.
    const std::unique_ptr<char[]> buffer(new char[kReadChunk + kPadding]());
    char* const base = buffer.get();
    qsizetype filled = 0;
    bool skipping = false; // inside an over-long line, dropping bytes up to its end
    Tokens tokens;
    CLogRecord record;
    for (bool atEnd = false; !atEnd;) {
        const qint64 got = file.read(base + filled, kReadChunk - filled);
        if (got > 0) {
            filled += got;
        } else {
            // A last line without its line break still counts.
            atEnd = true;
            if (filled == 0)
                break;
            base[filled++] = '\n';
        }

        const char* p = base;
        const char* const limit = base + filled;
        if (skipping) {
            const void* found = std::memchr(p, '\n', size_t(filled));
            if (!found) {
                filled = 0;
                continue;
            }
            p = static_cast<const char*>(found) + 1;
            skipping = false;
        }
        while (p < limit) {
            const char* lineEnd = nullptr;
            const char* const newline = ScanLine(p, limit, tokens, lineEnd);
            if (!newline)
                break;
            if (tokens.count > 0 && lineEnd - p <= kMaxLineLength) {
                Fill(QByteArrayView(p, lineEnd - p), tokens, record);
                visit(record);
            }
            p = newline + 1;
        }

        qsizetype rest = limit - p;
        if (rest > kMaxLineLength) {
            skipping = true;
            rest = 0;
        }
        if (rest > 0)
            std::memmove(base, p, size_t(rest));
        filled = rest;
    }
    return true;
}

QString CLogFile::WriteErrorText(const QString& path) {
    return QStringLiteral("Can not write to file") + path +
           QStringLiteral(" You can try to specify other location for logfile.");
}

bool CLogFile::WriteLine(const QString& path, const QByteArray& line) {
    const QByteArray name = QFile::encodeName(path);
    // Read access is only needed to look at the last byte; a write-only log still works.
    int fd = ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    const bool canRead = fd >= 0;
    if (fd < 0)
        fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;

    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    const off_t sizeBefore = info.st_size;

    // A file whose last line was cut short (by another program, or by a crash of an older
    // writer) would swallow this record into that line: start on a fresh line.
    QByteArray data;
    if (canRead && sizeBefore > 0) {
        char last = '\n';
        if (::pread(fd, &last, 1, sizeBefore - 1) == 1 && last != '\n')
            data.append('\n');
    }
    data.append(line);

    qsizetype written = 0;
    if (!WriteAll(fd, data.constData(), data.size(), written)) {
        // Take back a partial line (disk full) so the file never holds half a record;
        // only when nobody else has appended in the meantime.
        if (written > 0 && ::fstat(fd, &info) == 0 && info.st_size == sizeBefore + written)
            (void)::ftruncate(fd, sizeBefore);
        ::close(fd);
        return false;
    }
    ::fsync(fd);
    ::close(fd);
    return true;
}

bool CLogFile::Append(const QString& path, const QString& line) {
    m_pending.append(line.toUtf8());
    return Flush(path);
}

bool CLogFile::Flush(const QString& path) {
    while (!m_pending.isEmpty()) {
        if (!WriteLine(path, m_pending.first())) {
            if (!m_errorShown) {
                m_errorShown = true;
                CMessageBox::Error(WriteErrorText(path));
            }
            return false;
        }
        m_pending.removeFirst();
    }
    m_errorShown = false;
    return true;
}
