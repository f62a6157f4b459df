#pragma once

class QWidget;

// One page of the preferences window. A page loads its controls from the settings when it
// is made; the window shows its widget and, on OK, first asks every page to check its
// values and then asks every page to save. Cancel asks nothing, so nothing is written.
class CPreferencesPage {
public:
    virtual ~CPreferencesPage();

    // The page's controls. The window takes them as its child, which then owns the page.
    virtual QWidget* Widget() = 0;
    // Null when every value can be stored. Otherwise the page has said what is wrong (through
    // CMessageBox) and gives the field to put right; the window then shows the page with
    // that field focused. Writes nothing.
    virtual QWidget* Check() = 0;
    // Writes every value of the page; called only after Check() of every page found nothing.
    virtual void Save() = 0;
};
