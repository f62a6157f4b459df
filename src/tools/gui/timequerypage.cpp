#include "tools/gui/timequerypage.h"

#include "common/clock.h"
#include "tools/toolworker.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

CTimeQueryPage::CTimeQueryPage(const CSettingsStore& store, QWidget* parent)
    : QWidget(parent)
    , m_store(store.Path())
    , m_computerTime(new QLabel)
    , m_internetTime(new QLabel)
    , m_getTime(new QPushButton(tr("Get time")))
    , m_ticker(new QTimer(this))
{
    auto* heading = new QLabel(tr("Get Internet time:"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_internetTime->setTextFormat(Qt::PlainText); // what the time server answered
    auto* layout = new QFormLayout(this);
    layout->addRow(heading);
    layout->addRow(tr("Current computer clock time:"), m_computerTime);
    layout->addRow(tr("Current GMT internet time:"), m_internetTime);
    layout->addRow(m_getTime);

    // An answer of an earlier opening is not shown again.
    m_store.Write(Keys::RemoteTime, QStringLiteral("???"));
    m_internetTime->setText(QStringLiteral("???"));
    m_computerTime->setText(CClock::Now().toString(QStringLiteral("HH:mm:ss")));
    connect(m_ticker, &QTimer::timeout, this, &CTimeQueryPage::Tick);
    m_ticker->start(1000);
    connect(m_getTime, &QPushButton::clicked, this, &CTimeQueryPage::GetTime);
}

void CTimeQueryPage::Tick()
{
    m_computerTime->setText(CClock::Now().toString(QStringLiteral("HH:mm:ss")));
    // The store keeps the answer's closing line feed as a blank.
    m_internetTime->setText(m_store.Read(Keys::RemoteTime).trimmed());
}

void CTimeQueryPage::GetTime()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString server = m_store.Read(Keys::TimeServer);
    CToolWorker::Start([path = m_store.Path(), query = m_query, server] {
        CSettingsStore(path).Write(Keys::RemoteTime, query.Query(server));
        return QString();
    });
    QApplication::restoreOverrideCursor();
}
