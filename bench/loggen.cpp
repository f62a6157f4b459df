#include "loggen.h"

#include "billing/logfile.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>

#include <random>

bool CLogGenerator::Write(const QString& path, qint64 count, quint32 seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;

    const QStringList users = {QStringLiteral("anna"), QStringLiteral("bert"),
                               QStringLiteral("carla"), QStringLiteral("dieter")};
    const QStringList devices = {QStringLiteral("Standard Modem"),
                                 QStringLiteral("USRobotics 56K Faxmodem"),
                                 QStringLiteral("ISDN Adapter")};
    const QStringList entries = {QStringLiteral("Office dial-up"), QStringLiteral("Home ISP"),
                                 QStringLiteral("Metered 3G"), QStringLiteral("Backup line")};

    std::mt19937 random(seed);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    // Calls in file order: each ends a little after the previous one.
    QDateTime start(QDate(2023, 1, 1), QTime(8, 0, 0));
    QByteArray chunk;
    chunk.reserve(1 << 20);
    for (qint64 i = 0; i < count; ++i) {
        start = start.addSecs(60 + pick(120));
        const int length = pick(10) == 0 ? pick(4 * 3600) : 5 + pick(1800);
        const QDateTime end = start.addSecs(length);
        const qint32 up = qint32(pick(2'000'000));
        const qint32 down = qint32(pick(40'000'000));
        chunk += CLogFile::FormatRecord(start, end, users.at(pick(int(users.size()))),
                                        devices.at(pick(int(devices.size()))),
                                        entries.at(pick(int(entries.size()))), up, down)
                     .toUtf8();
        start = end;
        if (chunk.size() > (1 << 20) - 512) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return file.write(chunk) == chunk.size() && file.flush();
}
