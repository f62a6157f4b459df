#pragma once

#include <QDateTime>

// Every read of the wall clock goes through here, so tests can set the time.
// The system clock is used unless a test installs its own.
class CClock {
public:
    virtual ~CClock();

    // Local date and time now.
    static QDateTime Now();
    // Milliseconds since the epoch, UTC.
    static qint64 NowMsecs();

    // Replaces the clock for the whole process; nullptr puts the system clock back.
    // The caller keeps ownership and must outlive its use.
    static void Install(CClock* clock);

protected:
    virtual QDateTime CurrentDateTime() const;
};
