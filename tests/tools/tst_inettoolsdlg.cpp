#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/gui/compositionroot.h"
#include "app/gui/maindlg.h"
#include "common/settingsstore.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "tools/gui/inettoolsdlg.h"
#include "tools/gui/namelookuppage.h"
#include "tools/gui/pingpage.h"
#include "tools/gui/timequerypage.h"
#include "tools/pingline.h"
#include "tools/pingstatus.h"

#include "support/monitorfakes.h"
#include "support/scriptedmessagebox.h"
#include "support/testclock.h"
#include "support/testtimeserver.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

CInetToolsDlg* OpenTools()
{
    CInetToolsDlg* found = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* tools = qobject_cast<CInetToolsDlg*>(widget); tools && tools->isVisible()) {
            if (found)
                return nullptr; // more than one
            found = tools;
        }
    }
    return found;
}

} // namespace

class TestInetToolsDlg : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openedByTheCommandAndPinging()
    {
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        CPlatform platform;
        platform.credentials = std::make_unique<CCredentialStore>(&store);
        platform.remoteAccess =
            std::make_unique<CSimRemoteAccess>(dir.filePath(u"simulator.ini"_s));
        platform.sound = std::make_unique<CRecordingSound>();
        CCompositionRoot root(store, std::move(platform));
        root.Open();
        // An answer left from an earlier opening is not shown again.
        QVERIFY(store.Write(Keys::RemoteTime, u"Mon Jan 01 00:00:00 2024"_s));

        root.Router().Run(CCommandTable::InetTools);
        QPointer<CInetToolsDlg> tools = OpenTools();
        QVERIFY(tools);
        QVERIFY(tools->isModal());
        QStringList titles;
        for (int i = 0; i < tools->Tree()->topLevelItemCount(); ++i)
            titles << tools->Tree()->topLevelItem(i)->text(0);
        QCOMPARE(titles, (QStringList{u"Get Host/IP"_s, u"Get Time"_s, u"Ping"_s}));
        QCOMPARE(tools->CurrentPage(), int(CInetToolsDlg::HostToIP));
        QVERIFY(tools->HostToIPPage()->isVisible());
        QVERIFY(tools->Tree()->selectedItems().isEmpty());
        QCOMPARE(tools->TimePage()->InternetTimeField()->text(), u"???"_s);
        QCOMPARE(store.Read(Keys::RemoteTime), u"???"_s);
        // Asked again, the open window comes to the front.
        root.Router().Run(CCommandTable::InetTools);
        QCOMPARE(OpenTools(), tools.data());

        tools->SelectPage(CInetToolsDlg::Ping);
        CPingPage* ping = tools->PingPage();
        QVERIFY(ping->isVisible());
        QVERIFY(!tools->HostToIPPage()->isVisible());
        ping->HostField()->setText(u"127.0.0.1"_s);
        QTest::mouseClick(ping->PingButton(), Qt::LeftButton);
        // The window keeps going while the pings are out; a second click waits its turn.
        QVERIFY(!ping->PingButton()->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(ping->Results().size(), 1, 10000);
        const QString line = ping->Results().first();
        QVERIFY2(line == CPingLine::Error(CPingStatus::kNotAllowed) ||
                     QRegularExpression(u"^\\[Ping\\] 127\\.0\\.0\\.1 \\[[^\\]]+\\], "
                                        u"replied in RTT:\\d+ ms$"_s)
                         .match(line)
                         .hasMatch(),
                 qPrintable(line));
        QVERIFY(ping->PingButton()->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        // The newest line goes on top.
        ping->HostField()->clear();
        QTest::mouseClick(ping->PingButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(ping->Results().size(), 2, 10000);
        QCOMPARE(ping->Results(), (QStringList{u"[Ping] Error 11001: Host not found"_s, line}));

        // Away to another page and back: the results stay.
        tools->SelectPage(CInetToolsDlg::Time);
        QVERIFY(tools->TimePage()->isVisible());
        QVERIFY(!ping->isVisible());
        tools->SelectPage(CInetToolsDlg::Ping);
        QCOMPARE(ping->Results().size(), 2);

        // Closed and opened again: a fresh window.
        tools->reject();
        QTRY_VERIFY(!tools);
        QVERIFY(store.Write(Keys::RemoteTime, u"Mon Jan 01 00:00:00 2024"_s));
        root.Router().Run(CCommandTable::InetTools);
        tools = OpenTools();
        QVERIFY(tools);
        QVERIFY(tools->PingPage()->Results().isEmpty());
        QCOMPARE(tools->TimePage()->InternetTimeField()->text(), u"???"_s);
        // Ping still works in the new window.
        tools->PingPage()->HostField()->setText(u"127.0.0.1"_s);
        tools->PingPage()->PingButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(tools->PingPage()->Results().size(), 1, 10000);
        QCOMPARE(tools->PingPage()->Results().first().section(u"RTT:"_s, 0, 0),
                 line.section(u"RTT:"_s, 0, 0));
        tools->accept();
        QTRY_VERIFY(!tools);
    }

    // Enter in a tool's field runs that tool and leaves the window open.
    void enterRunsTheToolOfItsField_data()
    {
        QTest::addColumn<int>("field");
        QTest::newRow("host to IP") << 0;
        QTest::newRow("IP to host") << 1;
        QTest::newRow("ping") << 2;
    }
    void enterRunsTheToolOfItsField()
    {
        QFETCH(int, field);
        const CScriptedMessageBox boxes;
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        CInetToolsDlg tools(store);
        tools.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tools));
        tools.SelectPage(field == 2 ? CInetToolsDlg::Ping : CInetToolsDlg::HostToIP);
        QLineEdit* const fields[] = {tools.HostToIPPage()->HostField(),
                                     tools.HostToIPPage()->AddressField(),
                                     tools.PingPage()->HostField()};
        fields[field]->setText(u"127.0.0.1"_s);
        fields[field]->setFocus();
        QTest::keyClick(fields[field], Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.Shown().size() + tools.PingPage()->Results().size(), 1,
                                  10000);
        QVERIFY(tools.isVisible());
    }

    void hostToIPBoxes()
    {
        const CScriptedMessageBox boxes;
        CNameLookupPage page;
        page.HostField()->setText(u"localhost"_s);
        // Two quick clicks, two boxes.
        page.ToAddressButton()->click();
        page.ToAddressButton()->click();
        QTRY_COMPARE(boxes.Shown().size(), 2);
        for (const CMessageBox::Box& box : boxes.Shown()) {
            QCOMPARE(box.caption, u"Host to IP"_s);
            QCOMPARE(box.text, u"127.0.0.1"_s);
        }
        page.AddressField()->setText(u"localhost"_s);
        page.ToHostButton()->click();
        QTRY_COMPARE(boxes.Shown().size(), 3);
        QCOMPARE(boxes.Shown().at(2).caption, u"IP to Host"_s);
        QCOMPARE(boxes.Shown().at(2).text, u"Can't resolve localhost"_s);
        page.AddressField()->setText(u"127.0.0.1"_s);
        page.ToHostButton()->click();
        QTRY_COMPARE(boxes.Shown().size(), 4);
        QVERIFY(!boxes.Shown().at(3).text.startsWith(u"Can't resolve"_s));
        QVERIFY(!QApplication::overrideCursor());
    }

    void timePage()
    {
        CTestClock clock(QDateTime(QDate(2024, 3, 5), QTime(14, 15, 16)));
        QTemporaryDir dir;
        CSettingsStore store(dir.filePath(u"ov.ini"_s));
        QVERIFY(store.Write(Keys::TimeServer, u"127.0.0.1"_s));
        CTestTimeServer server;
        server.answer =
            CTestTimeServer::Rfc868(QDateTime(QDate(2024, 1, 1), QTime(0, 0), QTimeZone::utc()));
        CTimeQuery query;
        query.SetPort(server.Port());

        CTimeQueryPage page(store);
        page.SetQuery(query);
        QCOMPARE(page.ComputerTimeField()->text(), u"14:15:16"_s);
        QCOMPARE(page.InternetTimeField()->text(), u"???"_s);
        page.GetTimeButton()->click();
        QTRY_COMPARE(page.InternetTimeField()->text(), u"Mon Jan 01 00:00:00 2024"_s);
        clock.AdvanceSecs(1);
        QTRY_COMPARE(page.ComputerTimeField()->text(), u"14:15:17"_s);

        server.answer = "\x01\x02";
        page.GetTimeButton()->click();
        QTRY_COMPARE(page.InternetTimeField()->text(), u"Unable to get time"_s);
    }
};

QTEST_MAIN(TestInetToolsDlg)
#include "tst_inettoolsdlg.moc"
