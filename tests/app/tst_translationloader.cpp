#include "app/translationloader.h"
#include "app/traymenus.h"
#include "billing/summarytext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <memory>

// Picks the translation for the user's languages and installs it, against the .qm files
// the build made from translations/.
class TestTranslationLoader : public QObject {
    Q_OBJECT

private:
    // The folder of the built program, where its translations sit.
    static QString ProgramDir()
    {
        return qEnvironmentVariable("ORVALIS_BINARY_DIR") + QStringLiteral("/src");
    }

    static QString Tr(const char* context, const char* text)
    {
        return QCoreApplication::translate(context, text);
    }

private Q_SLOTS:
    void candidatesFollowTheLanguages_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("country") << QStringList{"de-AT"}
                                 << QStringList{"orvalis_de_AT", "orvalis_de"};
        QTest::newRow("plain") << QStringList{"de"} << QStringList{"orvalis_de"};
        QTest::newRow("locale name")
            << QStringList{"de_DE.UTF-8@euro"} << QStringList{"orvalis_de_DE", "orvalis_de"};
        QTest::newRow("two") << QStringList{"fr-CA", "de-DE", "de"}
                             << QStringList{"orvalis_fr_CA", "orvalis_fr", "orvalis_de_DE",
                                            "orvalis_de"};
        QTest::newRow("english first") << QStringList{"en-GB", "de"} << QStringList{};
        QTest::newRow("english stops")
            << QStringList{"nl", "en", "de"} << QStringList{"orvalis_nl"};
        QTest::newRow("C") << QStringList{"C"} << QStringList{};
        QTest::newRow("empty entries")
            << QStringList{"", ".UTF-8", "de"} << QStringList{"orvalis_de"};
        QTest::newRow("none") << QStringList{} << QStringList{};
    }

    void candidatesFollowTheLanguages()
    {
        QFETCH(QStringList, languages);
        QFETCH(QStringList, names);
        QCOMPARE(CTranslationLoader::Candidates(QStringLiteral("orvalis"), languages), names);
    }

    void foldersAndFind()
    {
        const QStringList folders = CTranslationLoader::Folders(QStringLiteral("/opt/ov/bin/"));
        QCOMPARE(folders.value(0), QStringLiteral("/opt/ov/bin/translations"));
        QCOMPARE(folders.value(1), QStringLiteral("/opt/ov/share/orvalis/translations"));
        QVERIFY(folders.contains(QStringLiteral("/usr/share/orvalis/translations")));
        // Without a folder of its own only the system's folders are searched.
        QVERIFY(!CTranslationLoader::Folders({}).contains(QStringLiteral("translations")));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString first = dir.filePath(QStringLiteral("a"));
        const QString second = dir.filePath(QStringLiteral("b"));
        QVERIFY(QDir().mkpath(first) && QDir().mkpath(second));
        const auto touch = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly);
        };
        QVERIFY(touch(second + QStringLiteral("/orvalis_de.qm")));
        QVERIFY(touch(first + QStringLiteral("/orvalis_fr.qm")));
        QVERIFY(QDir().mkpath(first + QStringLiteral("/orvalis_de_AT.qm"))); // a folder
        // The language comes first, the folder second; a folder is no translation.
        QCOMPARE(CTranslationLoader::Find({first, second},
                                          {"orvalis_de_AT", "orvalis_de", "orvalis_fr"}),
                 second + QStringLiteral("/orvalis_de.qm"));
        QCOMPARE(CTranslationLoader::Find({first, second}, {"orvalis_it"}), QString());
    }

    void germanReachesTheWindowsOnly()
    {
        const QString english = Tr("CMainDlg", "Connection info");
        QCOMPARE(english, QStringLiteral("Connection info"));
        {
            CTranslationLoader loader;
            const QString file = loader.Install(ProgramDir(), {"de-DE", "en"});
            QCOMPARE(file,
                     QDir(ProgramDir()).filePath(QStringLiteral("translations/orvalis_de.qm")));
            QCOMPARE(Tr("CMainDlg", "Connection info"), QStringLiteral("Verbindung"));
            QCOMPARE(Tr("CMainDlg", "Hangup"), QStringLiteral("Auflegen"));
            QCOMPARE(Tr("CSummaryDlg", "Only this month"), QStringLiteral("Nur dieser Monat"));
            // The lines the monitor adds to the main window's list.
            QCOMPARE(Tr("CConnectionMonitor", "Connection %1 detected").arg(u"Home ISP"),
                     QStringLiteral("Verbindung Home ISP erkannt"));
            QCOMPARE(Tr("CSummaryText", "Total cost"), QStringLiteral("Gesamtkosten"));
            const std::vector<CTrayMenuItem> menu = CTrayMenus::Items(CTrayMenus::kConnectionMenu);
            QCOMPARE(menu.front().text, QStringLiteral("Orvalis &anzeigen"));
            QCOMPARE(menu.back().text, QStringLiteral("B&eenden"));
            // The summary's labels themselves stay English: orvalis-cli prints them.
            QCOMPARE(CSummaryText::Labels().value(2), QStringLiteral("Total cost"));
        }
        // Gone with the loader.
        QCOMPARE(Tr("CMainDlg", "Connection info"), english);

        CTranslationLoader english2;
        QCOMPARE(english2.Install(ProgramDir(), {"en-GB", "de"}), QString());
        QCOMPARE(english2.Install(ProgramDir(), {"xx"}), QString());
        QCOMPARE(Tr("CMainDlg", "Connection info"), english);
    }

    // The German translation covers the main window, the tray menus and the summary
    // window, and holds no text the sources no longer have.
    void germanFileIsComplete()
    {
        QFile file(QStringLiteral(ORVALIS_SOURCE_DIR "/translations/orvalis_de.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context;
        QString source;
        int complete = 0;
        QStringList missing;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"TS") {
                QCOMPARE(xml.attributes().value(QLatin1String("language")).toString(),
                         QStringLiteral("de"));
            } else if (xml.name() == u"name") {
                context = xml.readElementText();
            } else if (xml.name() == u"source") {
                source = xml.readElementText();
            } else if (xml.name() == u"translation") {
                const auto type = xml.attributes().value(QLatin1String("type")).toString();
                QVERIFY2(type != u"vanished" && type != u"obsolete", qPrintable(source));
                const bool done =
                    type.isEmpty() &&
                    !xml.readElementText(QXmlStreamReader::IncludeChildElements).isEmpty();
                if (QStringList{"CMainDlg", "CTrayMenus", "CSummaryDlg", "CSummaryText"}.contains(
                        context)) {
                    if (done)
                        ++complete;
                    else
                        missing << context + u':' + source;
                }
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        // Texts added to these windows later show in English until someone translates them.
        if (!missing.isEmpty())
            qWarning("Not yet in German:\n%s", qPrintable(missing.join(u'\n')));
        QVERIFY2(complete >= 71, qPrintable(QString::number(complete)));
    }

    // orvalis-cli prints a machine-readable format and never follows the session's language.
    void cliStaysEnglish()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(ORVALIS_CLI_PATH), {"summary", "--filter", "all"});
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 0);
        const QString out = QString::fromUtf8(cli.readAllStandardOutput());
        QVERIFY2(out.startsWith(QStringLiteral("Connections: 0\nTotal time online: ")),
                 qPrintable(out));
    }
};

QTEST_GUILESS_MAIN(TestTranslationLoader)
#include "tst_translationloader.moc"
