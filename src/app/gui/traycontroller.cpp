#include "app/gui/traycontroller.h"

#include "app/commandrouter.h"
#include "app/traymenus.h"
#include "monitor/connectionmonitor.h"
#include "monitor/monitordisplay.h"

#include <QCoreApplication>

CTrayController::CTrayController(CMonitorDisplay& display, CCommandRouter& router, QObject* parent)
    : QObject(parent)
{
    connect(&display, &CMonitorDisplay::TrayChanged, this,
            [this](CMonitorSink::Picture picture, const QString& tooltip) {
                m_connectionTray.SetTooltipText(tooltip);
                m_connectionTray.SetIcon(picture);
            });
    connect(&display, &CMonitorDisplay::MailTrayShown, this,
            [this](CMonitorSink::Picture picture, const QString& tooltip) {
                m_mailTray.SetIcon(picture);
                m_mailTray.SetTooltipText(tooltip);
                m_mailTray.ShowIcon();
            });
    connect(&router, &CCommandRouter::MailIconHideRequested, this,
            [this] { m_mailTray.HideIcon(); });
    const auto run = [&router](int number) {
        router.Run(static_cast<CCommandTable::Command>(number));
    };
    connect(&m_connectionTray, &CSystemTray::Command, &router, run);
    connect(&m_mailTray, &CSystemTray::Command, &router, run);
}

void CTrayController::Create()
{
    m_connectionTray.Create(CConnectionMonitor::WaitingTooltip(), 0, CTrayMenus::kConnectionMenu);
    m_connectionTray.SetMenuDefaultItem(0, true);
    m_connectionTray.SetIcon(CMonitorSink::PictureWaiting);
    // The same word as the main window's e-mail box, translated with it.
    m_mailTray.Create(QCoreApplication::translate("CMainDlg", "Email"), 0, CTrayMenus::kMailMenu);
    m_mailTray.HideIcon();
    m_mailTray.SetMenuDefaultItem(0, true);
}
