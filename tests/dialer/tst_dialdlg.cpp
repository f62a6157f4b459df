#include "common/settingsstore.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/credentialstore.h"
#include "dialer/dialcheck.h"
#include "dialer/dialsession.h"
#include "dialer/gui/connectionsdlg.h"
#include "dialer/gui/credentialsdlg.h"
#include "dialer/gui/defaultdial.h"
#include "dialer/gui/dialdlg.h"
#include "dialer/gui/dialwindowgate.h"
#include "gui/widgetmessagebox.h"
#include "support/scriptedmessagebox.h"
#include "support/scriptedremoteaccess.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// A check that only records that it was started.
class CRecordingCheck : public CDialCheck {
public:
    int started = 0;
    void Start() override { ++started; }
};

// The credentials windows on screen now.
QList<CCredentialsDlg*> VisibleCredentialWindows()
{
    QList<CCredentialsDlg*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<CCredentialsDlg*>(widget); window && window->isVisible())
            found.append(window);
    }
    return found;
}

} // namespace

class TestDialDlg : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void checkModes();
    void dialWindowRedialsAndHangsUp();
    void connectedDialClosesWithoutHangingUp();
    void progressAfterTheWindowClosedIsDropped();
    void defaultDialAsksOnlyWhenNothingIsRemembered();
    void connectionsWindow();
    void connectionsWindowAsksPastTheCap();
    void noDefaultOpensTheConnectionsWindow();
    void programDialIsNeverLost();

private:
    CDialerParts Parts();
    void SetSim(const char* key, int value);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CCredentialStore> m_credentials;
    std::unique_ptr<CSimRemoteAccess> m_remote;
    QStringList m_lines;
};

void TestDialDlg::initTestCase()
{
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

void TestDialDlg::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<CSettingsStore>(m_dir->filePath(u"ov.ini"_s));
    m_credentials = std::make_unique<CCredentialStore>(m_store.get(), QDBusConnection(u"no bus"_s));
    SetSim("StepMs", 1);
    m_remote = std::make_unique<CSimRemoteAccess>(m_dir->filePath(u"simulator.ini"_s));
    m_store->Write(Keys::DefaultCon, u"Home ISP"_s);
    m_store->Write(Keys::EntryUser(u"Home ISP"_s), u"alice"_s);
    m_store->Write(Keys::EntryPassword(u"Home ISP"_s), u"s3cret"_s);
    m_lines.clear();
}

