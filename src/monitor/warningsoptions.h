#pragma once

#include <QString>

#include <array>
#include <optional>

class CSettingsStore;

// What the "Warnings" page shows and stores: four cost limits, each with a box that
// switches it on and an amount in whole money units.
struct CWarningsOptions {
    // The limits in the order they are checked and stored.
    enum Limit { WarnMonth, WarnCall, DisconnectMonth, DisconnectCall };
    static constexpr int kLimitCount = 4;
    static constexpr int kMinAmount = 1;
    static constexpr int kMaxAmount = 100000;

    std::array<bool, kLimitCount> enabled{};
    // As typed; made numbers only when stored.
    std::array<QString, kLimitCount> amounts;

    static CWarningsOptions Load(const CSettingsStore& store);

    struct Refusal {
        Limit limit;
        QString message;
    };
    // The first amount, in the order of the limits, that is no integer from 1 to 100000,
    // with the message that says so; none when all four can be stored.
    std::optional<Refusal> Refused() const;

    // Writes the four boxes, then the four amounts. Call only when Refused() found nothing.
    void Store(CSettingsStore& store) const;
};
