#pragma once

#include "app/gui/trayhost.h"

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <memory>

class QMenu;

// One icon in the desktop's notification area together with its menu. A chosen menu item and
// a click on the icon that runs the default item reach the owner as a command number through
// Command(). Which click that is depends on the notification area: a single click where a
// status-notifier host shows the icon (it never reports double-clicks), a double-click in an
// XEmbed tray.
//
// Where the desktop has no notification area the object still keeps its tooltip, picture,
// hidden flag and menu, so its owner can go on updating it; IsAvailable() tells the owner to
// offer its own window as the way in.
class CSystemTray : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxTooltipLength = 63;

    explicit CSystemTray(QObject* parent = nullptr);
    ~CSystemTray() override;

    // Sets the icon up with its tooltip, picture (0: none yet) and the menu of this id, and
    // puts it into the notification area. Returns whether a notification area is there to
    // take it; the object works either way. Before Create every other call does nothing.
    bool Create(const QString& tooltip, int pictureId, int id);

    // Shows one of the program's pictures. An unknown picture leaves the icon as it is and
    // returns false.
    bool SetIcon(int pictureId);
    // Only the first kMaxTooltipLength characters are kept.
    void SetTooltipText(const QString& text);
    // Takes the icon out of the notification area, or puts it back.
    void HideIcon();
    void ShowIcon();
    // The item that a click on the icon runs: a position in the menu or a command number. Returns
    // false when the icon has no menu.
    bool SetMenuDefaultItem(int item, bool byPosition);

    // Runs the default item as a click on the icon does.
    void ActivateDefault();

    bool IsCreated() const { return m_created; }
    bool IsAvailable() const;
    int Id() const { return m_id; }
    QString Tooltip() const { return m_tooltip; }
    int Picture() const { return m_picture; }
    // The notification area found by Create(); XEmbed before it.
    CTrayHost::Kind HostKind() const { return m_hostKind; }
    bool IsHidden() const { return m_hidden; }
    QMenu* Menu() const { return m_menu.get(); }
    // The command a click on the icon sends, or 0 when there is none.
    int DefaultCommand() const;

    // The resource path of a picture, or an empty text for an unknown one.
    static QString PicturePath(int pictureId);

public Q_SLOTS:
    // Mouse activity on the icon, as the notification area reports it.
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

Q_SIGNALS:
    void Command(int number);

private:
    void BuildMenu();
    void UpdateDefaultAction();
    void UpdateVisibility();

    // The menu outlives the icon that points at it: members go in reverse order.
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    bool m_created = false;
    bool m_hidden = false;
    int m_id = 0;
    int m_picture = 0;
    QString m_tooltip;
    int m_defaultItem = 0;
    bool m_defaultByPosition = true;
    CTrayHost::Kind m_hostKind = CTrayHost::Kind::XEmbed;
};
