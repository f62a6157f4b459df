#pragma once

#include "gui/treepages.h"

#include <QDialog>

#include <functional>

class CScheduleTicker;
class CSettingsStore;
class CTimerPage;

// The schedule window: the tree "Connect" / "Hangup" on the left, the page of the selected
// item on the right, OK and Cancel below. OK stores the fields of both pages; Cancel stores
// none (a sequence started or stopped meanwhile stays so, as Start and Stop act at once).
class CScheduleDlg : public QDialog {
    Q_OBJECT
public:
    enum Page { Connect, Hangup };
    static constexpr int kPageCount = 2;

    CScheduleDlg(CScheduleTicker& ticker, CSettingsStore& store, QWidget* parent = nullptr);

    // Asks mayOpen (the password, when protection covers it; empty allows), then shows the
    // window modal over the parent. True when it was closed with OK.
    static bool Open(CScheduleTicker& ticker, CSettingsStore& store,
                     const std::function<bool()>& mayOpen, QWidget* parent = nullptr);

    CTimerPage* PageAt(int page) const { return m_pages[page]; }
    int CurrentPage() const;
    void SelectPage(int page);

    void Ok();

private:
    CTimerPage* m_pages[kPageCount];
    CTreePages m_frame;
};
