#include "billing/logreader.h"

#include <QFile>

#include <algorithm>
#include <bit>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes read from the log per read call: the data just read is still in the cache when
// its lines are split.
constexpr qsizetype kReadChunk = qsizetype(512) << 10;
// Room in front of the data for the unfinished last line of the previous buffer: a line
// of the longest length a record may have, and the CR of its CR LF.
constexpr qsizetype kCarryRoom = CLogReader::kMaxLineLength + 64;
// Room after the data: one added line feed and the overhang of a 64-byte block scan.
constexpr qsizetype kPadding = 128;
constexpr qsizetype kSlotSize = kCarryRoom + kReadChunk + kPadding;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Optional blanks and sign, then digits up to the first non-digit; 0 when there are none.
// The texts handed in are at most a few characters long, so the value cannot overflow.
int LeadingInt(QByteArrayView text)
{
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
QByteArrayView Part(QByteArrayView text, qsizetype from, qsizetype count)
{
    if (from >= text.size())
        return {};
    return text.sliced(from, std::min(count, text.size() - from));
}

QByteArrayView Last(QByteArrayView text, qsizetype count)
{
    return text.last(std::min(count, text.size()));
}

int TwoDigits(const char* p)
{
    return (p[0] - '0') * 10 + (p[1] - '0');
}

// The three two-digit numbers at p, p + 3 and p + 6 (as in "hh:mm:ss" or the "dd-mm-yy" of
// a date), whose characters are known to be digits, as the low bytes of bits 0, 24 and 48.
// All eight characters are read at once; those between the pairs are not looked at.
quint64 ThreePairs(const char* p)
{
    if constexpr (std::endian::native != std::endian::little)
        return quint64(TwoDigits(p)) | (quint64(TwoDigits(p + 3)) << 24) |
               (quint64(TwoDigits(p + 6)) << 48);
    quint64 word = 0;
    std::memcpy(&word, p, 8);
    // The value of each digit, then each first digit times ten plus the one after it: no
    // byte goes past 99, so nothing carries into the next.
    word &= 0x0F0F000F0F000F0Fu;
    return word * 10 + (word >> 8);
}

// The values of a date "dd-mm-yyyy" and a time "hh:mm:ss" whose digits are known to be
// where the written form has them.
void WrittenDate(const char* d, CLogRecord& record)
{
    const quint64 pairs = ThreePairs(d);
    record.startDay = int(pairs & 0xFF);
    record.startMonth = int((pairs >> 24) & 0xFF);
    record.startYear = int((pairs >> 48) & 0xFF) * 100 + TwoDigits(d + 8);
}

int WrittenTime(const char* t)
{
    const quint64 pairs = ThreePairs(t);
    return int(pairs & 0xFF) * 3600 + int((pairs >> 24) & 0xFF) * 60 + int((pairs >> 48) & 0xFF);
}

// Day from the first two characters, month from the two starting at the fourth, year
// from the last four.
void ParseDate(QByteArrayView token, CLogRecord& record)
{
    const char* d = token.data();
    if (token.size() == 10 && IsDigit(d[0]) && IsDigit(d[1]) && IsDigit(d[3]) && IsDigit(d[4]) &&
        IsDigit(d[6]) && IsDigit(d[7]) && IsDigit(d[8]) && IsDigit(d[9])) {
        // The written form: the same values as the general rule, found faster.
        WrittenDate(d, record);
        return;
    }
    record.startDay = LeadingInt(Part(token, 0, 2));
    record.startMonth = LeadingInt(Part(token, 3, 2));
    record.startYear = LeadingInt(Last(token, 4));
}

// Hours from the first two characters, minutes from the three starting at the fourth
// (the parse stops at the colon), seconds from the last two.
int TimeOfDay(QByteArrayView token)
{
    const char* t = token.data();
    if (token.size() == 8 && IsDigit(t[0]) && IsDigit(t[1]) && IsDigit(t[3]) && IsDigit(t[4]) &&
        !IsDigit(t[5]) && IsDigit(t[6]) && IsDigit(t[7]))
        return WrittenTime(t);
    return LeadingInt(Part(token, 0, 2)) * 3600 + LeadingInt(Part(token, 3, 3)) * 60 +
           LeadingInt(Last(token, 2));
}

// The fields of a record that hold the tokens of its line, in the order of the line.
constexpr QByteArrayView CLogRecord::*kTokenFields[] = {
    &CLogRecord::startDate, &CLogRecord::startTime, &CLogRecord::endDate,
    &CLogRecord::endTime,   &CLogRecord::user,      &CLogRecord::device,
    &CLogRecord::isp,       &CLogRecord::uploaded,  &CLogRecord::downloaded};

// The first nine tokens of a line, set straight in the record's fields: runs of
// separators count as one and leading separators are skipped, so an empty field is not
// seen at all. Only the first count fields are set; Fill clears the others.
struct Tokens {
    static constexpr int kUsed = 9;
    CLogRecord& record;
    int count = 0;
    // The first four tokens are a date, a time, a date and a time in the written form,
    // with every digit where the form has one.
    bool writtenForm = false;

    void Add(const char* from, const char* to)
    {
        if (to > from && count < kUsed) {
            record.*kTokenFields[count] = QByteArrayView(from, to - from);
            ++count;
        }
    }
    void Set(int index, const char* from, qsizetype length)
    {
        record.*kTokenFields[index] = QByteArrayView(from, length);
    }
};

void Split(QByteArrayView line, Tokens& tokens)
{
    tokens.count = 0;
    tokens.writtenForm = false;
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p < end && tokens.count < Tokens::kUsed) {
        const void* bar = std::memchr(p, '|', size_t(end - p));
        const char* const tokenEnd = bar ? static_cast<const char*>(bar) : end;
        tokens.Add(p, tokenEnd);
        p = tokenEnd + 1;
    }
}

