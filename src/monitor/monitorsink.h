#pragma once

#include <QString>

// What the connection monitor shows. CMonitorDisplay passes it on as signals; tests record it.
class CMonitorSink {
public:
    // Pictures of the two tray icons.
    enum Picture {
        PictureWaiting = 297,
        PictureConnected = 301,
        PictureMail = 193,
        PictureMailError = 194
    };

    virtual ~CMonitorSink();

    virtual void AddMessage(const QString& text) = 0;
    virtual void SetTray(Picture picture, const QString& tooltip) = 0;
    // Sets the e-mail icon's picture and tooltip and shows it.
    virtual void ShowMailTray(Picture picture, const QString& tooltip) = 0;
    virtual void SetTitle(const QString& title) = 0;
    // The call values of the main window: "Duration:", "Bytes in:", "Bytes out:".
    virtual void SetCallValues(const QString& duration, const QString& bytesIn,
                               const QString& bytesOut) = 0;
    // The "Email count:" value.
    virtual void SetMailCount(const QString& text) = 0;
    virtual void ShowWindow() = 0;
    virtual void HideWindow() = 0;
};
