#include "app/gui/trayhost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QGuiApplication>

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
} // namespace

CTrayHost::Kind CTrayHost::Detect()
{
    if (Headless())
        return Kind::None;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusConnectionInterface* names = bus.interface();
    if (!bus.isConnected() || names == nullptr || !names->isServiceRegistered(kWatcherService))
        return Kind::XEmbed;
    // A watcher without a host shows nothing; Qt then falls back to the XEmbed tray.
    const QDBusInterface watcher(kWatcherService, QStringLiteral("/StatusNotifierWatcher"),
                                 kWatcherService, bus);
    return watcher.property("IsStatusNotifierHostRegistered").toBool() ? Kind::StatusNotifier
                                                                       : Kind::XEmbed;
}

bool CTrayHost::Headless()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}
