#include "monitor/monitordisplay.h"

CMonitorDisplay::CMonitorDisplay(QObject* parent)
    : QObject(parent)
{}

void CMonitorDisplay::AddMessage(const QString& text)
{
    Q_EMIT MessageAdded(text);
}

void CMonitorDisplay::SetTray(Picture picture, const QString& tooltip)
{
    Q_EMIT TrayChanged(picture, tooltip);
}

void CMonitorDisplay::ShowMailTray(Picture picture, const QString& tooltip)
{
    Q_EMIT MailTrayShown(picture, tooltip);
}

void CMonitorDisplay::SetTitle(const QString& title)
{
    Q_EMIT TitleChanged(title);
}

void CMonitorDisplay::SetCallValues(const QString& duration, const QString& bytesIn,
                                    const QString& bytesOut)
{
    Q_EMIT CallValuesChanged(duration, bytesIn, bytesOut);
}

void CMonitorDisplay::SetMailCount(const QString& text)
{
    Q_EMIT MailCountChanged(text);
}

void CMonitorDisplay::ShowWindow()
{
    Q_EMIT ShowRequested();
}

void CMonitorDisplay::HideWindow()
{
    Q_EMIT HideRequested();
}
