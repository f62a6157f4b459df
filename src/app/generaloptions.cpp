#include "app/generaloptions.h"

#include <QCoreApplication>

#include "app/autostart.h"
#include "app/logmover.h"
#include "common/apppaths.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"

namespace {
bool Flag(const CSettingsStore& store, const CIntKey& key)
{
    return store.Read(key) == 1;
}
} // namespace

CGeneralOptions CGeneralOptions::Load(const CSettingsStore& store)
{
    CGeneralOptions options;
    options.logFolder = store.Read(Keys::IniPath, CAppPaths::DefaultLogFolder(store));
    if (!CAppPaths::IsValidFolderText(options.logFolder))
        options.logFolder = CAppPaths::DefaultLogFolder(store);
    options.startWithDesktop = Flag(store, Keys::StartWhenWindows);
    options.showMainWindow = Flag(store, Keys::HideOnStart);
    options.showSplash = Flag(store, Keys::ShowSplash);
    options.showWhenConnected = Flag(store, Keys::ShowWhenConnected);
    options.confirmHangup = Flag(store, Keys::ConfirmHangup);
    options.confirmExit = Flag(store, Keys::ConfirmExit);
    return options;
}

bool CGeneralOptions::Store(CSettingsStore& store, const QString& executable) const
{
    const bool folderValid = CAppPaths::IsValidFolderText(logFolder);
    if (folderValid) {
        // The move never overwrites a log already in the new folder: then that file
        // becomes the log and the old one stays where it was.
        CLogMover::Move(CAppPaths::LogFile(store), CAppPaths::LogFileIn(store, logFolder));
        store.Write(Keys::IniPath, logFolder);
    } else {
        CMessageBox::Error(
            QCoreApplication::translate("CGeneralOptions",
                                        "The log folder cannot hold a line break or a NUL "
                                        "character. The log stays in %1; choose another "
                                        "folder to move it.")
                .arg(CAppPaths::LogFolder(store)));
    }

    store.Write(Keys::StartWhenWindows, startWithDesktop ? 1 : 0);
    CAutostart::Set(startWithDesktop, executable);

    store.Write(Keys::ConfirmHangup, confirmHangup ? 1 : 0);
    store.Write(Keys::ConfirmExit, confirmExit ? 1 : 0);
    store.Write(Keys::HideOnStart, showMainWindow ? 1 : 0);
    store.Write(Keys::ShowSplash, showSplash ? 1 : 0);
    store.Write(Keys::ShowWhenConnected, showWhenConnected ? 1 : 0);
    return folderValid;
}
