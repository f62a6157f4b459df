#pragma once

#include "monitor/monitorsink.h"

#include <QObject>
#include <QString>

// What the connection monitor shows, passed on as signals: the main window draws the list,
// the title and the values, the tray controller the icons. Neither has to be there.
class CMonitorDisplay : public QObject, public CMonitorSink {
    Q_OBJECT
public:
    explicit CMonitorDisplay(QObject* parent = nullptr);

    void AddMessage(const QString& text) override;
    void SetTray(Picture picture, const QString& tooltip) override;
    void ShowMailTray(Picture picture, const QString& tooltip) override;
    void SetTitle(const QString& title) override;
    void SetCallValues(const QString& duration, const QString& bytesIn,
                       const QString& bytesOut) override;
    void SetMailCount(const QString& text) override;
    void ShowWindow() override;
    void HideWindow() override;

Q_SIGNALS:
    void MessageAdded(const QString& text);
    void TrayChanged(CMonitorSink::Picture picture, const QString& tooltip);
    void MailTrayShown(CMonitorSink::Picture picture, const QString& tooltip);
    void TitleChanged(const QString& title);
    void CallValuesChanged(const QString& duration, const QString& bytesIn,
                           const QString& bytesOut);
    void MailCountChanged(const QString& text);
    void ShowRequested();
    void HideRequested();
};
