#include "monitor/interfacecounters.h"

#include "dialer/remoteaccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// Longest content of a counter file worth reading: a 64-bit number and a line break.
constexpr qint64 kMaxNumberLength = 32;

// An interface name is one folder name: nothing that could lead out of the root.
bool IsSafeName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

qint64 Count(quint64 total)
{
    return static_cast<qint64>(std::min<quint64>(total, std::numeric_limits<qint64>::max()));
}

quint64 Delta(quint64 last, quint64 now, bool recreated)
{
    // A counter that went back started again from 0: all of it is new.
    if (recreated || now < last)
        return now;
    return now - last;
}

} // namespace

QString CInterfaceCounters::DefaultRoot()
{
    return QStringLiteral("/sys/class/net");
}

CInterfaceCounters::CInterfaceCounters(CRemoteAccess* backend, QString root)
    : m_backend(backend)
    , m_root(std::move(root))
{}

CInterfaceCounters::~CInterfaceCounters() = default;

bool CInterfaceCounters::Available() const
{
    return QFileInfo(m_root).isDir();
}

bool CInterfaceCounters::Update(const QString& interfaceName)
{
    Reading now;
    bool read = ReadBackend(interfaceName, now);
    if (!read) {
        const QString name = interfaceName.isEmpty() ? LookAtAllInterfaces() : interfaceName;
        read = IsSafeName(name) && ReadKernel(name, now);
    }
    // A failed reading keeps the reference: the next good one of the same interface adds
    // what it carried in between.
    m_lastReadOk = read;
    if (!read)
        return false;
    if (m_haveReference && now.source == m_last.source) {
        const bool recreated = now.index != m_last.index;
        m_totalReceived += Delta(m_last.received, now.received, recreated);
        m_totalSent += Delta(m_last.sent, now.sent, recreated);
    } else if (AppearedSinceLastLook(now)) {
        m_totalReceived += now.received;
        m_totalSent += now.sent;
    }
    if (now.source.startsWith(u"kernel:"))
        m_seenIndexes.insert(now.source.mid(7), now.index);
    m_last = now;
    m_haveReference = true;
    return true;
}

QString CInterfaceCounters::LookAtAllInterfaces()
{
    m_seenIndexes = InterfaceIndexes();
    m_haveLook = true;
    return Highest(m_seenIndexes);
}

QHash<QString, qint64> CInterfaceCounters::InterfaceIndexes() const
{
    QHash<QString, qint64> indexes;
    const QStringList names = QDir(m_root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        quint64 index = 0;
        if (ReadNumber(name, QStringLiteral("ifindex"), index))
            indexes.insert(name, static_cast<qint64>(index));
    }
    return indexes;
}

QString CInterfaceCounters::Highest(const QHash<QString, qint64>& indexes)
{
    QString best;
    qint64 bestIndex = 0;
    for (auto it = indexes.cbegin(); it != indexes.cend(); ++it) {
        if (it.value() > bestIndex) {
            best = it.key();
            bestIndex = it.value();
        }
    }
    return best;
}

bool CInterfaceCounters::AppearedSinceLastLook(const Reading& reading) const
{
    if (!m_haveLook || !reading.source.startsWith(u"kernel:"))
        return false;
    const auto seen = m_seenIndexes.constFind(reading.source.mid(7));
    return seen == m_seenIndexes.constEnd() || seen.value() != reading.index;
}

bool CInterfaceCounters::LastFromKernel() const
{
    return m_lastReadOk && m_haveReference && m_last.source.startsWith(u"kernel:");
}

bool CInterfaceCounters::LastAtOnce() const
{
    return LastFromKernel() ||
           (m_lastReadOk && m_haveReference && m_backend && m_backend->CountersAtOnce() &&
            m_last.source.startsWith(u"backend:"));
}

bool CInterfaceCounters::Read(const QString& interfaceName, Reading& out) const
{
    if (ReadBackend(interfaceName, out))
        return true;
    const QString name = interfaceName.isEmpty() ? HighestIndexInterface() : interfaceName;
    return IsSafeName(name) && ReadKernel(name, out);
}

QString CInterfaceCounters::HighestIndexInterface() const
{
    return Highest(InterfaceIndexes());
}

qint64 CInterfaceCounters::ReceivedBytes() const
{
    return Count(m_totalReceived);
}

qint64 CInterfaceCounters::SentBytes() const
{
    return Count(m_totalSent);
}

bool CInterfaceCounters::ReadBackend(const QString& interfaceName, Reading& out) const
{
    quint64 received = 0;
    quint64 sent = 0;
    if (!m_backend || !m_backend->ReadByteCounters(interfaceName, received, sent))
        return false;
    out.source = QStringLiteral("backend:") + interfaceName;
    out.index = 0;
    out.received = received;
    out.sent = sent;
    return true;
}

bool CInterfaceCounters::ReadKernel(const QString& name, Reading& out) const
{
    quint64 index = 0;
    quint64 received = 0;
    quint64 sent = 0;
    if (!ReadNumber(name, QStringLiteral("ifindex"), index) ||
        !ReadNumber(name, QStringLiteral("statistics/rx_bytes"), received) ||
        !ReadNumber(name, QStringLiteral("statistics/tx_bytes"), sent))
        return false;
    out.source = QStringLiteral("kernel:") + name;
    out.index = static_cast<qint64>(index);
    out.received = received;
    out.sent = sent;
    return true;
}

bool CInterfaceCounters::ReadNumber(const QString& name, const QString& file, quint64& out) const
{
    // Files under /sys report a size that has nothing to do with their content: read a
    // bounded amount instead of relying on it.
    QFile f(m_root + u'/' + name + u'/' + file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = f.read(kMaxNumberLength).trimmed();
    bool ok = false;
    out = text.toULongLong(&ok, 10);
    return ok;
}
