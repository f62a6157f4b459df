#include "mail/mailcheck.h"

#include "mail/mailresultslot.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace {
std::atomic<int> g_started{0};
std::atomic<int> g_running{0};
} // namespace

const QString CMailCheck::kNoMail = QStringLiteral("There are no new emails.");
const QString CMailCheck::kError =
    QStringLiteral("Error connecting to the server.\nCheck your email settings!");

CMailCheck::Outcome CMailCheck::Check(const CMailAccount& account, CPop3Client::Options options)
{
    options.security = account.security;
    if (!account.pinnedSha256.isEmpty())
        options.pinnedSha256 = account.pinnedSha256;
    CPop3Client client(std::move(options));
    if (!client.Login(account.server, account.port, account.user, account.password) ||
        !client.Stat()) {
        qInfo("Mail check of %s failed: %s", qPrintable(account.server),
              qPrintable(client.LastError()));
        const QString reason =
            CMailFailure::Text(client.LastReason(), client.RefusedCertificateSha256());
        return {reason.isEmpty() ? kError : kError + QLatin1Char('\n') + reason,
                client.RefusedCertificateSha256()};
    }
    const int count = client.GetMessageCount();
    return {count <= 0 ? kNoMail : QString::number(count), QByteArray()};
}

QString CMailCheck::Run(const CMailAccount& account, CPop3Client::Options options)
{
    return Check(account, std::move(options)).result;
}

bool CMailCheck::Start(const CMailAccount& account, std::shared_ptr<CMailResultSlot> slot,
                       CPop3Client::Options options)
{
    if (account.server.isEmpty())
        return false;
    ++g_started;
    ++g_running;
    try {
        // Not joined: a server that is slow to answer must not hold up whoever started it.
        std::thread([account, slot, options = std::move(options)]() mutable {
            const Outcome outcome = Check(account, std::move(options));
            if (slot)
                slot->Deliver(outcome.result, outcome.refusedSha256);
            --g_running;
        }).detach();
    } catch (const std::system_error& error) {
        --g_running;
        qWarning("No thread for the mail check: %s", error.what());
        if (slot)
            slot->Deliver(kError);
    }
    return true;
}

int CMailCheck::Started()
{
    return g_started.load();
}

int CMailCheck::Running()
{
    return g_running.load();
}
