#include "tools/namelookup.h"

#include <QCoreApplication>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

// The resolver is called directly: QHostInfo cannot tell a failed reverse lookup from a
// name that reads like the address, and it has no IPv4-only lookup.

QString CNameLookup::HostToAddress(const QString& name)
{
    const std::optional<quint32> address = FirstAddress(name);
    return address ? Dotted(*address) : CannotResolve(name);
}

QString CNameLookup::AddressToHost(const QString& text)
{
    const std::optional<quint32> address = ParseIPv4(text);
    const QString name = address ? NameOf(*address) : NameOfIPv6(text);
    return name.isEmpty() ? CannotResolve(text) : name;
}

std::optional<quint32> CNameLookup::ParseIPv4(const QString& text)
{
    // inet_aton stops at the first white space and takes what came before: only digits,
    // hex letters, the x of 0x and dots go to it.
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool hexDigit =
            (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        if (!hexDigit && u != u'.' && u != u'x' && u != u'X')
            return std::nullopt;
    }
    in_addr address{};
    if (::inet_aton(text.toLatin1().constData(), &address) == 0)
        return std::nullopt;
    return address.s_addr;
}

std::optional<quint32> CNameLookup::FirstAddress(const QString& host)
{
    if (host.isEmpty())
        return std::nullopt;
    const QByteArray encoded = host.toUtf8();
    in_addr dotted{};
    if (inet_pton(AF_INET, encoded.constData(), &dotted) == 1)
        return dotted.s_addr;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(encoded.constData(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    const quint32 first = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return first;
}

QString CNameLookup::NameOf(quint32 address)
{
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = address;
    char name[NI_MAXHOST] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&where), sizeof where, name, sizeof name,
                    nullptr, 0, NI_NAMEREQD) != 0)
        return QString();
    return QString::fromUtf8(name);
}

QString CNameLookup::NameOfIPv6(const QString& text)
{
    sockaddr_in6 where{};
    where.sin6_family = AF_INET6;
    if (inet_pton(AF_INET6, text.toLatin1().constData(), &where.sin6_addr) != 1)
        return QString();
    char name[NI_MAXHOST] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&where), sizeof where, name, sizeof name,
                    nullptr, 0, NI_NAMEREQD) != 0)
        return QString();
    return QString::fromUtf8(name);
}

QString CNameLookup::Dotted(quint32 address)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address);
    return QStringLiteral("%1.%2.%3.%4").arg(bytes[0]).arg(bytes[1]).arg(bytes[2]).arg(bytes[3]);
}

QString CNameLookup::CannotResolve(const QString& what)
{
    return QCoreApplication::translate("CNameLookup", "Can't resolve %1").arg(what);
}
