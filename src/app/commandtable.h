#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The numbered commands of the main window, with readable names for the command line.
class CCommandTable {
public:
    enum Command {
        About = 32774,
        Contents = 32780,
        Report = 32781,
        Hide = 32782,
        Minimize = 32800,
        Hangup = 32812,
        MailPreferences = 32813,
        Show = 32815,
        HideMailIcon = 32820,
        Summary = 32823,
        Connections = 32834,
        CheckMail = 32835,
        CheckUpdate = 32836,
        PreferencesGeneral = 32838,
        PreferencesConnection = 32839,
        PreferencesEmail = 32840,
        PreferencesWarnings = 32841,
        PreferencesPrice = 32842,
        PreferencesSounds = 32843,
        PreferencesUpgrade = 32845,
        Security = 32846,
        Timer = 32847,
        Connect = 32848,
        InetTools = 32852,
        PreferencesDataPlan = 32853,
        Statistics = 32854,
        Exit = 1052,
        // Other numbers of the same commands.
        AboutAlias = 159,
        ReportAlias = 1034,
        ContentsAlias = 1035,
    };

    struct Entry {
        int number;
        QString name;
    };

    // Every command that has a name, in menu order.
    static const QList<Entry>& Named();
    // The command of a number or a name ("32812", "hangup"); 0 when there is none. Other
    // numbers of a command give the command itself (1034 gives Report).
    static int Parse(const QString& text);
    // The command that a number stands for (an alias gives its command), 0 when unknown.
    static int Canonical(int number);
    // What another start of the program sends to bring the window up.
    static constexpr const char* kShowRequest = "12345";
    // The command of a request from another start: kShowRequest gives Show, "command X"
    // gives Parse(X); 0 for anything else.
    static int FromRequest(const QByteArray& request);

    // The preferences page of a command (a CPreferencesSheet::Page), -1 when it opens none.
    static int PreferencesPage(int command);
};
