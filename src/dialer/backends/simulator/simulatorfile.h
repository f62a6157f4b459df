#pragma once

#include "common/settingsstore.h"
#include "dialer/activeconnection.h"

#include <QString>
#include <QStringList>

#include <memory>

// The connection simulator's whole state: a small INI file read and written through
// CSettingsStore, so every access sees the file as it is now. The running program, the
// "--sim" command line and a user with a text editor can all change it at any time. While
// the file is there but cannot be read (no file descriptors left, say), the state last
// read stays in use, so a line that is up is not taken for a line that went down.
//
//   [Phonebook] Entries     entry names separated by "|" (default "Home ISP|Work")
//   [Dial]      StepMs      milliseconds between two progress steps of a dial (300)
//               BusyTimes   the next N dials end with a busy line (676); counts down (0)
//               FailCode    not 0: every dial fails with this error code (0)
//               FailAt      progress step (1 to 7) that reports a busy or failing dial's
//                           error; 0 or less refuses the dial at its start (3)
//   [Line]      Connected   entry name of the connection that is up; empty: none
//               Device, DeviceType, Interface  what the connection reports
//                           ("Simulated modem", "modem", "ppp0")
//               RateIn, RateOut  bytes per second received and sent (4000, 800)
//               EnumError   not 0: listing the connections fails with this code (0)
//   Kept by the simulator:  [Line] Since (ms since the epoch when the line came up),
//               Handle (the connection's handle), Counted ("IN OUT MS": bytes counted up to
//               the moment MS, kept when the rates change so the counters never go back).
class CSimulatorFile {
public:
    static constexpr int kDefaultStepMs = SimKeys::StepMs.defaultValue;
    static constexpr int kMaxStepMs = 60000;
    static constexpr int kDefaultFailAt = SimKeys::FailAt.defaultValue;
    static constexpr int kDefaultRateIn = SimKeys::RateIn.defaultValue;
    static constexpr int kDefaultRateOut = SimKeys::RateOut.defaultValue;

    explicit CSimulatorFile(QString path);

    // The file as it is now, read once: the getters of the copy answer from that one read,
    // for a look at the line that needs several values. Its setters write the file as ever.
    CSimulatorFile Look() const;

    const QString& Path() const { return m_store.Path(); }

    // "simulator.ini" in the folder of the settings file.
    static QString DefaultPath(const QString& settingsFile);
    // Writes a commented file with the default values when none exists yet, so a user
    // finds every key. False when the file is missing and cannot be created.
    bool EnsureExists() const;

    // Entry names: blanks around a name dropped, empty names and repeats (letter case
    // ignored) left out.
    static QStringList ParseEntries(const QString& text);
    QStringList Entries() const;
    bool SetEntries(const QStringList& entries);

    int StepMs() const;
    int BusyTimes() const;
    bool SetBusyTimes(int times);
    int FailCode() const;
    bool SetFailCode(int code);
    int FailAt() const;

    QString ConnectedEntry() const;
    qint64 Since() const;
    RasHandle Handle() const;
    QString Device() const;
    QString DeviceType() const;
    QString Interface() const;
    int RateIn() const;
    int RateOut() const;
    int EnumError() const;

    // Marks the line as up for the entry since the given moment. A handle of 0 leaves the
    // handle to be assigned by the simulator backend that sees the line first.
    bool StartLine(const QString& entry, qint64 sinceMs, RasHandle handle);
    // Gives the line that is up a new start time and handle, leaving Connected as it is.
    bool RestampLine(qint64 sinceMs, RasHandle handle);
    bool SetHandle(RasHandle handle);
    // The line is down: the connection and its bookkeeping are removed.
    bool ClearLine();

    // Bytes received and sent by the line at the moment nowMs; false when no line is up.
    bool Counters(qint64 nowMs, quint64& received, quint64& sent) const;
    // Changes the rates from nowMs on; the bytes counted so far are kept.
    bool SetRates(int rateIn, int rateOut, qint64 nowMs);

private:
    int Read(const CIntKey& key) const;
    QString Read(const CTextKey& key) const;
    qint64 ReadInt64(const CTextKey& key) const;

    CSettingsStore m_store;
    // Set in a look: the one read its getters answer from.
    std::shared_ptr<const CSettingsSnapshot> m_look;
};
