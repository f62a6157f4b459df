#pragma once

#include <QString>

#include <span>
#include <variant>

// Every key of the settings file, defined once: its section, its name, what a missing key
// reads as, and (where the name misleads) what it means. Code reads and writes settings
// through these, never through names typed again elsewhere. A feature that needs a new
// key adds it here first.

// A key whose value is a whole number (flags are 1 or 0).
struct CIntKey {
    const char* section;
    const char* name;
    int defaultValue;
};

// A key whose value is text.
struct CTextKey {
    const char* section;
    const char* name;
    const char* defaultValue;
};

// Any key of the table whose name is fixed, for code that walks all of them.
using CAnyKey = std::variant<CIntKey, CTextKey>;

// A key whose name is made at run time, such as the credentials of one phonebook entry.
struct CNamedKey {
    QString section;
    QString name;
};

namespace Keys {

inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kPrice = "Price";
inline constexpr const char* kConnections = "Connections";
inline constexpr const char* kSecurity = "Security";
inline constexpr const char* kInet = "Inet";
inline constexpr const char* kDataPlan = "DataPlan";

// --- Start-up and the General page ---------------------------------------------------
// Folder of the log file; empty or missing means the folder of the settings file.
inline constexpr CTextKey IniPath{kSettings, "IniPath", ""};
inline constexpr CIntKey StartWhenWindows{kSettings, "StartWhenWindows", 1};
// Despite its name, 1 means the main window SHOWS at start and 0 that it starts hidden.
inline constexpr CIntKey HideOnStart{kSettings, "HideOnStart", 1};
inline constexpr CIntKey ShowSplash{kSettings, "ShowSplash", 1};
// 1: bring the main window up when a connection is made or dropped.
inline constexpr CIntKey ShowWhenConnected{kSettings, "ShowWhenConnected", 0};
inline constexpr CIntKey ConfirmHangup{kSettings, "ConfirmHangup", 1};
inline constexpr CIntKey ConfirmExit{kSettings, "ConfirmExit", 1};

// --- Where the main window was ("Reda" is the window's old name) -----------------------
inline constexpr CIntKey WindowBottom{kSettings, "RedaWindowPosb", 0};
inline constexpr CIntKey WindowTop{kSettings, "RedaWindowPost", 0};
inline constexpr CIntKey WindowRight{kSettings, "RedaWindowPosr", 0};
inline constexpr CIntKey WindowLeft{kSettings, "RedaWindowPosl", 0};
// 1: the window was minimized or hidden at exit, so the next start keeps it out of sight.
inline constexpr CIntKey WindowMinimized{kSettings, "RedaWindowMinimized", 0};

// --- The report window's size; 0 opens it wide enough for every column ----------------
inline constexpr CIntKey ReportWidth{kSettings, "ReportWidth", 0};
inline constexpr CIntKey ReportHeight{kSettings, "ReportHeight", 0};

// --- The summary --------------------------------------------------------------------
// Which calls the summary counts: 0 all, 1 this month, 2 today.
inline constexpr CIntKey SummaryWhen{kSettings, "SummaryWhen", 0};

// --- The statistics window: its size when last closed (0 = the size it opens with) and
// the range last chosen (0 this cycle, 1 last cycle, 2 the last 12 cycles, 3 all) --------
inline constexpr CIntKey StatisticsWidth{kSettings, "StatisticsWidth", 0};
inline constexpr CIntKey StatisticsHeight{kSettings, "StatisticsHeight", 0};
inline constexpr CIntKey StatisticsRange{kSettings, "StatisticsRange", 0};

// --- Schedules: counters of the scheduled dial and hang-up (0 = none; more below) -----
inline constexpr CIntKey DialSecsToDial{kSettings, "DialSecsToDial", 0};
inline constexpr CIntKey HangupSecsToHangup{kSettings, "HangupSecsToHangup", 0};

// --- Connection page: redial and idle hang-up ---------------------------------------
// 1: dial again when the other side drops the line.
inline constexpr CIntKey Redial{kSettings, "Redial", 0};
// What the idle check does: 0 nothing, 1 hang up, 2 stay online (check mail to keep the
// line busy).
inline constexpr CIntKey HangupComboState{kSettings, "HangupComboState", 0};
// Minutes between idle checks.
inline constexpr CIntKey HangupInterval{kSettings, "HangupInterval", 10};
// A busy line: 1 redial at most RedialTimes times, 2 redial till connected, 3 do not
// redial; 0 means no choice was ever stored.
inline constexpr CIntKey RedialWhenBusy{kSettings, "RedialWhenBusy", 0};
inline constexpr CIntKey RedialTimes{kSettings, "RedialTimes", 3};
// 1: open UrlToLaunch once a dial connects.
inline constexpr CIntKey LaunchBrowser{kSettings, "LaunchBrowser", 0};
// Missing opens nothing; the Connection page offers the project's address instead.
inline constexpr CTextKey UrlToLaunch{kSettings, "UrlToLaunch", ""};

// --- Schedule window: one scheduled dial and one scheduled hang-up --------------------
// For each: the counter (0 stopped, 1 due at the next tick, above 1 running: seconds left
// of a countdown, or 10 while waiting for a time of day; compared unsigned, so a negative
// value counts as running), whether it waits for a time of day (1) or counts down (0),
// the page's "in" choice, the time of day "HH:MM:SS", the page's number and its unit
// (0 seconds, 1 minutes, 2 hours) and the last status line written. The times' defaults
// are what the pages show when the key is missing; the ticker reads a missing time as "".
inline constexpr CIntKey DAtTime{kSettings, "DAtTime", 0};
inline constexpr CIntKey DAfterTime{kSettings, "DAfterTime", 0};
inline constexpr CTextKey DialTime{kSettings, "DialTime", "12:00:00"};
inline constexpr CIntKey DialTimerInterval{kSettings, "DialTimerInterval", 10};
inline constexpr CIntKey DialSequenceComboState{kSettings, "DialSequenceComboState", 0};
inline constexpr CTextKey DialTimerStatus{kSettings, "DialTimerStatus", ""};
inline constexpr CIntKey HAtTime{kSettings, "HAtTime", 0};
inline constexpr CIntKey HAfterTime{kSettings, "HAfterTime", 0};
inline constexpr CTextKey HangupTime{kSettings, "HangupTime", "12:00:00"};
inline constexpr CIntKey HangupTimerInterval{kSettings, "HangupTimerInterval", 10};
inline constexpr CIntKey HangupSequenceComboState{kSettings, "HangupSequenceComboState", 0};
inline constexpr CTextKey HangupTimerStatus{kSettings, "HangupTimerStatus", ""};

// --- Dialing --------------------------------------------------------------------------
// The phonebook entry that every dial of the program dials; empty: none chosen yet.
inline constexpr CTextKey DefaultCon{kSettings, "DefaultCon", ""};
// 1: the credentials of an entry stay stored after a dial; 0: they are erased after each
// dial attempt. One value for all entries.
inline constexpr CIntKey RememberPassword{kConnections, "RememberPassword", 1};

// --- Email page ---------------------------------------------------------------------
inline constexpr CIntKey CheckMail{kSettings, "CheckMail", 0};
// Minutes between mail checks.
inline constexpr CIntKey CMailTime{kSettings, "CMailTime", 10};
// Only shown and stored: the check a minute after connecting runs whatever its value.
inline constexpr CIntKey CheckMailOnCon{kSettings, "CheckMailOnCon", 0};
// The POP3 mailbox: user name, server (host name or address) and port.
inline constexpr CTextKey MUser{kSettings, "MUser", ""};
// Used only when no keyring runs; with a keyring the password lives there.
inline constexpr CTextKey MPassword{kSettings, "MPassword", ""};
inline constexpr CTextKey MServer{kSettings, "MServer", ""};
inline constexpr CIntKey MPort{kSettings, "MPort", 110};
// How the mail connection is protected: 0 not at all, 1 STARTTLS (STLS), 2 TLS from the
// first byte.
inline constexpr CIntKey MSecurity{kSettings, "MSecurity", 0};
// The one server certificate the user trusts although the system does not:
// "host:port SHA-256" with the digest as hex pairs separated by colons. Empty: none.
inline constexpr CTextKey MCertPin{kSettings, "MCertPin", ""};

// --- Warnings page: limits in whole money units -------------------------------------
inline constexpr CIntKey WarnWhenMonth{kSettings, "WarnWhenMonth", 0};
inline constexpr CIntKey WarnWhenMonthInterval{kSettings, "WarnWhenMonthInterval", 1};
inline constexpr CIntKey WarnWhenCall{kSettings, "WarnWhenCall", 0};
inline constexpr CIntKey WarnWhenCallInterval{kSettings, "WarnWhenCallInterval", 1};
// "Dis" is disconnect: hang up when the limit is passed.
inline constexpr CIntKey DisWhenMonth{kSettings, "DisWhenMonth", 0};
inline constexpr CIntKey DisWhenMonthInterval{kSettings, "DisWhenMonthInterval", 1};
inline constexpr CIntKey DisWhenCall{kSettings, "DisWhenCall", 0};
inline constexpr CIntKey DisWhenCallInterval{kSettings, "DisWhenCallInterval", 1};

// --- Sounds page: 0 silence, 1 the built-in chirp, 2 the chosen file -----------------
inline constexpr CIntKey ActionWhenConMade{kSettings, "ActionWhenConMade", 0};
inline constexpr CTextKey SoundWhenConMade{kSettings, "SoundWhenConMade", ""};
inline constexpr CIntKey ActionWhenConDropped{kSettings, "ActionWhenConDropped", 0};
inline constexpr CTextKey SoundWhenConDropped{kSettings, "SoundWhenConDropped", ""};

// --- Price page: money as typed, clock texts "HH:MM" -----------------------------------
inline constexpr CTextKey PricePerDial{kPrice, "PricePerDial", ""};
inline constexpr CTextKey CostPerMinute{kPrice, "CostPerMinute", ""};
inline constexpr CTextKey CheapCostPerMinute{kPrice, "CheapCostPerMinute", ""};
inline constexpr CTextKey CheapTimeStart{kPrice, "CheapTimeStart", ""};
inline constexpr CTextKey CheapTimeEnd{kPrice, "CheapTimeEnd", ""};
// Only the positions of the two cheap-time lists on the page; pricing reads the texts
// above. 92 is "23:00" in the "from" list, 23 is "05:59" in the "to" list.
inline constexpr CIntKey CheapTimeFromComboState{kPrice, "CheapTimeFromComboState", 92};
inline constexpr CIntKey CheapTimeToComboState{kPrice, "CheapTimeToComboState", 23};
inline constexpr CTextKey MinConTime{kPrice, "MinConTime", "00:00"};
inline constexpr CTextKey ConnectionBlock{kPrice, "ConnectionBlock", "00:00"};
inline constexpr CTextKey FreeMonthTime{kPrice, "FreeMonthTime", "00:00"};
// The weekend boxes of the Price page live under "Settings": 1 makes the whole day cheap.
inline constexpr CIntKey CheapInSat{kSettings, "CheapInSat", 0};
inline constexpr CIntKey CheapInSun{kSettings, "CheapInSun", 0};

// --- Data plan page: a volume allowance per billing cycle -------------------------------
// Day of the month on which a billing cycle starts, 1 to 31; a day past a month's end
// means that month's last day.
inline constexpr CIntKey CycleStartDay{kDataPlan, "CycleStartDay", 1};
// The cycle's allowance in GB (1 GB = 1,000,000,000 bytes) as decimal text; empty or 0
// means no data plan.
inline constexpr CTextKey Allowance{kDataPlan, "Allowance", ""};
// What counts against the allowance: 0 received and sent, 1 received only.
inline constexpr CIntKey Counted{kDataPlan, "Counted", 0};
// Price of each GB past the allowance, money text as on the Price page.
inline constexpr CTextKey OveragePerGB{kDataPlan, "OveragePerGB", ""};
// Percentages of the allowance at which to warn, separated by commas.
inline constexpr CTextKey WarnAt{kDataPlan, "WarnAt", "80,100"};
// At 100 %: 0 warn only, 1 hang up and dial nothing on its own until the next cycle.
inline constexpr CIntKey AtLimit{kDataPlan, "AtLimit", 0};
// Not a setting: the cycle (its first day, yyyy-MM-dd) whose warnings were given, and the
// percentages already warned about in it, so a restart does not warn again.
inline constexpr CTextKey WarnedCycle{kDataPlan, "WarnedCycle", ""};
inline constexpr CTextKey WarnedAt{kDataPlan, "WarnedAt", ""};

// --- Upgrade page ---------------------------------------------------------------------
// 1: no automatic question to the update server after a connection comes up; the check
// on demand still asks.
inline constexpr CIntKey DisableUpgrade{kSettings, "DisableUpgrade", 0};
// Host name and TCP port of the update server that the upgrade check asks.
inline constexpr CTextKey UpdateServer{kSettings, "UpdateServer", "update.orvalis.example.org"};
inline constexpr CIntKey UpdatePort{kSettings, "UpdatePort", 4444};

// --- Password protection ------------------------------------------------------------
inline constexpr CIntKey SecurityEnabled{kSecurity, "Enabled", 0};
// Ask for the password at program start.
inline constexpr CIntKey SecurityWhenStarted{kSecurity, "WhenStarted", 0};
// Ask for the password when a configuration window (preferences, security, schedule) opens.
inline constexpr CIntKey SecurityWhenConfigured{kSecurity, "WhenConfigured", 0};
// Despite its name, not the password itself: its salted hash
// ("pbkdf2-sha256$ITERATIONS$SALT$HASH", both base64). An older file may still hold the
// password as plain text; it is replaced by the hash at the next save.
inline constexpr CTextKey SecurityPassword{kSecurity, "Password", ""};

// --- Internet tools ------------------------------------------------------------------
// The server the time query asks (RFC 868, TCP port 37); no window edits it.
inline constexpr CTextKey TimeServer{kInet, "TimeServer", "time.nist.gov"};
// Not a setting: the last answer of a time query, handed from the query's worker to the
// Get Time page; "???" while none is known.
inline constexpr CTextKey RemoteTime{kInet, "RemoteTime", "???"};

// --- Connections: the stored credentials of each phonebook entry ----------------------
// "<entry>User" and "<entry>Password", the entry's name as it stands (blanks kept).
CNamedKey EntryUser(const QString& entry);
CNamedKey EntryPassword(const QString& entry);

// Every key above with a fixed name, in the order above. A new key goes here as well.
std::span<const CAnyKey> All();

} // namespace Keys

