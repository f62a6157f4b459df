#include "prefs/scheduledlg.h"

#include "prefs/timerconnectpage.h"
#include "prefs/timerhanguppage.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

CScheduleDlg::CScheduleDlg(CScheduleTicker& ticker, CSettingsStore& store, QWidget* parent)
    : QDialog(parent)
    , m_pages{new CTimerConnectPage(ticker, store), new CTimerHangupPage(ticker, store)}
    , m_tree(new QTreeWidget)
    , m_stack(new QStackedWidget)
{
    setWindowTitle(tr("Timer"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setFixedWidth(120);
    const QString titles[kPageCount] = {tr("Connect"), tr("Hangup")};
    for (int page = 0; page < kPageCount; ++page) {
        m_tree->addTopLevelItem(new QTreeWidgetItem(QStringList{titles[page]}));
        m_stack->addWidget(m_pages[page]);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CScheduleDlg::Ok);
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
    SelectPage(Connect);
}

bool CScheduleDlg::Open(CScheduleTicker& ticker, CSettingsStore& store,
                        const std::function<bool()>& mayOpen, QWidget* parent)
{
    if (mayOpen && !mayOpen())
        return false;
    CScheduleDlg dialog(ticker, store, parent);
    dialog.adjustSize();
    if (parent) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(parent->frameGeometry().center());
        dialog.move(frame.topLeft());
    }
    return dialog.exec() == QDialog::Accepted;
}

int CScheduleDlg::CurrentPage() const
{
    return m_stack->currentIndex();
}

void CScheduleDlg::SelectPage(int page)
{
    m_tree->setCurrentItem(m_tree->topLevelItem(page));
    m_stack->setCurrentIndex(page);
}

void CScheduleDlg::Ok()
{
    for (CTimerPage* page : m_pages)
        page->Save();
    accept();
}
