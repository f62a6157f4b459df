#include "tools/timetext.h"

#include <QLocale>
#include <QTimeZone>

QDateTime CTimeText::ToDateTime(quint32 secondsSince1900)
{
    qint64 secs = qint64(secondsSince1900) - kSecondsFrom1900To1970;
    if (secs < 0)
        secs += qint64(1) << 32;
    return QDateTime::fromSecsSinceEpoch(secs, QTimeZone::utc());
}

QString CTimeText::Format(quint32 secondsSince1900)
{
    return QLocale::c().toString(ToDateTime(secondsSince1900),
                                 QStringLiteral("ddd MMM dd HH:mm:ss yyyy")) +
           QLatin1Char('\n');
}

quint32 CTimeText::FromDateTime(const QDateTime& moment)
{
    return static_cast<quint32>(moment.toSecsSinceEpoch() + kSecondsFrom1900To1970);
}
