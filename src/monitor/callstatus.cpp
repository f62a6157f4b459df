#include "monitor/callstatus.h"

#include <QJsonDocument>
#include <QJsonObject>

QByteArray CCallStatus::ToJson() const
{
    return QJsonDocument(ToObject()).toJson(QJsonDocument::Compact);
}

QJsonObject CCallStatus::ToObject() const
{
    // The duration counts whole hours on, unlike the window's clock text, so a script can
    // read a call longer than a day.
    const qint64 secs = qMax<qint64>(0, seconds);
    const QString duration = QStringLiteral("%1:%2:%3")
                                 .arg(secs / 3600, 2, 10, QLatin1Char('0'))
                                 .arg(secs / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(secs % 60, 2, 10, QLatin1Char('0'));
    return QJsonObject{
        {QStringLiteral("connected"), connected},
        {QStringLiteral("entry"), entry},
        {QStringLiteral("device"), device},
        {QStringLiteral("start"), connected ? start.toString(Qt::ISODate) : QString()},
        {QStringLiteral("seconds"), secs},
        {QStringLiteral("duration"), duration},
        {QStringLiteral("sent"), sent},
        {QStringLiteral("received"), received},
    };
}
