#include "support/scriptedmessagebox.h"

#include "common/settingsstore.h"
#include "dialer/credentialstore.h"
#include "mail/gui/optmailpage.h"
#include "mail/mailoptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestOptMailPage : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(u"ov.ini"_s));
        // No bus, so no keyring: the password lives in the settings file.
        m_credentials =
            std::make_unique<CCredentialStore>(m_store.get(), QDBusConnection(u"none"_s));
    }

    void refusedValues_data()
    {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");
        const QString notInteger = u"Please enter an integer."_s;
        QTest::newRow("fine") << "10"
                              << "110" << -1 << QString();
        QTest::newRow("word") << "ten"
                              << "110" << int(CMailOptions::Minutes) << notInteger;
        QTest::newRow("empty") << ""
                               << "110" << int(CMailOptions::Minutes) << notInteger;
        QTest::newRow("zero") << "0"
                              << "110" << int(CMailOptions::Minutes)
                              << u"Please enter an integer between 1 and 1440."_s;
        QTest::newRow("negative") << "-5"
                                  << "110" << int(CMailOptions::Minutes)
                                  << u"Please enter an integer between 1 and 1440."_s;
        QTest::newRow("longest") << "1440"
                                 << "995" << -1 << QString();
        QTest::newRow("port word") << "1"
                                   << "pop" << int(CMailOptions::Port) << notInteger;
        QTest::newRow("port zero")
            << "1"
            << "0" << int(CMailOptions::Port) << u"Please enter an integer between 1 and 65535."_s;
        QTest::newRow("port too big") << "1"
                                      << "65536" << int(CMailOptions::Port)
                                      << u"Please enter an integer between 1 and 65535."_s;
    }

    void refusedValues()
    {
        QFETCH(QString, minutes);
        QFETCH(QString, port);
        QFETCH(int, field);
        QFETCH(QString, message);
        CMailOptions options;
        options.minutes = minutes;
        options.port = port;
        const auto refusal = options.Refused();
        QCOMPARE(refusal.has_value(), field >= 0);
        if (refusal) {
            QCOMPARE(int(refusal->field), field);
            QCOMPARE(refusal->message, message);
        }
    }

    void pageLoadsChecksAndSaves()
    {
        m_store->Write(Keys::CheckMail, 1);
        m_store->Write(Keys::CMailTime, 25);
        m_store->Write(Keys::MUser, u"anna"_s);
        m_store->Write(Keys::MPassword, u"old pw"_s);
        m_store->Write(Keys::MServer, u"pop.example.org"_s);
        int checks = 0;
        COptMailPage page(*m_store, *m_credentials, [&checks] { ++checks; });
        QVERIFY(page.CheckMailBox()->isChecked());
        QCOMPARE(page.MinutesEdit()->text(), u"25"_s);
        QVERIFY(!page.OnConnectBox()->isChecked());
        QCOMPARE(page.UserEdit()->text(), u"anna"_s);
        QCOMPARE(page.ServerEdit()->text(), u"pop.example.org"_s);
        QCOMPARE(page.SecurityList()->currentIndex(), 0);
        QCOMPARE(page.PortEdit()->text(), u"110"_s);
        QCOMPARE(page.PasswordEdit()->echoMode(), QLineEdit::Password);
        // The password arrives from the credential store.
        QTRY_COMPARE(page.PasswordEdit()->text(), u"old pw"_s);

        // Choosing a protection proposes its port.
        page.SecurityList()->setCurrentIndex(2);
        Q_EMIT page.SecurityList()->activated(2);
        QCOMPARE(page.PortEdit()->text(), u"995"_s);
        Q_EMIT page.SecurityList()->activated(1);
        QCOMPARE(page.PortEdit()->text(), u"110"_s);
        page.SecurityList()->setCurrentIndex(1);

        // Less than a minute is refused, with the field to put right.
        CScriptedMessageBox boxes;
        page.MinutesEdit()->setText(u"0"_s);
        QCOMPARE(page.Check(), page.MinutesEdit());
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown().at(0).text, u"Please enter an integer between 1 and 1440."_s);

        page.MinutesEdit()->setText(u" 5 "_s);
        page.CheckMailBox()->setChecked(false);
        page.OnConnectBox()->setChecked(true);
        page.ServerEdit()->setText(u" mail.example.org "_s);
        page.PasswordEdit()->setText(u"new pw"_s);
        page.PasswordEdit()->setModified(true);
        QCOMPARE(page.Check(), nullptr);
        page.Save();
        QCOMPARE(m_store->Read(Keys::CMailTime), 5);
        QCOMPARE(m_store->Read(Keys::CheckMail), 0);
        QCOMPARE(m_store->Read(Keys::CheckMailOnCon), 1);
        QCOMPARE(m_store->Read(Keys::MServer), u"mail.example.org"_s);
        QCOMPARE(m_store->Read(Keys::MSecurity), 1);
        QCOMPARE(m_store->Read(Keys::MPort), 110);
        QTRY_COMPARE(m_store->Read(Keys::MPassword), u"new pw"_s);

        // "Check email now" runs what it was given.
        const auto buttons = page.findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons.at(0)->text(), u"Check email now"_s);
        buttons.at(0)->click();
        QCOMPARE(checks, 1);
    }

    void saveBeforePasswordArrivedKeepsIt()
    {
        m_store->Write(Keys::MPassword, u"kept"_s);
        // An unknown protection shows as the strictest one, with its port.
        m_store->Write(Keys::MSecurity, 7);
        {
            COptMailPage page(*m_store, *m_credentials, {});
            QCOMPARE(page.SecurityList()->currentIndex(), 2);
            QCOMPARE(page.PortEdit()->text(), u"995"_s);
            // Saved at once: the stored password has not reached the field yet.
            page.Save();
        }
        QCoreApplication::processEvents();
        QCOMPARE(m_store->Read(Keys::MPassword), u"kept"_s);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CCredentialStore> m_credentials;
};

QTEST_MAIN(TestOptMailPage)
#include "tst_optmailpage.moc"
