#include "tools/gui/inettoolsdlg.h"

#include "gui/windowframe.h"
#include "tools/gui/namelookuppage.h"
#include "tools/gui/pingpage.h"
#include "tools/gui/timequerypage.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

CInetToolsDlg::CInetToolsDlg(const CSettingsStore& store, QWidget* parent)
    : QDialog(parent)
    , m_frame(*this, QMargins(9, 9, 9, 9))
    , m_hostToIP(new CNameLookupPage)
    , m_time(new CTimeQueryPage(store))
    , m_ping(new CPingPage)
{
    setWindowTitle(tr("Inet Tools"));
    m_frame.AddPage(tr("Get Host/IP"), m_hostToIP);
    m_frame.AddPage(tr("Get Time"), m_time);
    m_frame.AddPage(tr("Ping"), m_ping);
    // The first page shows although no tool is selected yet.
    m_frame.Stack()->setCurrentIndex(HostToIP);
    m_frame.Tree()->setCurrentItem(nullptr);
    connect(m_frame.Buttons(), &QDialogButtonBox::accepted, this, &QDialog::accept);
    CWindowFrame::Apply(this);
}

void CInetToolsDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter in a tool's field runs that tool, which listens to the field itself; it must
    // not also press OK and close the window.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && qobject_cast<QLineEdit*>(focusWidget())) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CInetToolsDlg::SelectPage(int page)
{
    m_frame.SelectPage(page);
}

int CInetToolsDlg::CurrentPage() const
{
    return m_frame.CurrentPage();
}