void TestDialDlg::cleanup()
{
    // Every window of a case is gone before its backend.
    for (QWidget* widget : QApplication::topLevelWidgets())
        widget->close();
    QTRY_VERIFY(!CDialDlg::Current() && !CConnectionsDlg::Current());
    QTRY_VERIFY(VisibleCredentialWindows().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CDialWindowGate::Queue().Clear();
    m_remote.reset();
    m_credentials.reset();
    m_store.reset();
    m_dir.reset();
}

CDialerParts TestDialDlg::Parts()
{
    return {*m_store, *m_remote, *m_credentials, [this](const QString& line) { m_lines << line; }};
}

void TestDialDlg::SetSim(const char* key, int value)
{
    CSettingsStore(m_dir->filePath(u"simulator.ini"_s))
        .WriteInt(u"Dial"_s, QString::fromLatin1(key), value);
}

void TestDialDlg::checkModes()
{
    auto owned = std::make_unique<CRecordingCheck>();
    QPointer<CRecordingCheck> check = owned.get();
    CDialDlg::RunCheck(CDialDlg::MailCheck, std::move(owned), nullptr);
    QPointer<CDialDlg> window = CDialDlg::Current();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->StatusText(), u"Connecting to server..."_s);
    QCOMPARE(window->ButtonText(), u"Cancel"_s);
    QVERIFY(window->CheckTimer().isActive());
    QCOMPARE(window->CheckTimer().interval(), CDialDlg::kCheckDelayMs);
    const QFont before = window->findChild<QLabel*>()->font();
    QVERIFY(before.family() != u"Verdana"_s || before.pixelSize() != 10);

    // A second check while one runs only brings the window up; its check is dropped.
    auto second = std::make_unique<CRecordingCheck>();
    QPointer<CRecordingCheck> dropped = second.get();
    CDialDlg::RunCheck(CDialDlg::UpgradeCheck, std::move(second), nullptr);
    QCOMPARE(CDialDlg::Current(), window.data());
    QVERIFY(!dropped);

    window->CheckTimer().start(0);
    QTRY_COMPARE(check->started, 1);
    const QFont font = window->findChild<QLabel*>()->font();
    QCOMPARE(font.family(), u"Verdana"_s);
    QCOMPARE(font.pixelSize(), 10);
    Q_EMIT check->Finished(u"Checking..."_s, false);
    QCOMPARE(window->StatusText(), u"Checking..."_s);
    QCOMPARE(window->ButtonText(), u"Cancel"_s);
    Q_EMIT check->Finished(u"You have 3 new messages"_s, true);
    QCOMPARE(window->ButtonText(), u"OK"_s);

    // What a server answers is shown as it is, never as markup: drawn as rich text, this
    // reply would make the window load /dev/zero as an image until memory runs out.
    const QString hostile = u"<h1>New!</h1><a href=\"x\">x</a><img src=\"/dev/zero\">"_s;
    Q_EMIT check->Finished(hostile, true);
    QCOMPARE(window->StatusText(), hostile);
    QCOMPARE(window->findChild<QLabel*>()->textFormat(), Qt::PlainText);
    QVERIFY(!window->grab().isNull());
    const std::unique_ptr<QMessageBox> box =
        CWidgetMessageBox::Build({hostile, {}, CMessageBox::Icon::Information}, nullptr);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    box->show();
    QVERIFY(!box->grab().isNull());

    // Escape closes it; the check goes with it.
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(!window);
    QVERIFY(!check);
    QVERIFY(!CDialDlg::Current());

    // The upgrade check keeps the font; a check may close the window itself.
    auto upgrade = std::make_unique<CRecordingCheck>();
    QPointer<CRecordingCheck> upgradeCheck = upgrade.get();
    CDialDlg::RunCheck(CDialDlg::UpgradeCheck, std::move(upgrade), nullptr);
    window = CDialDlg::Current();
    window->CheckTimer().start(0);
    QTRY_COMPARE(upgradeCheck->started, 1);
    QVERIFY(window->findChild<QLabel*>()->font().pixelSize() != 10 ||
            window->findChild<QLabel*>()->font().family() != u"Verdana"_s);
    Q_EMIT upgradeCheck->CloseWindow();
    QTRY_VERIFY(!window);
}

void TestDialDlg::dialWindowRedialsAndHangsUp()
{
    SetSim("BusyTimes", 100);
    m_store->Write(Keys::RedialWhenBusy, 2);
    CDialDlg::RunDial(Parts(), nullptr);
    QPointer<CDialDlg> window = CDialDlg::Current();
    QVERIFY(window);
    QCOMPARE(window->RunMode(), CDialDlg::Dial);
    QCOMPARE(window->StatusText(), u"Connecting to Home ISP..."_s);
    CDialSession* session = window->Session();
    for (int attempt = 1; attempt <= 3; ++attempt) {
        QVERIFY(session->AttemptTimer().isActive());
        session->AttemptTimer().start(0);
        QTRY_COMPARE(session->BusyCount(), attempt);
        QCOMPARE(window->StatusText(), u"Line is busy.\nRedialing, please wait..."_s);
        QCOMPARE(window->ButtonText(), u"Cancel"_s);
        QCOMPARE(session->AttemptTimer().interval(), CDialSession::kRedialMs);
    }
    // Asking again brings the same window up.
    CDialDlg::RunDial(Parts(), nullptr);
    QCOMPARE(CDialDlg::Current(), window.data());

    // Cancel during a dial that is under way hangs it up.
    SetSim("BusyTimes", 0);
    SetSim("StepMs", 60000);
    session->AttemptTimer().start(0);
    QTRY_VERIFY(m_remote->IsDialing());
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(!window);
    QVERIFY(!m_remote->IsDialing());
}

