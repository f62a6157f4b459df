#include "mail/mailoptions.h"

#include "common/settingsstore.h"

#include <QCoreApplication>

namespace {
std::optional<int> Integer(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString Between(int low, int high)
{
    return QCoreApplication::translate("COptMailPage", "Please enter an integer between %1 and %2.")
        .arg(low)
        .arg(high);
}
} // namespace

CMailOptions CMailOptions::Load(const CSettingsStore& store)
{
    CMailOptions options;
    options.checkMail = store.Read(Keys::CheckMail) != 0;
    options.minutes = QString::number(store.Read(Keys::CMailTime));
    options.checkOnConnect = store.Read(Keys::CheckMailOnCon) != 0;
    options.user = store.Read(Keys::MUser);
    options.server = store.Read(Keys::MServer);
    // A value this version does not know is taken as the strictest protection.
    const int security = store.Read(Keys::MSecurity);
    options.security = security == 0 || security == 1 ? security : 2;
    options.port = QString::number(store.Read(Keys::MPort, options.security == 2 ? 995 : 110));
    return options;
}

std::optional<CMailOptions::Refusal> CMailOptions::Refused() const
{
    const QString notInteger =
        QCoreApplication::translate("COptMailPage", "Please enter an integer.");
    const std::optional<int> mins = Integer(minutes);
    if (!mins)
        return Refusal{Minutes, notInteger};
    // Less than a minute would start checks without pause.
    if (*mins < kMinMinutes || *mins > kMaxMinutes)
        return Refusal{Minutes, Between(kMinMinutes, kMaxMinutes)};
    const std::optional<int> portNumber = Integer(port);
    if (!portNumber)
        return Refusal{Port, notInteger};
    if (*portNumber < 1 || *portNumber > 65535)
        return Refusal{Port, Between(1, 65535)};
    return std::nullopt;
}

void CMailOptions::Store(CSettingsStore& store) const
{
    store.Write(Keys::CMailTime, Integer(minutes).value_or(Keys::CMailTime.defaultValue));
    store.Write(Keys::CheckMail, checkMail ? 1 : 0);
    store.Write(Keys::CheckMailOnCon, checkOnConnect ? 1 : 0);
    store.Write(Keys::MUser, user);
    store.Write(Keys::MServer, server.trimmed());
    store.Write(Keys::MSecurity, security);
    store.Write(Keys::MPort, Integer(port).value_or(Keys::MPort.defaultValue));
}
