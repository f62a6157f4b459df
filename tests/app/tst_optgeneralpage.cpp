#include "app/gui/optgeneralpage.h"
#include "common/settingsstore.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString g_pickerTitle;
QString g_pickerStart;
QString g_pickerAnswer;

QString ScriptedPicker(QWidget*, const QString& title, const QString& start)
{
    g_pickerTitle = title;
    g_pickerStart = start;
    return g_pickerAnswer;
}

QCheckBox* Box(QWidget& page, const QString& text)
{
    for (QCheckBox* box : page.findChildren<QCheckBox*>()) {
        if (box->text() == text)
            return box;
    }
    return nullptr;
}
} // namespace

class TestOptGeneralPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsStoredValuesAndBrowses()
    {
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
        CSettingsStore store(dir.filePath(QStringLiteral("ov.ini")));
        store.Write(Keys::ConfirmExit, 0);
        store.Write(Keys::ShowWhenConnected, 1);

        COptGeneralPage page(store);
        page.SetFolderPicker(&ScriptedPicker);
        QStringList groups;
        for (QGroupBox* group : page.findChildren<QGroupBox*>())
            groups << group->title();
        QCOMPARE(groups, (QStringList{QStringLiteral("Logfile creating/reading path"),
                                      QStringLiteral("Startup"), QStringLiteral("Confirmation")}));
        QVERIFY(!Box(page, QStringLiteral("Ask before exiting"))->isChecked());
        QVERIFY(Box(page, QStringLiteral("Ask when closing connection"))->isChecked());
        QVERIFY(
            Box(page, QStringLiteral("Show main window when connected, then hide"))->isChecked());
        QVERIFY(Box(page, QStringLiteral("Start Orvalis when I log in"))->isChecked());
        QCOMPARE(page.LogFolderEdit()->text(), dir.path() + u'/');

        QPushButton* browse = page.findChild<QPushButton*>();
        QVERIFY(browse);
        g_pickerAnswer.clear();
        browse->click();
        QCOMPARE(g_pickerTitle, QStringLiteral("Select directory for logfile creating/reading"));
        QCOMPARE(g_pickerStart, dir.path() + u'/');
        QCOMPARE(page.LogFolderEdit()->text(), dir.path() + u'/'); // cancel changes nothing

        g_pickerAnswer = dir.filePath(QStringLiteral("logs"));
        browse->click();
        QCOMPARE(page.LogFolderEdit()->text(), g_pickerAnswer);

        Box(page, QStringLiteral("Ask before exiting"))->setChecked(true);
        Box(page, QStringLiteral("Start Orvalis when I log in"))->setChecked(false);
        page.Apply();
        QCOMPARE(store.Read(Keys::ConfirmExit, 9), 1);
        QCOMPARE(store.Read(Keys::StartWhenWindows, 9), 0);
        QCOMPARE(store.Read(Keys::IniPath), g_pickerAnswer);
    }
};

QTEST_MAIN(TestOptGeneralPage)
#include "tst_optgeneralpage.moc"
