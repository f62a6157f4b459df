#pragma once

#include "monitor/windowplacement.h"

#include <QWidget>

class CSettingsStore;
class CRemoteAccess;
class QListWidget;

// The program's main window. It lives for the whole run, mostly hidden; closing it only
// hides it, and the program ends through Exit().
class CMainDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCommandExit = 1052;

    CMainDlg(CSettingsStore& store, CRemoteAccess* remoteAccess, QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Places the window from the saved position and shows it unless it starts hidden.
    void Open();

    // Ends the program after the exit question (when enabled). The window position is
    // saved whatever the answer.
    void Exit();
    // Remembers where the window is.
    void SaveWindowPosition();
    // Brings the window up, also from minimized or hidden.
    void ShowWindow();

    // Adds a line at the top of the message list.
    void AddMessage(const QString& text);
    QStringList Messages() const;

Q_SIGNALS:
    // The window's run has ended: the program should end.
    void Finished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CSettingsStore& m_store;
    CRemoteAccess* m_remoteAccess;
    CWindowPlacement m_placement;
    QListWidget* m_messages;
    bool m_finished = false;
};
