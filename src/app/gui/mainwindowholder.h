#pragma once

#include "app/commandtable.h"
#include "app/mainwindowactions.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CMainDlg;
class CMonitorDisplay;
class CProgramEnd;
class CSettingsStore;

// Holds the main window and builds it when it is first needed: shown (at start when it is to
// be seen there, by a command, by the monitor), or asked for by a command that works with it.
// Until then it keeps what the monitor showed (the lines, the title, the values, the e-mail
// count) and hands that to the window once it exists. Where nothing can be seen (offscreen)
// nothing is built at start.
class CMainWindowHolder : public QObject, public CMainWindowActions {
    Q_OBJECT
public:
    CMainWindowHolder(CSettingsStore& store, CProgramEnd& end, CMonitorDisplay& display);
    ~CMainWindowHolder() override;

    // Opens the window now when it is to be seen at start (shown, or minimized when there is
    // no notification area); otherwise it waits until something needs it.
    void Open(bool trayAvailable);
    // The window, built now if it was not yet.
    CMainDlg& Window();
    bool Built() const { return m_window != nullptr; }

    // Ends the program as CMainDlg::Quit() does; ending builds no window.
    QString Quit();

    void ShowWindow() override;
    void HideWindow() override;
    void Minimize() override;
    void Exit(CMessageBox::Question ask) override;
    void OpenAbout() override;
    void OpenSummary() override;
    void OpenHelp() override;
    void ClearMailCount() override;
    bool OnScreen() const override;

Q_SIGNALS:
    // The window's run has ended: the program should end.
    void Finished();
    // The window's buttons, menus, keys or title strip chose a command.
    void CommandChosen(CCommandTable::Command command);

private:
    // What the window does at the end of the run, for a window that was never built.
    void SaveWindowPosition();
    QString Finish();

    CSettingsStore& m_store;
    CProgramEnd& m_end;
    CMonitorDisplay& m_display;
    std::unique_ptr<CMainDlg> m_window;
    bool m_trayAvailable = false;
    // What the monitor showed before the window existed.
    QList<QMetaObject::Connection> m_recording;
    QStringList m_messages;
    QString m_title;
    QStringList m_callValues;
    QString m_mailCount;
};
