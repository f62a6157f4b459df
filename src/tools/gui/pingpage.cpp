#include "tools/gui/pingpage.h"

#include "gui/messagedelegate.h"
#include "tools/pingclick.h"
#include "tools/toolworker.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

CPingPage::CPingPage(QWidget* parent)
    : QWidget(parent)
    , m_host(new QLineEdit)
    , m_ping(new QPushButton(tr("Ping")))
    , m_results(new QTreeWidget)
{
    m_results->setHeaderLabels({tr("Connection")});
    // Long lines (the explanation of a refused ping) wrap within the list's width.
    m_results->setRootIsDecorated(false);
    m_results->setWordWrap(true);
    m_results->setUniformRowHeights(false);
    m_results->setItemDelegate(new CMessageDelegate(m_results));
    // The lines are wrapped at a width that a scroll bar showing up later would not change.
    m_results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_results->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_results->header()->setSectionResizeMode(0, QHeaderView::Stretch);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Ping specified host.")), 0, 0, 1, 2);
    layout->addWidget(new QLabel(tr("Host: (127.0.0.1)")), 1, 0, 1, 2);
    layout->addWidget(m_host, 2, 0);
    layout->addWidget(m_ping, 2, 1);
    layout->addWidget(m_results, 3, 0, 1, 2);
    layout->setRowStretch(3, 1);

    connect(m_ping, &QPushButton::clicked, this, &CPingPage::Ping);
    connect(m_host, &QLineEdit::returnPressed, this, &CPingPage::Ping);
}

CPingPage::~CPingPage()
{
    if (m_busy)
        QApplication::restoreOverrideCursor();
}

QStringList CPingPage::Results() const
{
    QStringList lines;
    for (int i = 0; i < m_results->topLevelItemCount(); ++i)
        lines << m_results->topLevelItem(i)->text(0);
    return lines;
}

void CPingPage::Ping()
{
    // One click at a time: the next waits until this one has its line.
    if (m_busy)
        return;
    m_busy = true;
    m_ping->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CToolWorker::Start([host = m_host->text().trimmed(),
                        opener = m_opener] { return CPingClick::Run(host, opener); },
                       this, [this](const QString& line) { Show(line); });
}

void CPingPage::Show(const QString& line)
{
    m_results->insertTopLevelItem(0, new QTreeWidgetItem(QStringList{line}));
    m_busy = false;
    m_ping->setEnabled(true);
    QApplication::restoreOverrideCursor();
    emit Answered(line);
}
