#pragma once

#include "monitor/monitorservices.h"
#include "monitor/monitorsink.h"
#include "sound/soundplayer.h"

#include <QList>
#include <QStringList>

// Stand-ins for what the connection monitor talks to, recording what it did. The dial-up
// service is CScriptedRemoteAccess (support/scriptedremoteaccess.h).

class CRecordingSink : public CMonitorSink {
public:
    QStringList messages; // newest first
    int picture = 0;
    QString tooltip;
    QString title;
    QStringList values{3}; // duration, bytes in, bytes out
    int mailPicture = 0;
    QString mailTooltip;
    QString mailCount;
    int shows = 0;
    int hides = 0;

    void AddMessage(const QString& text) override;
    void SetTray(Picture picture, const QString& tooltip) override;
    void ShowMailTray(Picture picture, const QString& tooltip) override;
    void SetTitle(const QString& title) override;
    void SetCallValues(const QString& duration, const QString& bytesIn,
                       const QString& bytesOut) override;
    void SetMailCount(const QString& text) override;
    void ShowWindow() override;
    void HideWindow() override;
};

class CRecordingServices : public CMonitorServices {
public:
    int dials = 0;
    // Of those, the ones the program asked for itself.
    int programDials = 0;
    int mailChecks = 0;
    int upgradeChecks = 0;
    int scheduleResult = 0;

    void DialDefaultConnection(DialAsker asker) override;
    void StartMailCheckWorker() override;
    void StartUpgradeCheck() override;
    int ScheduleTick() override;
};

class CRecordingSound : public CSoundPlayer {
public:
    QStringList played; // "beeps N" or the file

    void PlayBeeps(int times) override;
    void PlayFile(const QString& path) override;
};
