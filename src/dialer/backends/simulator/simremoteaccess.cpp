#include "dialer/backends/simulator/simremoteaccess.h"

#include "common/clock.h"

#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <array>
#include <atomic>

namespace {

constexpr std::array<unsigned, CSimRemoteAccess::kStepCount> kSteps = {
    CRemoteAccess::OpenPort,
    CRemoteAccess::PortOpened,
    CRemoteAccess::ConnectDevice,
    CRemoteAccess::DeviceConnected,
    CRemoteAccess::AllDevicesConnected,
    CRemoteAccess::Authenticate,
    CRemoteAccess::Authenticated,
};

} // namespace

CSimRemoteAccess::CSimRemoteAccess(const QString& file)
    : m_file(file)
    , m_timer(std::make_unique<QTimer>())
    , m_alive(std::make_shared<bool>(true))
{
    // A missing file is written with its defaults so the user finds every key; when that
    // fails the defaults are used all the same.
    m_file.EnsureExists();
    m_timer->setSingleShot(true);
    QObject::connect(m_timer.get(), &QTimer::timeout, m_timer.get(), [this] { NextStep(); });
}

CSimRemoteAccess::~CSimRemoteAccess() = default;

QString CSimRemoteAccess::DefaultFile(const QString& settingsFile)
{
    return CSimulatorFile::DefaultPath(settingsFile);
}

unsigned CSimRemoteAccess::StepState(int step)
{
    return kSteps[static_cast<size_t>(std::clamp(step, 1, kStepCount) - 1)];
}

int CSimRemoteAccess::EnumEntries(QStringList& out)
{
    out = m_file.Entries();
    return ErrorNone;
}

int CSimRemoteAccess::CreateEntry()
{
    QStringList entries = m_file.Entries();
    int number = 1;
    while (entries.contains(QStringLiteral("New entry %1").arg(number), Qt::CaseInsensitive))
        ++number;
    entries.append(QStringLiteral("New entry %1").arg(number));
    return m_file.SetEntries(entries) ? ErrorNone : ErrorCannotWritePhonebook;
}

int CSimRemoteAccess::EditEntry(const QString& name)
{
    // A simulated entry has nothing to edit but its name, which is changed in the file.
    return m_file.Entries().contains(name, Qt::CaseInsensitive) ? ErrorNone : ErrorEntryNotFound;
}

