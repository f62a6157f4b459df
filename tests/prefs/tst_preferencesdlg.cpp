#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/gui/compositionroot.h"
#include "app/gui/maindlg.h"
#include "app/gui/optgeneralpage.h"
#include "billing/dataplan.h"
#include "billing/gui/optdataplanpage.h"
#include "billing/gui/optpricepage.h"
#include "billing/totals.h"
#include "common/settingsstore.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "monitor/connectionmonitor.h"
#include "monitor/gui/optwarningspage.h"
#include "prefs/gui/preferencesdlg.h"
#include "prefs/preferencespage.h"
#include "sound/gui/optsoundpage.h"
#include "update/gui/optupgradepage.h"
#include "update/upgradedialcheck.h"

#include "support/monitorfakes.h"
#include "support/scriptedmessagebox.h"
#include "support/windowopenerrig.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// A page that only writes down what the window asks of it.
class CFakePage : public QWidget, public CPreferencesPage {
public:
    CFakePage(int page, QStringList& log, bool refuse)
        : m_page(page)
        , m_log(log)
        , m_refuse(refuse)
    {}
    QWidget* Widget() override { return this; }
    QWidget* Check() override
    {
        m_log << QStringLiteral("check %1").arg(m_page);
        return m_refuse ? this : nullptr;
    }
    void Save() override { m_log << QStringLiteral("save %1").arg(m_page); }

private:
    int m_page;
    QStringList& m_log;
    bool m_refuse;
};

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

template <typename T> T* PageOf(CPreferencesDlg& dlg, int page)
{
    return dynamic_cast<T*>(dlg.Page(page));
}

// Runs `open`, which shows the preferences modal, and `act` on the window once it is up.
// Whatever `act` leaves open is cancelled, so a failed check never leaves the test waiting.
bool WithWindow(const std::function<bool()>& open, const std::function<void(CPreferencesDlg&)>& act)
{
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CPreferencesDlg*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        act(*dlg);
        if (dlg->isVisible())
            dlg->reject();
    });
    return open();
}

} // namespace

