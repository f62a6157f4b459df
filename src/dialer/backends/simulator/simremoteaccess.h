#pragma once

#include "dialer/backends/simulator/simulatorfile.h"
#include "dialer/remoteaccess.h"

#include <memory>

class QTimer;

// A dial-up service played from a small INI file (see CSimulatorFile for its keys), for
// trying the program without a modem and for tests.
//
// A dial goes through the steps OpenPort, PortOpened, ConnectDevice, DeviceConnected,
// AllDevicesConnected, Authenticate, Authenticated, one every StepMs milliseconds, and
// then Connected, when it writes [Line] Connected. The outcome is chosen when the dial
// starts: while BusyTimes is above 0 it is busy (676) and BusyTimes goes down by one;
// else a FailCode other than 0 fails it with that code. A busy or failing dial reports its
// error with progress step FailAt, or is refused at once (Dial returns the code) when
// FailAt is 0 or less. There is one line: a dial is refused with 602 while a connection is
// up or another dial of this backend is under way.
//
// A connection is up whenever [Line] Connected names one, whoever wrote it; emptying the
// key is a hang-up by the remote side. A connection seen for the first time gets its start
// time and handle written to the file. Its byte counters grow at RateIn and RateOut bytes
// per second from that start, by the program's clock.
//
// The progress notifier is called on the thread that owns the backend, from its timers.
// ReadByteCounters may run on another thread at the same time as the other operations: it
// only reads the file.
class CSimRemoteAccess : public CRemoteAccess {
public:
    // The number of progress steps before Connected.
    static constexpr int kStepCount = 7;

    explicit CSimRemoteAccess(const QString& file);
    ~CSimRemoteAccess() override;

    // "simulator.ini" in the folder of the settings file.
    static QString DefaultFile(const QString& settingsFile);
    // The progress state of step 1 to kStepCount.
    static unsigned StepState(int step);

    const QString& File() const { return m_file.Path(); }
    bool IsDialing() const { return m_dial.active; }

    int EnumEntries(QStringList& out) override;
    int CreateEntry() override;
    int EditEntry(const QString& name) override;
    int DeleteEntry(const QString& name) override;
    int Dial(const QString& entry, const QString& user, const QString& password,
             DialNotifier notifier, Handle& outHandle) override;
    int HangUp(Handle handle) override;
    int EnumConnections(QList<CActiveConnection>& out) override;
    bool ReadByteCounters(const QString& interfaceName, quint64& received, quint64& sent) override;
    // The counters come from the same file as the connections.
    bool CountersAtOnce() const override { return true; }

private:
    struct Dialing {
        bool active = false;
        QString entry;
        DialNotifier notifier;
        Handle handle = 0;
        int step = 0;     // progress steps reported so far
        int failCode = 0; // 0: this dial connects
        int failStep = 0; // the step that reports failCode
    };

    struct Line {
        QString entry; // empty: no line is up
        Handle handle = 0;
    };

    static Handle NewHandle();
    // The line as the file shows it now. A line seen for the first time gets its start
    // time and handle.
    // `look` is one read of the file (CSimulatorFile::Look).
    Line ObserveLine(const CSimulatorFile& look);
    void NextStep();
    void FinishDial(unsigned state, unsigned error);

    CSimulatorFile m_file;
    std::unique_ptr<QTimer> m_timer;
    Dialing m_dial;
    // Tells a notifier call whether this backend still exists afterwards.
    std::shared_ptr<bool> m_alive;

    // What the line looked like when last seen: to tell a new connection from the old one.
    qint64 m_lastSeenDownMs = -1;
    QString m_lastSeenEntry;
    qint64 m_lastSeenSince = 0;
};
