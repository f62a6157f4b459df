#include "common/inidocument.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestIniDocument : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Lines the document does not understand come back as they were; only the line ends
    // are made alike.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("written");
        const QByteArray mixed("; c\n[S]\nA=1\n# x\n\n  B = 2 \ngarbage\n[]\n=v\n");
        QTest::newRow("comments, blanks, garbage") << mixed << mixed;
        QTest::newRow("crlf") << "[S]\r\nA=1\r\n"_ba
                              << "[S]\r\nA=1\r\n"_ba;
        QTest::newRow("first line end rules") << "[S]\r\nA=1\nB=2\r\n"_ba
                                              << "[S]\r\nA=1\r\nB=2\r\n"_ba;
        QTest::newRow("no final line end") << "[S]\nA=1"_ba
                                           << "[S]\nA=1\n"_ba;
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void roundTrip()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, written);
        QCOMPARE(CIniDocument(text).ToText(), written);
    }

    void value_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("value");
        QTest::newRow("any letter case") << "[Settings]\nConfirmExit=0\n"_ba << u"SETTINGS"_s
                                         << u"confirmexit"_s << true << u"0"_s;
        QTest::newRow("blanks cut")
            << "[ S ]\n\t K =  v w \r\n"_ba << u"S"_s << u"K"_s << true << u"v w"_s;
        QTest::newRow("equals in value")
            << "[S]\nK=a=b\n"_ba << u"S"_s << u"K"_s << true << u"a=b"_s;
        QTest::newRow("empty value") << "[S]\nK=\n"_ba << u"S"_s << u"K"_s << true << u""_s;
        QTest::newRow("first line of a key")
            << "[S]\nK=1\nk=2\n"_ba << u"S"_s << u"K"_s << true << u"1"_s;
        QTest::newRow("first section holding it")
            << "[S]\nA=1\n[T]\nK=2\n[s]\nK=3\n[S]\nK=4\n"_ba << u"S"_s << u"K"_s << true << u"3"_s;
        QTest::newRow("before any section")
            << "K=1\n[S]\n"_ba << u"S"_s << u"K"_s << false << QString();
        QTest::newRow("other section")
            << "[S]\n[T]\nK=1\n"_ba << u"S"_s << u"K"_s << false << QString();
        QTest::newRow("comments") << "[S]\n;K=1\n#K=2\n"_ba << u"S"_s << u"K"_s << false
                                  << QString();
    }
    void value()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, found);
        QFETCH(QString, value);
        const std::optional<QString> got = CIniDocument(text).Value(section, key);
        QCOMPARE(got.has_value(), found);
        if (found)
            QCOMPARE(*got, value);
    }

    // A null value removes the key.
    void edit_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("replace keeps the file's spelling")
            << "[S]\n  kEy = 1\n"_ba << u"s"_s << u"KEY"_s << u"2"_s << true << "[S]\nkEy=2\n"_ba;
        QTest::newRow("only the first of two")
            << "[S]\nK=1\nK=2\n"_ba << u"S"_s << u"K"_s << u"9"_s << true << "[S]\nK=9\nK=2\n"_ba;
        QTest::newRow("new key after the section's last line")
            << "[S]\nA=1\n\n[T]\n"_ba << u"S"_s << u"B"_s << u"2"_s << true
            << "[S]\nA=1\nB=2\n\n[T]\n"_ba;
        QTest::newRow("new key into the first of two sections")
            << "[S]\nA=1\n[T]\n[S]\nC=3\n"_ba << u"S"_s << u"B"_s << u"2"_s << true
            << "[S]\nA=1\nB=2\n[T]\n[S]\nC=3\n"_ba;
        QTest::newRow("new section at the end")
            << "; c\r\n"_ba << u"Inet"_s << u"Server"_s << u"x"_s << true
            << "; c\r\n[Inet]\r\nServer=x\r\n"_ba;
        QTest::newRow("value stays one line")
            << QByteArray() << u"S"_s << u"K"_s << u"a\r\n[T]"_s << true << "[S]\nK=a  [T]\n"_ba;
        QTest::newRow("names made fit")
            << QByteArray() << u"S]x"_s << u"[a=b"_s << u"1"_s << true << "[S x]\n_[a:b=1\n"_ba;
        QTest::newRow("no key name")
            << "[S]\n"_ba << u"S"_s << u" "_s << u"1"_s << false << "[S]\n"_ba;
        QTest::newRow("remove") << "[S]\nA=1\nB=2\n"_ba << u"S"_s << u"a"_s << QString() << true
                                << "[S]\nB=2\n"_ba;
        QTest::newRow("remove missing")
            << "[S]\nA=1\n"_ba << u"T"_s << u"A"_s << QString() << false << "[S]\nA=1\n"_ba;
    }
    void edit()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(bool, changed);
        QFETCH(QByteArray, written);
        CIniDocument document(text);
        if (value.isNull())
            QCOMPARE(document.Remove(section, key), changed);
        else
            QCOMPARE(document.SetValue(section, key, value), changed);
        QCOMPARE(document.ToText(), written);
        QCOMPARE(CIniDocument::IsUsableKey(key), !key.trimmed().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestIniDocument)
#include "tst_inidocument.moc"
