#include "app/gui/aboutdlg.h"
#include "app/gui/windowopener.h"
#include "billing/gui/summarydlg.h"
#include "common/settingsstore.h"
#include "dialer/dialcheck.h"
#include "dialer/gui/dialdlg.h"
#include "gui/windowframe.h"
#include "security/gui/passworddlg.h"

#include "support/monitorfakes.h"
#include "support/windowopenerrig.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// A check that never ends: the dial window stays on it.
class CPendingCheck : public CDialCheck {
public:
    void Start() override {}
};

void Show(QWidget* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

using COpen = void (*)(CWindowOpenerRig& rig, CSettingsStore& store);
const std::pair<const char*, COpen> kWindows[] = {
    {"CAboutDlg", [](CWindowOpenerRig&, CSettingsStore&) { Show(new CAboutDlg); }},
    {"CSummaryDlg", [](CWindowOpenerRig&, CSettingsStore& s) { Show(new CSummaryDlg(s)); }},
    {"CPasswordDlg", [](CWindowOpenerRig&, CSettingsStore& s) { Show(new CPasswordDlg(s)); }},
    {"CSecurityDlg", [](CWindowOpenerRig& rig, CSettingsStore&) { rig.windows.OpenSecurity(); }},
    {"CConnectionsDlg", [](CWindowOpenerRig& r, CSettingsStore&) { r.windows.OpenConnections(); }},
    {"CScheduleDlg", [](CWindowOpenerRig& rig, CSettingsStore&) { rig.windows.OpenSchedule(); }},
    {"CInetToolsDlg", [](CWindowOpenerRig& rig, CSettingsStore&) { rig.windows.OpenInetTools(); }},
    {"CReportDlg", [](CWindowOpenerRig& rig, CSettingsStore&) { rig.windows.OpenReport(); }},
    {"CStatisticsDlg",
     [](CWindowOpenerRig& rig, CSettingsStore&) { rig.windows.OpenStatistics(); }},
    {"CPreferencesDlg",
     [](CWindowOpenerRig& rig, CSettingsStore&) { rig.windows.OpenPreferences({}); }},
    {"CDialDlg",
     [](CWindowOpenerRig&, CSettingsStore&) {
         CDialDlg::RunCheck(CDialDlg::MailCheck, std::make_unique<CPendingCheck>(), nullptr);
     }},
};

} // namespace

class TestWindowFrame : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each window the program builds, opened with no other window of the program up (as
    // from the tray while the main window is hidden): the program's icon, no maximize button
    // on a window of one size, OK and Cancel as standard buttons.
    void everyWindowKeepsTheRule_data()
    {
        QTest::addColumn<int>("window");
        for (int i = 0; i < int(std::size(kWindows)); ++i)
            QTest::newRow(kWindows[i].first) << i;
    }
    void everyWindowKeepsTheRule()
    {
        QFETCH(int, window);
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        CRecordingSound sound;
        CWindowOpenerRig rig(store, sound);
        // Looked at once it shows, also when it runs a loop of its own; then closed.
        QString broken = u"did not open"_s;
        QTimer::singleShot(0, this, [&] {
            for (QWidget* shown : QApplication::topLevelWidgets()) {
                if (shown->isVisible() && shown->inherits(kWindows[window].first)) {
                    broken = CWindowFrame::Broken(shown);
                    shown->close();
                }
            }
        });
        kWindows[window].second(rig, store);
        QTRY_COMPARE(broken, QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(TestWindowFrame)
#include "tst_windowframe.moc"
