#include "gui/selfclosingbox.h"
#include "gui/widgetmessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>

using namespace Qt::StringLiterals;

// The box of a question that closes itself: the seconds left on the box, its answer at 0,
// and an answer given in time. The ticks are driven by hand.
class TestSelfClosingBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void countsDownAndGoesAheadAtZero()
    {
        const auto dialog = Build(3);
        CSelfClosingBox* count = dialog->findChild<CSelfClosingBox*>();
        QVERIFY(count);
        QVERIFY(count->Timer().isActive());
        QCOMPARE(count->Timer().interval(), 1000);
        dialog->open();
        QCOMPARE(YesText(*dialog), u"&Yes (3)"_s);
        QVERIFY(dialog->informativeText().contains(u"3 second(s)"_s));

        count->Tick();
        QCOMPARE(YesText(*dialog), u"&Yes (2)"_s);
        QVERIFY(dialog->informativeText().contains(u"2 second(s)"_s));
        count->Tick();
        QVERIFY(dialog->isVisible());
        count->Tick();
        QCOMPARE(count->SecondsLeft(), 0);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QMessageBox::Yes));
        QVERIFY(!count->Timer().isActive());
    }

    void noInTimeStopsIt()
    {
        const auto dialog = Build(30);
        CSelfClosingBox* count = dialog->findChild<CSelfClosingBox*>();
        dialog->open();
        count->Tick();
        dialog->button(QMessageBox::No)->click();
        QCOMPARE(dialog->result(), int(QMessageBox::No));
        QVERIFY(!count->Timer().isActive());
        QCOMPARE(count->SecondsLeft(), 29);
    }

    // A box that waits has no count.
    void waitingBoxHasNoCount()
    {
        const auto dialog = Build(0);
        QVERIFY(!dialog->findChild<CSelfClosingBox*>());
        QCOMPARE(YesText(*dialog), u"&Yes"_s);
    }

private:
    static std::unique_ptr<QMessageBox> Build(int seconds)
    {
        CMessageBox::Box box{u"You are about to hang up an active connection. Are you sure?"_s,
                             QString(), CMessageBox::Icon::Question, CMessageBox::Buttons::YesNo};
        box.closeAfterSeconds = seconds;
        return CWidgetMessageBox::Build(box, nullptr);
    }
    static QString YesText(const QMessageBox& dialog)
    {
        return dialog.button(QMessageBox::Yes)->text();
    }
};

QTEST_MAIN(TestSelfClosingBox)
#include "tst_selfclosingbox.moc"
