#pragma once

#include "app/commandtable.h"
#include "app/shellcommandquestion.h"
#include "common/messagebox.h"

#include <QByteArray>
#include <QObject>

#include <functional>

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

    // Runs a command (an alias runs its command); `ask` says how its question is asked
    // (exit, hang-up).
    void Run(CCommandTable::Command command,
             CMessageBox::Question ask = CMessageBox::Question::Waiting);
    // A request from another start of the program: "12345" shows the window, "command N"
    // runs command N, asking its question as CShellCommandQuestion says for where the
    // program runs. False for anything else.
    bool HandleRequest(const QByteArray& request);
    // Where the program runs, as requests see it (tests give their own).
    void SetPlace(std::function<CShellCommandQuestion::Place()> place)
    {
        m_place = std::move(place);
    }

Q_SIGNALS:
    // The e-mail icon is to go away ("Hide" of its menu).
    void MailIconHideRequested();

private:
    CCommandWindows& m_windows;
    CCallCommands& m_call;
    CMainWindowActions& m_window;
    std::function<CShellCommandQuestion::Place()> m_place = &CShellCommandQuestion::Here;
};
