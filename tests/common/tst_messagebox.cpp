#include "common/messagebox.h"

#include "support/scriptedmessagebox.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CMessageBox::Question)

// How an action's question is asked, and what it answers.
class TestMessageBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void confirmAsksAsItIsTold_data()
    {
        QTest::addColumn<CMessageBox::Question>("question");
        QTest::addColumn<int>("answer"); // -1: nobody answers (the box closes itself)
        QTest::addColumn<bool>("goesAhead");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("closeAfter");
        using Q = CMessageBox::Question;
        const int no = int(CMessageBox::Answer::No);
        QTest::newRow("no question") << Q::None << no << true << 0 << 0;
        // A waiting box never closes itself: unanswered is No.
        QTest::newRow("waiting, nobody") << Q::Waiting << -1 << false << 1 << 0;
        QTest::newRow("self-closing, no") << Q::SelfClosing << no << false << 1 << 30;
        QTest::newRow("self-closing, nobody") << Q::SelfClosing << -1 << true << 1 << 30;
    }
    void confirmAsksAsItIsTold()
    {
        QFETCH(CMessageBox::Question, question);
        QFETCH(int, answer);
        QFETCH(bool, goesAhead);
        QFETCH(int, boxes);
        QFETCH(int, closeAfter);
        CScriptedMessageBox script;
        if (answer < 0)
            script.AnswerTimedOut();
        else
            script.Answer(CMessageBox::Answer(answer));
        QCOMPARE(CMessageBox::Confirm(question, u"Sure ?"_s), goesAhead);
        QCOMPARE(script.Shown().size(), boxes);
        if (boxes == 0)
            return;
        QCOMPARE(script.Shown()[0].text, u"Sure ?"_s);
        QCOMPARE(script.Shown()[0].caption, u"Are you sure?"_s);
        QCOMPARE(script.Shown()[0].closeAfterSeconds, closeAfter);
    }

    // Without a presenter nobody can answer: a question is No, unless it would close
    // itself and go ahead.
    void withoutPresenterTheBoxGivesItsOwnAnswer()
    {
        QVERIFY(!CMessageBox::Ask(u"Sure ?"_s));
        QVERIFY(CMessageBox::AskOrGoAhead(u"Sure ?"_s, 5));
    }
};

QTEST_GUILESS_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
