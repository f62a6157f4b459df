#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/gui/aboutdlg.h"
#include "app/gui/maindlg.h"
#include "app/gui/mainwindowholder.h"
#include "app/gui/systemtray.h"
#include "app/gui/titlestrip.h"
#include "app/gui/traycontroller.h"
#include "app/gui/trayhost.h"
#include "app/monitorcallcommands.h"
#include "app/programend.h"
#include "app/shellcommandquestion.h"
#include "billing/gui/summarydlg.h"
#include "common/settingsstore.h"
#include "common/username.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/backends/simulator/simulatorscript.h"
#include "gui/messagedelegate.h"
#include "gui/widgetmessagebox.h"
#include "monitor/connectionmonitor.h"
#include "monitor/counterworker.h"
#include "monitor/monitordisplay.h"

#include "support/commandfakes.h"
#include "support/monitorfakes.h"
#include "support/scriptedmessagebox.h"
#include "support/showntitle.h"
#include "support/testclock.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The contrast ratio of two colours as the accessibility guidelines define it (1 to 21).
double Contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The main window with the monitor, the command router and the tray icons around it, wired
// as the composition root wires them, over the test's own services and command windows.
struct CMainDlgRig {
    CMonitorDisplay display;
    CConnectionMonitor monitor;
    CProgramEnd end;
    CMainDlg dlg;
    CMonitorCallCommands call;
    CCommandRouter router;
    CTrayController tray;

    CMainDlgRig(CSettingsStore& store, CRemoteAccess& remote, CTrafficCounters* counters,
                CSoundPlayer& sound, CMonitorServices& services, CCommandWindows& windows)
        : monitor(store, remote, counters, display, services, sound)
        , end(store, counters, monitor)
        , dlg(store, end, display)
        , call(monitor, services)
        , router(windows, call, dlg)
        , tray(display, router)
    {
        QObject::connect(&dlg, &CMainDlg::CommandChosen, &router,
                         [this](CCommandTable::Command command) { router.Run(command); });
    }
    ~CMainDlgRig() { monitor.Shutdown(); }

    void Open()
    {
        tray.Create();
        dlg.Open(tray.ConnectionTray().IsAvailable());
        monitor.Start(CUserName::Current());
    }
};

} // namespace

