#include "dialer/backends/simulator/simulatorfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace {

QByteArray Section(const char* name)
{
    return QByteArray("[") + name + "]\n";
}

QByteArray KeyLine(const CIntKey& key)
{
    return QByteArray(key.name) + '=' + QByteArray::number(key.defaultValue) + '\n';
}

QByteArray KeyLine(const CTextKey& key)
{
    return QByteArray(key.name) + '=' + key.defaultValue + '\n';
}

// The file as first written: every key with its default and a word on what it does.
// Comment lines must not hold an equals sign, or they would read as keys.
QByteArray Template()
{
    using namespace SimKeys;
    return "; Orvalis connection simulator. The program reads this file again on every look,\n"
           "; so a change made here while it runs is seen within a second.\n"
           "; Try also: orvalis --sim \"connect Home ISP\", orvalis --sim drop, orvalis --sim "
           "status\n\n" +
           Section(kPhonebook) + "; phonebook entries, separated by |\n" + KeyLine(Entries) + '\n' +
           Section(kDial) + "; milliseconds between two progress steps of a dial\n" +
           KeyLine(StepMs) +
           "; the next N dials end with a busy line (error 676), counting down\n" +
           KeyLine(BusyTimes) +
           "; not 0: every dial fails with this error code (678 no answer, 680 no dial tone,\n"
           "; 691 access denied, 718 PPP time-out)\n" +
           KeyLine(FailCode) +
           "; progress step (1 to 7) that reports the error of a busy or failing dial;\n"
           "; 0 refuses the dial at its start\n" +
           KeyLine(FailAt) + '\n' + Section(kLine) +
           "; entry name of the connection that is up; empty means no connection.\n"
           "; Emptying it is a hang-up by the remote side.\n" +
           KeyLine(Connected) + KeyLine(Device) + KeyLine(DeviceType) + KeyLine(Interface) +
           "; bytes per second received and sent while connected\n" + KeyLine(RateIn) +
           KeyLine(RateOut) + "; not 0: listing the connections fails with this error code\n" +
           KeyLine(EnumError);
}

// a * b / 1000 without overflow (saturating at the largest value).
quint64 BytesFor(quint64 rate, quint64 msecs)
{
    constexpr quint64 kMax = std::numeric_limits<quint64>::max();
    const quint64 whole = msecs / 1000;
    const quint64 part = msecs % 1000;
    if (rate != 0 && whole > kMax / rate)
        return kMax;
    const quint64 a = rate * whole;
    const quint64 b = rate / 1000 * part + rate % 1000 * part / 1000;
    return a > kMax - b ? kMax : a + b;
}

quint64 AddSaturating(quint64 a, quint64 b)
{
    return a > std::numeric_limits<quint64>::max() - b ? std::numeric_limits<quint64>::max()
                                                       : a + b;
}

} // namespace

CSimulatorFile::CSimulatorFile(QString path)
    : m_store(std::move(path))
{}

CSimulatorFile CSimulatorFile::Look() const
{
    CSimulatorFile look(*this);
    look.m_look = std::make_shared<const CSettingsSnapshot>(m_store.Snapshot());
    return look;
}

int CSimulatorFile::Read(const CIntKey& key) const
{
    return m_look ? m_look->Read(key) : m_store.Read(key);
}

QString CSimulatorFile::Read(const CTextKey& key) const
{
    return m_look ? m_look->Read(key) : m_store.Read(key);
}

QString CSimulatorFile::DefaultPath(const QString& settingsFile)
{
    return QFileInfo(settingsFile).absolutePath() + QStringLiteral("/simulator.ini");
}

bool CSimulatorFile::EnsureExists() const
{
    const QFileInfo info(Path());
    if (info.exists())
        return true;
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QFile file(Path());
    // NewOnly: a file another process created a moment ago is left alone.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return QFileInfo::exists(Path());
    const QByteArray text(Template());
    const bool ok = file.write(text) == text.size();
    file.close();
    return ok;
}

QStringList CSimulatorFile::ParseEntries(const QString& text)
{
    QStringList entries;
    const QStringList parts = text.split(u'|');
    for (const QString& part : parts) {
        const QString name = part.trimmed();
        if (!name.isEmpty() && !entries.contains(name, Qt::CaseInsensitive))
            entries.append(name);
    }
    return entries;
}

QStringList CSimulatorFile::Entries() const
{
    return ParseEntries(Read(SimKeys::Entries));
}

bool CSimulatorFile::SetEntries(const QStringList& entries)
{
    return m_store.Write(SimKeys::Entries, entries.join(u'|'));
}

int CSimulatorFile::StepMs() const
{
    return std::clamp(Read(SimKeys::StepMs), 0, kMaxStepMs);
}

