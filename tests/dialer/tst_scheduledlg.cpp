#include "app/gui/windowopener.h"
#include "common/settingsstore.h"
#include "dialer/gui/optconnectionpage.h"
#include "dialer/gui/scheduledlg.h"
#include "dialer/gui/timerpage.h"
#include "dialer/scheduleticker.h"
#include "prefs/preferencessheet.h"

#include "support/monitorfakes.h"
#include "support/windowopenerrig.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestScheduleDlg : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(QStringLiteral("ov.ini")));
    }

    // The Connection page shows each key with its default (the project's address for a
    // missing UrlToLaunch, no busy choice for 0), writes them all on save, and leaves
    // RedialWhenBusy and an action list without a choice as they were.
    void connectionPageLoadsAndSaves()
    {
        CRecordingSound sound;
        CWindowOpenerRig rig(*m_store, sound);
        std::unique_ptr<CPreferencesPage> made =
            rig.windows.Pages().Make(CPreferencesSheet::Connection);
        auto* page = dynamic_cast<COptConnectionPage*>(made.get());
        QVERIFY(page);
        QCOMPARE(page->ActionList()->currentIndex(), 0);
        QCOMPARE(page->ActionList()->currentText(), QStringLiteral("Do nothing"));
        QCOMPARE(page->IntervalEdit()->text(), QStringLiteral("10"));
        QCOMPARE(page->UrlEdit()->text(), QStringLiteral("https://orvalis.example.org/"));
        QCOMPARE(page->RedialTimesEdit()->text(), QStringLiteral("3"));
        for (int choice = 1; choice <= 3; ++choice)
            QVERIFY(!page->BusyButton(choice)->isChecked());
        page->Save();
        QCOMPARE(
            FileBytes(m_store->Path()),
            QByteArray("[Settings]\nHangupComboState=0\nHangupInterval=10\nRedialTimes=3\n"
                       "LaunchBrowser=0\nRedial=0\nUrlToLaunch=https://orvalis.example.org/\n"));

        m_store->Write(Keys::RedialWhenBusy, 2);
        m_store->Write(Keys::HangupComboState, 2);
        m_store->Write(Keys::UrlToLaunch, QString());
        COptConnectionPage second(*m_store);
        QCOMPARE(second.ActionList()->currentText(), QStringLiteral("Stay online"));
        QVERIFY(second.BusyButton(CHangupOptions::RedialTillConnected)->isChecked());
        QCOMPARE(second.UrlEdit()->text(), QString());
        second.ActionList()->setCurrentIndex(1);
        second.IntervalEdit()->setText(QStringLiteral(" 15"));
        second.BrowserBox()->setChecked(true);
        second.UrlEdit()->setText(QStringLiteral("http://127.0.0.1/start"));
        second.RedialBox()->setChecked(true);
        second.BusyButton(CHangupOptions::RedialTimes)->click();
        second.RedialTimesEdit()->setText(QStringLiteral("5x"));
        second.Save();
        QCOMPARE(FileBytes(m_store->Path()),
                 QByteArray("[Settings]\nHangupComboState=1\nHangupInterval=15\nRedialTimes=5\n"
                            "LaunchBrowser=1\nRedial=1\nUrlToLaunch=http://127.0.0.1/start\n"
                            "RedialWhenBusy=1\n"));

        m_store->Write(Keys::HangupComboState, 7);
        COptConnectionPage third(*m_store);
        QCOMPARE(third.ActionList()->currentIndex(), -1);
        QVERIFY(third.BusyButton(CHangupOptions::RedialTimes)->isChecked());
        third.Save();
        QCOMPARE(m_store->Read(Keys::HangupComboState), 7);
    }

    // Start and Stop act at once; the status lines follow the ticker; OK stores both pages'
    // fields and Cancel none.
    void pagesStartStopAndStore()
    {
        CScheduleTicker ticker(*m_store);
        {
            CScheduleDlg dlg(ticker, *m_store);
            QCOMPARE(dlg.CurrentPage(), int(CScheduleDlg::Connect));
            CTimerPage* dial = dlg.PageAt(CScheduleDlg::Connect);
            CTimerPage* hangup = dlg.PageAt(CScheduleDlg::Hangup);
            QCOMPARE(dial->TimeEdit()->text(), QStringLiteral("12:00:00"));
            QCOMPARE(dial->IntervalEdit()->text(), QStringLiteral("10"));
            QCOMPARE(dial->UnitList()->currentText(), QStringLiteral("Seconds"));
            QVERIFY(!dial->AtTimeChoice()->isChecked() && !dial->AfterChoice()->isChecked());
            QCOMPARE(hangup->StatusLine()->text(), QStringLiteral("Hangup sequence terminated"));
            QCOMPARE(hangup->StartButton()->text(), QStringLiteral("Start hangup sequence"));

            dial->AfterChoice()->click();
            dial->IntervalEdit()->setText(QStringLiteral("2"));
            dial->UnitList()->setCurrentIndex(1);
            dial->StartButton()->click();
            QCOMPARE(ticker.Counter(CScheduleTicker::Dial), 120);
            QCOMPARE(m_store->Read(Keys::DialSecsToDial), 120);
            QCOMPARE(ticker.Tick(), CScheduleTicker::Nothing);
            QTRY_COMPARE(dial->StatusLine()->text(), QStringLiteral("Time remaining : 00:02:00"));
            QTRY_COMPARE(hangup->StatusLine()->text(), QStringLiteral("Hangup sequence stopped"));
            dlg.reject();
        }
        QCOMPARE(m_store->Read(Keys::DialTimerInterval, -1), -1);
        QCOMPARE(m_store->Read(Keys::DialSequenceComboState, -1), -1);
        QCOMPARE(ticker.Counter(CScheduleTicker::Dial), 119);

        CScheduleDlg dlg(ticker, *m_store);
        CTimerPage* dial = dlg.PageAt(CScheduleDlg::Connect);
        QVERIFY(dial->AfterChoice()->isChecked());
        dial->IntervalEdit()->setText(QStringLiteral("3"));
        dial->UnitList()->setCurrentIndex(2);
        dial->TimeEdit()->setText(QStringLiteral("08:15:00"));
        dial->StopButton()->click();
        QCOMPARE(m_store->Read(Keys::DialSecsToDial), 0);
        QCOMPARE(m_store->Read(Keys::DialTimerInterval, -1), -1);
        dlg.Ok();
        QCOMPARE(m_store->Read(Keys::DialTimerInterval), 3);
        QCOMPARE(m_store->Read(Keys::DialSequenceComboState), 2);
        QCOMPARE(m_store->Read(Keys::DialTime), QStringLiteral("08:15:00"));
        QCOMPARE(m_store->Read(Keys::DAfterTime), 1);
        QCOMPARE(m_store->Read(Keys::DAtTime), 0);
        QCOMPARE(m_store->Read(Keys::HangupTimerInterval, -1), 10);
        QCOMPARE(m_store->Read(Keys::HAfterTime, -1), 0);
        QCOMPARE(ticker.Counter(CScheduleTicker::Dial), 0);
    }

    // The window opens only past the guard; a sequence started in it is what the program's
    // schedule tick then reports.
    void openedThroughTheGuard()
    {
        CRecordingSound sound;
        CWindowOpenerRig rig(*m_store, sound);
        CWindowOpener& features = rig.windows;
        int asked = 0;
        bool allow = false;
        rig.mayOpenSchedule = [&] {
            ++asked;
            return allow;
        };
        int shown = 0;
        const auto act = [&](const std::function<void(CScheduleDlg&)>& step) {
            QTimer::singleShot(0, [&, step] {
                auto* dlg = qobject_cast<CScheduleDlg*>(QApplication::activeModalWidget());
                if (!dlg)
                    return;
                ++shown;
                step(*dlg);
                if (dlg->isVisible())
                    dlg->reject();
            });
        };
        act([](CScheduleDlg&) {});
        features.OpenSchedule();
        // The step queued for a window that never opened runs now, finding none.
        QCoreApplication::processEvents();
        QCOMPARE(asked, 1);
        QCOMPARE(shown, 0);
        QCOMPARE(int(rig.ticker.Tick()), int(CScheduleTicker::Nothing));

        allow = true;
        act([](CScheduleDlg& dlg) {
            CTimerPage* hangup = dlg.PageAt(CScheduleDlg::Hangup);
            hangup->AfterChoice()->click();
            hangup->IntervalEdit()->setText(QStringLiteral("2"));
            hangup->StartButton()->click();
        });
        features.OpenSchedule();
        QCOMPARE(asked, 2);
        QCOMPARE(shown, 1);
        QCOMPARE(int(rig.ticker.Tick()), int(CScheduleTicker::Nothing));
        QCOMPARE(int(rig.ticker.Tick()), int(CScheduleTicker::HangupNow));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
};

QTEST_MAIN(TestScheduleDlg)
#include "tst_scheduledlg.moc"
