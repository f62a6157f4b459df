#include "common/settingsstore.h"
#include "dialer/credentialsflow.h"
#include "dialer/credentialstore.h"
#include "dialer/phonebookactions.h"
#include "support/scriptedmessagebox.h"
#include "support/scriptedremoteaccess.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kChooseDefault =
    u"Please select the default connection to dial. You must do this only once.\nClick the "
    "connection you want as default, click Set as default, then click Hide."_s;
const QString kChooseDefaultOnOk =
    u"Please select the default connection to dial. You must do this only once.\nDouble-click "
    "the connection you want as default, then click Hide."_s;
const QString kEnterBoth = u"Please enter the user name and password used to connect to the "
                           "remote server (internet)."_s;

} // namespace

class TestCredentialsFlow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingFindsTheEntryAndClosesWhenRemembered();
    void noDefaultAsksForOneOrCancels();
    void okValidatesThenStores();
    void editModeStoresUnderTheChosenEntry();
    void phonebookActions();
    void addAndEditSayWhyNothingOpened();

private:
    std::unique_ptr<CCredentialsFlow> NewFlow();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CCredentialStore> m_credentials;
    std::unique_ptr<CScriptedRemoteAccess> m_remote;
    // What the Connections window does while it is "open"; counts its openings.
    std::function<void()> m_inConnections;
    int m_connectionsShown = 0;
};

void TestCredentialsFlow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<CSettingsStore>(m_dir->filePath(u"ov.ini"_s));
    m_credentials = std::make_unique<CCredentialStore>(m_store.get(), QDBusConnection(u"no bus"_s));
    m_remote = std::make_unique<CScriptedRemoteAccess>();
    m_remote->entries = {u"Home ISP"_s, u"My ISP"_s};
    m_inConnections = {};
    m_connectionsShown = 0;
}

void TestCredentialsFlow::cleanup()
{
    m_credentials.reset();
    m_store.reset();
    m_dir.reset();
}

std::unique_ptr<CCredentialsFlow> TestCredentialsFlow::NewFlow()
{
    return std::make_unique<CCredentialsFlow>(*m_store, *m_remote, *m_credentials,
                                              [this](std::function<void()> closed) {
                                                  ++m_connectionsShown;
                                                  if (m_inConnections)
                                                      m_inConnections();
                                                  closed();
                                              });
}

void TestCredentialsFlow::openingFindsTheEntryAndClosesWhenRemembered()
{
    CScriptedMessageBox boxes;
    // One entry becomes the default without asking.
    m_remote->entries = {u"Solo"_s};
    auto flow = NewFlow();
    QSignalSpy ready(flow.get(), &CCredentialsFlow::FieldsReady);
    QSignalSpy closed(flow.get(), &CCredentialsFlow::Closed);
    flow->Open(CCredentialsFlow::Mode::Normal);
    QCOMPARE(m_store->Read(Keys::DefaultCon), u"Solo"_s);
    QTRY_COMPARE(ready.size(), 1);
    QCOMPARE(flow->Title(), u"Connection Solo user name and password."_s);
    QVERIFY(flow->Remember());
    QVERIFY(boxes.Shown().isEmpty());

    // Remembered credentials: OK at once, no fields.
    m_store->Write(Keys::EntryUser(u"Solo"_s), u"alice"_s);
    m_store->Write(Keys::EntryPassword(u"Solo"_s), u"pw"_s);
    m_store->Write(Keys::RememberPassword, 0);
    flow->Open(CCredentialsFlow::Mode::Normal);
    QTRY_COMPARE(closed.size(), 1);
    QCOMPARE(closed[0][0].toBool(), true);
    QCOMPARE(ready.size(), 1);
    QVERIFY(!flow->Remember());

    // A failed listing changes nothing: a phonebook that does not fit the list.
    m_remote->enumResult = 603;
    m_store->Write(Keys::DefaultCon, u"Other"_s);
    flow->Open(CCredentialsFlow::Mode::Normal);
    QCOMPARE(m_store->Read(Keys::DefaultCon), u"Other"_s);
    QTRY_COMPARE(ready.size(), 2);
    QCOMPARE(flow->User(), QString());
}

