#include "app/gui/aboutdlg.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestAboutDlg : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheProgramAndClosesWithOk()
    {
        CAboutDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.isModal());

        const auto* artwork = dialog.findChild<QLabel*>(QStringLiteral("artwork"));
        QVERIFY(artwork);
        QVERIFY(!artwork->pixmap().isNull()); // the artwork is in the resources
        const auto* version = dialog.findChild<QLabel*>(QStringLiteral("version"));
        QVERIFY(version);
        QCOMPARE(version->text(), QStringLiteral("Version " ORVALIS_VERSION));

        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("ok"));
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestAboutDlg)
#include "tst_aboutdlg.moc"
