#pragma once

#include "monitor/monitorsink.h"
#include "gui/titlestrip.h"
#include "gui/windowplacement.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class CAboutDlg;
class CCommandWindows;
class CConnectionMonitor;
class CMessageListModel;
class CMonitorServices;
class CRemoteAccess;
class CSettingsStore;
class CSoundPlayer;
class CSummaryDlg;
class CSystemTray;
class CTrafficCounters;
class QDialog;
class QGridLayout;
class QLabel;
class QTreeView;
class QMenuBar;

// What the main window works with. The program's start-up builds these (tests build
// fakes) and keeps them alive for as long as the window lives.
struct CMainDlgParts {
    CSettingsStore& store;
    CRemoteAccess& remoteAccess;
    CTrafficCounters* counters; // null when the counter worker could not start
    CSoundPlayer& sound;
    CSystemTray& connectionTray;
    CSystemTray& mailTray;
    CMonitorServices& services; // dialing, mail and upgrade checks, schedules
    CCommandWindows& windows;   // the windows that commands open
};

// The program's main window: a small, fixed, dark window without the desktop's frame. It
// lives for the whole run, mostly hidden; closing it only hides it, and the program ends
// through Exit(). It runs the connection monitor over the parts it is given, shows what the
// monitor reports, and runs the numbered commands.
class CMainDlg : public QWidget, public CMonitorSink {
    Q_OBJECT
public:
    static constexpr int kWidth = 391;
    static constexpr int kHeight = 292;

    explicit CMainDlg(const CMainDlgParts& parts, QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Creates the tray icons, places the window from the saved position (shown unless it
    // starts hidden), and starts the monitor.
    void Open();

    // Ends the program after the exit question (when enabled and `ask`). The window
    // position is saved whatever the answer.
    void Exit();
    void Exit(bool ask);
    // Ends the program as Exit() does, without asking (the session ends, a signal came).
    // Returns what the user should know about records still waiting for the log (empty
    // when there are none).
    QString Quit();
    // Remembers where the window is.
    void SaveWindowPosition();
    // Runs a command by its number (buttons, menus, tray icons, requests from outside).
    void RunCommand(int command);
    // A request from another start of the program: "12345" shows the window, "command N"
    // runs command N; such a command asks its question (exit, hang-up) only while the
    // window is on screen. False for anything else.
    bool HandleRequest(const QByteArray& request);

    CConnectionMonitor& Monitor() const { return *m_monitor; }
    CSystemTray& ConnectionTray() const { return m_connectionTray; }
    CSystemTray& MailTray() const { return m_mailTray; }
    QMenuBar* MenuBar() const { return m_menuBar; }
    QStringList Messages() const;
    // The values as shown: duration, bytes in, bytes out, user, e-mail count.
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
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildMenuBar();
    void BuildButtons();
    QLabel* AddValue(QGridLayout* grid, int row, const QString& label, const QString& value);
    void OpenHelp();
    void OpenAbout();
    void OpenSummary();
    void Present(QDialog* window);
    void Minimize();
    // The end of the run once it is decided: the monitor's last words, then Finished().
    void Finish();
    // Runs a command; `mayAsk` false runs it without its question.
    void Run(int command, bool mayAsk);
    // Whether the window can be seen: shown, not minimized, on a real display.
    bool OnScreen() const;

    CSettingsStore& m_store;
    CTrafficCounters* m_counters;
    CMonitorServices& m_services;
    CCommandWindows& m_windows;
    std::unique_ptr<CConnectionMonitor> m_monitor;
    CSystemTray& m_connectionTray;
    CSystemTray& m_mailTray;
    CWindowPlacement m_placement;
    CMessageListModel* m_messages;
    QTreeView* m_messageView;
    QMenuBar* m_menuBar;
    QLabel* m_duration;
    QLabel* m_bytesIn;
    QLabel* m_bytesOut;
    QLabel* m_user;
    QLabel* m_mailCount;
    CTitleStrip::Area m_pressed = CTitleStrip::Area::None;
    bool m_finished = false;
    // False while a window that started hidden has not been shown yet.
    bool m_shownSinceOpen = false;
    QPointer<CAboutDlg> m_about;
    QPointer<CSummaryDlg> m_summary;
};
