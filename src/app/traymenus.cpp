#include "app/traymenus.h"

#include "app/commandtable.h"

#include <QCoreApplication>

namespace {

// The texts below are marked for translation where they are written and translated here.
QString Text(const char* text)
{
    return QCoreApplication::translate("CTrayMenus", text);
}

CTrayMenuItem Item(const char* text, int command)
{
    return CTrayMenuItem{Text(text), command, {}};
}

CTrayMenuItem Separator()
{
    return CTrayMenuItem{};
}

CTrayMenuItem Popup(const char* text, std::vector<CTrayMenuItem> children)
{
    return CTrayMenuItem{Text(text), 0, std::move(children)};
}

std::vector<CTrayMenuItem> ConnectionMenu()
{
    return {
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "&Show Orvalis"), CCommandTable::Show),
        Separator(),
        Popup(QT_TRANSLATE_NOOP("CTrayMenus", "Connection"),
              {Item(QT_TRANSLATE_NOOP("CTrayMenus", "&Connect"), CCommandTable::Connect),
               Item(QT_TRANSLATE_NOOP("CTrayMenus", "&Hangup"), CCommandTable::Hangup),
               Item(QT_TRANSLATE_NOOP("CTrayMenus", "Inet Tools"), CCommandTable::InetTools)}),
        Separator(),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Check for new mail"), CCommandTable::CheckMail),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Check for Orvalis update"),
             CCommandTable::CheckUpdate),
        Separator(),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - General"),
             CCommandTable::PreferencesGeneral),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - Connection"),
             CCommandTable::PreferencesConnection),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - Email Watch"),
             CCommandTable::PreferencesEmail),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - Warnings"),
             CCommandTable::PreferencesWarnings),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - Price"),
             CCommandTable::PreferencesPrice),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - Data plan"),
             CCommandTable::PreferencesDataPlan),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - Sounds"),
             CCommandTable::PreferencesSounds),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - Upgrade"),
             CCommandTable::PreferencesUpgrade),
        Separator(),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - Connections"),
             CCommandTable::Connections),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - Security"), CCommandTable::Security),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "Configuration - Timer"), CCommandTable::Timer),
        Separator(),
        Popup(QT_TRANSLATE_NOOP("CTrayMenus", "&Report"),
              {Item(QT_TRANSLATE_NOOP("CTrayMenus", "&Report"), CCommandTable::Report),
               Item(QT_TRANSLATE_NOOP("CTrayMenus", "&Summary"), CCommandTable::Summary),
               Item(QT_TRANSLATE_NOOP("CTrayMenus", "S&tatistics"), CCommandTable::Statistics)}),
        Popup(QT_TRANSLATE_NOOP("CTrayMenus", "&Help"),
              {Item(QT_TRANSLATE_NOOP("CTrayMenus", "&Contents"), CCommandTable::Contents),
               Item(QT_TRANSLATE_NOOP("CTrayMenus", "&About"), CCommandTable::About)}),
        Separator(),
        Item(QT_TRANSLATE_NOOP("CTrayMenus", "&Exit"), CCommandTable::Exit),
    };
}

std::vector<CTrayMenuItem> MailMenu()
{
    return {Item(QT_TRANSLATE_NOOP("CTrayMenus", "Hide"), CCommandTable::HideMailIcon), Separator(),
            Item(QT_TRANSLATE_NOOP("CTrayMenus", "Preferences"), CCommandTable::MailPreferences),
            Separator(),
            Item(QT_TRANSLATE_NOOP("CTrayMenus", "S&tatistics"), CCommandTable::Statistics)};
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
