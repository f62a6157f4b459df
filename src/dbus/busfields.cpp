#include "dbus/busfields.h"

#include "billing/cycleusage.h"
#include "billing/tariff.h"
#include "monitor/callstatus.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>
#include <climits>

QVariantMap CBusFields::Status(const CCallStatus& status, double cost)
{
    QVariantMap fields = status.ToObject().toVariantMap();
    fields.insert(QStringLiteral("cost"), cost);
    return fields;
}

double CBusFields::CallCost(const CTariff& tariff, const CCallStatus& status)
{
    if (!status.connected || !status.start.isValid())
        return 0.0;
    const QDate day = status.start.date();
    const QTime time = status.start.time();
    const int startSecs = time.hour() * 3600 + time.minute() * 60 + time.second();
    const qint64 seconds = std::clamp<qint64>(status.seconds, 0, INT_MAX);
    return tariff.PriceCall(day.day(), day.month(), day.year(), startSecs, int(seconds)).price;
}

QVariantMap CBusFields::Usage(const CCycleUsage& usage)
{
    QVariantMap fields = QJsonDocument::fromJson(usage.ToJson()).object().toVariantMap();
    // Whole numbers in the text would come back as integers: these stay doubles.
    for (const char* key : {"percent", "cost", "projected_cost"}) {
        const QString name = QLatin1String(key);
        fields.insert(name, fields.value(name).toDouble());
    }
    return fields;
}

QVariantMap CBusFields::CallStart(const CCallStatus& status)
{
    return {{QStringLiteral("entry"), status.entry},
            {QStringLiteral("device"), status.device},
            {QStringLiteral("start"), status.start.toString(Qt::ISODate)}};
}

QVariantMap CBusFields::Record(const QString& line)
{
    const QStringList parts = line.split(u'|');
    const auto moment = [&parts](int at) {
        return QDateTime::fromString(parts.value(at) + u' ' + parts.value(at + 1),
                                     QStringLiteral("dd-MM-yyyy HH:mm:ss"))
            .toString(Qt::ISODate);
    };
    return {{QStringLiteral("start"), moment(0)},
            {QStringLiteral("end"), moment(2)},
            {QStringLiteral("user"), parts.value(4)},
            {QStringLiteral("device"), parts.value(5)},
            {QStringLiteral("entry"), parts.value(6)},
            {QStringLiteral("sent"), parts.value(7).toLongLong()},
            {QStringLiteral("received"), parts.value(8).toLongLong()},
            {QStringLiteral("line"), line}};
}
