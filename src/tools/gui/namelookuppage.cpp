#include "tools/gui/namelookuppage.h"

#include "common/messagebox.h"
#include "tools/namelookup.h"
#include "tools/toolworker.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

CNameLookupPage::CNameLookupPage(QWidget* parent)
    : QWidget(parent)
    , m_host(new QLineEdit)
    , m_address(new QLineEdit)
    , m_toAddress(new QPushButton(tr("Get IP address")))
    , m_toHost(new QPushButton(tr("Get host name")))
{
    auto* layout = new QGridLayout(this);
    auto* toAddressHeading = new QLabel(tr("Resolve host to IP"));
    auto* toHostHeading = new QLabel(tr("Resolve IP address to host"));
    for (QLabel* heading : {toAddressHeading, toHostHeading}) {
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    }
    layout->addWidget(toAddressHeading, 0, 0, 1, 2);
    layout->addWidget(new QLabel(tr("Host: (www.debian.org)")), 1, 0, 1, 2);
    layout->addWidget(m_host, 2, 0);
    layout->addWidget(m_toAddress, 2, 1);
    layout->addWidget(toHostHeading, 3, 0, 1, 2);
    layout->addWidget(new QLabel(tr("IP address: (127.0.0.1)")), 4, 0, 1, 2);
    layout->addWidget(m_address, 5, 0);
    layout->addWidget(m_toHost, 5, 1);
    layout->setRowStretch(6, 1);

    connect(m_toAddress, &QPushButton::clicked, this, [this] {
        Look([name = m_host->text()] { return CNameLookup::HostToAddress(name); },
             tr("Host to IP"));
    });
    // Enter in a field runs its lookup (the window does not close on it).
    connect(m_host, &QLineEdit::returnPressed, m_toAddress, &QPushButton::click);
    connect(m_address, &QLineEdit::returnPressed, m_toHost, &QPushButton::click);
    connect(m_toHost, &QPushButton::clicked, this, [this] {
        Look([text = m_address->text()] { return CNameLookup::AddressToHost(text); },
             tr("IP to Host"));
    });
}

CNameLookupPage::~CNameLookupPage()
{
    // Lookups still running when the page goes answer no one: their wait cursors go now.
    for (; m_waiting > 0; --m_waiting)
        QApplication::restoreOverrideCursor();
}

void CNameLookupPage::Look(std::function<QString()> lookup, const QString& caption)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_waiting;
    CToolWorker::Start(std::move(lookup), this,
                       [this, caption](const QString& text) { Answered(text, caption); });
}

void CNameLookupPage::Answered(const QString& text, const QString& caption)
{
    // The box blocks here until it is closed; other answers may open boxes meanwhile.
    const QPointer<CNameLookupPage> alive(this);
    CMessageBox::Show({text, caption, CMessageBox::Icon::None, CMessageBox::Buttons::Ok});
    if (alive && m_waiting > 0) {
        --m_waiting;
        QApplication::restoreOverrideCursor();
    }
}
