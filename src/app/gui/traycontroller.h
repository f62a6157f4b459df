#pragma once

#include "app/gui/systemtray.h"

#include <QObject>

class CCommandRouter;
class CMonitorDisplay;

// The program's two icons in the notification area, the connection icon and the e-mail
// icon: it makes them, shows on them what the monitor reports, and hands their menus'
// commands to the command router.
class CTrayController : public QObject {
    Q_OBJECT
public:
    CTrayController(CMonitorDisplay& display, CCommandRouter& router, QObject* parent = nullptr);

    // Puts the icons up: the connection icon waiting for a call, the e-mail icon hidden.
    void Create();

    CSystemTray& ConnectionTray() { return m_connectionTray; }
    CSystemTray& MailTray() { return m_mailTray; }

private:
    CSystemTray m_connectionTray;
    CSystemTray m_mailTray;
};
