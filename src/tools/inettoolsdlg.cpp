#include "tools/inettoolsdlg.h"

#include "tools/hosttoip.h"
#include "tools/nettime.h"
#include "tools/nettrace.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

CInetToolsDlg::CInetToolsDlg(const CSettingsStore& store, QWidget* parent)
    : QDialog(parent)
    , m_tree(new QTreeWidget)
    , m_stack(new QStackedWidget)
    , m_hostToIP(new CHostToIP)
    , m_time(new CNetTime(store))
    , m_ping(new CNetTrace)
{
    setWindowTitle(tr("Inet Tools"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setFixedWidth(120);
    for (const QString& title : {tr("Get Host/IP"), tr("Get Time"), tr("Ping")})
        m_tree->addTopLevelItem(new QTreeWidgetItem(QStringList{title}));
    m_stack->addWidget(m_hostToIP);
    m_stack->addWidget(m_time);
    m_stack->addWidget(m_ping);
    // The first page shows although no tool is selected yet.
    m_stack->setCurrentIndex(HostToIP);
    m_tree->setCurrentItem(nullptr);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* body = new QHBoxLayout;
    body->addWidget(m_tree);
    body->addWidget(m_stack, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            m_stack->setCurrentIndex(m_tree->indexOfTopLevelItem(item));
    });
}

void CInetToolsDlg::SelectPage(int page)
{
    m_tree->setCurrentItem(m_tree->topLevelItem(page));
}

int CInetToolsDlg::CurrentPage() const
{
    return m_stack->currentIndex();
}
