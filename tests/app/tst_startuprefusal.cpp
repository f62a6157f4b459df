#include "app/gui/mainapp.h"
#include "common/settingsstore.h"
#include "security/gui/passworddlg.h"
#include "security/passwordhash.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
// What the program showed during its run: the class of every window that appeared.
QStringList g_shown;

// Notes every window that shows.
class CShowRecorder : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            g_shown.append(QString::fromLatin1(watched->metaObject()->className()));
        return false;
    }
};

// Runs when the program makes its application object: watches the windows, refuses the
// password prompt with Esc as soon as it shows, and ends a run that goes on regardless.
void OnApplicationMade()
{
    qApp->installEventFilter(new CShowRecorder(qApp));
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer] {
        if (auto* prompt = qobject_cast<CPasswordDlg*>(QApplication::activeModalWidget())) {
            timer->stop();
            QTest::keyClick(prompt, Qt::Key_Escape);
        }
    });
    timer->start();
    QTimer::singleShot(30000, qApp, [] { QCoreApplication::exit(99); });
}
} // namespace

// The whole start of the program, in this process: with the password asked at start,
// refusing the prompt ends the run with exit code 1 before any other window shows.
class TestStartupRefusal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusedPromptEndsTheStart()
    {
        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkpath(u"config/orvalis"_s));
        QVERIFY(QDir(home.path()).mkpath(u"run"_s));
        QFile::setPermissions(home.filePath(u"run"_s),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_CONFIG_HOME", home.filePath(u"config"_s).toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", home.filePath(u"run"_s).toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "offscreen");

        CSettingsStore store(home.filePath(u"config/orvalis/ov.ini"_s));
        QVERIFY(store.Write(Keys::SecurityEnabled, 1));
        QVERIFY(store.Write(Keys::SecurityWhenStarted, 1));
        QVERIFY(store.Write(Keys::SecurityPassword, CPasswordHash::Make(u"pw"_s)));
        QVERIFY(store.Write(Keys::ShowSplash, 0));

        qAddPreRoutine(OnApplicationMade);
        QByteArray program = "orvalis";
        char* argv[] = {program.data(), nullptr};
        QCOMPARE(CMainApp::Run(1, argv), 1);
        QCOMPARE(g_shown, QStringList{u"CPasswordDlg"_s});
        // Nothing of the run was written: the schedule counters are reset only later.
        QCOMPARE(store.Read(Keys::DialSecsToDial, -1), -1);
    }
};

QTEST_APPLESS_MAIN(TestStartupRefusal)
#include "tst_startuprefusal.moc"
