#pragma once

#include "app/commandtable.h"

#include <QByteArray>
#include <QObject>

class CCallCommands;
class CCommandWindows;
class CMainWindowActions;

// Runs the numbered commands, wherever they come from: the main window's buttons and menus,
// the tray icons, and requests from other starts of the program.
class CCommandRouter : public QObject {
    Q_OBJECT
public:
    CCommandRouter(CCommandWindows& windows, CCallCommands& call, CMainWindowActions& window,
                   QObject* parent = nullptr);

    // Runs a command (an alias runs its command); `mayAsk` false runs it without its
    // question (exit, hang-up).
    void Run(CCommandTable::Command command, bool mayAsk = true);
    // A request from another start of the program: "12345" shows the window, "command N"
    // runs command N; such a command asks its question only while the window is on screen.
    // False for anything else.
    bool HandleRequest(const QByteArray& request);

Q_SIGNALS:
    // The e-mail icon is to go away ("Hide" of its menu).
    void MailIconHideRequested();

private:
    CCommandWindows& m_windows;
    CCallCommands& m_call;
    CMainWindowActions& m_window;
};
