#include "app/autostart.h"

#include "common/apppaths.h"
#include "common/messagebox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

QString CAutostart::EntryFile()
{
    return CAppPaths::ConfigHome() + QStringLiteral("/autostart/orvalis.desktop");
}

bool CAutostart::CanStart(const QString& executable)
{
    for (const QChar c : executable) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QString CAutostart::ExecValue(const QString& executable)
{
    // The program's path as one quoted argument of the command line.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : executable) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        // A single % would start a field code such as %f.
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    // Every string value of a desktop entry has its own escapes on top: there a backslash
    // is written as two.
    quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    return quoted;
}

QByteArray CAutostart::EntryText(const QString& executable)
{
    if (executable.isEmpty() || !CanStart(executable))
        return {};
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Orvalis\n"
                                        "Comment=Dial-up and metered connection monitor\n"
                                        "Exec=") +
                         ExecValue(executable) +
                         QStringLiteral("\n"
                                        "Icon=" ORVALIS_APP_ID "\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}

bool CAutostart::Set(bool enabled, const QString& executable)
{
    const QString file = EntryFile();
    if (!enabled) {
        QFile::remove(file);
        return true;
    }
    // Without a path there is nothing to start.
    if (executable.isEmpty())
        return false;
    if (!CanStart(executable)) {
        CMessageBox::Error(QCoreApplication::translate(
                               "CAutostart",
                               "Orvalis cannot be started with the desktop from where it is: the "
                               "path of the program, %1, holds a line break, a tab or another "
                               "control character, which a desktop entry cannot carry. No entry "
                               "was written; move the program to a folder with a plain name and "
                               "tick the option again.")
                               .arg(QString(executable)
                                        .replace(QRegularExpression(QStringLiteral("\\p{Cc}")),
                                                 QStringLiteral("?"))));
        return false;
    }
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(EntryText(executable));
    return out.commit();
}

bool CAutostart::IsSet()
{
    return QFileInfo(EntryFile()).isFile();
}
