#include "dialer/timerpageoptions.h"

#include "common/settingsstore.h"

#include <algorithm>
#include <limits>

CTimerPageOptions CTimerPageOptions::Load(const CSettingsStore& store,
                                          CScheduleTicker::Sequence sequence)
{
    const CScheduleTicker::SequenceKeys& keys = CScheduleTicker::KeysOf(sequence);
    CTimerPageOptions options;
    options.atTime = store.Read(keys.atTime) == 1;
    options.after = store.Read(keys.afterTime) == 1;
    options.time = store.Read(keys.time);
    options.interval = QString::number(store.Read(keys.interval));
    const int unit = store.Read(keys.unit);
    options.unit = unit >= 0 && unit < kUnitCount ? unit : -1;
    return options;
}

void CTimerPageOptions::Store(CSettingsStore& store, CScheduleTicker::Sequence sequence) const
{
    const CScheduleTicker::SequenceKeys& keys = CScheduleTicker::KeysOf(sequence);
    if (unit >= 0)
        store.Write(keys.unit, unit);
    store.Write(keys.interval, CSettingsStore::ParseLeadingInt(interval));
    store.Write(keys.time, time);
    store.Write(keys.atTime, atTime ? 1 : 0);
    store.Write(keys.afterTime, after ? 1 : 0);
}

int CTimerPageOptions::TotalSeconds() const
{
    const qint64 factor = unit == Hours ? 3600 : unit == Minutes ? 60 : 1;
    const qint64 seconds = qint64(CSettingsStore::ParseLeadingInt(interval)) * factor;
    return int(std::clamp<qint64>(seconds, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

CScheduleTicker::StartRequest CTimerPageOptions::Request() const
{
    return CScheduleTicker::StartRequest{atTime, after, time, TotalSeconds()};
}
