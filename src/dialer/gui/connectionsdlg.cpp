#include "dialer/gui/connectionsdlg.h"

#include "dialer/gui/credentialsdlg.h"
#include "dialer/gui/defaultdial.h"
#include "gui/helpopener.h"
#include "gui/windowframe.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

namespace {
QPointer<CConnectionsDlg> g_current;
} // namespace

CConnectionsDlg::CConnectionsDlg(const CDialerParts& parts, QWidget* parent)
    : QDialog(parent)
    , m_parts(parts)
    , m_actions(parts.store, parts.remote)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setWindowTitle(tr("Connections"));

    m_list = new QTreeWidget(this);
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({tr("Connection")});
    m_list->setColumnWidth(0, 150);
    m_list->setRootIsDecorated(false);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { DoubleClick(item->text(0)); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0, 8, 1);
    const struct {
        const char* label;
        void (CConnectionsDlg::*action)();
    } buttons[] = {
        {QT_TR_NOOP("Dial"), &CConnectionsDlg::Dial},
        {QT_TR_NOOP("Add"), &CConnectionsDlg::Add},
        {QT_TR_NOOP("Edit"), &CConnectionsDlg::Edit},
        {QT_TR_NOOP("Delete"), &CConnectionsDlg::Delete},
        {QT_TR_NOOP("Set as default"), &CConnectionsDlg::SetAsDefault},
        {QT_TR_NOOP("Advanced"), &CConnectionsDlg::Advanced},
        {QT_TR_NOOP("Help"), &CConnectionsDlg::Help},
        {QT_TR_NOOP("Hide"), &CConnectionsDlg::Hide},
    };
    int row = 0;
    for (const auto& button : buttons) {
        auto* widget = new QPushButton(tr(button.label), this);
        widget->setAutoDefault(false);
        connect(widget, &QPushButton::clicked, this, button.action);
        layout->addWidget(widget, row++, 1);
    }

    Fill(m_actions.List());
    connect(&m_refresh, &QTimer::timeout, this, &CConnectionsDlg::Refresh);
    m_refresh.start(kRefreshMs);
    CWindowFrame::Apply(this);
}

CConnectionsDlg::~CConnectionsDlg() = default;

CConnectionsDlg* CConnectionsDlg::Open(const CDialerParts& parts, QWidget* parent,
                                       std::function<void()> closed)
{
    CConnectionsDlg* window = g_current;
    if (!window) {
        window = new CConnectionsDlg(parts, parent);
        g_current = window;
    }
    if (closed)
        connect(window, &QObject::destroyed, window, [closed = std::move(closed)] { closed(); });
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

CConnectionsDlg* CConnectionsDlg::Current()
{
    return g_current;
}

QStringList CConnectionsDlg::Listed() const
{
    QStringList names;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        names.append(m_list->topLevelItem(i)->text(0));
    return names;
}

void CConnectionsDlg::Fill(const QStringList& names)
{
    m_list->clear();
    for (const QString& name : names)
        m_list->addTopLevelItem(new QTreeWidgetItem(QStringList{name}));
}

void CConnectionsDlg::Refresh()
{
    const QStringList names = m_actions.List();
    if (names != Listed())
        Fill(names);
}

bool CConnectionsDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QTreeWidgetItem* item = m_list->itemAt(press->position().toPoint());
        Select(item ? item->text(0) : QString());
    }
    return QDialog::eventFilter(watched, event);
}

void CConnectionsDlg::Select(const QString& name)
{
    m_selected = name;
}

void CConnectionsDlg::DoubleClick(const QString& name)
{
    m_selected = name;
    if (m_actions.DoubleClicked(m_selected) && MayDialByHand())
        CDefaultDial::Run(m_parts, false, parentWidget());
}

void CConnectionsDlg::Dial()
{
    if (m_actions.MayDial(m_selected) && MayDialByHand())
        CDefaultDial::Run(m_parts, false, parentWidget());
}

bool CConnectionsDlg::MayDialByHand() const
{
    return !m_parts.mayDialByHand || m_parts.mayDialByHand();
}

void CConnectionsDlg::Add()
{
    m_actions.Add();
    Fill(m_actions.List());
}

void CConnectionsDlg::Edit()
{
    m_actions.Edit(m_selected);
}

void CConnectionsDlg::Delete()
{
    if (m_actions.Delete(m_selected))
        Fill(m_actions.List());
}

void CConnectionsDlg::SetAsDefault()
{
    m_actions.SetDefault(m_selected);
}

void CConnectionsDlg::Advanced()
{
    if (m_actions.MayEdit(m_selected))
        CCredentialsDlg::Run(m_parts, CCredentialsFlow::Mode::Edit, m_selected, this, {});
}

void CConnectionsDlg::Hide()
{
    close();
}

void CConnectionsDlg::Help()
{
    CHelpOpener::Open(QStringLiteral("connections"));
}
