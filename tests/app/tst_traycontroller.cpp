#include "app/commandrouter.h"
#include "app/gui/traycontroller.h"
#include "monitor/monitordisplay.h"

#include "support/commandfakes.h"

#include <QMenu>
#include <QTest>

using namespace Qt::StringLiterals;

// The tray icons without a main window: what the monitor reports through the display
// shows on them, and their menus reach the command router.
class TestTrayController : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_log.clear();
        m_router = std::make_unique<CCommandRouter>(m_windows, m_call, m_window);
        m_tray = std::make_unique<CTrayController>(m_display, *m_router);
        m_tray->Create();
    }

    void startsWaitingWithTheMailIconHidden()
    {
        QCOMPARE(m_tray->ConnectionTray().Picture(), int(CMonitorSink::PictureWaiting));
        QCOMPARE(m_tray->ConnectionTray().Tooltip(), u"Waiting for connection..."_s);
        QCOMPARE(m_tray->ConnectionTray().Id(), 173);
        QVERIFY(!m_tray->ConnectionTray().IsHidden());
        QCOMPARE(m_tray->MailTray().Id(), 193);
        QCOMPARE(m_tray->MailTray().Tooltip(), u"Email"_s);
        QVERIFY(m_tray->MailTray().IsHidden());
    }

    void displayPicturesReachTheIcons_data()
    {
        QTest::addColumn<int>("picture");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("connected")
            << int(CMonitorSink::PictureConnected) << u"Connected - 00:00:11"_s;
        QTest::newRow("waiting") << int(CMonitorSink::PictureWaiting)
                                 << u"Waiting for connection..."_s;
    }

    void displayPicturesReachTheIcons()
    {
        QFETCH(int, picture);
        QFETCH(QString, tooltip);
        m_display.SetTray(static_cast<CMonitorSink::Picture>(picture), tooltip);
        QCOMPARE(m_tray->ConnectionTray().Picture(), picture);
        QCOMPARE(m_tray->ConnectionTray().Tooltip(), tooltip);
        QVERIFY(m_tray->MailTray().IsHidden());
    }

    void mailIconShownByTheDisplayHiddenByItsCommand()
    {
        m_display.ShowMailTray(CMonitorSink::PictureMailError,
                               u"Error connecting to the email server."_s);
        QVERIFY(!m_tray->MailTray().IsHidden());
        QCOMPARE(m_tray->MailTray().Picture(), int(CMonitorSink::PictureMailError));
        QCOMPARE(m_tray->MailTray().Tooltip(), u"Error connecting to the email server."_s);

        m_router->Run(CCommandTable::HideMailIcon);
        QVERIFY(m_tray->MailTray().IsHidden());
        QCOMPARE(m_log, QStringList{u"clear mail count"_s});
    }

    void menuCommandsGoToTheRouter()
    {
        for (QAction* action : m_tray->ConnectionTray().Menu()->actions()) {
            if (action->text() == u"Configuration - Price"_s)
                action->trigger();
        }
        m_tray->ConnectionTray().ActivateDefault();
        QCOMPARE(m_log.size(), 2);
        QCOMPARE(m_log.first(), u"preferences 4"_s);
    }

private:
    QStringList m_log;
    CRecordingWindows m_windows{m_log};
    CRecordingCallCommands m_call{m_log};
    CRecordingWindowActions m_window{m_log};
    CMonitorDisplay m_display;
    std::unique_ptr<CCommandRouter> m_router;
    std::unique_ptr<CTrayController> m_tray;
};

QTEST_MAIN(TestTrayController)
#include "tst_traycontroller.moc"