void TestDialDlg::connectedDialClosesWithoutHangingUp()
{
    CDialDlg::RunDial(Parts(), nullptr);
    QPointer<CDialDlg> window = CDialDlg::Current();
    QStringList texts;
    connect(window->Session(), &CDialSession::Changed, this,
            [&texts, window] { texts << window->StatusText(); });
    window->Session()->AttemptTimer().start(0);
    QTRY_VERIFY(!window);
    QVERIFY(texts.contains(u"Opening the port..."_s));
    QVERIFY(texts.contains(u"The client has successfully completed authentication."_s));
    QList<CActiveConnection> up;
    QCOMPARE(m_remote->EnumConnections(up), 0);
    QCOMPARE(up.size(), 1);
    QCOMPARE(up[0].entryName, u"Home ISP"_s);
}

void TestDialDlg::progressAfterTheWindowClosedIsDropped()
{
    CScriptedRemoteAccess remote;
    CDialDlg::RunDial({*m_store, remote, *m_credentials, {}}, nullptr);
    QPointer<CDialDlg> window = CDialDlg::Current();
    window->Session()->AttemptTimer().start(0);
    QTRY_VERIFY(remote.notifier);
    // Progress from the service's thread reaches the window.
    std::thread([&remote] { remote.notifier(CRemoteAccess::ConnectDevice, 0); }).join();
    QTRY_COMPARE(window->StatusText(), u"Connecting to the device..."_s);

    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(!window);
    QCOMPARE(remote.hangUps, QList<RasHandle>({101}));
    // The service still reports: nothing is left to show it, and nothing breaks.
    std::thread([&remote] { remote.notifier(CRemoteAccess::Connected, 0); }).join();
    QCoreApplication::processEvents();
    QVERIFY(!CDialDlg::Current());
}

void TestDialDlg::defaultDialAsksOnlyWhenNothingIsRemembered()
{
    CScriptedMessageBox boxes;
    m_store->Write(Keys::RememberPassword, 0);
    SetSim("BusyTimes", 1);
    // Remembered: straight to the dial window, announced in the message list.
    CDefaultDial::Run(Parts(), true, nullptr);
    QTRY_VERIFY(CDialDlg::Current());
    QVERIFY(VisibleCredentialWindows().isEmpty());
    QCOMPARE(m_lines, QStringList({u"Connecting..."_s}));
    QPointer<CDialDlg> window = CDialDlg::Current();
    window->Session()->AttemptTimer().start(0);
    QTRY_COMPARE(window->ButtonText(), u"OK"_s);
    // Not to be remembered: erased after the attempt.
    QTRY_VERIFY(m_store->Read(Keys::EntryPassword(u"Home ISP"_s)).isEmpty());
    QVERIFY(m_store->Read(Keys::EntryUser(u"Home ISP"_s)).isEmpty());
    window->close();
    QTRY_VERIFY(!window);

    // Now the dial asks; typing them in dials.
    CDefaultDial::Run(Parts(), false, nullptr);
    QTRY_COMPARE(VisibleCredentialWindows().size(), 1);
    CCredentialsDlg* asking = VisibleCredentialWindows().constFirst();
    QVERIFY(!CDialDlg::Current());
    // Connect again while it asks: still the one window.
    CDefaultDial::Run(Parts(), true, nullptr);
    QCoreApplication::processEvents();
    QCOMPARE(VisibleCredentialWindows(), QList<CCredentialsDlg*>({asking}));
    const QList<QLineEdit*> fields = asking->findChildren<QLineEdit*>();
    QCOMPARE(fields.size(), 2);
    QCOMPARE(fields[1]->echoMode(), QLineEdit::Password);
    fields[0]->setText(u"bob"_s);
    fields[1]->setText(u"pw"_s);
    asking->accept();
    QTRY_VERIFY(CDialDlg::Current());
    QCOMPARE(m_lines.size(), 1); // no second "Connecting..." from this caller
    QTRY_COMPARE(m_store->Read(Keys::EntryUser(u"Home ISP"_s)), u"bob"_s);
    QCOMPARE(boxes.Shown().size(), 0);
}

