#include "app/gui/mainapp.h"

#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/gui/compositionroot.h"
#include "app/gui/mainwindowholder.h"
#include "app/gui/splashwnd.h"
#include "app/signalwatcher.h"
#include "app/singleinstance.h"
#include "app/startoptions.h"
#include "app/startupboxes.h"
#include "app/translationloader.h"
#include "common/apppaths.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "dbus/busservice.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/backends/simulator/simulatorscript.h"
#include "gui/widgetmessagebox.h"
#include "gui/windowframe.h"
#include "monitor/connectionmonitor.h"
#include "monitor/monitordisplay.h"
#include "security/gui/passworddlg.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDialog>
#include <QLocale>
#include <QPointer>
#include <QThread>

#include <cstdio>
#include <memory>

namespace {

QStringList ArgumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Applies a simulator command from the command line; needs no display and no running
// instance, since the simulator's state lives in its file.
int RunSimulatorCommand(int argc, char** argv, const QString& command)
{
    QCoreApplication app(argc, argv);
    const CSettingsStore store(CAppPaths::SettingsFile(QCoreApplication::applicationDirPath()));
    QString output;
    const bool ok =
        CSimulatorScript(CSimRemoteAccess::DefaultFile(store.Path())).Run(command, output);
    if (!output.isEmpty())
        std::fprintf(ok ? stdout : stderr, "%s\n", qPrintable(output));
    return ok ? 0 : 2;
}

// How a start that talked to the running instance ends: its exit code, and on standard
// error what went wrong.
int EndOfSend(CSingleInstance::SendResult result, const QString& refused)
{
    switch (result) {
    case CSingleInstance::SendResult::Accepted:
        return 0;
    case CSingleInstance::SendResult::Refused:
        std::fprintf(stderr, "%s\n", qPrintable(refused));
        return 2;
    case CSingleInstance::SendResult::NoAnswer:
        std::fprintf(stderr, "Orvalis is running but not answering.\n");
        return 1;
    case CSingleInstance::SendResult::NotRunning:
        break;
    }
    std::fprintf(stderr, "Orvalis is not running.\n");
    return 1;
}

// Hands a command to the running instance, as a keyboard shortcut or a script would.
int SendCommand(const QString& text)
{
    const int command = CCommandTable::Parse(text);
    if (command == 0) {
        std::fprintf(stderr, "Unknown command: %s\n", qPrintable(text));
        return 2;
    }
    CSingleInstance instance(CAppPaths::RuntimeDir());
    return EndOfSend(instance.Send("command " + QByteArray::number(command)),
                     QStringLiteral("The running Orvalis refused the command: ") + text);
}

// Asks the running instance how the call stands and prints its answer on one line.
int QueryStatus()
{
    CSingleInstance instance(CAppPaths::RuntimeDir());
    QByteArray answer;
    const CSingleInstance::SendResult result =
        instance.Send(CSingleInstance::kStatusRequest, 2000, &answer);
    if (result == CSingleInstance::SendResult::Accepted)
        std::printf("%s\n", answer.constData());
    return EndOfSend(result,
                     QStringLiteral("The running Orvalis does not know the status request."));
}

// Closes the boxes and dialogs open now; true when there was one.
bool CloseModalWindows()
{
    bool closed = false;
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (QApplication::activeModalWidget() == modal)
            break;
        closed = true;
    }
    return closed;
}

// Logout (SIGTERM), Ctrl+C and a closed terminal end the program as Exit does, without a
// question nobody may be there to answer. A box open now runs an event loop of its own
// inside the program's: it is closed first, and the program ends once back in its own
// loop, so what waited for the box does not go on after the monitor has ended.
void EndOnSignal(QPointer<CMainWindowHolder> window)
{
    if (!window)
        return;
    if (CloseModalWindows() && QThread::currentThread()->loopLevel() > 1) {
        QMetaObject::invokeMethod(
            window, [window] { EndOnSignal(window); }, Qt::QueuedConnection);
        return;
    }
    const QString note = window->Quit();
    if (!note.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(note));
}

} // namespace

