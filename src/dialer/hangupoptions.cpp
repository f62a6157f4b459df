#include "dialer/hangupoptions.h"

#include "common/settingsstore.h"

QString CHangupOptions::DefaultUrl()
{
    return QStringLiteral("https://orvalis.example.org/");
}

CHangupOptions CHangupOptions::Load(const CSettingsStore& store)
{
    CHangupOptions options;
    const int action = store.Read(Keys::HangupComboState);
    options.action = action >= 0 && action < kActionCount ? action : -1;
    options.interval = QString::number(store.Read(Keys::HangupInterval));
    options.launchBrowser = store.Read(Keys::LaunchBrowser) == 1;
    options.url = store.Read(Keys::UrlToLaunch, DefaultUrl());
    options.redial = store.Read(Keys::Redial) == 1;
    const int busy = store.Read(Keys::RedialWhenBusy);
    options.busy = busy >= RedialTimes && busy <= NoRedial ? busy : NoChoice;
    options.redialTimes = QString::number(store.Read(Keys::RedialTimes));
    return options;
}

void CHangupOptions::Store(CSettingsStore& store) const
{
    if (action >= 0 && action < kActionCount)
        store.Write(Keys::HangupComboState, action);
    store.Write(Keys::HangupInterval, CSettingsStore::ParseLeadingInt(interval));
    store.Write(Keys::RedialTimes, CSettingsStore::ParseLeadingInt(redialTimes));
    store.Write(Keys::LaunchBrowser, launchBrowser ? 1 : 0);
    store.Write(Keys::Redial, redial ? 1 : 0);
    store.Write(Keys::UrlToLaunch, url);
    if (busy != NoChoice)
        store.Write(Keys::RedialWhenBusy, busy);
}
