#include "dialer/gui/defaultdial.h"

#include "dialer/gui/credentialsdlg.h"
#include "dialer/gui/dialdlg.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
// The credentials window of a dial that is being started.
QPointer<CCredentialsDlg> g_asking;
} // namespace

void CDefaultDial::Run(const CDialerParts& parts, bool announce, QWidget* parent)
{
    // A dial under way is not asked about again: its window comes to the front.
    if (CDialDlg::Current()) {
        CDialDlg::RunDial(parts, parent);
        return;
    }
    // Asked twice before the first answer: the one window asks.
    if (g_asking) {
        if (g_asking->isVisible()) {
            g_asking->raise();
            g_asking->activateWindow();
        }
        return;
    }
    QPointer<QWidget> owner(parent);
    g_asking = CCredentialsDlg::Run(
        parts, CCredentialsFlow::Mode::Normal, QString(), parent,
        [parts, announce, owner](bool ok) {
            g_asking = nullptr;
            if (!ok)
                return;
            if (announce && parts.addMessage)
                parts.addMessage(QCoreApplication::translate("CDefaultDial", "Connecting..."));
            CDialDlg::RunDial(parts, owner);
        });
}
