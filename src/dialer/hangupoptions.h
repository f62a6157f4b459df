#pragma once

#include <QString>

class CSettingsStore;

// What the "Connection" page shows and stores: the action while connected and its period,
// the web page opened after connecting, redialing a line dropped by the other side, and
// what a busy line does.
struct CHangupOptions {
    // Entries of the action list: 0 do nothing, 1 hang up when idle, 2 stay online.
    static constexpr int kActionCount = 3;
    // The busy-line choices: none marked, redial at most N times, till connected, never.
    enum BusyChoice { NoChoice, RedialTimes, RedialTillConnected, NoRedial };

    // -1 when the stored value names no entry.
    int action = 0;
    // Numbers and the address as typed.
    QString interval;
    bool launchBrowser = false;
    QString url;
    bool redial = false;
    int busy = NoChoice;
    QString redialTimes;

    // Shown when no address was ever stored.
    static QString DefaultUrl();

    static CHangupOptions Load(const CSettingsStore& store);
    // Writes the action, its period, the redial limit, the two boxes and the address, then
    // the busy choice. An action list or a busy choice with nothing marked leaves its key
    // as it was.
    void Store(CSettingsStore& store) const;
};
