#include "dialer/defaultdial.h"

#include "dialer/credentialsdlg.h"
#include "dialer/dialdlg.h"

#include <QCoreApplication>
#include <QPointer>

void CDefaultDial::Run(const CDialerParts& parts, bool announce, QWidget* parent)
{
    // A dial under way is not asked about again: its window comes to the front.
    if (CDialDlg::Current()) {
        CDialDlg::RunDial(parts, parent);
        return;
    }
    QPointer<QWidget> owner(parent);
    CCredentialsDlg::Run(parts, CCredentialsFlow::Mode::Normal, QString(), parent,
                         [parts, announce, owner](bool ok) {
                             if (!ok)
                                 return;
                             if (announce && parts.addMessage)
                                 parts.addMessage(
                                     QCoreApplication::translate("CDefaultDial", "Connecting..."));
                             CDialDlg::RunDial(parts, owner);
                         });
}