int CSimulatorFile::BusyTimes() const
{
    return std::max(0, Read(SimKeys::BusyTimes));
}

bool CSimulatorFile::SetBusyTimes(int times)
{
    return m_store.Write(SimKeys::BusyTimes, std::max(0, times));
}

int CSimulatorFile::FailCode() const
{
    return Read(SimKeys::FailCode);
}

bool CSimulatorFile::SetFailCode(int code)
{
    return m_store.Write(SimKeys::FailCode, code);
}

int CSimulatorFile::FailAt() const
{
    return Read(SimKeys::FailAt);
}

QString CSimulatorFile::ConnectedEntry() const
{
    return Read(SimKeys::Connected);
}

qint64 CSimulatorFile::Since() const
{
    return ReadInt64(SimKeys::Since);
}

RasHandle CSimulatorFile::Handle() const
{
    const qint64 value = ReadInt64(SimKeys::Handle);
    return value > 0 ? static_cast<RasHandle>(value) : 0;
}

QString CSimulatorFile::Device() const
{
    return Read(SimKeys::Device);
}

QString CSimulatorFile::DeviceType() const
{
    return Read(SimKeys::DeviceType);
}

QString CSimulatorFile::Interface() const
{
    return Read(SimKeys::Interface);
}

int CSimulatorFile::RateIn() const
{
    return std::max(0, Read(SimKeys::RateIn));
}

int CSimulatorFile::RateOut() const
{
    return std::max(0, Read(SimKeys::RateOut));
}

int CSimulatorFile::EnumError() const
{
    return Read(SimKeys::EnumError);
}

bool CSimulatorFile::StartLine(const QString& entry, qint64 sinceMs, RasHandle handle)
{
    // The bookkeeping goes first, so whoever sees the new entry sees it with its own
    // start time and handle.
    const bool ok = RestampLine(sinceMs, handle);
    return m_store.Write(SimKeys::Connected, entry) && ok;
}

bool CSimulatorFile::RestampLine(qint64 sinceMs, RasHandle handle)
{
    bool ok = m_store.Remove(SimKeys::Counted);
    ok = (handle ? SetHandle(handle) : m_store.Remove(SimKeys::Handle)) && ok;
    return m_store.Write(SimKeys::Since, QString::number(sinceMs)) && ok;
}

bool CSimulatorFile::SetHandle(RasHandle handle)
{
    return m_store.Write(SimKeys::Handle, QString::number(handle));
}

bool CSimulatorFile::ClearLine()
{
    bool ok = m_store.Write(SimKeys::Connected, QString());
    ok = m_store.Remove(SimKeys::Since) && ok;
    ok = m_store.Remove(SimKeys::Handle) && ok;
    return m_store.Remove(SimKeys::Counted) && ok;
}

bool CSimulatorFile::Counters(qint64 nowMs, quint64& received, quint64& sent) const
{
    if (ConnectedEntry().isEmpty())
        return false;
    const qint64 since = Since();
    quint64 baseIn = 0;
    quint64 baseOut = 0;
    qint64 from = since;
    // "IN OUT MS": counted up to MS, valid only for the line that is up now.
    const QStringList counted = Read(SimKeys::Counted).split(u' ', Qt::SkipEmptyParts);
    if (counted.size() == 3) {
        bool okIn = false;
        bool okOut = false;
        bool okAt = false;
        const quint64 in = counted[0].toULongLong(&okIn);
        const quint64 out = counted[1].toULongLong(&okOut);
        const qint64 at = counted[2].toLongLong(&okAt);
        if (okIn && okOut && okAt && at >= since) {
            baseIn = in;
            baseOut = out;
            from = at;
        }
    }
    const quint64 elapsed = nowMs > from && from > 0 ? static_cast<quint64>(nowMs - from) : 0;
    received = AddSaturating(baseIn, BytesFor(static_cast<quint64>(RateIn()), elapsed));
    sent = AddSaturating(baseOut, BytesFor(static_cast<quint64>(RateOut()), elapsed));
    return true;
}

bool CSimulatorFile::SetRates(int rateIn, int rateOut, qint64 nowMs)
{
    bool ok = true;
    quint64 received = 0;
    quint64 sent = 0;
    if (Counters(nowMs, received, sent)) {
        ok = m_store.Write(SimKeys::Counted, QString::number(received) + u' ' +
                                                 QString::number(sent) + u' ' +
                                                 QString::number(nowMs));
    }
    ok = m_store.Write(SimKeys::RateIn, std::max(0, rateIn)) && ok;
    return m_store.Write(SimKeys::RateOut, std::max(0, rateOut)) && ok;
}

qint64 CSimulatorFile::ReadInt64(const CTextKey& key) const
{
    bool ok = false;
    const qint64 value = Read(key).trimmed().toLongLong(&ok);
    return ok ? value : 0;
}
