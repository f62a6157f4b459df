#include "common/settingsstore.h"
#include "security/gui/passworddlg.h"
#include "security/gui/securitydlg.h"
#include "security/passwordhash.h"

#include "support/scriptedmessagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {
// Runs `answer` on the modal window of type T as soon as it is shown, as a user would.
template <typename T> void AnswerWhenShown(std::function<void(T*)> answer)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(window);
    });
    timer->start();
}

void Type(QWidget* window, const char* field, const QString& text)
{
    auto* edit = window->findChild<QLineEdit*>(QLatin1String(field));
    QVERIFY(edit);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void Click(QWidget* window, const char* button)
{
    auto* push = window->findChild<QPushButton*>(QLatin1String(button));
    QVERIFY(push);
    QTest::mouseClick(push, Qt::LeftButton);
}
} // namespace

class TestSecurityDlg : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(u"ov.ini"_s));
    }

    // The prompt: hidden characters; a wrong-case password says so and keeps the prompt
    // open with its text; the right one closes it as accepted.
    void promptRefusesTheWrongCase()
    {
        CScriptedMessageBox boxes;
        QVERIFY(m_store->Write(Keys::SecurityPassword, CPasswordHash::Make(u"Secret"_s)));
        CPasswordDlg prompt(*m_store);
        prompt.show();
        auto* field = prompt.findChild<QLineEdit*>(u"password"_s);
        QCOMPARE(field->echoMode(), QLineEdit::Password);
        QVERIFY(prompt.findChild<QLabel*>(u"heading"_s)->text() == u"Please enter the password."_s);

        QTest::keyClicks(field, u"secret"_s);
        QTest::keyClick(field, Qt::Key_Return);
        // The hash is checked off the prompt's thread; meanwhile it says so and takes no
        // second answer.
        QVERIFY(prompt.Checking());
        QCOMPARE(prompt.findChild<QLabel*>(u"heading"_s)->text(), u"Checking..."_s);
        QVERIFY(!field->isEnabled());
        QTRY_VERIFY(!prompt.Checking());
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown().at(0).text, u"Password incorrect. Please try again!"_s);
        QVERIFY(prompt.isVisible());
        QCOMPARE(field->text(), u"secret"_s);

        field->clear();
        QTest::keyClicks(field, u"Secret"_s);
        Click(&prompt, "ok");
        QTRY_COMPARE(prompt.result(), int(QDialog::Accepted));
        QVERIFY(!prompt.isVisible());
        QCOMPARE(boxes.Shown().size(), 1);
    }

    // The Security window opens with the flags of the file and empty password fields, the
    // note showing while a password is stored; a mismatch keeps it open, nothing of the
    // password stored; matching fields store the hash and close it.
    void securityWindowFollowsItsRules()
    {
        CScriptedMessageBox boxes;
        QVERIFY(m_store->Write(Keys::SecurityEnabled, 1));
        QVERIFY(m_store->Write(Keys::SecurityWhenConfigured, 1));
        QVERIFY(m_store->Write(Keys::SecurityPassword, u"Old Plain"_s));
        CSecurityDlg window(*m_store);
        window.show();
        QVERIFY(window.findChild<QCheckBox*>(u"enabled"_s)->isChecked());
        QVERIFY(!window.findChild<QRadioButton*>(u"whenStarted"_s)->isChecked());
        QVERIFY(window.findChild<QRadioButton*>(u"whenConfigured"_s)->isChecked());
        QVERIFY(window.findChild<QLineEdit*>(u"password"_s)->text().isEmpty());
        QVERIFY(window.findChild<QLineEdit*>(u"confirm"_s)->text().isEmpty());
        QCOMPARE(window.findChild<QLineEdit*>(u"confirm"_s)->echoMode(), QLineEdit::Password);
        QVERIFY(window.findChild<QLabel*>(u"note"_s)->isVisible());

        QTest::mouseClick(window.findChild<QRadioButton*>(u"whenStarted"_s), Qt::LeftButton);
        Type(&window, "password", u"new"_s);
        Type(&window, "confirm", u"New"_s);
        Click(&window, "ok");
        QCOMPARE(boxes.Shown().size(), 1);
        QVERIFY(boxes.Shown().at(0).text.startsWith(u"The passwords you typed don't match."_s));
        QVERIFY(window.isVisible());
        QCOMPARE(m_store->Read(Keys::SecurityWhenStarted), 1);
        QCOMPARE(m_store->Read(Keys::SecurityWhenConfigured), 0);
        QCOMPARE(m_store->Read(Keys::SecurityPassword), u"Old Plain"_s);

        Type(&window, "confirm", u"new"_s);
        Click(&window, "ok");
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(CPasswordHash::Matches(m_store->Read(Keys::SecurityPassword), u"new"_s));
    }

    // Ticking protection with no choice of when to ask chooses "when changing
    // configuration"; a choice already made stays.
    void tickingProtectionChoosesWhenToAsk()
    {
        CScriptedMessageBox boxes;
        CSecurityDlg window(*m_store);
        window.show();
        auto* enabled = window.findChild<QCheckBox*>(u"enabled"_s);
        auto* atStart = window.findChild<QRadioButton*>(u"whenStarted"_s);
        auto* onConfig = window.findChild<QRadioButton*>(u"whenConfigured"_s);
        QVERIFY(!atStart->isChecked() && !onConfig->isChecked());
        QTest::mouseClick(enabled, Qt::LeftButton);
        QVERIFY(enabled->isChecked());
        QVERIFY(!atStart->isChecked() && onConfig->isChecked());

        QTest::mouseClick(atStart, Qt::LeftButton);
        QTest::mouseClick(enabled, Qt::LeftButton);
        QTest::mouseClick(enabled, Qt::LeftButton);
        QVERIFY(atStart->isChecked() && !onConfig->isChecked());

        Type(&window, "password", u"pw"_s);
        Type(&window, "confirm", u"pw"_s);
        Click(&window, "ok");
        QVERIFY(boxes.Shown().isEmpty());
        QCOMPARE(m_store->Read(Keys::SecurityWhenStarted), 1);
    }

    // With protection on configuration, the Security window asks first: a refused prompt
    // shows nothing and stores nothing; the right password opens it. Asking at start
    // only, it opens without a question.
    void securityWindowAsksFirst()
    {
        CScriptedMessageBox boxes;
        QVERIFY(m_store->Write(Keys::SecurityEnabled, 1));
        QVERIFY(m_store->Write(Keys::SecurityWhenConfigured, 1));
        QVERIFY(m_store->Write(Keys::SecurityPassword, CPasswordHash::Make(u"pw"_s)));
        const QString before = m_store->Read(Keys::SecurityPassword);

        bool securityShown = false;
        AnswerWhenShown<CPasswordDlg>(
            [](CPasswordDlg* prompt) { QTest::keyClick(prompt, Qt::Key_Escape); });
        QVERIFY(!CSecurityDlg::Open(*m_store, nullptr));

        AnswerWhenShown<CPasswordDlg>([&](CPasswordDlg* prompt) {
            Type(prompt, "password", u"PW"_s);
            Click(prompt, "ok");
            QTRY_VERIFY(!prompt->Checking());
            QVERIFY(prompt->isVisible());
            Type(prompt, "password", u"pw"_s);
            AnswerWhenShown<CSecurityDlg>([&](CSecurityDlg* window) {
                securityShown = true;
                Click(window, "cancel");
            });
            Click(prompt, "ok");
        });
        QVERIFY(CSecurityDlg::Open(*m_store, nullptr));
        QVERIFY(securityShown);
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(m_store->Read(Keys::SecurityPassword), before);
        QCOMPARE(m_store->Read(Keys::SecurityWhenConfigured), 1);

        QVERIFY(m_store->Write(Keys::SecurityWhenConfigured, 0));
        QVERIFY(m_store->Write(Keys::SecurityWhenStarted, 1));
        securityShown = false;
        AnswerWhenShown<CSecurityDlg>([&](CSecurityDlg* window) {
            securityShown = true;
            Click(window, "cancel");
        });
        QVERIFY(CSecurityDlg::Open(*m_store, nullptr));
        QVERIFY(securityShown);
        QVERIFY(!QApplication::activeModalWidget());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
};

QTEST_MAIN(TestSecurityDlg)
#include "tst_securitydlg.moc"
