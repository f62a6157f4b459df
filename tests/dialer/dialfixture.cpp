#include "dialfixture.h"

#include "common/settingskeys.h"
#include "dialer/dialsession.h"

#include <QDBusConnection>
#include <QTest>

using namespace Qt::StringLiterals;

CDialFixture::CDialFixture()
    : store(dir.filePath(u"ov.ini"_s))
    , credentials(&store, QDBusConnection(u"no bus"_s))
{
    store.Write(Keys::DefaultCon, u"Home ISP"_s);
    store.Write(Keys::EntryUser(u"Home ISP"_s), u"alice"_s);
    store.Write(Keys::EntryPassword(u"Home ISP"_s), u"s3cret"_s);
}

void CDialFixture::FireAttempt(CDialSession& session, int expectedInterval)
{
    QVERIFY(session.AttemptTimer().isActive());
    QCOMPARE(session.AttemptTimer().interval(), expectedInterval);
    session.AttemptTimer().stop();
    session.Attempt();
}