void TestCredentialsFlow::noDefaultAsksForOneOrCancels()
{
    CScriptedMessageBox boxes;
    m_remote->entries.clear();
    auto flow = NewFlow();
    QSignalSpy ready(flow.get(), &CCredentialsFlow::FieldsReady);
    QSignalSpy closed(flow.get(), &CCredentialsFlow::Closed);
    flow->Open(CCredentialsFlow::Mode::Normal);
    QCOMPARE(boxes.Shown().size(), 1);
    QCOMPARE(boxes.Shown()[0].text, kChooseDefault);
    QCOMPARE(m_connectionsShown, 1);
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed[0][0].toBool(), false);

    // The user chooses one in the Connections window.
    m_inConnections = [this] { m_store->Write(Keys::DefaultCon, u"My ISP"_s); };
    flow->Open(CCredentialsFlow::Mode::Normal);
    QTRY_COMPARE(ready.size(), 1);
    QCOMPARE(flow->Entry(), u"My ISP"_s);
    QCOMPARE(closed.size(), 1);
}

void TestCredentialsFlow::okValidatesThenStores()
{
    CScriptedMessageBox boxes;
    m_store->Write(Keys::DefaultCon, u"My ISP"_s);
    auto flow = NewFlow();
    QSignalSpy closed(flow.get(), &CCredentialsFlow::Closed);
    flow->Open(CCredentialsFlow::Mode::Normal);
    QTRY_COMPARE(flow->Entry(), u"My ISP"_s);

    flow->Accept(u"alice"_s, QString(), false);
    QCOMPARE(boxes.Shown().size(), 1);
    QCOMPARE(boxes.Shown()[0].text, kEnterBoth);
    QCOMPARE(m_store->Read(Keys::RememberPassword), 0); // written before the check
    QCOMPARE(closed.size(), 0);

    flow->Accept(u"alice"_s, u"pass word"_s, true);
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed[0][0].toBool(), true);
    QCOMPARE(m_store->Read(Keys::RememberPassword), 1);
    // Blanks of the entry's name are kept in the keys.
    QTRY_COMPARE(m_store->ReadString(u"Connections"_s, u"My ISPPassword"_s, {}), u"pass word"_s);
    QCOMPARE(m_store->ReadString(u"Connections"_s, u"My ISPUser"_s, {}), u"alice"_s);

    // The default vanished meanwhile: asked for again; none chosen stores nothing.
    m_store->Write(Keys::DefaultCon, QString());
    boxes.Clear();
    flow->Accept(u"carol"_s, u"x"_s, true);
    QCOMPARE(boxes.Shown().size(), 1);
    QCOMPARE(boxes.Shown()[0].text, kChooseDefaultOnOk);
    QCOMPARE(closed.size(), 2);
    QCOMPARE(closed[1][0].toBool(), false);
    QCoreApplication::processEvents();
    QCOMPARE(m_store->Read(Keys::EntryUser(u"My ISP"_s)), u"alice"_s);
}

void TestCredentialsFlow::editModeStoresUnderTheChosenEntry()
{
    CScriptedMessageBox boxes;
    m_store->Write(Keys::DefaultCon, u"Home ISP"_s);
    m_store->Write(Keys::EntryUser(u"My ISP"_s), u"dora"_s);
    m_store->Write(Keys::EntryPassword(u"My ISP"_s), u"old"_s);
    auto flow = NewFlow();
    QSignalSpy ready(flow.get(), &CCredentialsFlow::FieldsReady);
    QSignalSpy closed(flow.get(), &CCredentialsFlow::Closed);
    // Remembered credentials are still shown for editing.
    flow->Open(CCredentialsFlow::Mode::Edit, u"My ISP"_s);
    QTRY_COMPARE(ready.size(), 1);
    QCOMPARE(flow->User(), u"dora"_s);
    QCOMPARE(flow->Password(), u"old"_s);
    flow->Accept(u"dora"_s, u"new"_s, true);
    QTRY_COMPARE(m_store->Read(Keys::EntryPassword(u"My ISP"_s)), u"new"_s);
    QCOMPARE(m_store->Read(Keys::DefaultCon), u"Home ISP"_s);
    QVERIFY(m_store->Read(Keys::EntryUser(u"Home ISP"_s)).isEmpty());
    QCOMPARE(closed.size(), 1);
}

