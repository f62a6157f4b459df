#pragma once

#include "prefs/gui/prefstitlestrip.h"
#include "prefs/preferencessheet.h"

#include "gui/treepages.h"

#include <QDialog>

#include <functional>
#include <memory>

class CPreferencesPage;

// What the preferences window is built from; the program's start-up provides it.
struct CPreferencesParts {
    // Makes the page of a tree position (CPreferencesSheet::Page).
    std::function<std::unique_ptr<CPreferencesPage>(int page)> makePage;
    // Asked before anything is shown (the password for changes); empty allows.
    std::function<bool()> mayOpen;
};

// The preferences window: the tree of the eight pages on the left, the selected page on
// the right, OK and Cancel below, and a title strip with a close box drawn by the window
// itself. Every page is made when the window opens, so OK also saves the pages never
// looked at, with the values they were loaded with.
class CPreferencesDlg : public QDialog {
    Q_OBJECT
public:
    CPreferencesDlg(const CPreferencesParts& parts, int startPage, QWidget* parent = nullptr);

    // Asks mayOpen, then shows the window modal on the page, centred on the parent. True
    // when it was closed with OK (every page saved); false when it was refused or cancelled.
    static bool Open(const CPreferencesParts& parts, int startPage, QWidget* parent = nullptr);

    int CurrentPage() const;
    void SelectPage(int page);
    CPreferencesPage* Page(int page) const { return m_pages[page]; }

    // OK: checks every page and saves them all, or shows the page of a refused value with
    // that field focused.
    void Ok();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CPreferencesSheet::Pages m_pages{};
    CTreePages m_frame;
    CPrefsTitleStrip::Area m_pressed = CPrefsTitleStrip::Area::None;
};
