#pragma once

#include <QString>

#include <array>

class CPreferencesPage;
class QWidget;

// The rules of the preferences window without its widgets: which pages it has and in which
// order they are listed, made and saved, and what OK does.
class CPreferencesSheet {
public:
    // The pages by their place in the tree.
    enum Page { General, Connection, Email, Warnings, Price, DataPlan, Sounds, Upgrade };
    static constexpr int kPageCount = 8;
    using Pages = std::array<CPreferencesPage*, kPageCount>;

    // The tree item of a page.
    static QString Title(int page);
    // The order in which the window makes its pages.
    static const std::array<Page, kPageCount>& CreationOrder();
    // The order in which OK checks and saves them.
    static const std::array<Page, kPageCount>& SaveOrder();
    // The page to open on: a number outside the tree opens the General page.
    static int StartPage(int page);

    // What OK found: the page and field refused (page -1 when every page was saved).
    struct Outcome {
        int page = -1;
        QWidget* field = nullptr;
    };
    // OK: every page checks its values in the save order; the first refusal stops there with
    // nothing written. Otherwise every page saves, in the save order.
    static Outcome Accept(const Pages& pages);
};