int CSimRemoteAccess::DeleteEntry(const QString& name)
{
    QStringList entries = m_file.Entries();
    const auto it = std::find_if(entries.cbegin(), entries.cend(), [&name](const QString& e) {
        return e.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it == entries.cend())
        return ErrorEntryNotFound;
    entries.removeAt(it - entries.cbegin());
    return m_file.SetEntries(entries) ? ErrorNone : ErrorCannotWritePhonebook;
}

int CSimRemoteAccess::Dial(const QString& entry, const QString& user, const QString& password,
                           DialNotifier notifier, Handle& outHandle)
{
    Q_UNUSED(user);
    Q_UNUSED(password);
    outHandle = 0;

    const QStringList entries = m_file.Entries();
    const auto it = std::find_if(entries.cbegin(), entries.cend(), [&entry](const QString& e) {
        return e.compare(entry, Qt::CaseInsensitive) == 0;
    });
    if (it == entries.cend())
        return ErrorEntryNotFound;
    if (m_dial.active || !ObserveLine(m_file.Look()).entry.isEmpty())
        return ErrorPortAlreadyOpen;

    int failCode = 0;
    const int busyTimes = m_file.BusyTimes();
    if (busyTimes > 0) {
        m_file.SetBusyTimes(busyTimes - 1);
        failCode = ErrorLineBusy;
    } else {
        failCode = std::max(0, m_file.FailCode());
    }
    const int failAt = m_file.FailAt();
    if (failCode != 0 && failAt <= 0)
        return failCode;

    m_dial.active = true;
    m_dial.entry = *it;
    m_dial.notifier = std::move(notifier);
    m_dial.handle = NewHandle();
    m_dial.step = 0;
    m_dial.failCode = failCode;
    m_dial.failStep = std::min(failAt, kStepCount);
    outHandle = m_dial.handle;
    m_timer->start(m_file.StepMs());
    return ErrorNone;
}

int CSimRemoteAccess::HangUp(Handle handle)
{
    if (handle == 0)
        return ErrorInvalidHandle;
    if (m_dial.active && m_dial.handle == handle) {
        // An unfinished dial just stops; its notifier hears nothing more.
        m_timer->stop();
        m_dial = Dialing();
        return ErrorNone;
    }
    const Line line = ObserveLine(m_file.Look());
    if (line.entry.isEmpty() || line.handle != handle)
        return ErrorInvalidHandle;
    const bool cleared = m_file.ClearLine();
    m_lastSeenDownMs = CClock::NowMsecs();
    m_lastSeenEntry.clear();
    m_lastSeenSince = 0;
    return cleared ? ErrorNone : ErrorHardwareFailure;
}

int CSimRemoteAccess::EnumConnections(QList<CActiveConnection>& out)
{
    out.clear();
    const CSimulatorFile look = m_file.Look();
    const int error = look.EnumError();
    if (error != 0)
        return error;
    const Line line = ObserveLine(look);
    if (line.entry.isEmpty())
        return ErrorNone;
    CActiveConnection connection;
    connection.handle = line.handle;
    connection.entryName = line.entry;
    connection.deviceName = look.Device();
    connection.deviceType = look.DeviceType();
    connection.interfaceName = look.Interface();
    out.append(connection);
    return ErrorNone;
}

bool CSimRemoteAccess::ReadByteCounters(const QString& interfaceName, quint64& received,
                                        quint64& sent)
{
    // Runs on the counter worker: it only reads the file (CSettingsStore is thread-safe)
    // and the clock, and changes no member. A line that is up but not yet seen by
    // EnumConnections counts from its start time in the file.
    const CSimulatorFile look = m_file.Look();
    if (interfaceName != look.Interface())
        return false;
    return look.Counters(CClock::NowMsecs(), received, sent);
}

CRemoteAccess::Handle CSimRemoteAccess::NewHandle()
{
    // Handles start at a random point, so a handle kept from another run of the program
    // is unlikely to name a connection of this one.
    static std::atomic<Handle> next{QRandomGenerator::global()->bounded(1u << 30) + 1u};
    return next.fetch_add(1);
}

CSimRemoteAccess::Line CSimRemoteAccess::ObserveLine(const CSimulatorFile& look)
{
    const qint64 now = CClock::NowMsecs();
    Line line;
    line.entry = look.ConnectedEntry();
    if (line.entry.isEmpty()) {
        m_lastSeenDownMs = now;
        m_lastSeenEntry.clear();
        m_lastSeenSince = 0;
        return line;
    }
    qint64 since = look.Since();
    line.handle = look.Handle();
    // A start time from before the line was last seen down, or a different entry with the
    // start time of the previous one, is left over from an earlier connection: the file was
    // edited by hand. Such a line is new from now on.
    const bool stale =
        since <= 0 || (m_lastSeenDownMs >= 0 && since < m_lastSeenDownMs) ||
        (!m_lastSeenEntry.isEmpty() && m_lastSeenEntry != line.entry && since <= m_lastSeenSince);
    if (stale) {
        since = now;
        line.handle = NewHandle();
        m_file.RestampLine(since, line.handle);
    } else if (line.handle == 0) {
        line.handle = NewHandle();
        m_file.SetHandle(line.handle);
    }
    m_lastSeenEntry = line.entry;
    m_lastSeenSince = since;
    return line;
}

void CSimRemoteAccess::NextStep()
{
    if (!m_dial.active)
        return;
    ++m_dial.step;
    if (m_dial.step <= kStepCount) {
        const unsigned state = StepState(m_dial.step);
        if (m_dial.failCode != 0 && m_dial.step >= m_dial.failStep) {
            FinishDial(state, static_cast<unsigned>(m_dial.failCode));
            return;
        }
        // The notifier may hang up, dial again or (against the rules) destroy this backend.
        const std::weak_ptr<bool> alive = m_alive;
        const Handle handle = m_dial.handle;
        const DialNotifier notifier = m_dial.notifier;
        if (notifier)
            notifier(state, ErrorNone);
        if (alive.expired() || !m_dial.active || m_dial.handle != handle)
            return;
        m_timer->start(m_file.StepMs());
        return;
    }

    // One line: a connection that came up meanwhile from elsewhere keeps it.
    if (!ObserveLine(m_file.Look()).entry.isEmpty()) {
        FinishDial(StepState(kStepCount), ErrorPortAlreadyOpen);
        return;
    }
    const qint64 now = CClock::NowMsecs();
    if (!m_file.StartLine(m_dial.entry, now, m_dial.handle)) {
        FinishDial(StepState(kStepCount), ErrorHardwareFailure);
        return;
    }
    m_lastSeenEntry = m_dial.entry;
    m_lastSeenSince = now;
    FinishDial(Connected, ErrorNone);
}

void CSimRemoteAccess::FinishDial(unsigned state, unsigned error)
{
    const DialNotifier notifier = std::move(m_dial.notifier);
    m_timer->stop();
    m_dial = Dialing();
    if (notifier)
        notifier(state, error);
}