void TestDialDlg::connectionsWindow()
{
    CScriptedMessageBox boxes;
    QPointer<CConnectionsDlg> window = CConnectionsDlg::Open(Parts(), nullptr);
    QCOMPARE(window->Listed(), QStringList({u"Work"_s, u"Home ISP"_s}));
    QCOMPARE(CConnectionsDlg::Open(Parts(), nullptr), window.data());

    window->SetAsDefault();
    QCOMPARE(boxes.Shown().size(), 1);
    window->Select(u"Work"_s);
    window->SetAsDefault();
    QCOMPARE(m_store->Read(Keys::DefaultCon), u"Work"_s);

    // The list follows the phonebook.
    CSettingsStore(m_remote->File()).WriteString(u"Phonebook"_s, u"Entries"_s, u"A|B|C"_s);
    window->Refresh();
    QCOMPARE(window->Listed(), QStringList({u"C"_s, u"B"_s, u"A"_s}));

    // Advanced edits the selected entry's credentials, not the default's.
    window->Select(u"B"_s);
    window->Advanced();
    QTRY_COMPARE(VisibleCredentialWindows().size(), 1);
    CCredentialsDlg* editing = VisibleCredentialWindows().constFirst();
    QCOMPARE(editing->Flow().Entry(), u"B"_s);
    QCOMPARE(editing->findChildren<QLabel*>().constFirst()->text(),
             u"Connection B user name and password."_s);
    const QList<QLineEdit*> fields = editing->findChildren<QLineEdit*>();
    fields[0]->setText(u"ben"_s);
    fields[1]->setText(u"pw b"_s);
    editing->accept();
    QTRY_COMPARE(m_store->Read(Keys::EntryPassword(u"B"_s)), u"pw b"_s);
    QCOMPARE(m_store->Read(Keys::DefaultCon), u"Work"_s);

    // A click on an entry selects it, a click outside every entry clears the selection.
    auto* list = window->findChild<QTreeWidget*>();
    const QRect second = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(window->Selected(), u"B"_s);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(second.center().x(), list->viewport()->height() - 2));
    QCOMPARE(window->Selected(), QString());
    window->Dial();
    QCOMPARE(boxes.Shown().last().text,
             u"Please select entry to dial first. Or create it, using Add..."_s);
    window->Hide();
    QTRY_VERIFY(!window);
}

// Past the data plan's cap a dial from the Connections window waits for the user's Yes.
void TestDialDlg::connectionsWindowAsksPastTheCap()
{
    CDialerParts parts = Parts();
    int asked = 0;
    parts.mayDialByHand = [&asked] { return ++asked > 1; }; // No first, then Yes
    QPointer<CConnectionsDlg> window = CConnectionsDlg::Open(parts, nullptr);
    window->Select(u"Work"_s);
    window->Dial();
    QCOMPARE(asked, 1);
    QVERIFY(!CDialDlg::Current() && VisibleCredentialWindows().isEmpty());
    window->Dial();
    QCOMPARE(asked, 2);
    QTRY_VERIFY(CDialDlg::Current() || !VisibleCredentialWindows().isEmpty());
}

