#include "app/gui/mainwindowholder.h"

#include "app/gui/maindlg.h"
#include "app/gui/trayhost.h"
#include "app/gui/windowplacement.h"
#include "app/programend.h"
#include "gui/helpopener.h"
#include "monitor/monitordisplay.h"

CMainWindowHolder::CMainWindowHolder(CSettingsStore& store, CProgramEnd& end,
                                     CMonitorDisplay& display)
    : m_store(store)
    , m_end(end)
    , m_display(display)
{
    m_recording = {
        connect(&display, &CMonitorDisplay::MessageAdded, this,
                [this](const QString& text) { m_messages.append(text); }),
        connect(&display, &CMonitorDisplay::TitleChanged, this,
                [this](const QString& title) { m_title = title; }),
        connect(&display, &CMonitorDisplay::CallValuesChanged, this,
                [this](const QString& duration, const QString& bytesIn, const QString& bytesOut) {
                    m_callValues = {duration, bytesIn, bytesOut};
                }),
        connect(&display, &CMonitorDisplay::MailCountChanged, this,
                [this](const QString& text) { m_mailCount = text; }),
        connect(&display, &CMonitorDisplay::ShowRequested, this, &CMainWindowHolder::ShowWindow),
    };
}

CMainWindowHolder::~CMainWindowHolder() = default;

void CMainWindowHolder::Open(bool trayAvailable)
{
    m_trayAvailable = trayAvailable;
    if (CTrayHost::Headless())
        return;
    CWindowPlacement placement(m_store);
    placement.Load();
    if (!placement.StartHidden() || !trayAvailable)
        Window();
}

CMainDlg& CMainWindowHolder::Window()
{
    if (m_window)
        return *m_window;
    // From now on the window follows the monitor itself.
    for (const QMetaObject::Connection& connection : std::as_const(m_recording))
        disconnect(connection);
    m_recording.clear();
    m_window = std::make_unique<CMainDlg>(m_store, m_end, m_display);
    connect(m_window.get(), &CMainDlg::Finished, this, &CMainWindowHolder::Finished);
    connect(m_window.get(), &CMainDlg::CommandChosen, this, &CMainWindowHolder::CommandChosen);
    for (const QString& line : std::as_const(m_messages))
        m_window->AddMessage(line);
    m_window->Open(m_trayAvailable);
    if (!m_title.isEmpty())
        m_window->SetTitle(m_title);
    if (m_callValues.size() == 3)
        m_window->SetCallValues(m_callValues[0], m_callValues[1], m_callValues[2]);
    if (!m_mailCount.isEmpty())
        m_window->SetMailCount(m_mailCount);
    m_messages.clear();
    return *m_window;
}

QString CMainWindowHolder::Quit()
{
    if (m_window)
        return m_window->Quit();
    m_end.StopCounters();
    SaveWindowPosition();
    return Finish();
}

void CMainWindowHolder::SaveWindowPosition()
{
    // As the window would have saved it: its place from the opening, and minimized when it
    // started hidden.
    CWindowPlacement placement(m_store);
    placement.Load();
    placement.Save(placement.Remembered(), placement.StartHidden());
}

QString CMainWindowHolder::Finish()
{
    const QString note = m_end.Finish();
    Q_EMIT Finished();
    return note;
}

void CMainWindowHolder::ShowWindow()
{
    Window().ShowWindow();
}

void CMainWindowHolder::HideWindow()
{
    if (m_window)
        m_window->HideWindow();
}

void CMainWindowHolder::Minimize()
{
    Window().Minimize();
}

void CMainWindowHolder::Exit(CMessageBox::Question ask)
{
    if (m_window) {
        m_window->Exit(ask);
        return;
    }
    // Ending the run needs no window: none is built for it.
    const bool leave = m_end.MayLeave(ask);
    SaveWindowPosition();
    if (!leave)
        return;
    CProgramEnd::TellWaiting(Finish(), ask);
}

void CMainWindowHolder::OpenAbout()
{
    Window().OpenAbout();
}

void CMainWindowHolder::OpenSummary()
{
    Window().OpenSummary();
}

void CMainWindowHolder::OpenHelp()
{
    CHelpOpener::Open();
}

void CMainWindowHolder::ClearMailCount()
{
    if (m_window)
        m_window->ClearMailCount();
    else
        m_mailCount = QStringLiteral("0");
}

bool CMainWindowHolder::OnScreen() const
{
    return m_window && m_window->OnScreen();
}
