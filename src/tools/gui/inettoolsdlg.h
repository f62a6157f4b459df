#pragma once

#include "gui/treepages.h"

#include <QDialog>

class CNameLookupPage;
class CTimeQueryPage;
class CPingPage;
class CSettingsStore;
class QTreeWidget;

// The Internet tools window: the tree of the three tools on the left, the page of the
// selected one on the right. All pages are made with the window and live as long as it
// does; a page that is not selected is hidden, so its results stay.
class CInetToolsDlg : public QDialog {
    Q_OBJECT

public:
    // Tree positions.
    enum Page { HostToIP, Time, Ping, kPageCount };

    explicit CInetToolsDlg(const CSettingsStore& store, QWidget* parent = nullptr);

    void SelectPage(int page);
    int CurrentPage() const;
    QTreeWidget* Tree() const { return m_frame.Tree(); }
    CNameLookupPage* HostToIPPage() const { return m_hostToIP; }
    CTimeQueryPage* TimePage() const { return m_time; }
    CPingPage* PingPage() const { return m_ping; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CTreePages m_frame;
    CNameLookupPage* m_hostToIP;
    CTimeQueryPage* m_time;
    CPingPage* m_ping;
};
