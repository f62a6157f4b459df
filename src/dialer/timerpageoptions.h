#pragma once

#include "dialer/scheduleticker.h"

#include <QString>

class CSettingsStore;

// The fields of a schedule page: the two choices, the time of day, the number and its unit.
struct CTimerPageOptions {
    // Positions of the unit list.
    enum Unit { Seconds, Minutes, Hours };
    static constexpr int kUnitCount = 3;

    bool atTime = false;
    bool after = false;
    // As typed.
    QString time;
    QString interval;
    // -1 when the stored position names no unit.
    int unit = Seconds;

    static CTimerPageOptions Load(const CSettingsStore& store, CScheduleTicker::Sequence sequence);
    // The window's OK: the unit, the number, the time and both choice flags. A unit list with
    // nothing chosen leaves the stored position as it was.
    void Store(CSettingsStore& store, CScheduleTicker::Sequence sequence) const;

    // The number (its leading integer, as the settings read numbers) in seconds, kept within
    // the range of a counter. A list with nothing chosen counts seconds.
    int TotalSeconds() const;
    // What the "Start" button asks of the ticker.
    CScheduleTicker::StartRequest Request() const;
};