class TestPreferencesDlg : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("config/orvalis")));
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("logs")));
        // The General page writes the autostart entry under the configuration folder.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("config"))));
        m_store = std::make_unique<CSettingsStore>(
            m_dir->filePath(QStringLiteral("config/orvalis/ov.ini")));
        m_store->Write(Keys::IniPath, m_dir->filePath(QStringLiteral("logs")));
        m_features = std::make_unique<CWindowOpenerRig>(*m_store, m_sound);
    }

    void cleanup()
    {
        m_features.reset();
        m_store.reset();
        m_dir.reset();
    }

    // OK checks every page, in the save order, before any page writes; one refusal stops
    // it with nothing written. The pages are made in their own order.
    void pageProtocol()
    {
        QStringList log;
        std::array<std::unique_ptr<CFakePage>, CPreferencesSheet::kPageCount> pages;
        CPreferencesSheet::Pages sheet{};
        for (int i = 0; i < CPreferencesSheet::kPageCount; ++i) {
            pages[i] = std::make_unique<CFakePage>(i, log, i == CPreferencesSheet::Price);
            sheet[i] = pages[i].get();
        }
        CPreferencesSheet::Outcome outcome = CPreferencesSheet::Accept(sheet);
        QCOMPARE(outcome.page, int(CPreferencesSheet::Price));
        QCOMPARE(outcome.field, pages[CPreferencesSheet::Price].get());
        QCOMPARE(log, (QStringList{"check 0", "check 1", "check 2", "check 3", "check 4"}));

        log.clear();
        sheet[CPreferencesSheet::Price] = nullptr;
        outcome = CPreferencesSheet::Accept(sheet);
        QCOMPARE(outcome.page, -1);
        QCOMPARE(log, (QStringList{"check 0", "check 1", "check 2", "check 3", "check 5", "check 6",
                                   "check 7", "save 0", "save 1", "save 2", "save 3", "save 5",
                                   "save 6", "save 7"}));

        log.clear();
        QStringList made;
        const CPreferencesParts parts{[&](int page) {
                                          made << CPreferencesSheet::Title(page);
                                          return std::make_unique<CFakePage>(page, log, false);
                                      },
                                      {}};
        CPreferencesDlg dlg(parts, 99);
        QCOMPARE(made, (QStringList{"Connection", "Email", "Warnings", "Price", "Data plan",
                                    "Upgrade", "Sounds", "General"}));
        QCOMPARE(dlg.CurrentPage(), int(CPreferencesSheet::General));
        for (int i = 0; i < CPreferencesSheet::kPageCount; ++i)
            QCOMPARE(dlg.findChild<QStackedWidget*>()->widget(i), dlg.Page(i)->Widget());
        QVERIFY(log.isEmpty());
    }

    // Cancel after edits on several pages leaves the file as it was, byte for byte; OK
    // after edits on General and Price stores both, and the pages never looked at keep
    // their values.
    void cancelWritesNothingOkSavesEveryPage()
    {
        m_store->Write(Keys::WarnWhenCallInterval, 40);
        m_store->Write(Keys::SoundWhenConMade, QStringLiteral("/tmp/ding.wav"));
        const QByteArray before = FileBytes(m_store->Path());
        const auto edit = [](CPreferencesDlg& dlg) {
            for (QCheckBox* box :
                 dlg.Page(CPreferencesSheet::General)->Widget()->findChildren<QCheckBox*>()) {
                if (box->text() == QStringLiteral("Ask before exiting"))
                    box->click();
            }
            PageOf<COptWarningsPage>(dlg, CPreferencesSheet::Warnings)
                ->AmountEdit(CWarningsOptions::WarnMonth)
                ->setText(QStringLiteral("77"));
            dlg.SelectPage(CPreferencesSheet::Price);
            PageOf<COptPricePage>(dlg, CPreferencesSheet::Price)
                ->CostPerMinuteEdit()
                ->setText(QStringLiteral("0.6"));
            PageOf<COptSoundPage>(dlg, CPreferencesSheet::Sounds)
                ->ActionList(COptSoundPage::Made)
                ->setCurrentIndex(2);
            PageOf<COptUpgradePage>(dlg, CPreferencesSheet::Upgrade)->DisableBox()->click();
        };
        QVERIFY(!WithWindow(
            [&] { return m_features->windows.OpenPreferences(CPreferencesSheet::General); },
            [&](CPreferencesDlg& dlg) {
                edit(dlg);
                dlg.reject();
            }));
        QCOMPARE(FileBytes(m_store->Path()), before);

        QVERIFY(WithWindow(
            [&] { return m_features->windows.OpenPreferences(CPreferencesSheet::General); },
            [&](CPreferencesDlg& dlg) {
                edit(dlg);
                dlg.Ok();
            }));
        QCOMPARE(m_store->Read(Keys::ConfirmExit), 0);
        QCOMPARE(m_store->Read(Keys::CostPerMinute), QStringLiteral("0.6000000000"));
        QCOMPARE(m_store->Read(Keys::WarnWhenMonthInterval), 77);
        QCOMPARE(m_store->Read(Keys::WarnWhenCallInterval), 40);
        QCOMPARE(m_store->Read(Keys::ActionWhenConMade), 2);
        QCOMPARE(m_store->Read(Keys::SoundWhenConMade), QStringLiteral("/tmp/ding.wav"));
        QCOMPARE(m_store->Read(Keys::DisableUpgrade), 1);
        QCOMPARE(m_store->Read(Keys::CheapTimeStart), QStringLiteral("23:00"));
    }

    // A refused amount keeps the window open on its page with the field focused, and
    // nothing is written until every page can be stored. The close box saves like OK.
    void refusedValuesKeepTheWindowOpen()
    {
        CScriptedMessageBox boxes;
        const QByteArray before = FileBytes(m_store->Path());
        QStringList messages;
        QList<int> pagesShown;
        QList<bool> focused;
        bool stillOpen = true;
        const bool saved = WithWindow(
            [&] { return m_features->windows.OpenPreferences(CPreferencesSheet::Upgrade); },
            [&](CPreferencesDlg& dlg) {
                auto* warnings = PageOf<COptWarningsPage>(dlg, CPreferencesSheet::Warnings);
                auto* price = PageOf<COptPricePage>(dlg, CPreferencesSheet::Price);
                QLineEdit* amount = warnings->AmountEdit(CWarningsOptions::DisconnectCall);
                const auto ok = [&](QWidget* field) {
                    boxes.Clear();
                    dlg.Ok();
                    messages << (boxes.Shown().isEmpty() ? QString() : boxes.Shown()[0].text);
                    pagesShown << dlg.CurrentPage();
                    focused << (dlg.focusWidget() == field);
                    stillOpen = stillOpen && dlg.isVisible();
                };
                amount->setText(QStringLiteral("ten"));
                price->CheapCostEdit()->setText(QStringLiteral("cheap"));
                ok(amount);
                amount->setText(QStringLiteral("0"));
                ok(amount);
                amount->setText(QStringLiteral("12"));
                ok(price->CheapCostEdit());
                price->CheapCostEdit()->setText(QStringLiteral("0.3"));
                price->PricePerDialEdit()->setText(QString());
                ok(price->PricePerDialEdit());
                QCOMPARE(FileBytes(m_store->Path()), before);
                price->PricePerDialEdit()->setText(QStringLiteral("0.1"));
                // Pressed on the close box, moved off it: nothing; pressed and let go on it: OK.
                QTest::mousePress(&dlg, Qt::LeftButton, {}, QPoint(dlg.width() - 7, 5));
                QTest::mouseMove(&dlg, QPoint(300, 40));
                QTest::mouseRelease(&dlg, Qt::LeftButton, {}, QPoint(300, 40));
                QVERIFY(dlg.isVisible());
                QTest::mouseClick(&dlg, Qt::LeftButton, {}, QPoint(dlg.width() - 7, 5));
            });
        QVERIFY(saved);
        QVERIFY(stillOpen);
        QCOMPARE(messages, (QStringList{"Please enter an integer.",
                                        "Please enter an integer between 1 and 100000.",
                                        "Please enter a number.", "Please enter a number."}));
        QCOMPARE(pagesShown, (QList<int>{3, 3, 4, 4}));
        QCOMPARE(focused, (QList<bool>{true, true, true, true}));
        QCOMPARE(m_store->Read(Keys::DisWhenCallInterval), 12);
        QCOMPARE(m_store->Read(Keys::PricePerDial), QStringLiteral("0.1000000000"));
        QCOMPARE(m_store->Read(Keys::CheapCostPerMinute), QStringLiteral("0.3000000000"));
    }

    // The Data plan page comes right after Price. It shows what the usage function says
    // while it is on screen and asks nothing while hidden; a value it cannot take keeps
    // the window open with its message and nothing written.
    void dataPlanPage()
    {
        QCOMPARE(int(CPreferencesSheet::DataPlan), int(CPreferencesSheet::Price) + 1);
        QCOMPARE(CPreferencesSheet::Title(CPreferencesSheet::DataPlan),
                 QStringLiteral("Data plan"));
        CDataPlan plan;
        plan.allowance = 30 * CDataPlan::kBytesPerGB;
        CCycleUsage figures;
        figures.cycle = plan.CycleOf(QDate(2026, 12, 7));
        figures.day = QDate(2026, 12, 7);
        figures.calls = 1;
        figures.received = 12 * CDataPlan::kBytesPerGB;
        figures.timeCost = 1.5;
        figures.Derive(plan);
        CCycleUsage shown; // no plan at first
        m_features->cycleUsage = [&] { return shown; };

        CScriptedMessageBox boxes;
        const QByteArray before = FileBytes(m_store->Path());
        QStringList texts;
        QString message;
        bool refusedOnPage = false;
        QVERIFY(WithWindow(
            [&] { return m_features->windows.OpenPreferences(CPreferencesSheet::DataPlan); },
            [&](CPreferencesDlg& dlg) {
                auto* page = PageOf<COptDataPlanPage>(dlg, CPreferencesSheet::DataPlan);
                QVERIFY(page);
                QVERIFY(page->RefreshTimer().isActive());
                QCOMPARE(page->RefreshTimer().interval(), 1000);
                texts << page->UsageLabel()->text();
                dlg.SelectPage(CPreferencesSheet::Price);
                QVERIFY(!page->RefreshTimer().isActive());
                shown = figures;
                dlg.SelectPage(CPreferencesSheet::DataPlan);
                texts << page->UsageLabel()->text();

                page->AllowanceEdit()->setText(QStringLiteral("abc"));
                dlg.Ok();
                message = boxes.Shown().isEmpty() ? QString() : boxes.Shown()[0].text;
                refusedOnPage = dlg.isVisible() &&
                                dlg.CurrentPage() == CPreferencesSheet::DataPlan &&
                                dlg.focusWidget() == page->AllowanceEdit();
                QCOMPARE(FileBytes(m_store->Path()), before);
                page->AllowanceEdit()->setText(QStringLiteral("2.50"));
                page->WarnAtEdit()->setText(QStringLiteral("100, 75"));
                page->AtLimitList()->setCurrentIndex(1);
                dlg.Ok();
            }));
        QCOMPARE(texts[0], QStringLiteral("No data plan set"));
        QVERIFY2(texts[1].contains(QStringLiteral("12.00 GB of 30.00 GB used (40.0 %)")),
                 qPrintable(texts[1]));
        QVERIFY2(texts[1].contains(QStringLiteral("53.14 GB")), qPrintable(texts[1]));
        QVERIFY2(texts[1].contains(QStringLiteral("0.72 GB a day")), qPrintable(texts[1]));
        QVERIFY2(texts[1].contains(QStringLiteral("1.50, projected: 6.64")), qPrintable(texts[1]));
        QCOMPARE(message, QStringLiteral("Please enter the allowance in GB as a number such as 30 "
                                         "or 2.5, or leave it empty for no plan."));
        QVERIFY(refusedOnPage);
        QCOMPARE(m_store->Read(Keys::Allowance), QStringLiteral("2.5"));
        QCOMPARE(m_store->Read(Keys::WarnAt), QStringLiteral("75,100"));
        QCOMPARE(m_store->Read(Keys::AtLimit), 1);
    }

    // The guard (the password for changes) is asked before anything shows; refused, the
    // window never opens and nothing is written.
    void guardIsAskedFirst()
    {
        const QByteArray before = FileBytes(m_store->Path());
        bool modalWhenAsked = true;
        m_features->mayOpenPreferences = [&] {
            modalWhenAsked = QApplication::activeModalWidget() != nullptr;
            return false;
        };
        QVERIFY(!m_features->windows.OpenPreferences(CPreferencesSheet::Price));
        QVERIFY(!modalWhenAsked);
        QCOMPARE(FileBytes(m_store->Path()), before);
        QVERIFY(QApplication::topLevelWidgets().isEmpty() || !QApplication::activeModalWidget());
    }

    // Play plays the name the page took last (loaded, or taken from both fields by a
    // Browse), never text typed since; the upgrade button hands the dial window the
    // upgrade check, as "Check update" does, and shows no box.
    void soundAndUpgradeButtons()
    {
        m_store->Write(Keys::SoundWhenConDropped, QStringLiteral("/sounds/bye.wav"));
        COptSoundPage page(*m_store, m_sound);
        QString filter;
        page.SetFilePicker([&](QWidget*, const QString& asked) {
            filter = asked;
            return QStringLiteral("/sounds/hello.wav");
        });
        page.FileEdit(COptSoundPage::Dropped)->setText(QStringLiteral("/typed.wav"));
        page.Play(COptSoundPage::Dropped);
        page.Browse(COptSoundPage::Made);
        QCOMPARE(filter, QStringLiteral("Sound files (*.wav)"));
        QCOMPARE(page.FileEdit(COptSoundPage::Made)->text(), QStringLiteral("/sounds/hello.wav"));
        page.FileEdit(COptSoundPage::Made)->setText(QStringLiteral("/later.wav"));
        page.Play(COptSoundPage::Made);
        page.Play(COptSoundPage::Dropped);
        QCOMPARE(m_sound.played,
                 (QStringList{"/sounds/bye.wav", "/sounds/hello.wav", "/typed.wav"}));
        page.SetFilePicker([](QWidget*, const QString&) { return QString(); });
        page.Browse(COptSoundPage::Made);
        QCOMPARE(page.FileEdit(COptSoundPage::Made)->text(), QStringLiteral("/later.wav"));

        CScriptedMessageBox boxes;
        auto upgrade = m_features->windows.Pages().Make(CPreferencesSheet::Upgrade);
        std::vector<std::unique_ptr<CDialCheck>> run;
        std::vector<int> modes;
        m_features->runCheck = [&run, &modes](CDialDlg::Mode mode,
                                              std::unique_ptr<CDialCheck> check) {
            modes.push_back(mode);
            run.push_back(std::move(check));
        };
        upgrade->Widget()->findChild<QPushButton*>()->click();
        m_features->windows.CheckUpdateNow();
        m_features->runCheck = {};
        QCOMPARE(run.size(), 2u);
        QCOMPARE(modes, (std::vector<int>{1, 1}));
        QVERIFY(qobject_cast<CUpgradeDialCheck*>(run[0].get()));
        QVERIFY(qobject_cast<CUpgradeDialCheck*>(run[1].get()));
        QCOMPARE(boxes.Shown().size(), 0);
    }

    // Every command that opens the preferences opens them on its page with only that page
    // shown. The mail icon's Preferences opens General and, after OK, starts the mail
    // checks chosen meanwhile; Email Watch leaves them for the next start.
    void everyCommandOpensItsPage()
    {
        CPlatform platform;
        platform.credentials = std::make_unique<CCredentialStore>(m_store.get());
        platform.remoteAccess =
            std::make_unique<CSimRemoteAccess>(m_dir->filePath(QStringLiteral("simulator.ini")));
        platform.sound = std::make_unique<CRecordingSound>();
        CCompositionRoot root(*m_store, std::move(platform));
        CMainDlg& main = root.Window();
        root.Open();

        const auto command = [&](CCommandTable::Command number) {
            return [&root, number] { root.Router().Run(number); };
        };
        const QList<std::pair<std::function<void()>, int>> commands = {
            {command(CCommandTable::PreferencesGeneral), 0},
            {command(CCommandTable::PreferencesConnection), 1},
            {command(CCommandTable::PreferencesEmail), 2},
            {command(CCommandTable::PreferencesWarnings), 3},
            {command(CCommandTable::PreferencesPrice), 4},
            {command(CCommandTable::PreferencesDataPlan), 5},
            {command(CCommandTable::PreferencesSounds), 6},
            {command(CCommandTable::PreferencesUpgrade), 7},
            {command(CCommandTable::MailPreferences), 0},
            {[&main] { main.findChild<QToolButton*>(QStringLiteral("Settings"))->click(); }, 0}};
        for (const auto& [run, page] : commands) {
            int shownPage = -1;
            QStringList visible;
            WithWindow(
                [&] {
                    run();
                    return true;
                },
                [&](CPreferencesDlg& dlg) {
                    shownPage = dlg.CurrentPage();
                    for (int i = 0; i < CPreferencesSheet::kPageCount; ++i) {
                        if (dlg.Page(i)->Widget()->isVisible())
                            visible << CPreferencesSheet::Title(i);
                    }
                });
            QCOMPARE(shownPage, page);
            QCOMPARE(visible, QStringList{CPreferencesSheet::Title(page)});
        }

        QVERIFY(!root.Monitor().Timer(CConnectionMonitor::MailTimer).isActive());
        m_store->Write(Keys::CheckMail, 1);
        WithWindow(
            [&] {
                root.Router().Run(CCommandTable::PreferencesEmail);
                return true;
            },
            [](CPreferencesDlg& dlg) { dlg.Ok(); });
        QVERIFY(!root.Monitor().Timer(CConnectionMonitor::MailTimer).isActive());
        WithWindow(
            [&] {
                root.Router().Run(CCommandTable::MailPreferences);
                return true;
            },
            [](CPreferencesDlg& dlg) { dlg.Ok(); });
        QVERIFY(root.Monitor().Timer(CConnectionMonitor::MailTimer).isActive());
    }

    // A tariff entered on the Price page prices the next totals pass and the figures of
    // orvalis-cli, both reading the same settings file.
    void tariffEnteredPricesSummaryAndCli()
    {
        QFile log(m_dir->filePath(QStringLiteral("logs/logfile.log")));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write("14-06-2000|14:20:00|14-06-2000|14:27:30|anna|Modem|Office|100|1000|\n"
                  "16-06-2000|23:50:00|17-06-2000|00:10:00|anna|Modem|Office|200|2000|\n"
                  "17-06-2000|12:00:00|17-06-2000|12:02:00|bert|Modem|Home|300|3000|\n");
        log.close();
        QCOMPARE(CTotals::Compute(*m_store, CTotals::All, log.fileName()).totalCost, 0.0);

        QVERIFY(WithWindow(
            [&] { return m_features->windows.OpenPreferences(CPreferencesSheet::Price); },
            [](CPreferencesDlg& dlg) {
                auto* page = PageOf<COptPricePage>(dlg, CPreferencesSheet::Price);
                page->PricePerDialEdit()->setText(QStringLiteral("0.10"));
                page->CostPerMinuteEdit()->setText(QStringLiteral("0.60"));
                page->CheapCostEdit()->setText(QStringLiteral("0.30"));
                page->MinimumEdit()->setText(QStringLiteral("00:01"));
                page->BlockEdit()->setText(QStringLiteral("00:01"));
                page->SaturdayBox()->setChecked(true);
                page->SundayBox()->setChecked(true);
                dlg.Ok();
            }));
        // 4.90 + 6.10 (cheap from 23:00) + 0.70 (Saturday).
        QCOMPARE(QString::number(CTotals::Compute(*m_store, CTotals::All, log.fileName()).totalCost,
                                 'f', 2),
                 QStringLiteral("11.70"));

        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(ORVALIS_CLI_PATH), {QStringLiteral("summary")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY2(cli.readAllStandardOutput().contains("Total cost: 11.70\n"),
                 qPrintable(cli.readAllStandardError()));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    CRecordingSound m_sound;
    std::unique_ptr<CWindowOpenerRig> m_features;
};

QTEST_MAIN(TestPreferencesDlg)
#include "tst_preferencesdlg.moc"
