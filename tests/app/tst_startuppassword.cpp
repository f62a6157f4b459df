#include "app/gui/mainapp.h"
#include "common/settingsstore.h"
#include "security/gui/passworddlg.h"
#include "security/passwordhash.h"

#include "support/scriptedmessagebox.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {
// Types into the start-up prompt as soon as it shows, as a user would.
void AnswerPrompt(std::function<void(CPasswordDlg*)> answer)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        auto* prompt = qobject_cast<CPasswordDlg*>(QApplication::activeModalWidget());
        if (!prompt || !prompt->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(prompt);
    });
    timer->start();
}

void TypeAndEnter(CPasswordDlg* prompt, const QString& text)
{
    auto* field = prompt->findChild<QLineEdit*>(u"password"_s);
    field->clear();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_VERIFY(!prompt->Checking());
}
} // namespace

// The start-up check of the program, with its real prompt answered by key clicks.
class TestStartupPassword : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(u"ov.ini"_s));
        QVERIFY(m_store->Write(Keys::SecurityPassword, CPasswordHash::Make(u"Secret"_s)));
    }

    // Without protection at start nothing is asked, also when it asks on configuration.
    void noPromptUnlessAskedAtStart()
    {
        QVERIFY(CMainApp::CheckStartupPassword(*m_store));
        QVERIFY(m_store->Write(Keys::SecurityEnabled, 1));
        QVERIFY(m_store->Write(Keys::SecurityWhenConfigured, 1));
        QVERIFY(CMainApp::CheckStartupPassword(*m_store));
        QVERIFY(m_store->Write(Keys::SecurityEnabled, 0));
        QVERIFY(m_store->Write(Keys::SecurityWhenStarted, 1));
        QVERIFY(CMainApp::CheckStartupPassword(*m_store));
    }

    // Asked at start: a wrong-case password is refused and asked again; Esc ends the
    // start; the right password lets it go on.
    void promptAtStart()
    {
        CScriptedMessageBox boxes;
        QVERIFY(m_store->Write(Keys::SecurityEnabled, 1));
        QVERIFY(m_store->Write(Keys::SecurityWhenStarted, 1));

        AnswerPrompt([](CPasswordDlg* prompt) {
            TypeAndEnter(prompt, u"secret"_s);
            QVERIFY(prompt->isVisible());
            QTest::keyClick(prompt, Qt::Key_Escape);
        });
        QVERIFY(!CMainApp::CheckStartupPassword(*m_store));
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown().at(0).text, u"Password incorrect. Please try again!"_s);

        AnswerPrompt([](CPasswordDlg* prompt) {
            TypeAndEnter(prompt, u"SECRET"_s);
            TypeAndEnter(prompt, u"Secret"_s);
        });
        QVERIFY(CMainApp::CheckStartupPassword(*m_store));
        QCOMPARE(boxes.Shown().size(), 2);
        QVERIFY(!QApplication::activeModalWidget());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
};

QTEST_MAIN(TestStartupPassword)
#include "tst_startuppassword.moc"
