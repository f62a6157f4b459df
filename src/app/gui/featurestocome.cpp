#include "app/gui/featurestocome.h"

#include "app/gui/optgeneralpage.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "dialer/gui/connectionsdlg.h"
#include "dialer/credentialstore.h"
#include "dialer/gui/defaultdial.h"
#include "dialer/scheduleticker.h"
#include "mail/mailaccount.h"
#include "mail/mailcheck.h"
#include "mail/maildialcheck.h"
#include "mail/mailresultslot.h"
#include "update/upgradedialcheck.h"
#include "update/upgradenotifier.h"
#include "dialer/gui/optconnectionpage.h"
#include "mail/gui/optmailpage.h"
#include "gui/optplaceholderpage.h"
#include "billing/gui/optpricepage.h"
#include "sound/gui/optsoundpage.h"
#include "update/gui/optupgradepage.h"
#include "monitor/gui/optwarningspage.h"
#include "gui/preferencesdlg.h"
#include "dialer/gui/scheduledlg.h"
#include "tools/gui/inettoolsdlg.h"
#include "billing/gui/reportdlg.h"
#include "security/gui/securitydlg.h"

#include <QApplication>
#include <QCoreApplication>

// Out of line: the schedule ticker and the credential store are only declared in the header.
CFeaturesToCome::CFeaturesToCome() = default;

CFeaturesToCome::CFeaturesToCome(CSettingsStore& store, CSoundPlayer& sound)
    : m_store(&store)
    , m_sound(&sound)
    , m_upgradeNotifier(std::make_unique<CUpgradeNotifier>(store))
    , m_credentials(std::make_unique<CCredentialStore>(&store))
{}

CFeaturesToCome::~CFeaturesToCome()
{
    if (m_mailSlot)
        m_mailSlot->Clear();
    delete m_report;
    delete m_inetTools;
}

void CFeaturesToCome::SetMailResultSink(std::function<void(const QString& result)> sink)
{
    if (!m_mailSlot)
        m_mailSlot = std::make_shared<CMailResultSlot>();
    m_mailSlot->Set(std::move(sink));
}

std::unique_ptr<CDialCheck> CFeaturesToCome::MakeMailDialCheck()
{
    if (!m_store || !m_credentials)
        return nullptr;
    return std::make_unique<CMailDialCheck>(*m_store, *m_credentials);
}

void CFeaturesToCome::SetRemoteAccess(CRemoteAccess& remote)
{
    m_remote = &remote;
    if (m_store && !m_credentials)
        m_credentials = std::make_unique<CCredentialStore>(m_store);
}

void CFeaturesToCome::SetMessageSink(std::function<void(const QString&)> addMessage)
{
    m_addMessage = std::move(addMessage);
}

void CFeaturesToCome::DialDefaultConnection()
{
    if (!m_remote || !m_credentials)
        return;
    // The monitor asks from inside its tick: the windows open once that has returned.
    QMetaObject::invokeMethod(
        m_credentials.get(),
        [this] {
            CDefaultDial::Run({*m_store, *m_remote, *m_credentials, m_addMessage}, true,
                              QApplication::activeWindow());
        },
        Qt::QueuedConnection);
}

void CFeaturesToCome::StartMailCheckWorker()
{
    if (!m_store || !m_credentials || !m_mailSlot)
        return;
    // The password comes from the keyring here, on the window's thread; the worker gets
    // the whole account.
    CMailAccount::Load(
        *m_store, *m_credentials, m_credentials.get(),
        [slot = m_mailSlot](const CMailAccount& account) { CMailCheck::Start(account, slot); });
}

void CFeaturesToCome::StartUpgradeCheck()
{
    if (m_upgradeNotifier)
        m_upgradeNotifier->Start();
}

int CFeaturesToCome::ScheduleTick()
{
    CScheduleTicker* ticker = Ticker();
    return ticker ? ticker->Tick() : CScheduleTicker::Nothing;
}

