#include "app/gui/backends.h"

#include "app/gui/systemtray.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/credentialstore.h"
#include "dialer/dialcheck.h"
#include "dialer/gui/dialdlg.h"
#include "dialer/remoteaccessfactory.h"
#include "monitor/counterworker.h"
#include "security/gui/passworddlg.h"

#include "sound/soundmodule.h"
#include <QApplication>
#include <QCoreApplication>

CBackends::~CBackends()
{
    // The counters read through the connection backend: stop them first.
    m_counters.reset();
    m_remoteAccess.reset();
}

std::unique_ptr<CBackends> CBackends::Build(const QString& backend, CSettingsStore& store,
                                            QString* note)
{
    std::unique_ptr<CBackends> built(new CBackends);
    built->m_credentials = std::make_unique<CCredentialStore>(&store);
    built->m_remoteAccess = CRemoteAccessFactory::Create(
        backend, CSimRemoteAccess::DefaultFile(store.Path()), built->m_credentials.get(), note);
    if (!built->m_remoteAccess)
        return nullptr;

    // The traffic counters run on a worker of their own.
    auto worker = std::make_unique<CCounterWorker>(built->m_remoteAccess.get());
    if (worker->Start()) {
        worker->SetQueryEnabled(true);
        built->m_counters = std::move(worker);
    } else {
        CMessageBox::Inform(QCoreApplication::translate(
            "CBackends", "Cannot Start Inet. Make sure you have TCP-IP stack installed. "
                         "If not, please install it and restart computer afterwards."));
    }
    built->m_sound = std::make_unique<CSoundModule>();
    built->m_connectionTray = std::make_unique<CSystemTray>();
    built->m_mailTray = std::make_unique<CSystemTray>();
    built->m_features = std::make_unique<CFeaturesToCome>(store, *built->m_sound);
    built->m_features->SetRemoteAccess(*built->m_remoteAccess);
    // The preferences ask for the lock password first when protection covers them.
    built->m_features->SetPreferencesGuard([&store] {
        return CPasswordDlg::Guard(store, QApplication::activeWindow()).MayOpenPreferences();
    });
    built->m_features->SetCheckRunner([](int mode, std::unique_ptr<CDialCheck> check) {
        CDialDlg::RunCheck(mode, std::move(check), QApplication::activeWindow());
    });
    built->m_features->SetScheduleGuard([&store] {
        return CPasswordDlg::Guard(store, QApplication::activeWindow()).MayOpenSchedule();
    });
    return built;
}