void TestCredentialsFlow::phonebookActions()
{
    CScriptedMessageBox boxes;
    m_remote->entries = {u"A"_s, u"B"_s, u"C"_s};
    m_store->Write(Keys::DefaultCon, u"B"_s);
    CPhonebookActions actions(*m_store, *m_remote);
    QCOMPARE(actions.List(), QStringList({u"C"_s, u"B"_s, u"A"_s}));

    // Without a selection each button says what to do, with the caption "Orvalis".
    QVERIFY(!actions.MayDial(QString()));
    QVERIFY(!actions.Delete(QString()));
    QVERIFY(!actions.SetDefault(QString()));
    QVERIFY(!actions.MayEdit(QString()));
    QCOMPARE(boxes.Shown().size(), 4);
    QCOMPARE(boxes.Shown()[0].text,
             u"Please select entry to dial first. Or create it, using Add..."_s);
    QCOMPARE(boxes.Shown()[1].text,
             u"Please select entry to delete first. Or create it, using Add..."_s);
    QCOMPARE(boxes.Shown()[2].text, u"Please select entry first. Just single-click on it..."_s);
    QCOMPARE(boxes.Shown()[3].text, u"Please select entry first. Just single-click on it..."_s);
    QCOMPARE(boxes.Shown()[0].caption, u"Orvalis"_s);
    QCOMPARE(m_store->Read(Keys::DefaultCon), u"B"_s);

    // The dial needs a selection only; the default is what is dialled.
    boxes.Clear();
    QVERIFY(actions.MayDial(u"A"_s));
    QCOMPARE(m_store->Read(Keys::DefaultCon), u"B"_s);
    QVERIFY(actions.SetDefault(u"C"_s));
    QCOMPARE(m_store->Read(Keys::DefaultCon), u"C"_s);
    QVERIFY(actions.DoubleClicked(u"A"_s));
    QCOMPARE(m_store->Read(Keys::DefaultCon), u"A"_s);

    // Deleting asks; No keeps it, Yes deletes it and leaves the default naming it.
    boxes.Answer(CMessageBox::Answer::No);
    QVERIFY(!actions.Delete(u"A"_s));
    boxes.Answer(CMessageBox::Answer::Yes);
    QVERIFY(actions.Delete(u"A"_s));
    QCOMPARE(boxes.Shown().size(), 2);
    QCOMPARE(boxes.Shown()[1].text, u"You are about to delete entry A. Are you sure?"_s);
    QCOMPARE(boxes.Shown()[1].caption, u"Are you sure?"_s);
    QCOMPARE(boxes.Shown()[1].icon, CMessageBox::Icon::Question);
    QCOMPARE(boxes.Shown()[1].buttons, CMessageBox::Buttons::YesNo);
    QCOMPARE(m_remote->deleted, QStringList({u"A"_s}));
    QCOMPARE(actions.List(), QStringList({u"C"_s, u"B"_s}));
    QCOMPARE(m_store->Read(Keys::DefaultCon), u"A"_s);

    m_remote->enumResult = 603;
    QVERIFY(actions.List().isEmpty());
}

// Add and Edit that open no editor say why (the service's text, else its code); Edit needs
// a selection and asks the service nothing without one.
void TestCredentialsFlow::addAndEditSayWhyNothingOpened()
{
    CScriptedMessageBox boxes;
    CPhonebookActions actions(*m_store, *m_remote);
    QVERIFY(actions.Add());
    QVERIFY(actions.Edit(u"Home ISP"_s));
    QVERIFY(boxes.Shown().isEmpty());

    m_remote->createResult = CRemoteAccess::ErrorCannotWritePhonebook;
    m_remote->editResult = 20009;
    m_remote->edited.clear();
    QVERIFY(!actions.Add());
    QVERIFY(!actions.Edit(u"Home ISP"_s));
    QVERIFY(!actions.Edit(QString()));
    QCOMPARE(m_remote->edited, QStringList({u"Home ISP"_s}));
    QCOMPARE(boxes.Shown().size(), 3);
    QCOMPARE(boxes.Shown()[0].text, u"The phonebook could not be written."_s);
    QCOMPARE(boxes.Shown()[1].text, u"The connection editor could not be opened (error 20009)."_s);
    QCOMPARE(boxes.Shown()[2].text, u"Please select entry first. Just single-click on it..."_s);
}

QTEST_GUILESS_MAIN(TestCredentialsFlow)
#include "tst_credentialsflow.moc"
