#include "support/monitorfakes.h"

void CRecordingSink::AddMessage(const QString& text)
{
    messages.prepend(text);
}

void CRecordingSink::SetTray(Picture p, const QString& t)
{
    picture = p;
    tooltip = t;
}

void CRecordingSink::ShowMailTray(Picture p, const QString& t)
{
    mailPicture = p;
    mailTooltip = t;
}

void CRecordingSink::SetTitle(const QString& t)
{
    title = t;
}

void CRecordingSink::SetCallValues(const QString& d, const QString& in, const QString& out)
{
    values = {d, in, out};
}

void CRecordingSink::SetMailCount(const QString& text)
{
    mailCount = text;
}

void CRecordingSink::ShowWindow()
{
    ++shows;
}

void CRecordingSink::HideWindow()
{
    ++hides;
}

void CRecordingServices::DialDefaultConnection(DialAsker asker)
{
    ++dials;
    if (asker == DialAsker::Program)
        ++programDials;
}

void CRecordingServices::StartMailCheckWorker()
{
    ++mailChecks;
}

void CRecordingServices::StartUpgradeCheck()
{
    ++upgradeChecks;
}

int CRecordingServices::ScheduleTick()
{
    return scheduleResult;
}

void CRecordingSound::PlayBeeps(int times)
{
    played.append(QStringLiteral("beeps %1").arg(times));
}

void CRecordingSound::PlayFile(const QString& path)
{
    played.append(path);
}
