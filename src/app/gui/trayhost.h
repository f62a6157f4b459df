#pragma once

// What kind of notification area the desktop offers, decided in one place. Status-notifier
// hosts (KDE Plasma, GNOME with the AppIndicator extension) report a click on an icon as a
// single activation and never as a double-click; the older XEmbed trays report both.
class CTrayHost {
public:
    enum class Kind {
        None,          // no display at all (offscreen or minimal platform)
        XEmbed,        // icons embedded in the tray, or no tray at all
        StatusNotifier // a status-notifier watcher is on the session bus
    };

    // Asks the session bus, as Qt does when it picks how to put icons in the tray.
    static Kind Detect();
    // True on a platform that draws nothing anybody can see.
    static bool Headless();
};
