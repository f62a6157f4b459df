#include "app/settingsstore.h"
#include "monitor/maindlg.h"

#include "support/scriptedmessagebox.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestMainDlg : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(QStringLiteral("ov.ini")));
    }

    void opensAtTheDefaultPlace()
    {
        CMainDlg dlg(*m_store, nullptr);
        dlg.Open();
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("OrvalisDUI"));
        QCOMPARE(dlg.geometry(), QRect(126, 133, 517 - 126, 425 - 133));
        QCOMPARE(dlg.Messages(), (QStringList{QStringLiteral("Welcome to Orvalis!"),
                                              QStringLiteral("System messages will go here!")}));
    }

    void startsHiddenWhenAsked()
    {
        m_store->WriteInt(QStringLiteral("Settings"), QStringLiteral("HideOnStart"), 0);
        CMainDlg dlg(*m_store, nullptr);
        dlg.Open();
        QVERIFY(!dlg.isVisible());
        dlg.ShowWindow();
        QVERIFY(dlg.isVisible());
    }

    void exitAsksAndAlwaysSavesThePlace()
    {
        CScriptedMessageBox boxes;
        CMainDlg dlg(*m_store, nullptr);
        QSignalSpy finished(&dlg, &CMainDlg::Finished);
        dlg.Open();
        dlg.setGeometry(200, 100, 391, 292);

        boxes.Answer(CMessageBox::Answer::No);
        dlg.Exit();
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].text,
                 QStringLiteral("You are about to exit Orvalis. Are you sure ?"));
        QCOMPARE(boxes.Shown()[0].caption, QStringLiteral("Are you sure ?"));
        QCOMPARE(boxes.Shown()[0].icon, CMessageBox::Icon::Question);
        QCOMPARE(finished.count(), 0);
        QVERIFY(dlg.isVisible());
        QCOMPARE(m_store->ReadInt(QStringLiteral("Settings"), QStringLiteral("RedaWindowPosl"), 0),
                 200);
        QCOMPARE(m_store->ReadInt(QStringLiteral("Settings"), QStringLiteral("RedaWindowPosb"), 0),
                 392);
        QCOMPARE(
            m_store->ReadInt(QStringLiteral("Settings"), QStringLiteral("RedaWindowMinimized"), 9),
            0);

        boxes.Answer(CMessageBox::Answer::Yes);
        dlg.Exit();
        QCOMPARE(finished.count(), 1);
    }

    void exitWithoutQuestion()
    {
        m_store->WriteInt(QStringLiteral("Settings"), QStringLiteral("ConfirmExit"), 0);
        CScriptedMessageBox boxes;
        CMainDlg dlg(*m_store, nullptr);
        QSignalSpy finished(&dlg, &CMainDlg::Finished);
        dlg.Open();
        dlg.Exit();
        QCOMPARE(boxes.Shown().size(), 0);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_store->ReadInt(QStringLiteral("Settings"), QStringLiteral("RedaWindowPosr"), 0),
                 517);
    }

    void placementRules()
    {
        CWindowPlacement placement(*m_store);
        placement.Load();
        // Bottom edge exactly 0: nothing is written.
        placement.Save(QRect(10, -50, 100, 50), false);
        QCOMPARE(m_store->ReadInt(QStringLiteral("Settings"), QStringLiteral("RedaWindowPosl"), -1),
                 -1);
        // Above the screen counts as minimized: the rectangle from the opening is kept.
        placement.Save(QRect(10, -500, 100, 50), false);
        QCOMPARE(m_store->ReadInt(QStringLiteral("Settings"), QStringLiteral("RedaWindowPosl"), -1),
                 126);
        QCOMPARE(
            m_store->ReadInt(QStringLiteral("Settings"), QStringLiteral("RedaWindowMinimized"), -1),
            1);
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

    void closeOnlyHides()
    {
        CMainDlg dlg(*m_store, nullptr);
        QSignalSpy finished(&dlg, &CMainDlg::Finished);
        dlg.Open();
        QVERIFY(!dlg.close());
        QVERIFY(!dlg.isVisible());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(m_store->ReadInt(QStringLiteral("Settings"), QStringLiteral("RedaWindowPost"), 0),
                 133);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
};

QTEST_MAIN(TestMainDlg)
#include "tst_maindlg.moc"
