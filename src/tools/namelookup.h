#pragma once

#include <QString>

#include <optional>

// Host names to IPv4 addresses and back, through the system's resolver (the hosts file,
// DNS, whatever the system is set up for). Every call blocks until the resolver answers:
// run it off the window's thread.
class CNameLookup {
public:
    // The first IPv4 address of the name in dotted form, or "Can't resolve NAME".
    static QString HostToAddress(const QString& name);
    // The official name of an IPv4 address in any form ParseIPv4 takes, or of an IPv6
    // address; else "Can't resolve TEXT" with the text as typed (also when it is no address).
    static QString AddressToHost(const QString& text);
    // An IPv4 address in the forms the classic inet_aton takes: "a.b.c.d", "a.b.c" (c 16
    // bits), "a.b" (b 24 bits), a single 32-bit number; each part decimal, octal (leading 0)
    // or hex (0x). Network byte order; nothing for any other text. Never asks a resolver.
    static std::optional<quint32> ParseIPv4(const QString& text);

    // A dotted address as it stands, else the first IPv4 address of the name; in network
    // byte order. Nothing when the name is unknown.
    static std::optional<quint32> FirstAddress(const QString& host);
    // The name of an address (network byte order); empty when it has none.
    static QString NameOf(quint32 address);
    // "a.b.c.d", first octet first, of an address in network byte order.
    static QString Dotted(quint32 address);
    // The name of an IPv6 address as typed; empty when it is none or has no name.
    static QString NameOfIPv6(const QString& text);

private:
    static QString CannotResolve(const QString& what);
};
