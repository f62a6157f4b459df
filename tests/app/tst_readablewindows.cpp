#include "app/gui/aboutdlg.h"
#include "app/gui/maindlg.h"
#include "app/gui/splashwnd.h"
#include "app/programend.h"
#include "app/translationloader.h"
#include "billing/gui/reportdlg.h"
#include "billing/gui/statisticsdlg.h"
#include "billing/gui/summarydlg.h"
#include "common/settingsstore.h"
#include "dialer/gui/connectionsdlg.h"
#include "dialer/gui/credentialsdlg.h"
#include "dialer/gui/dialdlg.h"
#include "dialer/gui/scheduledlg.h"
#include "gui/widgetmessagebox.h"
#include "monitor/connectionmonitor.h"
#include "monitor/monitordisplay.h"
#include "prefs/gui/preferencesdlg.h"
#include "prefs/preferencespage.h"
#include "security/gui/passworddlg.h"
#include "security/gui/securitydlg.h"
#include "tools/gui/inettoolsdlg.h"
#include "tools/gui/pingpage.h"
#include "tools/pingline.h"
#include "tools/pingstatus.h"

#include "support/exampletariff.h"
#include "support/monitorfakes.h"
#include "support/windowopenerrig.h"
#include "support/windowwalker.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// A check that says at once what the update check says when the server cannot be reached.
class CUnreachableCheck : public CDialCheck {
public:
    void Start() override
    {
        Q_EMIT Finished(QCoreApplication::translate("CUpgradeDialCheck",
                                                    "Error: cannot connect to the server.") +
                            u'\n' +
                            QCoreApplication::translate(
                                "CUpgradeDialCheck",
                                "Please visit %1 to see whether a newer version is available.")
                                .arg(u"https://orvalis.example.org/"_s),
                        true);
    }
};

} // namespace

// Every window and page of the program, in English and German, at the default font and at
// 125 %, on a light and a dark desktop: each text fits its widget and stands out from what
// it is drawn on.
class TestReadableWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(u"ov.ini"_s));
        // The widest amounts the Warnings page takes.
        for (const CIntKey& key : {Keys::WarnWhenMonthInterval, Keys::WarnWhenCallInterval,
                                   Keys::DisWhenMonthInterval, Keys::DisWhenCallInterval})
            m_store->Write(key, 100000);
        // One priced call for the report's lines.
        CExampleTariff::WriteTo(*m_store);
        QVERIFY(QDir(m_dir->path()).mkpath(u"logs"_s));
        m_store->Write(Keys::IniPath, m_dir->filePath(u"logs"_s));
        QFile log(m_dir->filePath(u"logs/logfile.log"_s));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write("14-06-2000|14:20:00|14-06-2000|14:27:30|anna|Modem|Office|100|1000|\n");
    }

    void cleanup()
    {
        QApplication::setFont(m_font);
        QApplication::setPalette(m_palette);
        m_translations.reset();
        m_store.reset();
        m_dir.reset();
    }

    void everyTextReadable_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<double>("scale");
        QTest::addColumn<bool>("dark");
        for (const QString& language : {u"en"_s, u"de"_s}) {
            for (const double scale : {1.0, 1.25}) {
                for (const bool dark : {false, true}) {
                    QTest::addRow("%s %d%% %s", qPrintable(language), int(scale * 100),
                                  dark ? "dark" : "light")
                        << language << scale << dark;
                }
            }
        }
    }

    void everyTextReadable()
    {
        QFETCH(QString, language);
        QFETCH(double, scale);
        QFETCH(bool, dark);
        m_translations = std::make_unique<CTranslationLoader>();
        if (language != u"en"_s)
            QVERIFY(
                !m_translations
                     ->Install(qEnvironmentVariable("ORVALIS_BINARY_DIR") + u"/src"_s, {language})
                     .isEmpty());
        QFont font = m_font;
        font.setPointSizeF(m_font.pointSizeF() * scale);
        QApplication::setFont(font);
        // A dark desktop: Qt derives light texts and the other roles from the two colours.
        if (dark)
            QApplication::setPalette(QPalette(QColor(0x3c, 0x3c, 0x3c), QColor(0x2b, 0x2b, 0x2b)));

        QStringList found;
        EachWindow([&found](const QString& where, QWidget* window) {
            for (const QString& line : CWindowWalker::Clipped(window))
                found << where + u": "_s + line;
            for (const QString& line : CWindowWalker::Faint(window))
                found << where + u": "_s + line;
        });
        for (const QString& line : std::as_const(found))
            qInfo().noquote() << line;
        QVERIFY2(found.isEmpty(), "texts cut off or too faint, listed above");
    }

