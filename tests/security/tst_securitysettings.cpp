#include "common/settingsstore.h"
#include "security/passwordhash.h"
#include "security/securitysettings.h"

#include "support/scriptedmessagebox.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
CSecuritySettings::Fields Fields(bool enabled, bool atStart, bool onConfig, const QString& password,
                                 const QString& confirm)
{
    CSecuritySettings::Fields fields;
    fields.enabled = enabled;
    fields.whenStarted = atStart;
    fields.whenConfigured = onConfig;
    fields.password = password;
    fields.confirm = confirm;
    return fields;
}
} // namespace

class TestSecuritySettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(u"ov.ini"_s));
    }

    // Opening shows the three flags from the file and never the password: both fields
    // empty, with the note only while a password is stored.
    void opensWithTheFlagsAndEmptyFields()
    {
        CSecuritySettings settings(*m_store);
        CSecuritySettings::Fields fields = settings.Load();
        QVERIFY(!fields.enabled && !fields.whenStarted && !fields.whenConfigured);
        QVERIFY(!settings.HasPassword());

        WriteFile("[security]\nenabled=1\nwhenconfigured=1\npassword=pbkdf2-sha256$1$x$y\n");
        fields = settings.Load();
        QVERIFY(fields.enabled && !fields.whenStarted && fields.whenConfigured);
        QVERIFY(fields.password.isEmpty() && fields.confirm.isEmpty());
        QVERIFY(settings.HasPassword());
    }

    // OK stores the three flags before it checks anything: a refused OK followed by Cancel
    // leaves protection switched on with the old (here empty) password.
    void okWritesTheFlagsBeforeItChecks()
    {
        CScriptedMessageBox boxes;
        CSecuritySettings settings(*m_store);
        QVERIFY(!settings.Save(Fields(true, true, false, QString(), QString())));
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown().at(0).text, u"Please enter passwords"_s);
        QCOMPARE(m_store->Read(Keys::SecurityEnabled, -1), 1);
        QCOMPARE(m_store->Read(Keys::SecurityWhenStarted, -1), 1);
        QCOMPARE(m_store->Read(Keys::SecurityWhenConfigured, -1), 0);
        QVERIFY(m_store->Read(Keys::SecurityPassword, u"missing"_s) == u"missing"_s);

        boxes.Clear();
        QVERIFY(!settings.Save(Fields(true, false, true, u"abc"_s, u"abd"_s)));
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown().at(0).text,
                 u"The passwords you typed don't match. Please enter the same password in both "
                 "boxes."_s);
        QCOMPARE(m_store->Read(Keys::SecurityWhenStarted, -1), 0);
        QCOMPARE(m_store->Read(Keys::SecurityWhenConfigured, -1), 1);
        QVERIFY(m_store->Read(Keys::SecurityPassword, u"missing"_s) == u"missing"_s);

        // One field filled is a mismatch too.
        boxes.Clear();
        QVERIFY(!settings.Save(Fields(true, false, true, u"abc"_s, QString())));
        QCOMPARE(boxes.Shown().size(), 1);

        boxes.Clear();
        QVERIFY(settings.Save(Fields(true, false, true, u"Abc"_s, u"Abc"_s)));
        QVERIFY(boxes.Shown().isEmpty());
        const QString stored = m_store->Read(Keys::SecurityPassword);
        QVERIFY2(CPasswordHash::IsHash(stored), qPrintable(stored));
        QVERIFY(CPasswordHash::Matches(stored, u"Abc"_s));
        QVERIFY(!CPasswordHash::Matches(stored, u"abc"_s));
    }

    // Protection on that asks neither at start nor on configuration is refused with a
    // message, and nothing of it is stored.
    void protectionThatNeverAsksIsRefused()
    {
        CScriptedMessageBox boxes;
        CSecuritySettings settings(*m_store);
        QVERIFY(!settings.Save(Fields(true, false, false, u"abc"_s, u"abc"_s)));
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown().at(0).text, CSecuritySettings::ChooseWhenText());
        QCOMPARE(m_store->Read(Keys::SecurityEnabled, -1), -1);
        QVERIFY(m_store->Read(Keys::SecurityPassword, u"missing"_s) == u"missing"_s);
        // Off, no choice is needed.
        boxes.Clear();
        QVERIFY(settings.Save(Fields(false, false, false, QString(), QString())));
        QVERIFY(boxes.Shown().isEmpty());
    }

    // With a password stored, empty fields keep it as it is; turning protection off keeps
    // it too, and a new password replaces it.
    void emptyFieldsKeepThePassword()
    {
        CScriptedMessageBox boxes;
        CSecuritySettings settings(*m_store);
        QVERIFY(settings.Save(Fields(true, true, false, u"first"_s, u"first"_s)));
        const QString first = m_store->Read(Keys::SecurityPassword);

        QVERIFY(settings.Save(Fields(true, false, true, QString(), QString())));
        QCOMPARE(m_store->Read(Keys::SecurityPassword), first);
        QVERIFY(settings.Save(Fields(false, false, true, u"x"_s, u"y"_s)));
        QCOMPARE(m_store->Read(Keys::SecurityEnabled, -1), 0);
        QCOMPARE(m_store->Read(Keys::SecurityPassword), first);
        QVERIFY(boxes.Shown().isEmpty());

        QVERIFY(settings.Save(Fields(true, true, false, u"second"_s, u"second"_s)));
        QVERIFY(CPasswordHash::Matches(m_store->Read(Keys::SecurityPassword), u"second"_s));
        QVERIFY(!CPasswordHash::Matches(m_store->Read(Keys::SecurityPassword), u"first"_s));
    }

    // A plain-text password from an older file becomes its hash at the next successful
    // save, whichever way the window closes with OK; a refused OK leaves it alone.
    void oldPlainTextIsHashedAtTheNextSave()
    {
        CScriptedMessageBox boxes;
        CSecuritySettings settings(*m_store);
        for (const bool enabled : {true, false}) {
            WriteFile("[Security]\nEnabled=1\nWhenStarted=1\nPassword=Old Plain\n");
            if (enabled) {
                QVERIFY(!settings.Save(Fields(enabled, true, false, u"a"_s, u"b"_s)));
                QCOMPARE(m_store->Read(Keys::SecurityPassword), u"Old Plain"_s);
            }
            QVERIFY(settings.Save(Fields(enabled, true, false, QString(), QString())));
            const QString stored = m_store->Read(Keys::SecurityPassword);
            QVERIFY2(CPasswordHash::IsHash(stored), qPrintable(stored));
            QVERIFY(CPasswordHash::Matches(stored, u"Old Plain"_s));
            QVERIFY(!CPasswordHash::Matches(stored, u"old plain"_s));
        }
    }

    // A password that cannot be written is reported and the window stays open.
    void unwritableFileIsReported()
    {
        CScriptedMessageBox boxes;
        QFile blocker(m_dir->filePath(u"notafolder"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        CSettingsStore store(m_dir->filePath(u"notafolder/ov.ini"_s));
        CSecuritySettings settings(store);
        QVERIFY(!settings.Save(Fields(true, true, false, u"pw"_s, u"pw"_s)));
        QCOMPARE(boxes.Shown().size(), 1);
        QVERIFY(boxes.Shown().at(0).text.startsWith(u"The password could not be saved"_s));
    }

private:
    void WriteFile(const QByteArray& text)
    {
        QFile file(m_store->Path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
};

QTEST_GUILESS_MAIN(TestSecuritySettings)
#include "tst_securitysettings.moc"
