#include "prefs/preferencessheet.h"

#include <QCoreApplication>

#include "prefs/preferencespage.h"

QString CPreferencesSheet::Title(int page)
{
    static const std::array<QString, kPageCount> titles = {
        QCoreApplication::translate("CPreferencesSheet", "General"),
        QCoreApplication::translate("CPreferencesSheet", "Connection"),
        QCoreApplication::translate("CPreferencesSheet", "Email"),
        QCoreApplication::translate("CPreferencesSheet", "Warnings"),
        QCoreApplication::translate("CPreferencesSheet", "Price"),
        QCoreApplication::translate("CPreferencesSheet", "Data plan"),
        QCoreApplication::translate("CPreferencesSheet", "Sounds"),
        QCoreApplication::translate("CPreferencesSheet", "Upgrade")};
    return page >= 0 && page < kPageCount ? titles[page] : QString();
}

const std::array<CPreferencesSheet::Page, CPreferencesSheet::kPageCount>&
CPreferencesSheet::CreationOrder()
{
    static const std::array<Page, kPageCount> order = {Connection, Email,   Warnings, Price,
                                                       DataPlan,   Upgrade, Sounds,   General};
    return order;
}

const std::array<CPreferencesSheet::Page, CPreferencesSheet::kPageCount>&
CPreferencesSheet::SaveOrder()
{
    static const std::array<Page, kPageCount> order = {General, Connection, Email,  Warnings,
                                                       Price,   DataPlan,   Sounds, Upgrade};
    return order;
}

int CPreferencesSheet::StartPage(int page)
{
    return page >= 0 && page < kPageCount ? page : General;
}

CPreferencesSheet::Outcome CPreferencesSheet::Accept(const Pages& pages)
{
    // Checking every page before any writes keeps Cancel honest: a refused value leaves
    // the window open with nothing stored, whatever the user does next.
    for (const Page page : SaveOrder()) {
        if (pages[page] == nullptr)
            continue;
        if (QWidget* field = pages[page]->Check())
            return Outcome{page, field};
    }
    for (const Page page : SaveOrder()) {
        if (pages[page] != nullptr)
            pages[page]->Save();
    }
    return Outcome{};
}
