#pragma once

#include "app/commandtable.h"
#include "app/gui/titlestrip.h"
#include "app/gui/windowplacement.h"
#include "app/mainwindowactions.h"
#include "gui/quicktitle.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class CAboutDlg;
class CMessageListModel;
class CProgramEnd;
class CMonitorDisplay;
class CSettingsStore;
class CSummaryDlg;
class QDialog;
class QGridLayout;
class QLabel;
class QTreeView;
class QMenuBar;
class QToolButton;

// The program's main window: a small, fixed, dark window without the desktop's frame. It
// lives for the whole run, mostly hidden; closing it only hides it, and the program ends
// through Exit(). It draws what the monitor reports through the display, and hands what its
// buttons, menus and keys choose to whoever listens to CommandChosen().
class CMainDlg : public QWidget, public CMainWindowActions {
    Q_OBJECT
public:
    // The size at the default font; longer texts and larger fonts make the window larger.
    static constexpr int kWidth = 391;
    static constexpr int kHeight = 292;

    // `end` decides and does what ending the run takes; the window saves its place and
    // tells the user.
    CMainDlg(CSettingsStore& store, CProgramEnd& end, CMonitorDisplay& display,
             QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Places the window from the saved position (shown unless it starts hidden; minimized
    // instead when there is no notification area to come back from) and shows the user.
    void Open(bool trayAvailable);

    // Ends the program after the exit question (when enabled, asked as `ask` says). The window
    // position is saved whatever the answer.
    void Exit(CMessageBox::Question ask = CMessageBox::Question::Waiting) override;
    // Ends the program as Exit() does, without asking (the session ends, a signal came).
    // Returns what the user should know about records still waiting for the log (empty
    // when there are none).
    QString Quit();
    // Remembers where the window is.
    void SaveWindowPosition();

    QMenuBar* MenuBar() const { return m_menuBar; }
    QStringList Messages() const;
    // The values as shown: duration, bytes in, bytes out, user, e-mail count.
    QStringList Values() const;
    // Adds a line on top of the message list.
    void AddMessage(const QString& text);
    // The call's values. They reach the labels only while the window can be seen; a window
    // that cannot is brought up to date when it shows.
    void SetCallValues(const QString& duration, const QString& bytesIn, const QString& bytesOut);
    void SetMailCount(const QString& text);
    // The title the monitor shows (the call's duration); a hidden window takes it when it
    // shows.
    void SetTitle(const QString& title);

    // What commands ask of the window.
    void ShowWindow() override;
    void HideWindow() override;
    void Minimize() override;
    void OpenAbout() override;
    void OpenSummary() override;
    void OpenHelp() override;
    void ClearMailCount() override;
    bool OnScreen() const override;

Q_SIGNALS:
    // The window's run has ended: the program should end.
    void Finished();
    // A button, a menu item, a key or the title strip chose a command.
    void CommandChosen(CCommandTable::Command command);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildMenuBar();
    void BuildButtons();
    // Puts the call's values held back while the window could not be seen on its labels.
    void CatchUp();
    // Places the widgets and sizes the window to what their texts need.
    void Arrange(QWidget* info, QWidget* mail);
    static QLabel* ValueLabel(const QString& value);
    QLabel* AddValue(QGridLayout* grid, int row, const QString& label, const QString& value);
    void Present(QDialog* window);
    // The end of the run once it is decided: the monitor's last words, then Finished().
    // Returns the note on records still waiting for the log.
    QString Finish();

    CSettingsStore& m_store;
    CProgramEnd& m_end;
    CWindowPlacement m_placement;
    CMessageListModel* m_messages;
    QTreeView* m_messageView;
    QMenuBar* m_menuBar;
    // Made once: an icon keeps the pictures it rendered, so a paint does not read the SVG
    // files again.
    const QIcon m_minimizeGlyph{QStringLiteral(":/images/title-minimize.svg")};
    const QIcon m_hideGlyph{QStringLiteral(":/images/title-hide.svg")};
    const QIcon m_logo{QStringLiteral(":/images/logo.svg")};
    QLabel* m_duration;
    QLabel* m_bytesIn;
    QLabel* m_bytesOut;
    QLabel* m_user;
    QLabel* m_mailCount;
    static constexpr int kButtonCount = 8;
    std::array<QToolButton*, kButtonCount> m_buttons{};
    QToolButton* m_hide = nullptr;
    CTitleStrip::Area m_pressed = CTitleStrip::Area::None;
    bool m_finished = false;
    // The call's latest values: duration, bytes in, bytes out; stale while the labels show
    // older ones.
    QStringList m_callValues;
    bool m_valuesStale = false;
    // Every title after the first goes through here (see CQuickTitle).
    CQuickTitle m_quickTitle{this};
    QString m_title;
    bool m_titleStale = false;
    // False while a window that started hidden has not been shown yet.
    bool m_shownSinceOpen = false;
    QPointer<CAboutDlg> m_about;
    QPointer<CSummaryDlg> m_summary;
};
