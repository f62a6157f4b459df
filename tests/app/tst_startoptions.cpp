#include "app/startoptions.h"

#include <QTest>

// The program's command line, read without starting anything.
class TstStartOptions : public QObject {
    Q_OBJECT

private slots:
    void acceptedForms_data();
    void acceptedForms();
    void badCommandLines_data();
    void badCommandLines();
};

void TstStartOptions::acceptedForms_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("sim");
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("version");
    QTest::newRow("nothing") << QStringList{} << "auto"
                             << ""
                             << "" << false << false;
    QTest::newRow("backend=") << QStringList{"--backend=sim"} << "sim"
                              << ""
                              << "" << false << false;
    QTest::newRow("backend value") << QStringList{"--backend", "nm"} << "nm"
                                   << ""
                                   << "" << false << false;
    QTest::newRow("last backend wins") << QStringList{"--backend=nm", "--backend", "sim"} << "sim"
                                       << ""
                                       << "" << false << false;
    QTest::newRow("command") << QStringList{"--command", "hangup"} << "auto"
                             << "hangup"
                             << "" << false << false;
    QTest::newRow("command=") << QStringList{"--command=32812"} << "auto"
                              << "32812"
                              << "" << false << false;
    QTest::newRow("sim quoted") << QStringList{"--sim", "connect Home ISP"} << "auto"
                                << ""
                                << "connect Home ISP" << false << false;
    // The rest of the line is the simulator's, options included.
    QTest::newRow("sim rest of line")
        << QStringList{"--backend=sim", "--sim", "connect", "Home", "--help"} << "sim"
        << ""
        << "connect Home --help" << false << false;
    QTest::newRow("sim=") << QStringList{"--sim=rate 10 20"} << "auto"
                          << ""
                          << "rate 10 20" << false << false;
    QTest::newRow("help") << QStringList{"-h"} << "auto"
                          << ""
                          << "" << true << false;
    QTest::newRow("long help") << QStringList{"--help"} << "auto"
                               << ""
                               << "" << true << false;
    QTest::newRow("version") << QStringList{"--version"} << "auto"
                             << ""
                             << "" << false << true;
}

void TstStartOptions::acceptedForms()
{
    QFETCH(QStringList, args);
    const CStartOptions options = CStartOptions::Parse(args);
    QVERIFY2(options.error.isEmpty(), qPrintable(options.error));
    QTEST(options.backend, "backend");
    QTEST(options.command, "command");
    QTEST(options.simCommand, "sim");
    QTEST(options.help, "help");
    QTEST(options.version, "version");
}

void TstStartOptions::badCommandLines_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown option")
        << QStringList{"--no-such-option"} << "Unknown option 'no-such-option'.";
    QTest::newRow("stray word") << QStringList{"connect"} << "Unexpected argument 'connect'.";
    QTest::newRow("backend without value")
        << QStringList{"--backend"} << "Missing value after '--backend'.";
    QTest::newRow("empty backend")
        << QStringList{"--backend="} << "Option --backend needs a value.";
    QTest::newRow("empty command")
        << QStringList{"--command="} << "Option --command needs a value.";
    QTest::newRow("sim without command") << QStringList{"--sim"} << "Option --sim needs a command.";
    QTest::newRow("sim blanks") << QStringList{"--sim", " ", ""} << "Option --sim needs a command.";
    QTest::newRow("error beats help")
        << QStringList{"--help", "--bogus"} << "Unknown option 'bogus'.";
}

void TstStartOptions::badCommandLines()
{
    QFETCH(QStringList, args);
    QTEST(CStartOptions::Parse(args).error, "error");
}

QTEST_GUILESS_MAIN(TstStartOptions)
#include "tst_startoptions.moc"
