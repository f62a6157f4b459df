#pragma once

#include "monitor/monitorsink.h"
#include "monitor/placeholderservices.h"
#include "monitor/trafficcounters.h"
#include "monitor/windowplacement.h"

#include <QWidget>

#include <memory>

class CConnectionMonitor;
class CMultimediaSound;
class CRemoteAccess;
class CSettingsStore;
class CSystemTray;
class QLabel;
class QListWidget;

// The program's main window. It lives for the whole run, mostly hidden; closing it only
// hides it, and the program ends through Exit(). It owns the connection monitor, the
// traffic counters and the two tray icons, and shows what the monitor reports.
class CMainDlg : public QWidget, public CMonitorSink {
    Q_OBJECT
public:
    enum Command {
        CommandHangup = 32812,
        CommandShow = 32815,
        CommandHideMailIcon = 32820,
        CommandExit = 1052,
    };

    // `counters` may be null when the counter worker could not start.
    CMainDlg(CSettingsStore& store, CRemoteAccess& remoteAccess,
             std::unique_ptr<CTrafficCounters> counters, QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Creates the tray icons, places the window from the saved position (shown unless it
    // starts hidden), and starts the monitor.
    void Open();

    // Ends the program after the exit question (when enabled). The window position is
    // saved whatever the answer.
    void Exit();
    // Remembers where the window is.
    void SaveWindowPosition();
    // Runs a command by its number (menus, tray icons, requests from outside).
    void RunCommand(int command);

    CConnectionMonitor& Monitor() const { return *m_monitor; }
    CSystemTray& ConnectionTray() const { return *m_connectionTray; }
    CSystemTray& MailTray() const { return *m_mailTray; }
    QStringList Messages() const;
    // The call values as shown: duration, bytes in, bytes out, user, e-mail count.
    QStringList Values() const;

    // What the monitor shows.
    void AddMessage(const QString& text) override;
    void SetTray(int picture, const QString& tooltip) override;
    void ShowMailTray(int picture, const QString& tooltip) override;
    void SetTitle(const QString& title) override;
    void SetCallValues(const QString& duration, const QString& bytesIn,
                       const QString& bytesOut) override;
    void SetMailCount(const QString& text) override;
    void ShowWindow() override;
    void HideWindow() override;

Q_SIGNALS:
    // The window's run has ended: the program should end.
    void Finished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* AddValue(class QGridLayout* grid, int row, const QString& label, const QString& value);

    CSettingsStore& m_store;
    CRemoteAccess& m_remoteAccess;
    std::unique_ptr<CTrafficCounters> m_counters;
    std::unique_ptr<CMultimediaSound> m_sound;
    CPlaceholderServices m_services;
    std::unique_ptr<CConnectionMonitor> m_monitor;
    std::unique_ptr<CSystemTray> m_connectionTray;
    std::unique_ptr<CSystemTray> m_mailTray;
    CWindowPlacement m_placement;
    QListWidget* m_messages;
    QLabel* m_duration;
    QLabel* m_bytesIn;
    QLabel* m_bytesOut;
    QLabel* m_user;
    QLabel* m_mailCount;
    bool m_finished = false;
};
