#pragma once

#include <QDate>
#include <QList>
#include <QString>

class CSettingsStore;
struct CCycleUsage;
struct CDataPlan;

// Which of a data plan's warning percentages to announce: each once per billing cycle,
// remembered across restarts in the "DataPlan" section (the cycle's first day and the
// percentages already announced in it). A new cycle starts with none announced. When
// several are passed at once, one announcement says the highest and all are marked. A
// percentage below one already announced in this cycle is not announced any more (the
// user has heard of a higher share); it is marked when passed.
class CUsageAlerts {
public:
    // What has been announced: in the cycle that starts on `cycle`, these percentages.
    struct State {
        QDate cycle;
        QList<int> warned; // ascending

        friend bool operator==(const State&, const State&) = default;
    };

    struct Decision {
        int announce = 0; // the percentage to announce; 0 none
        State state;      // the state afterwards
        bool changed = false;
    };

    static State Load(const CSettingsStore& store);
    static void Save(CSettingsStore& store, const State& state);

    // The decision for the usage of a cycle, given what was announced before.
    static Decision Decide(const CDataPlan& plan, const CCycleUsage& usage, const State& before);
    // The same with the state in the store, written back when it changed. The percentage
    // to announce, or 0.
    static int Check(CSettingsStore& store, const CDataPlan& plan, const CCycleUsage& usage);

    // Whether the usage has reached `percent` of the allowance (exactly, not rounded).
    static bool Reached(const CCycleUsage& usage, int percent);

    // "80 % of your data used"
    static QString SummaryText(int percent);
    // "24.00 GB of 30.00 GB used, 9 day(s) left in this cycle"
    static QString BodyText(const CCycleUsage& usage);
};
