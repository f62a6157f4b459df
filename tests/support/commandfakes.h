#pragma once

#include "app/callcommands.h"
#include "app/commandwindows.h"
#include "app/mainwindowactions.h"

#include <QStringList>

// Stand-ins for what the command router calls; each writes what was asked into one shared
// list ("security", "preferences 4", "hangup asking", "exit without asking", "hangup asking,
// closing itself", ...).

class CRecordingWindows : public CCommandWindows {
public:
    explicit CRecordingWindows(QStringList& log)
        : m_log(log)
    {}

    // What OpenPreferences answers (OK or Cancel).
    bool preferencesAccepted = true;

    void CheckMailNow() override;
    void CheckUpdateNow() override;
    void OpenInetTools() override;
    bool OpenPreferences(CPreferencesSheet::Page page) override;
    void OpenConnections() override;
    void OpenSecurity() override;
    void OpenSchedule() override;
    void OpenReport() override;
    void OpenStatistics() override;

private:
    QStringList& m_log;
};

class CRecordingCallCommands : public CCallCommands {
public:
    explicit CRecordingCallCommands(QStringList& log)
        : m_log(log)
    {}

    void Connect() override;
    void Hangup(CMessageBox::Question ask) override;
    void StartSchedule() override;
    void ReArm() override;

private:
    QStringList& m_log;
};

class CRecordingWindowActions : public CMainWindowActions {
public:
    explicit CRecordingWindowActions(QStringList& log)
        : m_log(log)
    {}

    bool onScreen = false;

    void ShowWindow() override;
    void HideWindow() override;
    void Minimize() override;
    void Exit(CMessageBox::Question ask) override;
    void OpenAbout() override;
    void OpenSummary() override;
    void OpenHelp() override;
    void ClearMailCount() override;
    bool OnScreen() const override;

private:
    QStringList& m_log;
};