// Sets the fields of the record that the tokens did not (it is reused from line to line).
// Inlined into the loop that runs for every line: the call took some 7 % of the
// instructions of reading one.
Q_ALWAYS_INLINE void Fill(QByteArrayView line, const Tokens& tokens, CLogRecord& record)
{
    record.line = line;
    for (int i = tokens.count; i < Tokens::kUsed; ++i)
        record.*kTokenFields[i] = QByteArrayView();
    if (tokens.writtenForm) {
        WrittenDate(record.startDate.data(), record);
        record.startSecs = WrittenTime(record.startTime.data());
        record.endSecs = WrittenTime(record.endTime.data());
    } else {
        ParseDate(record.startDate, record);
        record.startSecs = TimeOfDay(record.startTime);
        record.endSecs = TimeOfDay(record.endTime);
    }
}

#if defined(__SSE2__)
// The start of a line as the program writes it: "dd-mm-yyyy|hh:mm:ss|dd-mm-yyyy|hh:mm:ss|".
constexpr qsizetype kWrittenPrefix = 40;
// Bit i stands for byte i of that start.
constexpr quint64 kPrefixBars =
    (quint64(1) << 10) | (quint64(1) << 19) | (quint64(1) << 30) | (quint64(1) << 39);
constexpr quint64 kDateDigits = 0b11'1101'1011; // dd-mm-yyyy
constexpr quint64 kTimeDigits = 0b1101'1011;    // hh:mm:ss
constexpr quint64 kPrefixDigits =
    kDateDigits | (kTimeDigits << 11) | (kDateDigits << 20) | (kTimeDigits << 31);

// Byte i of each row stands for byte i of the written start (and the eight bytes after
// it): 0xFF where that form has a digit, a separator, or where the byte is looked at.
struct PrefixBytes {
    alignas(16) char digit[48] = {};
    alignas(16) char bar[48] = {};
    alignas(16) char looked[48] = {};
};

constexpr PrefixBytes MakePrefixBytes()
{
    PrefixBytes bytes;
    for (qsizetype i = 0; i < kWrittenPrefix; ++i) {
        bytes.digit[i] = (kPrefixDigits >> i) & 1 ? char(0xFF) : 0;
        bytes.bar[i] = (kPrefixBars >> i) & 1 ? char(0xFF) : 0;
        bytes.looked[i] = char(0xFF);
    }
    return bytes;
}

