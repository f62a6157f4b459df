#include "app/startupboxes.h"

#include <QCoreApplication>
#include <QTest>

using Box = CMessageBox::Box;
using Buttons = CMessageBox::Buttons;

// Boxes that only tell wait for the event loop; questions do not.
class TestStartupBoxes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tellingBoxesWaitForTheLoop()
    {
        QStringList shown;
        {
            CStartupBoxes boxes([&shown](const Box& box) {
                shown.append(box.text);
                return box.buttons == Buttons::YesNo ? CMessageBox::Answer::Yes
                                                     : CMessageBox::Answer::Ok;
            });
            CMessageBox::Error(QStringLiteral("first"));
            QVERIFY(CMessageBox::Ask(QStringLiteral("question")));
            CMessageBox::Inform(QStringLiteral("second"));
            QCOMPARE(shown, QStringList{QStringLiteral("question")});
            QCOMPARE(boxes.HeldCount(), 2);

            boxes.ShowOnceRunning();
            QCOMPARE(shown.size(), 1);
            QTRY_COMPARE(shown.size(), 3);
            QCOMPARE(shown.mid(1),
                     (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
            // Once running, a box shows at once.
            CMessageBox::Error(QStringLiteral("third"));
            QCOMPARE(shown.last(), QStringLiteral("third"));
        }
        // Gone, it leaves its presenter behind for the rest of the run.
        CMessageBox::Error(QStringLiteral("after"));
        QCOMPARE(shown.last(), QStringLiteral("after"));
        CMessageBox::SetPresenter({});
    }

    // A start that ends before its loop runs shows what it held, then the rest at once.
    void showNowForAnEarlyEnd()
    {
        QStringList shown;
        CStartupBoxes boxes([&shown](const Box& box) {
            shown.append(box.text);
            return CMessageBox::Answer::Ok;
        });
        CMessageBox::Error(QStringLiteral("held"));
        QVERIFY(shown.isEmpty());
        boxes.ShowNow();
        CMessageBox::Error(QStringLiteral("last words"));
        QCOMPARE(shown, (QStringList{QStringLiteral("held"), QStringLiteral("last words")}));
    }
};

QTEST_GUILESS_MAIN(TestStartupBoxes)
#include "tst_startupboxes.moc"
