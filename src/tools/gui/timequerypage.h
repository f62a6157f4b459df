#pragma once

#include "common/settingsstore.h"
#include "tools/timequery.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

// The "Get Time" page: the computer's clock beside the last answer of a time server. A
// query runs on a thread of its own and leaves its answer in the settings (RemoteTime);
// the page shows what the settings hold, once a second.
class CTimeQueryPage : public QWidget {
    Q_OBJECT

public:
    explicit CTimeQueryPage(const CSettingsStore& store, QWidget* parent = nullptr);

    // How the queries of this page reach the server (tests: another port, short waits).
    void SetQuery(const CTimeQuery& query) { m_query = query; }

    QLabel* ComputerTimeField() const { return m_computerTime; }
    QLabel* InternetTimeField() const { return m_internetTime; }
    QPushButton* GetTimeButton() const { return m_getTime; }

    // What each tick of the page's timer does.
    void Tick();

private:
    void GetTime();

    // A store of its own: the query's worker may outlive the window.
    CSettingsStore m_store;
    CTimeQuery m_query;
    QLabel* m_computerTime;
    QLabel* m_internetTime;
    QPushButton* m_getTime;
    QTimer* m_ticker;
};