constexpr PrefixBytes kPrefixBytes = MakePrefixBytes();

__m128i Load(const char* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Whether the line at p starts with the written form of the date and time fields: the
// separators and digits where that form has them, no other separator, digit or line feed.
// Reads 48 bytes from p, which the buffer must hold. Each byte is compared with what the
// form has there, and a single mask of the bytes that differ is taken at the end.
bool HasWrittenPrefix(const char* p, const char* limit)
{
    if (limit - p < kWrittenPrefix)
        return false;
    __m128i wrong = _mm_setzero_si128();
    for (int i = 0; i < 3; ++i) {
        const __m128i bytes = Load(p + 16 * i);
        const __m128i value = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
        const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(value, _mm_set1_epi8(9)), value);
        const __m128i bar = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('|'));
        const __m128i feed = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'));
        const __m128i differs =
            _mm_or_si128(_mm_or_si128(_mm_xor_si128(digit, Load(kPrefixBytes.digit + 16 * i)),
                                      _mm_xor_si128(bar, Load(kPrefixBytes.bar + 16 * i))),
                         feed);
        wrong = _mm_or_si128(wrong, _mm_and_si128(differs, Load(kPrefixBytes.looked + 16 * i)));
    }
    return _mm_movemask_epi8(wrong) == 0;
}
#endif

// Finds the end of the line that starts at p and splits it into tokens in the same scan.
// Returns the line feed that ends the line, or nullptr when there is none before limit.
// lineEnd receives the end of the line without its CR LF or LF. Reads up to 63 bytes past
// limit, which the buffer must hold.
const char* ScanLine(const char* p, const char* limit, Tokens& tokens, const char*& lineEnd)
{
    tokens.count = 0;
    tokens.writtenForm = false;
#if defined(__SSE2__)
    const char* tokenStart = p;
    const char* block = p;
    if (HasWrittenPrefix(p, limit)) {
        // The four fields are known: the scan goes on behind them.
        tokens.Set(0, p, 10);
        tokens.Set(1, p + 11, 8);
        tokens.Set(2, p + 20, 10);
        tokens.Set(3, p + 31, 8);
        tokens.count = 4;
        tokens.writtenForm = true;
        tokenStart = p + kWrittenPrefix;
        block = tokenStart;
    }
    // One mask of the separators and line feeds together; which of them is the line feed
    // is told by its byte, as a line has only one.
    const __m128i bar = _mm_set1_epi8('|');
    const __m128i feed = _mm_set1_epi8('\n');
    for (; block < limit; block += 64) {
        quint64 stops = 0;
        for (int i = 0; i < 4; ++i) {
            const __m128i bytes = Load(block + 16 * i);
            const __m128i stop =
                _mm_or_si128(_mm_cmpeq_epi8(bytes, bar), _mm_cmpeq_epi8(bytes, feed));
            stops |= quint64(unsigned(_mm_movemask_epi8(stop))) << (16 * i);
        }
        if (limit - block < 64)
            stops &= (quint64(1) << (limit - block)) - 1;
        for (; stops; stops &= stops - 1) {
            const char* const at = block + std::countr_zero(stops);
            if (*at == '\n') {
                lineEnd = at > p && at[-1] == '\r' ? at - 1 : at;
                tokens.Add(tokenStart, lineEnd);
                return at;
            }
            tokens.Add(tokenStart, at);
            tokenStart = at + 1;
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

} // namespace

bool CLogReader::ParseLine(QByteArrayView line, CLogRecord& record)
{
    Tokens tokens{record};
    Split(line, tokens);
    if (tokens.count == 0)
        return false;
    Fill(line, tokens, record);
    return true;
}

// The file and the two buffers a reader works with, and the thread that fills them.
//
// Each buffer (slot) is either free for the thread to fill, full with the result of its
// read, or in use by the reader. The thread fills slot 0, 1, 0, 1 ... as each becomes
// free; the reader takes them in the same order, so the records keep the order of the
// file. Only the reader writes the carry room in front of a slot's data, and the thread
// only writes the data of a free slot, so the two never touch the same bytes at once.
struct CLogReader::ReadAhead {
    static constexpr qint64 kFree = -1;
    static constexpr qint64 kInUse = -2;

    int fd = -1;
    qint64 left = -1;       // the bytes still to be read, below 0 up to the end of the file
    char* memory = nullptr; // the reader's two slots, kept from file to file
    qint64 state[2] = {kFree, kFree}; // kFree, kInUse, or the bytes read (0 at the end)
    int current = -1;                 // the slot in use by the reader, -1 before the first
    bool stop = false;
    std::mutex mutex;
    std::condition_variable changed;
    std::thread thread;

    ~ReadAhead()
    {
        if (fd >= 0)
            ::close(fd);
    }

    char* Data(int slot) { return memory + slot * kSlotSize + kCarryRoom; }

    // Reads the next chunk of the file into the slot's data; 0 at the end of the file or
    // when it cannot be read any further.
    qint64 Read(int slot)
    {
        char* const data = Data(slot);
        const qint64 wanted = left < 0 ? kReadChunk : std::min<qint64>(kReadChunk, left);
        qint64 total = 0;
        while (total < wanted) {
            const ssize_t got = ::read(fd, data + total, size_t(wanted - total));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            total += got;
        }
        if (left >= 0)
            left -= total;
        return total;
    }

    // The thread: fills the slots in turn until the end of the file or until told to stop.
    void Run()
    {
        for (int slot = 0;; slot ^= 1) {
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || state[slot] == kFree; });
                if (stop)
                    return;
            }
            const qint64 got = Read(slot);
            {
                const std::lock_guard lock(mutex);
                state[slot] = got;
            }
            changed.notify_all();
            if (got == 0)
                return;
        }
    }

    // Hands the reader the next slot once it is full, and frees the one it used before;
    // the bytes read into it.
    qint64 Take(int slot)
    {
        qint64 got = 0;
        {
            std::unique_lock lock(mutex);
            if (!thread.joinable() && state[slot] == kFree) {
                // No thread (a small file, or none could be started): read here.
                lock.unlock();
                got = Read(slot);
                lock.lock();
            } else {
                changed.wait(lock, [&] { return state[slot] >= 0; });
                got = state[slot];
            }
            state[slot] = kInUse;
            if (current >= 0)
                state[current] = kFree;
            current = slot;
        }
        changed.notify_all();
        return got;
    }
};