private:
    // Shows every window and page in turn and hands it to check.
    void EachWindow(const std::function<void(const QString&, QWidget*)>& check)
    {
        const auto look = [&check](const QString& where, QWidget* window) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QCoreApplication::processEvents();
            check(where, window);
        };
        CRecordingSound sound;
        CRecordingServices services;
        CWindowOpenerRig rig(*m_store, sound);
        rig.remote.entries = {u"Home ISP"_s};

        {
            CMonitorDisplay display;
            CConnectionMonitor monitor(*m_store, rig.remote, nullptr, display, services, sound);
            CProgramEnd end(*m_store, nullptr, monitor);
            CMainDlg main(*m_store, end, display);
            display.SetMailCount(
                QCoreApplication::translate("CConnectionMonitor", "You have %1 new email(s)")
                    .arg(3));
            look(u"main window"_s, &main);
            monitor.Shutdown();
        }
        {
            CReportDlg report(*m_store);
            look(u"report"_s, &report);
        }
        {
            CSummaryDlg summary(*m_store);
            look(u"summary"_s, &summary);
        }
        {
            CStatisticsDlg statistics(*m_store);
            QSignalSpy loaded(&statistics, &CStatisticsDlg::Loaded);
            QVERIFY(loaded.wait(10000));
            look(u"statistics"_s, &statistics);
        }
        {
            const CPreferencesParts parts{[&rig](int page) {
                                              return rig.windows.Pages().Make(
                                                  static_cast<CPreferencesSheet::Page>(page));
                                          },
                                          {}};
            CPreferencesDlg preferences(parts, CPreferencesSheet::General);
            for (int page = 0; page < CPreferencesSheet::kPageCount; ++page) {
                preferences.SelectPage(page);
                look(u"preferences page "_s + CPreferencesSheet::Title(page), &preferences);
            }
        }
        {
            CDialerParts parts{*m_store, rig.remote, rig.credentials, {}};
            QPointer<CConnectionsDlg> connections = CConnectionsDlg::Open(parts, nullptr);
            look(u"connections"_s, connections);
            QPointer<CCredentialsDlg> credentials = CCredentialsDlg::Run(
                parts, CCredentialsFlow::Mode::Edit, u"Home ISP"_s, connections, {});
            QTRY_VERIFY(credentials && credentials->isVisible());
            look(u"credentials"_s, credentials);
            credentials->reject();
            connections->close();
            QTRY_VERIFY(!connections);
        }
        {
            CDialDlg::RunCheck(CDialDlg::UpgradeCheck, std::make_unique<CUnreachableCheck>(),
                               nullptr);
            QPointer<CDialDlg> dial = CDialDlg::Current();
            dial->CheckTimer().start(0);
            QTRY_VERIFY(dial->IsOver());
            look(u"dial window"_s, dial);
            dial->close();
            QTRY_VERIFY(!dial);
        }
        {
            CScheduleDlg schedule(rig.ticker, *m_store);
            for (int page = 0; page < CScheduleDlg::kPageCount; ++page) {
                schedule.SelectPage(page);
                look(u"schedule page %1"_s.arg(page), &schedule);
            }
        }
        {
            CSecurityDlg security(*m_store);
            look(u"security"_s, &security);
            CPasswordDlg password(*m_store);
            look(u"password"_s, &password);
        }
        {
            CInetToolsDlg tools(*m_store);
            auto* pings = tools.PingPage()->findChild<QTreeWidget*>();
            pings->addTopLevelItem(new QTreeWidgetItem(
                {CPingLine::Reply(0x0100007f, u"localhost.localdomain"_s, 12345)}));
            pings->addTopLevelItem(
                new QTreeWidgetItem({CPingLine::Error(CPingStatus::kNotAllowed)}));
            for (int page = 0; page < CInetToolsDlg::kPageCount; ++page) {
                tools.SelectPage(page);
                look(u"Internet tools page %1"_s.arg(page), &tools);
            }
        }
        {
            CAboutDlg about;
            look(u"about"_s, &about);
            CSplashWnd splash;
            look(u"splash"_s, &splash);
        }
        {
            const std::unique_ptr<QMessageBox> box = CWidgetMessageBox::Build(
                {u"127.0.0.1"_s, QCoreApplication::translate("CNameLookupPage", "Host to IP"),
                 CMessageBox::Icon::None, CMessageBox::Buttons::Ok},
                nullptr);
            look(u"message box"_s, box.get());
        }
    }

    const QFont m_font = QApplication::font();
    const QPalette m_palette = QApplication::palette();
    std::unique_ptr<CTranslationLoader> m_translations;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
};

QTEST_MAIN(TestReadableWindows)
#include "tst_readablewindows.moc"
