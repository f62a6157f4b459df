#include "app/gui/systemtray.h"

#include "app/traymenus.h"
#include "monitor/monitorsink.h"

#include <QAction>
#include <QFile>
#include <QMenu>

namespace {

// Cuts a tooltip to the length the notification area allows, never between the two halves
// of a character outside the basic plane.
QString CutTooltip(const QString& text)
{
    qsizetype length = CSystemTray::kMaxTooltipLength;
    if (text.size() <= length) {
        return text;
    }
    if (text.at(length - 1).isHighSurrogate()) {
        --length;
    }
    return text.left(length);
}

void AddItems(QMenu* menu, const std::vector<CTrayMenuItem>& items, CSystemTray* tray)
{
    for (const CTrayMenuItem& item : items) {
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (item.IsPopup()) {
            AddItems(menu->addMenu(item.text), item.children, tray);
        } else {
            QAction* action = menu->addAction(item.text);
            action->setData(item.command);
            const int command = item.command;
            QObject::connect(action, &QAction::triggered, tray,
                             [tray, command] { Q_EMIT tray->Command(command); });
        }
    }
}

} // namespace

CSystemTray::CSystemTray(QObject* parent)
    : QObject(parent)
    , m_menu(std::make_unique<QMenu>())
    , m_icon(std::make_unique<QSystemTrayIcon>())
{
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &CSystemTray::OnActivated);
}

CSystemTray::~CSystemTray()
{
    m_icon->hide();
}

bool CSystemTray::Create(const QString& tooltip, int pictureId, int id)
{
    m_created = true;
    m_hidden = false;
    m_id = id;
    m_hostKind = CTrayHost::Detect();
    BuildMenu();
    SetTooltipText(tooltip);
    if (!SetIcon(pictureId)) {
        m_picture = 0;
        m_icon->setIcon(QIcon());
    }
    UpdateVisibility();
    return IsAvailable();
}

bool CSystemTray::SetIcon(int pictureId)
{
    const QString path = PicturePath(pictureId);
    if (!m_created || path.isEmpty()) {
        return false;
    }
    // The monitor sets the same picture every second of a call; only a change is drawn and
    // sent to the notification area.
    if (pictureId == m_picture)
        return true;
    m_picture = pictureId;
    m_icon->setIcon(QIcon(path));
    UpdateVisibility();
    return true;
}

void CSystemTray::SetTooltipText(const QString& text)
{
    if (!m_created) {
        return;
    }
    // The monitor sets the tooltip every second of a call and the same one between calls;
    // only a new text is sent to the notification area.
    const QString cut = CutTooltip(text);
    if (cut == m_tooltip && m_icon->toolTip() == cut)
        return;
    m_tooltip = cut;
    m_icon->setToolTip(m_tooltip);
}

void CSystemTray::HideIcon()
{
    if (m_created && !m_hidden) {
        m_hidden = true;
        UpdateVisibility();
    }
}

void CSystemTray::ShowIcon()
{
    if (m_created && m_hidden) {
        m_hidden = false;
        UpdateVisibility();
    }
}

bool CSystemTray::SetMenuDefaultItem(int item, bool byPosition)
{
    if (item != m_defaultItem || byPosition != m_defaultByPosition) {
        m_defaultItem = item;
        m_defaultByPosition = byPosition;
        UpdateDefaultAction();
    }
    return !CTrayMenus::Items(m_id).empty();
}

void CSystemTray::ActivateDefault()
{
    const int command = DefaultCommand();
    if (m_created && command != 0) {
        Q_EMIT Command(command);
    }
}

bool CSystemTray::IsAvailable() const
{
    return m_created && QSystemTrayIcon::isSystemTrayAvailable();
}

int CSystemTray::DefaultCommand() const
{
    return m_defaultByPosition ? CTrayMenus::CommandAt(m_id, m_defaultItem) : m_defaultItem;
}

QString CSystemTray::PicturePath(int pictureId)
{
    switch (pictureId) {
    case CMonitorSink::PictureWaiting:
        return QStringLiteral(":/icons/tray-waiting.svg");
    case CMonitorSink::PictureConnected:
        return QStringLiteral(":/icons/tray-connected.svg");
    case CMonitorSink::PictureMail:
        return QStringLiteral(":/icons/tray-mail.svg");
    case CMonitorSink::PictureMailError:
        return QStringLiteral(":/icons/tray-mail-error.svg");
    default:
        return QString();
    }
}

void CSystemTray::OnActivated(QSystemTrayIcon::ActivationReason reason)
{
    // A status-notifier host sends one activation for a click and never a double-click; an
    // XEmbed tray sends a single click before every double-click, so there only the
    // double-click counts. The menu on the other button is shown by the notification area.
    const bool singleClickHost = m_hostKind == CTrayHost::Kind::StatusNotifier;
    if (reason == QSystemTrayIcon::DoubleClick ||
        (singleClickHost && reason == QSystemTrayIcon::Trigger)) {
        ActivateDefault();
    }
}

void CSystemTray::BuildMenu()
{
    m_menu->clear();
    AddItems(m_menu.get(), CTrayMenus::Items(m_id), this);
    UpdateDefaultAction();
}

void CSystemTray::UpdateDefaultAction()
{
    const QList<QAction*> actions = m_menu->actions();
    QAction* chosen = nullptr;
    if (m_defaultByPosition) {
        if (m_defaultItem >= 0 && m_defaultItem < actions.size()) {
            chosen = actions.at(m_defaultItem);
        }
    } else {
        for (QAction* action : actions) {
            if (!action->isSeparator() && !action->menu() &&
                action->data().toInt() == m_defaultItem) {
                chosen = action;
            }
        }
    }
    if (chosen != nullptr && (chosen->isSeparator() || chosen->menu() != nullptr)) {
        chosen = nullptr;
    }
    m_menu->setDefaultAction(chosen);
}

void CSystemTray::UpdateVisibility()
{
    // The notification area needs a picture; an icon without one stays out until it has one.
    // Without a display there never is a notification area, so there is nothing to show to.
    m_icon->setVisible(!CTrayHost::Headless() && m_created && !m_hidden &&
                       !m_icon->icon().isNull());
}
