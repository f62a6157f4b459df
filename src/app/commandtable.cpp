#include "app/commandtable.h"

#include "prefs/preferencessheet.h"

const QList<CCommandTable::Entry>& CCommandTable::Named()
{
    static const QList<Entry> entries = {
        {Connect, QStringLiteral("connect")},
        {Hangup, QStringLiteral("hangup")},
        {CheckMail, QStringLiteral("check-mail")},
        {CheckUpdate, QStringLiteral("check-update")},
        {InetTools, QStringLiteral("inet-tools")},
        {PreferencesGeneral, QStringLiteral("preferences")},
        {PreferencesDataPlan, QStringLiteral("dataplan")},
        {Connections, QStringLiteral("connections")},
        {Security, QStringLiteral("security")},
        {Timer, QStringLiteral("timer")},
        {Report, QStringLiteral("report")},
        {Summary, QStringLiteral("summary")},
        {Statistics, QStringLiteral("statistics")},
        {Contents, QStringLiteral("help")},
        {About, QStringLiteral("about")},
        {Hide, QStringLiteral("hide")},
        {Minimize, QStringLiteral("minimize")},
        {Show, QStringLiteral("show")},
        {Exit, QStringLiteral("exit")},
    };
    return entries;
}

int CCommandTable::Canonical(int number)
{
    switch (number) {
    case AboutAlias:
        return About;
    case ReportAlias:
        return Report;
    case ContentsAlias:
        return Contents;
    case About:
    case Contents:
    case Report:
    case Hide:
    case Minimize:
    case Hangup:
    case MailPreferences:
    case Show:
    case HideMailIcon:
    case Summary:
    case Statistics:
    case Connections:
    case CheckMail:
    case CheckUpdate:
    case PreferencesGeneral:
    case PreferencesConnection:
    case PreferencesEmail:
    case PreferencesWarnings:
    case PreferencesPrice:
    case PreferencesDataPlan:
    case PreferencesSounds:
    case PreferencesUpgrade:
    case Security:
    case Timer:
    case Connect:
    case InetTools:
    case Exit:
        return number;
    default:
        return 0;
    }
}

int CCommandTable::Parse(const QString& text)
{
    const QString word = text.trimmed().toLower();
    bool isNumber = false;
    const int number = word.toInt(&isNumber);
    if (isNumber)
        return Canonical(number);
    for (const Entry& entry : Named()) {
        if (entry.name == word)
            return entry.number;
    }
    return 0;
}

int CCommandTable::PreferencesPage(int command)
{
    switch (command) {
    case PreferencesGeneral:
        return CPreferencesSheet::General;
    case PreferencesConnection:
        return CPreferencesSheet::Connection;
    case PreferencesEmail:
        return CPreferencesSheet::Email;
    case PreferencesWarnings:
        return CPreferencesSheet::Warnings;
    case PreferencesPrice:
        return CPreferencesSheet::Price;
    case PreferencesDataPlan:
        return CPreferencesSheet::DataPlan;
    case PreferencesSounds:
        return CPreferencesSheet::Sounds;
    case PreferencesUpgrade:
        return CPreferencesSheet::Upgrade;
    default:
        return -1;
    }
}

int CCommandTable::FromRequest(const QByteArray& request)
{
    if (request == kShowRequest)
        return Show;
    if (request.startsWith("command "))
        return Parse(QString::fromUtf8(request.mid(8)));
    return 0;
}
