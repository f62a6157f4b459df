#include "dialer/gui/scheduledlg.h"

#include "dialer/gui/timerconnectpage.h"
#include "dialer/gui/timerhanguppage.h"
#include "gui/windowframe.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

CScheduleDlg::CScheduleDlg(CScheduleTicker& ticker, CSettingsStore& store, QWidget* parent)
    : QDialog(parent)
    , m_pages{new CTimerConnectPage(ticker, store), new CTimerHangupPage(ticker, store)}
    , m_frame(*this, QMargins(9, 9, 9, 9))
{
    setWindowTitle(tr("Timer"));
    const QString titles[kPageCount] = {tr("Connect"), tr("Hangup")};
    for (int page = 0; page < kPageCount; ++page)
        m_frame.AddPage(titles[page], m_pages[page]);
    connect(m_frame.Buttons(), &QDialogButtonBox::accepted, this, &CScheduleDlg::Ok);
    SelectPage(Connect);
    CWindowFrame::Apply(this);
}

bool CScheduleDlg::Open(CScheduleTicker& ticker, CSettingsStore& store,
                        const std::function<bool()>& mayOpen, QWidget* parent)
{
    if (mayOpen && !mayOpen())
        return false;
    CScheduleDlg dialog(ticker, store, parent);
    return CTreePages::ExecOver(dialog, parent);
}

int CScheduleDlg::CurrentPage() const
{
    return m_frame.CurrentPage();
}

void CScheduleDlg::SelectPage(int page)
{
    m_frame.SelectPage(page);
}

void CScheduleDlg::Ok()
{
    for (CTimerPage* page : m_pages)
        page->Save();
    accept();
}
