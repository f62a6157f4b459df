#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>

class CRemoteAccess;

// Running byte totals of the interface that carries the connection.
//
// Each Update() takes one reading of the interface's 64-bit counters: from the connection
// backend when it keeps its own (the simulator), otherwise from the kernel
// (ROOT/IF/statistics/rx_bytes and tx_bytes, ROOT being /sys/class/net). What the interface
// carried since the previous reading of the same source is added to the totals:
// - a counter below its previous value, or the same interface name with a new index, means
//   the interface was recreated: the counter itself is what it carried since;
// - a reading of another source (another interface, or the backend starting or stopping to
//   supply counters) becomes the new reference and adds nothing, so switching to a
//   long-lived interface never shows as billions of bytes - unless it is a kernel interface
//   that did not exist at the last look at all interfaces: one that came up for this call
//   counts from zero, so the traffic before the first reading is not lost;
// - a failed reading keeps the totals and the reference, so the next good reading of the
//   same interface adds what it carried in between.
// Every reading without a name (the interface with the highest index) is such a look at
// all interfaces.
// The monitor reads the totals as 64-bit counts (held at 2^63-1, which no interface reaches).
//
// Not thread-safe: one thread at a time (the counter worker, or the thread that triggers
// it while the worker is idle) updates and reads it.
class CInterfaceCounters {
public:
    // One reading of an interface's counters.
    struct Reading {
        QString source;   // what was read; readings of one source can be compared
        qint64 index = 0; // the kernel's interface index (0 for the backend)
        quint64 received = 0;
        quint64 sent = 0;
    };

    static QString DefaultRoot();

    // The backend, when given, is asked first and must outlive this object; it is called on
    // the thread that calls Update().
    explicit CInterfaceCounters(CRemoteAccess* backend = nullptr, QString root = DefaultRoot());
    virtual ~CInterfaceCounters();

    // False when the kernel's counters cannot be read at all (no interface folder).
    virtual bool Available() const;
    // Takes one reading of the interface (empty name: the interface with the highest
    // index) and adds to the totals as described above. False when no reading could be
    // made.
    virtual bool Update(const QString& interfaceName);

    // One reading, without touching the totals.
    bool Read(const QString& interfaceName, Reading& out) const;
    // The interface under the root with the highest index; empty when there is none.
    QString HighestIndexInterface() const;

    // True when the last Update() read the kernel's counter files (not the backend's).
    bool LastFromKernel() const;
    // True when the last Update() read counters that answer at once: the kernel's, or the
    // backend's when it says so (CRemoteAccess::CountersAtOnce).
    bool LastAtOnce() const;

    quint64 TotalReceived() const { return m_totalReceived; }
    quint64 TotalSent() const { return m_totalSent; }
    // The totals as the monitor reads them.
    qint64 ReceivedBytes() const;
    qint64 SentBytes() const;

private:
    // The interface with the highest index; also notes every interface seen.
    QString LookAtAllInterfaces();
    // Every interface under the root with its index.
    QHash<QString, qint64> InterfaceIndexes() const;
    // The name with the highest index; empty when there is none.
    static QString Highest(const QHash<QString, qint64>& indexes);
    // True when the kernel interface of this reading was not there at the last look.
    bool AppearedSinceLastLook(const Reading& reading) const;
    bool ReadBackend(const QString& interfaceName, Reading& out) const;
    bool ReadKernel(const QString& name, Reading& out) const;
    bool ReadNumber(const QString& name, const QString& file, quint64& out) const;

    CRemoteAccess* m_backend;
    QString m_root;
    bool m_haveReference = false;
    Reading m_last;
    bool m_haveLook = false;
    bool m_lastReadOk = false;
    QHash<QString, qint64> m_seenIndexes; // kernel interface name -> index at the last look
    quint64 m_totalReceived = 0;
    quint64 m_totalSent = 0;
};