class TestMainDlg : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_opened.clear();
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(QStringLiteral("ov.ini")));
        m_ras =
            std::make_unique<CSimRemoteAccess>(m_dir->filePath(QStringLiteral("simulator.ini")));
    }

    void opensAtTheDefaultPlace()
    {
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        rig->Open();
        QVERIFY(dlg.isVisible());
        QCOMPARE(ShownTitle(dlg), QStringLiteral("OrvalisDUI"));
        QCOMPARE(dlg.geometry(), QRect(126, 133, 517 - 126, 425 - 133));
        QCOMPARE(dlg.Messages(), (QStringList{QStringLiteral("Welcome to Orvalis!"),
                                              QStringLiteral("System messages will go here!")}));
    }

    void startsHiddenWhenAsked()
    {
        m_store->Write(Keys::HideOnStart, 0);
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        rig->Open();
        if (rig->tray.ConnectionTray().IsAvailable()) {
            // Only the tray icon shows.
            QVERIFY(!dlg.isVisible());
            QVERIFY(!rig->tray.ConnectionTray().IsHidden());
        } else {
            // Without a notification area (offscreen) the window is the way in: minimized.
            QVERIFY(dlg.isMinimized());
        }
        rig->router.Run(CCommandTable::Show);
        QVERIFY(!dlg.isMinimized());
        QVERIFY(dlg.isVisible());
    }

    void exitAsksAndAlwaysSavesThePlace()
    {
        CScriptedMessageBox boxes;
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        QSignalSpy finished(&dlg, &CMainDlg::Finished);
        rig->Open();
        dlg.setGeometry(200, 100, 391, 292);

        boxes.Answer(CMessageBox::Answer::No);
        dlg.Exit();
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].text,
                 QStringLiteral("You are about to exit Orvalis. Are you sure?"));
        QCOMPARE(boxes.Shown()[0].caption, QStringLiteral("Are you sure?"));
        QCOMPARE(boxes.Shown()[0].icon, CMessageBox::Icon::Question);
        QCOMPARE(finished.count(), 0);
        QVERIFY(dlg.isVisible());
        QCOMPARE(m_store->Read(Keys::WindowLeft), 200);
        QCOMPARE(m_store->Read(Keys::WindowBottom), 392);
        QCOMPARE(m_store->Read(Keys::WindowMinimized, 9), 0);

        boxes.Answer(CMessageBox::Answer::Yes);
        dlg.Exit();
        QCOMPARE(finished.count(), 1);
    }

    void exitWithoutQuestion()
    {
        m_store->Write(Keys::ConfirmExit, 0);
        CScriptedMessageBox boxes;
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        QSignalSpy finished(&dlg, &CMainDlg::Finished);
        rig->Open();
        dlg.Exit();
        QCOMPARE(boxes.Shown().size(), 0);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_store->Read(Keys::WindowRight), 517);
    }

    void placementRules()
    {
        CWindowPlacement placement(*m_store);
        placement.Load();
        // Bottom edge exactly 0: nothing is written.
        placement.Save(QRect(10, -50, 100, 50), false);
        QCOMPARE(m_store->Read(Keys::WindowLeft, -1), -1);
        // Above the screen counts as minimized: the rectangle from the opening is kept.
        placement.Save(QRect(10, -500, 100, 50), false);
        QCOMPARE(m_store->Read(Keys::WindowLeft, -1), 126);
        QCOMPARE(m_store->Read(Keys::WindowMinimized, -1), 1);
        // Minimized is remembered: the next start begins hidden.
        CWindowPlacement next(*m_store);
        next.Load();
        QVERIFY(next.StartHidden());
        QCOMPARE(next.Remembered(), CWindowPlacement::DefaultRect());
        next.Save(QRect(300, 200, 391, 292), false);
        CWindowPlacement third(*m_store);
        third.Load();
        QVERIFY(!third.StartHidden());
        QCOMPARE(third.Remembered(), QRect(300, 200, 391, 292));
    }

    void wholeCallThroughTheSimulator()
    {
        CTestClock clock(QDateTime(QDate(2026, 12, 7), QTime(21, 5, 10)));
        const QString simFile = m_dir->filePath(QStringLiteral("simulator.ini"));
        QString said;
        // A connection that is already up when the program starts.
        QVERIFY(CSimulatorScript(simFile).Run(QStringLiteral("rate 4000 800"), said));
        QVERIFY(CSimulatorScript(simFile).Run(QStringLiteral("connect Home ISP"), said));
        auto counters = std::make_unique<CCounterWorker>(m_ras.get());
        QVERIFY(counters->Start());
        counters->SetQueryEnabled(true);
        CCounterWorker* worker = counters.get();
        auto rig = Rig(counters.get());
        CMainDlg& dlg = rig->dlg;
        rig->Open();
        // The clock only moves while no query runs: the worker reads it too.
        const auto poll = [&](int secs) {
            QTRY_VERIFY(!worker->Busy());
            clock.AdvanceSecs(secs);
            rig->monitor.Poll();
        };
        poll(0);
        QCOMPARE(dlg.Messages().first(), QStringLiteral("Connection Home ISP detected"));
        QCOMPARE(rig->tray.ConnectionTray().Tooltip(), QStringLiteral("Connected - 00:00:00"));
        QCOMPARE(rig->tray.ConnectionTray().Picture(), 301);
        poll(10);
        poll(1);
        // The values come from the query that finished before this tick: ten seconds in.
        QCOMPARE(dlg.Values().mid(0, 3),
                 (QStringList{QStringLiteral("00:00:11"), QStringLiteral("40000"),
                              QStringLiteral("8000")}));
        QCOMPARE(ShownTitle(dlg), QStringLiteral("00:00:11"));
        QCOMPARE(rig->tray.ConnectionTray().Tooltip(), QStringLiteral("Connected - 00:00:11"));

        // The query of the last tick reads the line before it drops (else the call's bytes
        // are those of a second earlier).
        QTRY_VERIFY(!worker->Busy());
        QVERIFY(CSimulatorScript(simFile).Run(QStringLiteral("drop"), said));
        poll(1);
        QCOMPARE(dlg.Messages().first(), QStringLiteral("Connection closed"));
        QCOMPARE(rig->tray.ConnectionTray().Tooltip(), QStringLiteral("Waiting for connection..."));
        QCOMPARE(rig->tray.ConnectionTray().Picture(), 297);
        QCOMPARE(ShownTitle(dlg), QStringLiteral("OrvalisDUI"));
        QFile log(m_dir->filePath(QStringLiteral("logfile.log")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(
            log.readAll(),
            QStringLiteral(
                "07-12-2026|21:05:10|07-12-2026|21:05:22|%1|Simulated modem|Home ISP|8800|44000|\n")
                .arg(CUserName::Current())
                .toUtf8());
        QTRY_VERIFY(!worker->Busy());
    }

    void exitWhileMinimizedKeepsTheOpeningPlace()
    {
        m_store->Write(Keys::ConfirmExit, 0);
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        rig->Open();
        dlg.move(300, 300);
        rig->router.Run(CCommandTable::Minimize);
        QVERIFY(dlg.isMinimized());
        rig->router.Run(CCommandTable::Exit);
        QCOMPARE(m_store->Read(Keys::WindowMinimized), 1);
        QCOMPARE(m_store->Read(Keys::WindowLeft), 126);
        QCOMPARE(m_store->Read(Keys::WindowBottom), 425);
    }

    void everyCommandIsReachable()
    {
        QStringList opened;
        CRecordingWindows windows(opened);
        auto rig = Rig(nullptr, &windows);
        CMainDlg& dlg = rig->dlg;
        rig->Open();

        QStringList bar;
        for (QAction* action : dlg.MenuBar()->actions())
            bar << action->text();
        QCOMPARE(bar, (QStringList{QStringLiteral("Connection"), QStringLiteral("Preferences"),
                                   QStringLiteral("Report"), QStringLiteral("Help"),
                                   QStringLiteral("View"), QStringLiteral("Exit")}));

        // Buttons, the menu bar, the tray menu and numbers from outside reach the same commands.
        dlg.findChild<QToolButton*>(QStringLiteral("Security"))->click();
        dlg.findChild<QToolButton*>(QStringLiteral("Settings"))->click();
        dlg.findChild<QToolButton*>(QStringLiteral("Check mail"))->click();
        dlg.findChild<QToolButton*>(QStringLiteral("Timer"))->click();
        dlg.MenuBar()->actions()[2]->menu()->actions()[0]->trigger(); // Report
        QAction* dataPlan = dlg.MenuBar()->actions()[1]->menu()->actions()[1];
        QCOMPARE(dataPlan->text(), QStringLiteral("Data plan"));
        dataPlan->trigger();
        for (QAction* action : rig->tray.ConnectionTray().Menu()->actions()) {
            if (action->text() == QStringLiteral("Configuration - Price"))
                action->trigger();
        }
        QVERIFY(rig->router.HandleRequest("command inet-tools"));
        QVERIFY(rig->router.HandleRequest("command 1034"));
        QVERIFY(rig->router.HandleRequest("command dataplan"));
        QVERIFY(!rig->router.HandleRequest("command 99999"));
        QVERIFY(!rig->router.HandleRequest("rubbish"));
        QTRY_COMPARE(opened.size(), 10);
        QCOMPARE(opened, (QStringList{QStringLiteral("security"), QStringLiteral("preferences 0"),
                                      QStringLiteral("mail"), QStringLiteral("schedule"),
                                      QStringLiteral("report"), QStringLiteral("preferences 5"),
                                      QStringLiteral("preferences 4"), QStringLiteral("tools"),
                                      QStringLiteral("report"), QStringLiteral("preferences 5")}));
        QVERIFY(rig->monitor.Timer(CConnectionMonitor::ScheduleTimer).isActive());
        // Of those commands only the "Check mail" button adds a line.
        QCOMPARE(dlg.Messages().size(), 3);
        QCOMPARE(dlg.Messages().first(), QStringLiteral("Checking mail..."));

        // The hide button, Esc and the title strip hide; a show request brings it back.
        dlg.findChild<QToolButton*>(QStringLiteral("HideButton"))->click();
        QVERIFY(!dlg.isVisible());
        QVERIFY(rig->router.HandleRequest("12345"));
        QVERIFY(dlg.isVisible());
        QTest::keyClick(&dlg, Qt::Key_Return);
        QVERIFY(dlg.isVisible());
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
        rig->router.Run(CCommandTable::Show);
        QTest::mouseClick(&dlg, Qt::LeftButton, {}, QPoint(380, 5));
        QVERIFY(!dlg.isVisible());
        rig->router.Run(CCommandTable::Show);
        QTest::mouseClick(&dlg, Qt::LeftButton, {}, QPoint(360, 5));
        QVERIFY(dlg.isMinimized());
    }

    void titleStripAreas()
    {
        QCOMPARE(CTitleStrip::At(QPoint(349, 12)), CTitleStrip::Area::Drag);
        QCOMPARE(CTitleStrip::At(QPoint(350, 5)), CTitleStrip::Area::None);
        QCOMPARE(CTitleStrip::At(QPoint(351, 5)), CTitleStrip::Area::Minimize);
        QCOMPARE(CTitleStrip::At(QPoint(370, 5)), CTitleStrip::Area::None);
        QCOMPARE(CTitleStrip::At(QPoint(371, 5)), CTitleStrip::Area::Hide);
        QCOMPARE(CTitleStrip::At(QPoint(371, 13)), CTitleStrip::Area::None);
        QCOMPARE(CTitleStrip::At(QPoint(361, 125)), CTitleStrip::Area::Logo);
        QCOMPARE(CTitleStrip::At(QPoint(360, 200)), CTitleStrip::Area::None);
        QCOMPARE(CCommandTable::Parse(QStringLiteral("hangup")), 32812);
        QCOMPARE(CCommandTable::Parse(QStringLiteral(" 1035 ")), 32780);
        QCOMPARE(CCommandTable::Parse(QStringLiteral("12")), 0);
    }

    void closeOnlyHides()
    {
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        QSignalSpy finished(&dlg, &CMainDlg::Finished);
        rig->Open();
        QVERIFY(!dlg.close());
        QVERIFY(!dlg.isVisible());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(m_store->Read(Keys::WindowTop), 133);
    }

    void questionBoxesAreReadable()
    {
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        rig->Open();
        // The exit question, drawn the way the program draws it, over the main window.
        const std::unique_ptr<QMessageBox> box = CWidgetMessageBox::Build(
            {QStringLiteral("You are about to exit Orvalis. Are you sure?"),
             QStringLiteral("Are you sure?"), CMessageBox::Icon::Question,
             CMessageBox::Buttons::YesNo},
            &dlg);
        box->show();
        const QImage image = box->grab().toImage();
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label != nullptr);
        const QRect text(label->mapTo(box.get(), QPoint(0, 0)), label->size());
        const QColor background = image.pixelColor(2, 2);
        // The text's own colour is the pixel that stands out most from the background.
        double best = 1;
        for (int y = text.top(); y <= text.bottom(); ++y) {
            for (int x = text.left(); x <= text.right(); ++x)
                best = std::max(best, Contrast(image.pixelColor(x, y), background));
        }
        QVERIFY2(best >= 4.5, qPrintable(QStringLiteral("contrast %1").arg(best)));
        // The window itself keeps its dark skin.
        QCOMPARE(dlg.grab().toImage().pixelColor(dlg.width() / 2, dlg.height() - 3),
                 QColor(0x1e, 0x1e, 0x1e));
    }

    void exitWhileStillHiddenStaysHidden()
    {
        m_store->Write(Keys::ConfirmExit, 0);
        m_store->Write(Keys::WindowMinimized, 1);
        {
            auto rig = Rig();
            CMainDlg& dlg = rig->dlg;
            rig->Open();
            QVERIFY(!dlg.isVisible() || dlg.isMinimized());
            rig->router.Run(CCommandTable::Exit);
        }
        QCOMPARE(m_store->Read(Keys::WindowMinimized), 1);
        CWindowPlacement next(*m_store);
        next.Load();
        QVERIFY(next.StartHidden());
    }

    void messagesAreWholeLinesNewestFirst()
    {
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        // A line added before the window opens (the backend that was chosen) is newer than
        // the welcome lines.
        const QString note = QStringLiteral("NetworkManager is not running: using the "
                                            "connection simulator");
        dlg.AddMessage(note);
        rig->Open();
        const QString path =
            QStringLiteral("/home/somebody/.local/share/orvalis/logfiles/logfile-2026-12.log");
        dlg.AddMessage(QStringLiteral("Connection Home ISP detected"));
        dlg.AddMessage(path);
        QCOMPARE(dlg.Messages(), (QStringList{path, QStringLiteral("Connection Home ISP detected"),
                                              note, QStringLiteral("Welcome to Orvalis!"),
                                              QStringLiteral("System messages will go here!")}));
        QCOMPARE(dlg.size(), QSize(CMainDlg::kWidth, CMainDlg::kHeight));

        auto* view = dlg.findChild<QTreeView*>();
        view->doItemsLayout();
        const int width = view->viewport()->width();
        const QFontMetrics metrics(view->font());
        QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
        for (int row = 0; row < dlg.Messages().size(); ++row) {
            const QString line = dlg.Messages().at(row);
            const QRect cell = view->visualRect(view->model()->index(row, 0));
            QVERIFY2(cell.left() >= 0 && cell.right() < width, qPrintable(line));
            // Every line fits in its row, wrapped at the list's width.
            QTextLayout layout(line, view->font());
            const int needed = CMessageDelegate::Wrap(layout, cell.width() - 6);
            QVERIFY2(needed <= cell.height(), qPrintable(line));
            // Words are not cut where a line has room for them.
            if (!line.startsWith(u'/')) {
                for (int i = 0; i < layout.lineCount(); ++i) {
                    const QTextLine wrapped = layout.lineAt(i);
                    const int end = wrapped.textStart() + wrapped.textLength();
                    QVERIFY2(end == line.size() || line.at(end - 1).isSpace(), qPrintable(line));
                }
            }
            if (metrics.horizontalAdvance(line) > width)
                QVERIFY2(cell.height() >= 2 * metrics.height(), qPrintable(line));
        }
    }

    void escapeHidesWhateverHasFocus()
    {
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        rig->Open();
        rig->router.Run(CCommandTable::Show);
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        // A menu of the menu bar opened with the mouse and closed with Esc leaves the focus on
        // the menu bar.
        QMenuBar* bar = dlg.MenuBar();
        QAction* connection = bar->actions().first();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(connection).center());
        QTRY_VERIFY(connection->menu()->isVisible());
        QTest::keyClick(connection->menu(), Qt::Key_Escape);
        QTRY_VERIFY(!connection->menu()->isVisible());
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : bar, Qt::Key_Escape);
        QTRY_VERIFY(!dlg.isVisible());
    }

    // While the window is hidden a command from outside asks, on a display, with boxes that
    // close themselves and go ahead; offscreen it does not ask at all.
    void outsideCommandsWhileTheWindowIsHidden()
    {
        const bool display = CShellCommandQuestion::For(CShellCommandQuestion::Here(), false) !=
                             CMessageBox::Question::None;
        CTestClock clock(QDateTime(QDate(2026, 12, 7), QTime(21, 5, 10)));
        const QString simFile = m_dir->filePath(QStringLiteral("simulator.ini"));
        QString said;
        QVERIFY(CSimulatorScript(simFile).Run(QStringLiteral("connect Home ISP"), said));
        CScriptedMessageBox boxes;
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        QSignalSpy finished(&dlg, &CMainDlg::Finished);
        rig->Open();
        rig->monitor.Poll();
        QVERIFY(rig->monitor.Connected());
        // Offscreen nothing can be seen; on a display the window is put away in the tray.
        rig->router.Run(CCommandTable::Hide);

        if (display) {
            boxes.AnswerTimedOut();
            boxes.AnswerTimedOut();
        }
        QVERIFY(rig->router.HandleRequest("command hangup"));
        QTRY_VERIFY(rig->monitor.UserHungUp());
        QVERIFY(rig->router.HandleRequest("command exit"));
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(boxes.Shown().size(), display ? 2 : 0);
        for (const CMessageBox::Box& box : boxes.Shown())
            QCOMPARE(box.closeAfterSeconds, CMessageBox::kSelfCloseSeconds);
        QCOMPARE(boxes.Unanswered(), 0);
        QCOMPARE(m_store->Read(Keys::ConfirmExit), 1);
        QCOMPARE(m_store->Read(Keys::ConfirmHangup), 1);
    }

    void outsideCommandsAskWhileTheWindowIsOnScreen()
    {
        if (CTrayHost::Headless())
            QSKIP("needs a display (run by sni_session.py)");
        CScriptedMessageBox boxes;
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        QSignalSpy finished(&dlg, &CMainDlg::Finished);
        rig->Open();
        rig->router.Run(CCommandTable::Show);
        boxes.Answer(CMessageBox::Answer::No);
        QVERIFY(rig->router.HandleRequest("command exit"));
        QTRY_COMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].closeAfterSeconds, 0);
        QCOMPARE(finished.count(), 0);
    }

    // A window nobody sees keeps the call's values and title for later: they catch up when
    // it shows (offscreen, where nothing is seen, the values only then).
    void valuesReachTheLabelsWhenTheWindowShows()
    {
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        rig->Open();
        rig->router.Run(CCommandTable::Hide);
        const QStringList values{u"00:00:07"_s, u"4000"_s, u"800"_s};
        rig->display.SetCallValues(values[0], values[1], values[2]);
        rig->display.SetTitle(values[0]);
        QCOMPARE(ShownTitle(dlg), u"OrvalisDUI"_s);
        const auto shown = [&dlg] {
            QStringList texts;
            for (const QLabel* label : dlg.findChildren<QLabel*>())
                texts << label->text();
            return texts;
        };
        QVERIFY(!shown().contains(values[0]));
        QCOMPARE(dlg.Values().mid(0, 3), values);
        rig->router.Run(CCommandTable::Show);
        QVERIFY(shown().contains(values[0]) && shown().contains(values[2]));
        QCOMPARE(ShownTitle(dlg), values[0]);
    }

    // The main window is built once, when something first needs it, with what the monitor
    // showed before.
    void theHolderBuildsTheWindowOnFirstUse()
    {
        m_store->Write(Keys::HideOnStart, 0);
        auto rig = Rig();
        CMainWindowHolder holder(*m_store, rig->end, rig->display);
        holder.Open(true);
        rig->display.AddMessage(u"Connection Home ISP detected"_s);
        rig->display.SetTitle(u"00:00:07"_s);
        rig->display.SetCallValues(u"00:00:07"_s, u"4000"_s, u"800"_s);
        rig->display.SetMailCount(u"You have 2 new email(s)"_s);
        holder.HideWindow();
        holder.ClearMailCount();
        QVERIFY(!holder.Built());
        QVERIFY(!holder.OnScreen());

        rig->display.ShowWindow();
        QVERIFY(holder.Built());
        CMainDlg& dlg = holder.Window();
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.Messages().first(), u"Connection Home ISP detected"_s);
        QCOMPARE(ShownTitle(dlg), u"00:00:07"_s);
        QCOMPARE(dlg.Values(),
                 (QStringList{u"00:00:07"_s, u"4000"_s, u"800"_s, CUserName::Current(), u"0"_s}));
        holder.ShowWindow();
        QCOMPARE(&holder.Window(), &dlg);
        QCOMPARE(dlg.Messages().size(), 3);
    }

    // Ending the run saves the place as the window would have and builds no window.
    void endingBuildsNoWindow()
    {
        m_store->Write(Keys::HideOnStart, 0);
        CScriptedMessageBox boxes;
        auto rig = Rig();
        rig->Open();
        CMainWindowHolder holder(*m_store, rig->end, rig->display);
        QSignalSpy finished(&holder, &CMainWindowHolder::Finished);
        holder.Open(true);
        boxes.Answer(CMessageBox::Answer::No);
        holder.Exit(CMessageBox::Question::Waiting);
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(m_store->Read(Keys::WindowMinimized), 1);
        QCOMPARE(m_store->Read(Keys::WindowRight), 517);
        QCOMPARE(holder.Quit(), QString());
        QCOMPARE(finished.count(), 1);
        QVERIFY(!holder.Built());
    }

    void aCommandWindowOpensOnceAndIsRaised()
    {
        auto rig = Rig();
        CMainDlg& dlg = rig->dlg;
        rig->Open();
        // Windows stacked one over another are counted and closed, so the test ends.
        int most = 0;
        QTimer guard;
        connect(&guard, &QTimer::timeout, &dlg, [&] {
            const QList<QDialog*> open = dlg.findChildren<QDialog*>();
            most = std::max(most, static_cast<int>(open.size()));
            if (open.size() > 1) {
                for (QDialog* window : open)
                    window->reject();
            }
        });
        guard.start(20);
        for (const QByteArray& request :
             {QByteArray("command about"), QByteArray("command summary")}) {
            for (int i = 0; i < 4; ++i)
                QVERIFY(rig->router.HandleRequest(request));
            QTRY_COMPARE(dlg.findChildren<QDialog*>().size(), 1);
            QDialog* window = dlg.findChildren<QDialog*>().first();
            QVERIFY(request.endsWith("about") ? qobject_cast<CAboutDlg*>(window) != nullptr
                                              : qobject_cast<CSummaryDlg*>(window) != nullptr);
            QTRY_VERIFY(window->isVisible());
            QTRY_COMPARE(QApplication::activeWindow(), window);
            // Asked for once more while put away, it comes back to the front.
            window->showMinimized();
            QTRY_VERIFY(window->isMinimized());
            QVERIFY(rig->router.HandleRequest(request));
            QTRY_VERIFY(!window->isMinimized());
            QTRY_COMPARE(QApplication::activeWindow(), window);
            QCOMPARE(dlg.findChildren<QDialog*>().size(), 1);
            window->reject();
            QTRY_COMPARE(dlg.findChildren<QDialog*>().size(), 0);
        }
        QVERIFY(most <= 1);
    }

private:
    // The window over the test's own services, as the program's start-up would build them.
    std::unique_ptr<CMainDlgRig> Rig(CTrafficCounters* counters = nullptr,
                                     CCommandWindows* windows = nullptr)
    {
        return std::make_unique<CMainDlgRig>(*m_store, *m_ras, counters, m_sound, m_services,
                                             windows ? *windows : m_windows);
    }

    CRecordingSound m_sound;
    CRecordingServices m_services;
    QStringList m_opened;
    CRecordingWindows m_windows{m_opened};
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CSimRemoteAccess> m_ras;
};

QTEST_MAIN(TestMainDlg)
#include "tst_maindlg.moc"
