#include "monitor/maindlg.h"

#include "app/settingsstore.h"
#include "app/username.h"
#include "common/messagebox.h"
#include "monitor/connectionmonitor.h"
#include "monitor/trafficcounters.h"
#include "tray/systemtray.h"
#include "ui/multimediasound.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QVBoxLayout>

CMainDlg::CMainDlg(CSettingsStore& store, CRemoteAccess& remoteAccess,
                   std::unique_ptr<CTrafficCounters> counters, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_remoteAccess(remoteAccess)
    , m_counters(std::move(counters))
    , m_sound(std::make_unique<CMultimediaSound>())
    , m_monitor(std::make_unique<CConnectionMonitor>(store, remoteAccess, m_counters.get(), *this,
                                                     m_services, *m_sound))
    , m_connectionTray(std::make_unique<CSystemTray>())
    , m_mailTray(std::make_unique<CSystemTray>())
    , m_placement(store)
    , m_messages(new QListWidget)
{
    setWindowTitle(CConnectionMonitor::kIdleTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/orvalis.svg")));
    setObjectName(QStringLiteral("CMainDlg"));
    setStyleSheet(
        QStringLiteral("#CMainDlg { background: #262626; } QLabel { color: white; }"
                       "QGroupBox { color: white; }"
                       "QListWidget { background: rgb(70,70,70); color: rgb(0,200,0); }"));

    auto* menuBar = new QMenuBar(this);
    connect(menuBar->addAction(QStringLiteral("Hangup")), &QAction::triggered, this,
            [this] { RunCommand(CommandHangup); });
    connect(menuBar->addAction(QStringLiteral("Exit")), &QAction::triggered, this,
            [this] { RunCommand(CommandExit); });

    auto* info = new QGroupBox(QStringLiteral("Connection info"));
    auto* grid = new QGridLayout(info);
    m_duration = AddValue(grid, 0, QStringLiteral("Duration :"), QStringLiteral("00:00:00"));
    m_bytesIn = AddValue(grid, 1, QStringLiteral("Bytes in :"), QStringLiteral("0"));
    m_bytesOut = AddValue(grid, 2, QStringLiteral("Bytes out:"), QStringLiteral("0"));
    m_user = AddValue(grid, 3, QStringLiteral("User"), QStringLiteral("Admin"));
    auto* mail = new QGroupBox(QStringLiteral("Email"));
    auto* mailGrid = new QGridLayout(mail);
    m_mailCount = AddValue(mailGrid, 0, QStringLiteral("Email count :"), QStringLiteral("0"));

    for (QGridLayout* values : {grid, mailGrid}) {
        values->setContentsMargins(8, 4, 8, 4);
        values->setVerticalSpacing(2);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->setMenuBar(menuBar);
    layout->addWidget(info);
    layout->addWidget(mail);
    layout->addWidget(m_messages, 1);

    connect(m_connectionTray.get(), &CSystemTray::Command, this, &CMainDlg::RunCommand);
    connect(m_mailTray.get(), &CSystemTray::Command, this, &CMainDlg::RunCommand);
}

CMainDlg::~CMainDlg()
{
    m_monitor->Shutdown();
}

QLabel* CMainDlg::AddValue(QGridLayout* grid, int row, const QString& label, const QString& value)
{
    auto* shown = new QLabel(value);
    grid->addWidget(new QLabel(label), row, 0);
    grid->addWidget(shown, row, 1);
    return shown;
}

void CMainDlg::Open()
{
    m_connectionTray->Create(CConnectionMonitor::kWaitingTooltip, 0, 173);
    m_connectionTray->SetMenuDefaultItem(0, true);
    m_connectionTray->SetIcon(PictureWaiting);
    m_mailTray->Create(QStringLiteral("Email"), 0, 193);
    m_mailTray->HideIcon();
    m_mailTray->SetMenuDefaultItem(0, true);

    m_placement.Load();
    setGeometry(m_placement.Remembered());
    // Without a notification area the window is the only way in: a window that should
    // start hidden starts minimized instead.
    if (!m_placement.StartHidden())
        show();
    else if (!m_connectionTray->IsAvailable())
        showMinimized();

    const QString user = CUserName::Current();
    m_user->setText(user);
    AddMessage(QStringLiteral("System messages will go here!"));
    AddMessage(QStringLiteral("Welcome to Orvalis!"));
    m_monitor->Start(user);
}

void CMainDlg::Exit()
{
    const bool confirm =
        m_store.ReadInt(QStringLiteral("Settings"), QStringLiteral("ConfirmExit"), 1) == 1;
    const bool leave =
        !confirm ||
        CMessageBox::Ask(QStringLiteral("You are about to exit Orvalis. Are you sure ?"));
    if (leave) {
        if (m_counters) {
            m_counters->Cancel();
            if (m_counters->Busy())
                CMessageBox::Inform(
                    QStringLiteral("still can't terinate inet -=- panic!!! help!!!"));
        }
    }
    SaveWindowPosition();
    if (!leave)
        return;
    m_monitor->Shutdown();
    m_finished = true;
    hide();
    Q_EMIT Finished();
}

void CMainDlg::SaveWindowPosition()
{
    m_placement.Save(geometry(), isMinimized());
}

void CMainDlg::RunCommand(int command)
{
    switch (command) {
    case CommandHangup:
        m_monitor->HangupCommand();
        break;
    case CommandShow:
        ShowWindow();
        break;
    case CommandHideMailIcon:
        m_mailTray->HideIcon();
        m_mailCount->setText(QStringLiteral("0"));
        break;
    case CommandExit:
        Exit();
        break;
    default:
        // The windows of the other commands arrive with their own features.
        break;
    }
}

QStringList CMainDlg::Messages() const
{
    QStringList lines;
    for (int i = 0; i < m_messages->count(); ++i)
        lines.append(m_messages->item(i)->text());
    return lines;
}

QStringList CMainDlg::Values() const
{
    return {m_duration->text(), m_bytesIn->text(), m_bytesOut->text(), m_user->text(),
            m_mailCount->text()};
}

void CMainDlg::AddMessage(const QString& text)
{
    m_messages->insertItem(0, text);
}

void CMainDlg::SetTray(int picture, const QString& tooltip)
{
    m_connectionTray->SetTooltipText(tooltip);
    m_connectionTray->SetIcon(picture);
}

void CMainDlg::ShowMailTray(int picture, const QString& tooltip)
{
    m_mailTray->SetIcon(picture);
    m_mailTray->SetTooltipText(tooltip);
    m_mailTray->ShowIcon();
}

void CMainDlg::SetTitle(const QString& title)
{
    setWindowTitle(title);
}

void CMainDlg::SetCallValues(const QString& duration, const QString& bytesIn,
                             const QString& bytesOut)
{
    m_duration->setText(duration);
    m_bytesIn->setText(bytesIn);
    m_bytesOut->setText(bytesOut);
}

void CMainDlg::SetMailCount(const QString& text)
{
    m_mailCount->setText(text);
}

void CMainDlg::ShowWindow()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void CMainDlg::HideWindow()
{
    hide();
}

void CMainDlg::closeEvent(QCloseEvent* event)
{
    if (m_finished) {
        event->accept();
        return;
    }
    // Closing only hides the window: the monitor goes on in the background.
    SaveWindowPosition();
    if (m_counters)
        m_counters->Cancel();
    hide();
    event->ignore();
}