CScheduleTicker* CFeaturesToCome::Ticker()
{
    if (!m_ticker && m_store)
        m_ticker = std::make_unique<CScheduleTicker>(*m_store);
    return m_ticker.get();
}

void CFeaturesToCome::CheckMailNow()
{
    if (m_runCheck && m_store && m_credentials)
        m_runCheck(2, MakeMailDialCheck());
}

void CFeaturesToCome::CheckUpdateNow()
{
    if (m_runCheck && m_store)
        m_runCheck(1, MakeUpgradeCheck());
}

void CFeaturesToCome::OpenInetTools()
{
    if (!m_store)
        return;
    // Modal, but without a loop of its own: the program keeps counting calls meanwhile.
    if (!m_inetTools) {
        m_inetTools = new CInetToolsDlg(*m_store, QApplication::activeWindow());
        m_inetTools->setAttribute(Qt::WA_DeleteOnClose);
        m_inetTools->setWindowModality(Qt::ApplicationModal);
    }
    m_inetTools->show();
    m_inetTools->raise();
    m_inetTools->activateWindow();
}

bool CFeaturesToCome::OpenPreferences(int page)
{
    if (!m_store || !m_sound)
        return false;
    const CPreferencesParts parts{[this](int made) { return MakePreferencesPage(made); },
                                  m_mayOpen};
    return CPreferencesDlg::Open(parts, page, QApplication::activeWindow());
}

std::unique_ptr<CPreferencesPage> CFeaturesToCome::MakePreferencesPage(int page)
{
    switch (page) {
    case CPreferencesSheet::General:
        return std::make_unique<COptGeneralPage>(*m_store);
    case CPreferencesSheet::Connection:
        return std::make_unique<COptConnectionPage>(*m_store);
    case CPreferencesSheet::Email:
        return std::make_unique<COptMailPage>(*m_store, *m_credentials, [this] { CheckMailNow(); });
    case CPreferencesSheet::Warnings:
        return std::make_unique<COptWarningsPage>(*m_store);
    case CPreferencesSheet::Price:
        return std::make_unique<COptPricePage>(*m_store);
    case CPreferencesSheet::Sounds:
        return std::make_unique<COptSoundPage>(*m_store, *m_sound);
    case CPreferencesSheet::Upgrade:
        return std::make_unique<COptUpgradePage>(*m_store, [this] {
            if (m_runCheck)
                CheckUpdateNow();
            else
                CMessageBox::Inform(QCoreApplication::translate(
                    "CFeaturesToCome", "The upgrade check is not available yet."));
        });
    default:
        return nullptr;
    }
}

std::unique_ptr<CDialCheck> CFeaturesToCome::MakeUpgradeCheck() const
{
    if (!m_store)
        return nullptr;
    return std::make_unique<CUpgradeDialCheck>(CUpdateQuery::FromSettings(*m_store));
}

void CFeaturesToCome::OpenConnections()
{
    if (m_remote && m_credentials)
        CConnectionsDlg::Open({*m_store, *m_remote, *m_credentials, m_addMessage},
                              QApplication::activeWindow());
}

void CFeaturesToCome::OpenSecurity()
{
    if (m_store)
        CSecurityDlg::Open(*m_store, QApplication::activeWindow());
}

void CFeaturesToCome::OpenSchedule()
{
    if (CScheduleTicker* ticker = Ticker())
        CScheduleDlg::Open(*ticker, *m_store, m_mayOpenSchedule, QApplication::activeWindow());
}

void CFeaturesToCome::OpenReport()
{
    if (!m_store)
        return;
    // One report window: asking again brings the open one to the front.
    if (!m_report) {
        m_report = new CReportDlg(*m_store);
        m_report->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_report->setWindowState(m_report->windowState() & ~Qt::WindowMinimized);
    m_report->show();
    m_report->raise();
    m_report->activateWindow();
}