// The connection simulator's own file (simulator.ini), not the settings file.
namespace SimKeys {

inline constexpr const char* kPhonebook = "Phonebook";
inline constexpr const char* kDial = "Dial";
inline constexpr const char* kLine = "Line";

// Phonebook entries separated by "|".
inline constexpr CTextKey Entries{kPhonebook, "Entries", "Home ISP|Work"};
// Milliseconds between the progress steps of a dial.
inline constexpr CIntKey StepMs{kDial, "StepMs", 300};
// How many of the next dials find the line busy.
inline constexpr CIntKey BusyTimes{kDial, "BusyTimes", 0};
// Non-zero: every dial fails with this error code.
inline constexpr CIntKey FailCode{kDial, "FailCode", 0};
// The progress step (1-7) that reports FailCode; 0 refuses the dial at once.
inline constexpr CIntKey FailAt{kDial, "FailAt", 3};
// The entry whose line is up; empty when none.
inline constexpr CTextKey Connected{kLine, "Connected", ""};
inline constexpr CTextKey Device{kLine, "Device", "Simulated modem"};
inline constexpr CTextKey DeviceType{kLine, "DeviceType", "modem"};
inline constexpr CTextKey Interface{kLine, "Interface", "ppp0"};
// Bytes per second received and sent while the line is up.
inline constexpr CIntKey RateIn{kLine, "RateIn", 4000};
inline constexpr CIntKey RateOut{kLine, "RateOut", 800};
// Non-zero: listing the connections fails with this code.
inline constexpr CIntKey EnumError{kLine, "EnumError", 0};
// Kept by the simulator itself: when the line came up (ms since the epoch), its handle,
// and the bytes counted at earlier rates.
inline constexpr CTextKey Since{kLine, "Since", ""};
inline constexpr CTextKey Handle{kLine, "Handle", ""};
inline constexpr CTextKey Counted{kLine, "Counted", ""};

// Every key above, in the order above.
std::span<const CAnyKey> All();

} // namespace SimKeys
