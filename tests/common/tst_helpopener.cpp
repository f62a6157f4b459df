#include "gui/helpopener.h"

#include "support/scriptedmessagebox.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestHelpOpener : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The help file goes to the opener as a file URL with its fragment; no box.
    void opensTheHelpFile()
    {
        CScriptedMessageBox boxes;
        QList<QUrl> opened;
        QVERIFY(CHelpOpener::Open(u"/usr/share/orvalis/help/index.html"_s, {}, u"connections"_s,
                                  [&](const QUrl& url) {
                                      opened << url;
                                      return true;
                                  }));
        QCOMPARE(opened,
                 QList<QUrl>{QUrl(u"file:///usr/share/orvalis/help/index.html#connections"_s)});
        QVERIFY(boxes.Shown().isEmpty());
    }

    // Nothing could show it: a box says so and where the help is.
    void noBrowserIsTold()
    {
        CScriptedMessageBox boxes;
        QVERIFY(!CHelpOpener::Open(u"/opt/help/index.html"_s, {}, QString(),
                                   [](const QUrl&) { return false; }));
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown().at(0).text,
                 u"No web browser could be started to show the help. The help is in: "
                 "/opt/help/index.html"_s);
    }

    // No help file: a box lists where it was looked for; nothing is opened.
    void missingHelpIsTold()
    {
        CScriptedMessageBox boxes;
        bool asked = false;
        QVERIFY(!CHelpOpener::Open(QString(), {u"/a/index.html"_s, u"/b/index.html"_s}, QString(),
                                   [&](const QUrl&) { return asked = true; }));
        QVERIFY(!asked);
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown().at(0).text,
                 u"The help is not installed. It was looked for in:\n/a/index.html\n"
                 "/b/index.html"_s);
    }
};

QTEST_GUILESS_MAIN(TestHelpOpener)
#include "tst_helpopener.moc"
