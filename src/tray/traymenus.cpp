#include "tray/traymenus.h"

namespace {

CTrayMenuItem Item(const char* text, int command)
{
    return CTrayMenuItem{QString::fromLatin1(text), command, {}};
}

CTrayMenuItem Separator()
{
    return CTrayMenuItem{};
}

CTrayMenuItem Popup(const char* text, std::vector<CTrayMenuItem> children)
{
    return CTrayMenuItem{QString::fromLatin1(text), 0, std::move(children)};
}

std::vector<CTrayMenuItem> ConnectionMenu()
{
    return {
        Item("&Show Orvalis", 32815),
        Separator(),
        Popup("Connection",
              {Item("&Connect", 32848), Item("&Hangup", 32812), Item("Inet Tools", 32852)}),
        Separator(),
        Item("Check for new mail", 32835),
        Item("Check for OV update", 32836),
        Separator(),
        Item("Configuration - General", 32838),
        Item("Configuration - Connection", 32839),
        Item("Configuration - Email Watch", 32840),
        Item("Configuration - Warnings", 32841),
        Item("Configuration - Price", 32842),
        Item("Configuration - Sounds", 32843),
        Item("Configuration - Upgrade", 32845),
        Separator(),
        Item("Configuration - Connections", 32834),
        Item("Configuration - Security", 32846),
        Item("Configuration - Timer", 32847),
        Separator(),
        Popup("&Report", {Item("&Report", 32781), Item("&Summary", 32823)}),
        Popup("&Help", {Item("&Contents", 32780), Item("&About", 32774)}),
        Separator(),
        Item("&Exit", 1052),
    };
}

std::vector<CTrayMenuItem> MailMenu()
{
    return {Item("Hide", 32820), Separator(), Item("Preferences", 32813)};
}

} // namespace

std::vector<CTrayMenuItem> CTrayMenus::Items(int menuId)
{
    switch (menuId) {
    case kConnectionMenu:
        return ConnectionMenu();
    case kMailMenu:
        return MailMenu();
    default:
        return {};
    }
}

int CTrayMenus::CommandAt(int menuId, int position)
{
    const std::vector<CTrayMenuItem> items = Items(menuId);
    if (position < 0 || position >= static_cast<int>(items.size())) {
        return 0;
    }
    return items[static_cast<size_t>(position)].command;
}
