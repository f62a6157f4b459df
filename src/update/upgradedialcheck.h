#pragma once

#include "dialer/dialcheck.h"
#include "update/updatequery.h"

// The upgrade check that the dial window runs on demand. The exchange runs on a worker
// thread; the window's thread only hears the outcome:
// - "OK": the window says there is no update;
// - no answer: the window shows the error and invites the user to the web site;
// - anything else: the server's text in a box, then the window closes.
class CUpgradeDialCheck : public CDialCheck {
    Q_OBJECT

public:
    explicit CUpgradeDialCheck(CUpdateQuery query, QObject* parent = nullptr);

    void Start() override;

    // The project's web site, named when the server cannot be reached.
    static QString WebSite();

private:
    void OnReply(const QString& reply);

    CUpdateQuery m_query;
};
