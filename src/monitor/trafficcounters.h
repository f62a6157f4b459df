#pragma once

#include <QString>
#include <QtGlobal>

// The byte counters of the interface that carries the connection, as the monitor sees
// them: 64-bit values, read at any time without waiting, refreshed by queries that run in
// the background. They only grow, but the monitor copes with a source that still counts
// in 32 bits and wraps, or that starts again from 0.
class CTrafficCounters {
public:
    virtual ~CTrafficCounters();

    // The interface to watch from the next query on (empty: the interface with the
    // highest index). Called on the user-interface thread before Trigger().
    virtual void SetInterface(const QString& interfaceName) = 0;
    // Asks for one query and returns at once. A trigger while a query runs makes one more
    // query run right after it; never two at once.
    virtual void Trigger() = 0;
    // The counters the last finished query left behind (0 before the first).
    virtual qint64 SentBytes() const = 0;
    virtual qint64 ReceivedBytes() const = 0;
    // Ends the query under way early, if any; the counters keep their values.
    virtual void Cancel() = 0;
    // True while a query is under way.
    virtual bool Busy() const = 0;
};
