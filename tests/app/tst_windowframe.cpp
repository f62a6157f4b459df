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

#include <memory>

using namespace Qt::StringLiterals;

namespace {
// A check that never ends: the dial window stays on it.
class CPendingCheck : public CDialCheck {
public:
    void Start() override {}
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
        QTest::addColumn<QString>("className");
        QTest::newRow("about") << 0 << u"CAboutDlg"_s;
        QTest::newRow("summary") << 1 << u"CSummaryDlg"_s;
        QTest::newRow("password") << 2 << u"CPasswordDlg"_s;
        QTest::newRow("security") << 3 << u"CSecurityDlg"_s;
        QTest::newRow("connections") << 4 << u"CConnectionsDlg"_s;
        QTest::newRow("schedule") << 5 << u"CScheduleDlg"_s;
        QTest::newRow("inet tools") << 6 << u"CInetToolsDlg"_s;
        QTest::newRow("report") << 7 << u"CReportDlg"_s;
        QTest::newRow("preferences") << 8 << u"CPreferencesDlg"_s;
        QTest::newRow("dial") << 9 << u"CDialDlg"_s;
    }
    void everyWindowKeepsTheRule()
    {
        QFETCH(int, window);
        QFETCH(QString, className);
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        CRecordingSound sound;
        CWindowOpenerRig rig(store, sound);
        // Looked at once it shows, also when it runs a loop of its own; then closed.
        QString broken = u"did not open"_s;
        QTimer::singleShot(0, this, [&] {
            for (QWidget* shown : QApplication::topLevelWidgets()) {
                if (shown->isVisible() &&
                    className == QLatin1String(shown->metaObject()->className())) {
                    broken = CWindowFrame::Broken(shown);
                    shown->close();
                }
            }
        });
        std::unique_ptr<QWidget> own;
        switch (window) {
        case 0:
            own = std::make_unique<CAboutDlg>();
            break;
        case 1:
            own = std::make_unique<CSummaryDlg>(store);
            break;
        case 2:
            own = std::make_unique<CPasswordDlg>(store);
            break;
        case 3:
            rig.windows.OpenSecurity();
            break;
        case 4:
            rig.windows.OpenConnections();
            break;
        case 5:
            rig.windows.OpenSchedule();
            break;
        case 6:
            rig.windows.OpenInetTools();
            break;
        case 7:
            rig.windows.OpenReport();
            break;
        case 8:
            rig.windows.OpenPreferences(CPreferencesSheet::General);
            break;
        case 9:
            CDialDlg::RunCheck(CDialDlg::MailCheck, std::make_unique<CPendingCheck>(), nullptr);
            break;
        }
        if (own)
            own->show();
        QTRY_COMPARE(broken, QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(TestWindowFrame)
#include "tst_windowframe.moc"
