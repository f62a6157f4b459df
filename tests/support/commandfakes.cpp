#include "support/commandfakes.h"

namespace {

QString Asking(CMessageBox::Question ask)
{
    switch (ask) {
    case CMessageBox::Question::None:
        break;
    case CMessageBox::Question::Waiting:
        return QStringLiteral(" asking");
    case CMessageBox::Question::SelfClosing:
        return QStringLiteral(" asking, closing itself");
    }
    return QStringLiteral(" without asking");
}

} // namespace

void CRecordingWindows::CheckMailNow()
{
    m_log << QStringLiteral("mail");
}

void CRecordingWindows::CheckUpdateNow()
{
    m_log << QStringLiteral("update");
}

void CRecordingWindows::OpenInetTools()
{
    m_log << QStringLiteral("tools");
}

bool CRecordingWindows::OpenPreferences(CPreferencesSheet::Page page)
{
    m_log << QStringLiteral("preferences %1").arg(int(page));
    return preferencesAccepted;
}

void CRecordingWindows::OpenConnections()
{
    m_log << QStringLiteral("connections");
}

void CRecordingWindows::OpenSecurity()
{
    m_log << QStringLiteral("security");
}

void CRecordingWindows::OpenSchedule()
{
    m_log << QStringLiteral("schedule");
}

void CRecordingWindows::OpenReport()
{
    m_log << QStringLiteral("report");
}

void CRecordingWindows::OpenStatistics()
{
    m_log << QStringLiteral("statistics");
}

void CRecordingCallCommands::Connect()
{
    m_log << QStringLiteral("connect");
}

void CRecordingCallCommands::Hangup(CMessageBox::Question ask)
{
    m_log << QStringLiteral("hangup") + Asking(ask);
}

void CRecordingCallCommands::StartSchedule()
{
    m_log << QStringLiteral("schedule timer");
}

void CRecordingCallCommands::ReArm()
{
    m_log << QStringLiteral("rearm");
}

void CRecordingWindowActions::ShowWindow()
{
    m_log << QStringLiteral("show");
}

void CRecordingWindowActions::HideWindow()
{
    m_log << QStringLiteral("hide");
}

void CRecordingWindowActions::Minimize()
{
    m_log << QStringLiteral("minimize");
}

void CRecordingWindowActions::Exit(CMessageBox::Question ask)
{
    m_log << QStringLiteral("exit") + Asking(ask);
}

void CRecordingWindowActions::OpenAbout()
{
    m_log << QStringLiteral("about");
}

void CRecordingWindowActions::OpenSummary()
{
    m_log << QStringLiteral("summary");
}

void CRecordingWindowActions::OpenHelp()
{
    m_log << QStringLiteral("help");
}

void CRecordingWindowActions::ClearMailCount()
{
    m_log << QStringLiteral("clear mail count");
}

bool CRecordingWindowActions::OnScreen() const
{
    return onScreen;
}