CLogReader::CLogReader() = default;

CLogReader::~CLogReader()
{
    Close();
}

void CLogReader::Close()
{
    if (m_readAhead && m_readAhead->thread.joinable()) {
        {
            const std::lock_guard lock(m_readAhead->mutex);
            m_readAhead->stop = true;
        }
        m_readAhead->changed.notify_all();
        m_readAhead->thread.join();
    }
    m_readAhead.reset();
    m_next = m_limit = m_data = nullptr;
    m_dataOffset = m_fileRead = 0;
    m_skipping = false;
    m_atEnd = false;
}

int CLogReader::OpenRegular(const QString& path, Problem& problem, qint64* size)
{
    problem = Problem::None;
    // Opened without blocking and looked at before reading: opening a pipe nobody writes
    // to would wait for ever, and a device such as /dev/zero never ends.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = errno == ENOENT || errno == ENOTDIR ? Problem::Missing : Problem::CannotRead;
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        problem = Problem::CannotRead;
    else if (!S_ISREG(info.st_mode))
        problem = Problem::NotRegularFile;
    else if (size)
        *size = info.st_size;
    if (problem != Problem::None) {
        ::close(fd);
        return -1;
    }
    return fd;
}

CLogReader::Problem CLogReader::Check(const QString& path)
{
    Problem problem = Problem::None;
    const int fd = OpenRegular(path, problem);
    if (fd >= 0)
        ::close(fd);
    return problem;
}

bool CLogReader::Open(const QString& path)
{
    return Open(path, 0, -1, true);
}

bool CLogReader::Open(const QString& path, qint64 from, qint64 to)
{
    return Open(path, from, to, false);
}

