#include "common/settingskeys.h"

#include <array>

namespace Keys {

CNamedKey EntryUser(const QString& entry)
{
    return {QLatin1String(kConnections), entry + QLatin1String("User")};
}

CNamedKey EntryPassword(const QString& entry)
{
    return {QLatin1String(kConnections), entry + QLatin1String("Password")};
}

std::span<const CAnyKey> All()
{
    static constexpr auto kAll = std::to_array<CAnyKey>({
        IniPath,
        StartWhenWindows,
        HideOnStart,
        ShowSplash,
        ShowWhenConnected,
        ConfirmHangup,
        ConfirmExit,
        WindowBottom,
        WindowTop,
        WindowRight,
        WindowLeft,
        WindowMinimized,
        ReportWidth,
        ReportHeight,
        SummaryWhen,
        StatisticsWidth,
        StatisticsHeight,
        StatisticsRange,
        DialSecsToDial,
        HangupSecsToHangup,
        Redial,
        HangupComboState,
        HangupInterval,
        RedialWhenBusy,
        RedialTimes,
        LaunchBrowser,
        UrlToLaunch,
        DAtTime,
        DAfterTime,
        DialTime,
        DialTimerInterval,
        DialSequenceComboState,
        DialTimerStatus,
        HAtTime,
        HAfterTime,
        HangupTime,
        HangupTimerInterval,
        HangupSequenceComboState,
        HangupTimerStatus,
        DefaultCon,
        RememberPassword,
        CheckMail,
        CMailTime,
        CheckMailOnCon,
        MUser,
        MPassword,
        MServer,
        MPort,
        MSecurity,
        MCertPin,
        WarnWhenMonth,
        WarnWhenMonthInterval,
        WarnWhenCall,
        WarnWhenCallInterval,
        DisWhenMonth,
        DisWhenMonthInterval,
        DisWhenCall,
        DisWhenCallInterval,
        ActionWhenConMade,
        SoundWhenConMade,
        ActionWhenConDropped,
        SoundWhenConDropped,
        PricePerDial,
        CostPerMinute,
        CheapCostPerMinute,
        CheapTimeStart,
        CheapTimeEnd,
        CheapTimeFromComboState,
        CheapTimeToComboState,
        MinConTime,
        ConnectionBlock,
        FreeMonthTime,
        CheapInSat,
        CheapInSun,
        CycleStartDay,
        Allowance,
        Counted,
        OveragePerGB,
        WarnAt,
        AtLimit,
        WarnedCycle,
        WarnedAt,
        DisableUpgrade,
        UpdateServer,
        UpdatePort,
        SecurityEnabled,
        SecurityWhenStarted,
        SecurityWhenConfigured,
        SecurityPassword,
        TimeServer,
        RemoteTime,
    });
    return kAll;
}

} // namespace Keys

namespace SimKeys {

std::span<const CAnyKey> All()
{
    static constexpr auto kAll = std::to_array<CAnyKey>({
        Entries,
        StepMs,
        BusyTimes,
        FailCode,
        FailAt,
        Connected,
        Device,
        DeviceType,
        Interface,
        RateIn,
        RateOut,
        EnumError,
        Since,
        Handle,
        Counted,
    });
    return kAll;
}

} // namespace SimKeys