void TestDialDlg::noDefaultOpensTheConnectionsWindow()
{
    CScriptedMessageBox boxes;
    m_store->Write(Keys::DefaultCon, QString());
    CDefaultDial::Run(Parts(), true, nullptr);
    QCOMPARE(boxes.Shown().size(), 1);
    QVERIFY(boxes.Shown()[0].text.startsWith(u"Please select the default connection to dial."_s));
    QPointer<CConnectionsDlg> window = CConnectionsDlg::Current();
    QVERIFY(window && window->isVisible());

    // Hidden without choosing one: the dial is off.
    window->Hide();
    QTRY_VERIFY(!window);
    QCoreApplication::processEvents();
    QVERIFY(!CDialDlg::Current());
    QVERIFY(VisibleCredentialWindows().isEmpty());

    // Choosing one goes on to the dial with its remembered credentials.
    CDefaultDial::Run(Parts(), true, nullptr);
    window = CConnectionsDlg::Current();
    window->Select(u"Home ISP"_s);
    window->SetAsDefault();
    window->Hide();
    QTRY_VERIFY(CDialDlg::Current());
    QCOMPARE(CDialDlg::Current()->StatusText(), u"Connecting to Home ISP..."_s);
    QCOMPARE(m_lines, QStringList({u"Connecting..."_s}));
}

void TestDialDlg::programDialIsNeverLost()
{
    const auto openMode = [] {
        return CDialDlg::Current() ? CDialDlg::Current()->RunMode() : CDialDlg::Mode(0);
    };
    // A finished check gives way to a dial the program asks for.
    auto mail = std::make_unique<CRecordingCheck>();
    QPointer<CRecordingCheck> mailCheck = mail.get();
    CDialWindowGate::Check(CDialDlg::MailCheck, std::move(mail), nullptr);
    QPointer<CDialDlg> result = CDialDlg::Current();
    Q_EMIT mailCheck->Finished(u"No new messages"_s, true);
    CDefaultDial::RunOnItsOwn(Parts(), nullptr);
    QTRY_COMPARE(openMode(), CDialDlg::Dial);
    QTRY_VERIFY(!result);
    QPointer<CDialDlg> dial = CDialDlg::Current();
    dial->Session()->AttemptTimer().stop();
    QCOMPARE(m_lines, QStringList({u"Connecting..."_s}));

    // While it dials, an update check waits and the same dial asked again is taken in.
    auto upgrade = std::make_unique<CRecordingCheck>();
    QPointer<CRecordingCheck> upgradeCheck = upgrade.get();
    CDialWindowGate::Check(CDialDlg::UpgradeCheck, std::move(upgrade), nullptr);
    CDefaultDial::RunOnItsOwn(Parts(), nullptr);
    QCoreApplication::processEvents();
    QCOMPARE(CDialDlg::Current(), dial.data());
    QVERIFY(upgradeCheck);
    QCOMPARE(m_lines.size(), 1);

    // The dial window closes: the check that waited runs.
    dial->close();
    QTRY_COMPARE(openMode(), CDialDlg::UpgradeCheck);
    QVERIFY(!dial);
    QPointer<CDialDlg> checking = CDialDlg::Current();
    checking->CheckTimer().start(0);
    QTRY_COMPARE(upgradeCheck->started, 1);

    // While the check runs, the program's dial waits (asked twice, kept once) ...
    CDefaultDial::RunOnItsOwn(Parts(), nullptr);
    CDefaultDial::RunOnItsOwn(Parts(), nullptr);
    QCoreApplication::processEvents();
    QCOMPARE(CDialDlg::Current(), checking.data());
    QCOMPARE(CDialWindowGate::Queue().WaitingCount(), 1);
    // ... and dials once the check's window has closed.
    checking->close();
    QTRY_COMPARE(openMode(), CDialDlg::Dial);
    CDialDlg::Current()->Session()->AttemptTimer().stop();
    QCOMPARE(m_lines.size(), 2);
    QCOMPARE(CDialWindowGate::Queue().WaitingCount(), 0);
}

QTEST_MAIN(TestDialDlg)
#include "tst_dialdlg.moc"
