#include "app/generaloptions.h"

#include "app/apppaths.h"
#include "app/autostart.h"
#include "app/logmover.h"
#include "app/settingsstore.h"

namespace {
const QString kSettings = QStringLiteral("Settings");

bool Flag(const CSettingsStore& store, const char* key, int defaultValue)
{
    return store.ReadInt(kSettings, QLatin1String(key), defaultValue) == 1;
}
} // namespace

CGeneralOptions CGeneralOptions::Load(const CSettingsStore& store)
{
    CGeneralOptions options;
    options.logFolder =
        store.ReadString(kSettings, QStringLiteral("IniPath"), CAppPaths::DefaultLogFolder(store));
    options.startWithDesktop = Flag(store, "StartWhenWindows", 1);
    options.showMainWindow = Flag(store, "HideOnStart", 1);
    options.showSplash = Flag(store, "ShowSplash", 1);
    options.showWhenConnected = Flag(store, "ShowWhenConnected", 0);
    options.confirmHangup = Flag(store, "ConfirmHangup", 1);
    options.confirmExit = Flag(store, "ConfirmExit", 1);
    return options;
}

void CGeneralOptions::Store(CSettingsStore& store, const QString& executable) const
{
    // The move never overwrites a log already in the new folder: then that file becomes
    // the log and the old one stays where it was.
    CLogMover::Move(CAppPaths::LogFile(store), CAppPaths::LogFileIn(store, logFolder));
    store.WriteString(kSettings, QStringLiteral("IniPath"), logFolder);

    store.WriteInt(kSettings, QStringLiteral("StartWhenWindows"), startWithDesktop ? 1 : 0);
    CAutostart::Set(startWithDesktop, executable);

    store.WriteInt(kSettings, QStringLiteral("ConfirmHangup"), confirmHangup ? 1 : 0);
    store.WriteInt(kSettings, QStringLiteral("ConfirmExit"), confirmExit ? 1 : 0);
    store.WriteInt(kSettings, QStringLiteral("HideOnStart"), showMainWindow ? 1 : 0);
    store.WriteInt(kSettings, QStringLiteral("ShowSplash"), showSplash ? 1 : 0);
    store.WriteInt(kSettings, QStringLiteral("ShowWhenConnected"), showWhenConnected ? 1 : 0);
}
