#include "tools/pingline.h"

#include "tools/namelookup.h"
#include "tools/pingstatus.h"

#include <QCoreApplication>

QString CPingLine::Reply(quint32 address, const QString& name, quint32 rttMs)
{
    const QString dotted = CNameLookup::Dotted(address);
    return QCoreApplication::translate("CPingLine", "[Ping] %1 [%2], replied in RTT:%3 ms")
        .arg(dotted, name.isEmpty() ? dotted : name)
        .arg(rttMs);
}

QString CPingLine::Error(int code)
{
    if (code != CPingStatus::kNotAllowed) {
        const char* words = CPingStatus::Text(code);
        return QCoreApplication::translate("CPingLine", "[Ping] Error %1: %2")
            .arg(code)
            .arg(words ? QCoreApplication::translate("CPingStatus", words) : qt_error_string(code));
    }
    return QCoreApplication::translate("CPingLine", "[Ping] Error %1").arg(code) +
           QCoreApplication::translate(
               "CPingLine", ": this system lets no one without CAP_NET_RAW send pings "
                            "(net.ipv4.ping_group_range). To allow every user, run as root: "
                            "sysctl -w net.ipv4.ping_group_range=\"0 2147483647\" and, to keep it, "
                            "put net.ipv4.ping_group_range = 0 2147483647 in a file in "
                            "/etc/sysctl.d/.");
}
