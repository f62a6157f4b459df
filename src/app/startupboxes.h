#pragma once

#include "common/messagebox.h"

#include <QList>

// Holds back the boxes that only tell something (an OK button, no answer wanted) while the
// program starts, and shows them once its event loop runs: by then the monitor watches
// calls and the end signals are heard, so a box nobody answers stops neither. Questions
// are asked at once. A box asked on another thread goes to the main thread.
//
// Installs itself as the message-box presenter over `inner` for its lifetime.
class CStartupBoxes {
public:
    explicit CStartupBoxes(CMessageBox::Presenter inner);
    ~CStartupBoxes();
    CStartupBoxes(const CStartupBoxes&) = delete;
    CStartupBoxes& operator=(const CStartupBoxes&) = delete;

    // The boxes held so far, and those asked later, show as soon as the event loop runs.
    void ShowOnceRunning();
    // Shows the boxes held so far now, and those asked later at once: for a start that
    // ends before its event loop runs.
    void ShowNow();

    int HeldCount() const { return static_cast<int>(m_held.size()); }

private:
    CMessageBox::Answer Present(const CMessageBox::Box& box);

    CMessageBox::Presenter m_inner;
    QList<CMessageBox::Box> m_held;
    bool m_holding = true;
};