int CMainApp::Run(int argc, char** argv)
{
    const CStartOptions options = CStartOptions::Parse(ArgumentsOf(argc, argv));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(options.error),
                     qPrintable(CStartOptions::Usage()));
        return 2;
    }
    if (options.help) {
        std::printf("%s", qPrintable(CStartOptions::Usage()));
        return 0;
    }
    if (options.version) {
        std::printf("orvalis %s\n", ORVALIS_VERSION);
        return 0;
    }
    if (!options.simCommand.isEmpty())
        return RunSimulatorCommand(argc, argv, options.simCommand);
    if (!options.command.isEmpty())
        return SendCommand(options.command);
    if (options.status)
        return QueryStatus();

    // 1. One instance per user: a later start asks the running one to show its window.
    CSingleInstance instance(CAppPaths::RuntimeDir());
    if (!instance.Claim()) {
        instance.Send(CSingleInstance::kShowRequest);
        return 1;
    }
    // Callers may connect from now on; what they ask is answered once the program runs.
    instance.Bind();

    // The windows are small and change a few labels at a time. Drawn through shared memory,
    // every repaint on X11 waits for the X server to finish with it, a round trip (and a
    // wake-up) each second in a call; without it the pixels go out with the request. The
    // setting is read when the connection to the display opens and is not passed on to
    // programs started from here.
    const bool sharedMemoryChosen = qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM");
    if (!sharedMemoryChosen)
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    if (!sharedMemoryChosen)
        qunsetenv("QT_XCB_NO_MITSHM");
    QApplication::setApplicationName(QStringLiteral("orvalis"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setDesktopFileName(QStringLiteral(ORVALIS_APP_ID));
    // Message boxes and every other window carry the program's icon too.
    QApplication::setWindowIcon(CWindowFrame::ProgramIcon());
    // The windows speak the user's language when there is a translation for it.
    CTranslationLoader translations;
    translations.Install(QCoreApplication::applicationDirPath(), QLocale::system().uiLanguages());
    // Boxes that only tell something wait until the program watches calls and signals.
    CStartupBoxes startBoxes(&CWidgetMessageBox::Present);
    // A settings file the store cannot use is told in a box. A box cannot open on a worker
    // thread, nor in the middle of whatever the event loop is doing when it reads a
    // setting: then it waits for the loop.
    CSettingsStore::SetNoticeHandler([](const QString& text) {
        QCoreApplication* app = QCoreApplication::instance();
        if (app && (QThread::currentThread() != app->thread() || app->thread()->loopLevel() > 0))
            QMetaObject::invokeMethod(
                app, [text] { CMessageBox::Error(text); }, Qt::QueuedConnection);
        else
            CMessageBox::Error(text);
    });
    instance.Listen();

    // 2. The settings file.
    CSettingsStore store(CAppPaths::SettingsFile(QCoreApplication::applicationDirPath()));

    // 3. The start-up password.
    if (!CheckStartupPassword(store)) {
        startBoxes.ShowNow();
        return 1;
    }

    // Requests that arrive before the window exists (during the splash) wait for it.
    CCommandRouter* router = nullptr;
    QList<QByteArray> early;
    QObject::connect(&instance, &CSingleInstance::RequestReceived, &app,
                     [&](const QByteArray& request) {
                         if (router)
                             router->HandleRequest(request);
                         else
                             early.append(request);
                     });

    // 4. The splash.
    if (store.Read(Keys::ShowSplash) == 1) {
        CSplashWnd splash;
        splash.ShowFor(2000);
    }

    // 5. The schedules count down afresh on every run.
    store.Write(Keys::DialSecsToDial, 0);
    store.Write(Keys::HangupSecsToHangup, 0);

    // 6. The services the program runs on, and the windows over them.
    QString note;
    CPlatform platform = CCompositionRoot::BuildPlatform(options.backend, store, &note);
    if (!platform.remoteAccess) {
        startBoxes.ShowNow();
        CMessageBox::Error(note);
        return 2;
    }
    CCompositionRoot root(store, std::move(platform));
    router = &root.Router();
    CConnectionMonitor& monitor = root.Monitor();
    instance.SetStatusProvider([&monitor] { return monitor.Status().ToJson(); });
    if (!note.isEmpty())
        root.Display().AddMessage(note);
    // Scripts and panels drive and follow the program on the session bus, when there is one.
    CBusService bus(store, monitor, root.Display(), root.BusActions());
    const QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected())
        std::fprintf(stderr, "orvalis: no session bus: the D-Bus interface is off\n");
    else if (!bus.Publish(session))
        std::fprintf(stderr,
                     "orvalis: %s is taken on the session bus: the D-Bus interface is off\n",
                     CBusService::kService);
    CMainWindowHolder& mainDlg = root.WindowHolder();
    QObject::connect(&mainDlg, &CMainWindowHolder::Finished, &app, &QCoreApplication::quit);
    CSignalWatcher endSignals;
    QObject::connect(&endSignals, &CSignalWatcher::Received, &mainDlg,
                     [window = QPointer<CMainWindowHolder>(&mainDlg)] { EndOnSignal(window); });

    // 7. Run until the window's run ends.
    root.Open();
    startBoxes.ShowOnceRunning();
    for (const QByteArray& request : early)
        root.Router().HandleRequest(request);
    const int result = app.exec();
    // The monitor goes before the socket does.
    instance.SetStatusProvider({});
    router = nullptr;
    return result;
}

bool CMainApp::CheckStartupPassword(CSettingsStore& store)
{
    // No window exists yet: the prompt stands alone.
    return CPasswordDlg::Guard(store, nullptr).MayStart();
}
