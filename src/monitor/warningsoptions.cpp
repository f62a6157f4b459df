#include "monitor/warningsoptions.h"

#include <QCoreApplication>

#include "common/settingsstore.h"

namespace {
struct LimitKeys {
    const CIntKey& box;
    const CIntKey& amount;
};

const std::array<LimitKeys, CWarningsOptions::kLimitCount>& TheKeys()
{
    static const std::array<LimitKeys, CWarningsOptions::kLimitCount> keys = {
        LimitKeys{Keys::WarnWhenMonth, Keys::WarnWhenMonthInterval},
        LimitKeys{Keys::WarnWhenCall, Keys::WarnWhenCallInterval},
        LimitKeys{Keys::DisWhenMonth, Keys::DisWhenMonthInterval},
        LimitKeys{Keys::DisWhenCall, Keys::DisWhenCallInterval}};
    return keys;
}

std::optional<int> Integer(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}
} // namespace

CWarningsOptions CWarningsOptions::Load(const CSettingsStore& store)
{
    CWarningsOptions options;
    for (int i = 0; i < kLimitCount; ++i) {
        options.enabled[i] = store.Read(TheKeys()[i].box) != 0;
        options.amounts[i] = QString::number(store.Read(TheKeys()[i].amount));
    }
    return options;
}

std::optional<CWarningsOptions::Refusal> CWarningsOptions::Refused() const
{
    for (int i = 0; i < kLimitCount; ++i) {
        const std::optional<int> value = Integer(amounts[i]);
        if (!value)
            return Refusal{Limit(i), QCoreApplication::translate("CWarningsOptions",
                                                                 "Please enter an integer.")};
        if (*value < kMinAmount || *value > kMaxAmount)
            return Refusal{Limit(i),
                           QCoreApplication::translate("CWarningsOptions",
                                                       "Please enter an integer between %1 and %2.")
                               .arg(kMinAmount)
                               .arg(kMaxAmount)};
    }
    return std::nullopt;
}

void CWarningsOptions::Store(CSettingsStore& store) const
{
    for (int i = 0; i < kLimitCount; ++i)
        store.Write(TheKeys()[i].box, enabled[i] ? 1 : 0);
    for (int i = 0; i < kLimitCount; ++i)
        store.Write(TheKeys()[i].amount, Integer(amounts[i]).value_or(kMinAmount));
}
