#include "tray/traymenus.h"

#include "monitor/commandtable.h"

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
        Item("&Show Orvalis", CCommandTable::Show),
        Separator(),
        Popup("Connection",
              {Item("&Connect", CCommandTable::Connect), Item("&Hangup", CCommandTable::Hangup),
               Item("Inet Tools", CCommandTable::InetTools)}),
        Separator(),
        Item("Check for new mail", CCommandTable::CheckMail),
        Item("Check for OV update", CCommandTable::CheckUpdate),
        Separator(),
        Item("Configuration - General", CCommandTable::PreferencesGeneral),
        Item("Configuration - Connection", CCommandTable::PreferencesConnection),
        Item("Configuration - Email Watch", CCommandTable::PreferencesEmail),
        Item("Configuration - Warnings", CCommandTable::PreferencesWarnings),
        Item("Configuration - Price", CCommandTable::PreferencesPrice),
        Item("Configuration - Sounds", CCommandTable::PreferencesSounds),
        Item("Configuration - Upgrade", CCommandTable::PreferencesUpgrade),
        Separator(),
        Item("Configuration - Connections", CCommandTable::Connections),
        Item("Configuration - Security", CCommandTable::Security),
        Item("Configuration - Timer", CCommandTable::Timer),
        Separator(),
        Popup("&Report",
              {Item("&Report", CCommandTable::Report), Item("&Summary", CCommandTable::Summary)}),
        Popup("&Help",
              {Item("&Contents", CCommandTable::Contents), Item("&About", CCommandTable::About)}),
        Separator(),
        Item("&Exit", CCommandTable::Exit),
    };
}

std::vector<CTrayMenuItem> MailMenu()
{
    return {Item("Hide", CCommandTable::HideMailIcon), Separator(),
            Item("Preferences", CCommandTable::MailPreferences)};
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
