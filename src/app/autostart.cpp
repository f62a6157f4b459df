#include "app/autostart.h"

#include "common/apppaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString CAutostart::EntryFile()
{
    return CAppPaths::ConfigHome() + QStringLiteral("/autostart/orvalis.desktop");
}

QByteArray CAutostart::EntryText(const QString& executable)
{
    // Inside double quotes a desktop entry needs ", `, $ and \ escaped by a backslash.
    QString quoted;
    for (const QChar c : executable) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'\n' || c == u'\r')
            continue;
        quoted += c;
    }
    // Escape sequences of the value itself: a backslash is written as two.
    quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Orvalis\n"
                                        "Comment=Dial-up and metered connection monitor\n"
                                        "Exec=\"") +
                         quoted +
                         QStringLiteral("\"\n"
                                        "Icon=orvalis\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}

void CAutostart::Set(bool enabled, const QString& executable)
{
    const QString file = EntryFile();
    if (!enabled) {
        QFile::remove(file);
        return;
    }
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return;
    out.write(EntryText(executable));
    out.commit();
}

bool CAutostart::IsSet()
{
    return QFileInfo(EntryFile()).isFile();
}
