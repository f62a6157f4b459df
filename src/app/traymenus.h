#pragma once

#include <QString>

#include <vector>

// One entry of a tray icon menu: a command item, a separator or a popup with items of its own.
struct CTrayMenuItem {
    QString text;                        // empty for a separator
    int command = 0;                     // 0 for a separator or a popup
    std::vector<CTrayMenuItem> children; // the items of a popup

    bool IsSeparator() const { return text.isEmpty(); }
    bool IsPopup() const { return !children.empty(); }
};

// The menus of the two tray icons, described as data so that they can be checked without a
// display and turned into real menus by the tray icon.
class CTrayMenus {
public:
    static constexpr int kConnectionMenu = 173;
    static constexpr int kMailMenu = 193;

    // The items of the menu with this id, in order; empty for an unknown id.
    static std::vector<CTrayMenuItem> Items(int menuId);

    // The command of the item at this position of the menu, or 0 when there is no such item
    // or it is a separator or a popup.
    static int CommandAt(int menuId, int position);
};
