#include "dialer/gui/defaultdial.h"

#include "dialer/gui/credentialsdlg.h"
#include "dialer/gui/dialdlg.h"
#include "dialer/gui/dialwindowgate.h"

#include <QCoreApplication>
#include <QPointer>

#include <memory>

namespace {
// The credentials window of a dial that is being started.
QPointer<CCredentialsDlg> g_asking;
} // namespace

void CDefaultDial::Run(const CDialerParts& parts, bool announce, QWidget* parent)
{
    CDialWindowGate::Dial(CDialRequestQueue::Request::HandDial, parts, announce, parent);
}

void CDefaultDial::RunOnItsOwn(const CDialerParts& parts, QWidget* parent)
{
    CDialWindowGate::Dial(CDialRequestQueue::Request::ProgramDial, parts, true, parent);
}

bool CDefaultDial::IsAsking()
{
    return g_asking;
}

bool CDefaultDial::RaiseAsking()
{
    if (!g_asking)
        return false;
    if (g_asking->isVisible()) {
        g_asking->raise();
        g_asking->activateWindow();
    }
    return true;
}

void CDefaultDial::Start(const CDialerParts& parts, bool announce, QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    // Remembered credentials answer at once, before Run has returned.
    auto answered = std::make_shared<bool>(false);
    CCredentialsDlg* asking = CCredentialsDlg::Run(
        parts, CCredentialsFlow::Mode::Normal, QString(), parent,
        [parts, announce, owner, answered](bool ok) {
            *answered = true;
            g_asking = nullptr;
            if (ok) {
                if (announce && parts.addMessage)
                    parts.addMessage(QCoreApplication::translate("CDefaultDial", "Connecting..."));
                CDialDlg::RunDial(parts, owner);
            }
            // Given up: what waited for the dial runs now. Dialling: it waits on.
            CDialWindowGate::WindowClosed();
        });
    if (!*answered)
        g_asking = asking;
}