bool CLogReader::Open(const QString& path, qint64 from, qint64 to, bool readsAhead)
{
    Close();
    qint64 size = 0;
    const int fd = OpenRegular(path, m_problem, &size);
    if (fd < 0)
        return false;
    from = std::clamp<qint64>(from, 0, size);
    if (from > 0 && ::lseek(fd, off_t(from), SEEK_SET) != off_t(from)) {
        ::close(fd);
        m_problem = Problem::CannotRead;
        return false;
    }
    m_fileRead = from;
    size = to < 0 ? size - from : std::clamp<qint64>(to, from, size) - from;
    // The slots are not cleared: only bytes read from the file and the carried line are
    // ever looked at.
    if (!m_memory)
        m_memory.reset(new char[2 * kSlotSize]);
    m_readAhead = std::make_unique<ReadAhead>();
    m_readAhead->fd = fd;
    m_readAhead->memory = m_memory.get();
    m_readAhead->left = to < 0 ? -1 : size;
    // A file that one read takes whole gains nothing from a thread reading ahead.
    if (!readsAhead || size < kReadChunk)
        return true;
    try {
        m_readAhead->thread = std::thread([readAhead = m_readAhead.get()] { readAhead->Run(); });
    } catch (const std::system_error&) {
        // Without a thread the reader reads each chunk itself when it needs it.
    }
    return true;
}

bool CLogReader::Next(CLogRecord& record)
{
    Tokens tokens{record};
    for (;;) {
        // The lines are split where they lie in the buffer and handed out as views.
        while (m_next < m_limit) {
            const char* const line = m_next;
            const char* lineEnd = nullptr;
            const char* const newline = ScanLine(line, m_limit, tokens, lineEnd);
            if (!newline)
                break;
            m_next = newline + 1;
            if (tokens.count > 0 && lineEnd - line <= kMaxLineLength) {
                Fill(QByteArrayView(line, lineEnd - line), tokens, record);
                return true;
            }
        }
        if (!Refill())
            return false;
    }
}

bool CLogReader::Refill()
{
    if (m_atEnd || !m_readAhead)
        return false;
    ReadAhead& readAhead = *m_readAhead;
    const int slot = readAhead.current < 0 ? 0 : readAhead.current ^ 1;
    char* const data = readAhead.Data(slot);

    // The unfinished line goes in front of the next slot's data, unless it is too long to
    // be a record even without the CR of a CR LF.
    qsizetype rest = m_limit - m_next;
    if (rest > kMaxLineLength + 1) {
        m_skipping = true;
        rest = 0;
    }
    if (rest > 0)
        std::memcpy(data - rest, m_next, size_t(rest));

    const qint64 got = readAhead.Take(slot);
    m_data = data;
    m_dataOffset = m_fileRead;
    m_fileRead += got;
    if (got == 0) {
        // A last line without its line break still counts; the rest of an over-long line
        // has rest 0 and simply ends here.
        m_atEnd = true;
        if (rest == 0)
            return false;
        data[0] = '\n';
        m_next = data - rest;
        m_limit = data + 1;
        return true;
    }
    m_next = data - rest;
    m_limit = data + got;
    if (m_skipping) {
        // Drop bytes up to the end of the over-long line; all of them when it goes on
        // into the next chunk.
        const void* found = std::memchr(data, '\n', size_t(got));
        if (found) {
            m_next = static_cast<const char*>(found) + 1;
            m_skipping = false;
        } else {
            m_next = m_limit;
        }
    }
    return true;
}

bool CLogReader::ReadAll(const QString& path, const std::function<void(const CLogRecord&)>& visit,
                         Problem* problem)
{
    CLogReader reader;
    const bool opened = reader.Open(path);
    if (problem)
        *problem = reader.Error();
    if (!opened)
        return false;
    CLogRecord record;
    while (reader.Next(record))
        visit(record);
    return true;
}

QString CLogReader::ProblemText(const QString& path, Problem problem)
{
    switch (problem) {
    case Problem::None:
        break;
    case Problem::NotRegularFile:
        return QStringLiteral("%1 is not a regular file").arg(path);
    case Problem::Missing:
    case Problem::CannotRead:
        return QStringLiteral("cannot read the log file %1").arg(path);
    }
    return QString();
}
