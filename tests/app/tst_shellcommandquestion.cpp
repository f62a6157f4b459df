#include "app/shellcommandquestion.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CMessageBox::Question)

// How a command from a shell asks its question, for where the program runs.
class TestShellCommandQuestion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void questionFollowsTheDisplay_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("display");
        QTest::addColumn<bool>("windowShown");
        QTest::addColumn<CMessageBox::Question>("question");
        using Q = CMessageBox::Question;
        QTest::newRow("x11, hidden") << u"xcb"_s << true << false << Q::SelfClosing;
        QTest::newRow("x11, shown") << u"xcb"_s << true << true << Q::Waiting;
        QTest::newRow("wayland, hidden") << u"wayland"_s << true << false << Q::SelfClosing;
        QTest::newRow("wayland-egl, shown") << u"wayland-egl"_s << true << true << Q::Waiting;
        QTest::newRow("x11 without a display") << u"xcb"_s << false << true << Q::None;
        QTest::newRow("offscreen") << u"offscreen"_s << true << true << Q::None;
        QTest::newRow("minimal") << u"minimal"_s << true << false << Q::None;
        QTest::newRow("no window system") << QString() << true << true << Q::None;
    }
    void questionFollowsTheDisplay()
    {
        QFETCH(QString, platform);
        QFETCH(bool, display);
        QFETCH(bool, windowShown);
        QFETCH(CMessageBox::Question, question);
        QCOMPARE(CShellCommandQuestion::For({platform, display}, windowShown), question);
    }

    // A program without a window system (this test) never asks.
    void hereWithoutWindowSystem()
    {
        const CShellCommandQuestion::Place here = CShellCommandQuestion::Here();
        QCOMPARE(here.platform, QString());
        QCOMPARE(CShellCommandQuestion::For(here, true), CMessageBox::Question::None);
    }
};

QTEST_GUILESS_MAIN(TestShellCommandQuestion)
#include "tst_shellcommandquestion.moc"
