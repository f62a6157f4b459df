#include "monitor/linkevents.h"

#include <QSocketNotifier>

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

QList<CLinkEvents::Change> CLinkEvents::Parse(const char* data, qsizetype size)
{
    QList<Change> changes;
    qsizetype offset = 0;
    while (size - offset >= qsizetype(sizeof(nlmsghdr))) {
        nlmsghdr header;
        std::memcpy(&header, data + offset, sizeof header);
        if (header.nlmsg_len < sizeof header || qsizetype(header.nlmsg_len) > size - offset)
            break;
        const bool link = header.nlmsg_type == RTM_NEWLINK || header.nlmsg_type == RTM_DELLINK;
        if (link && header.nlmsg_len >= NLMSG_LENGTH(sizeof(ifinfomsg))) {
            ifinfomsg info;
            std::memcpy(&info, data + offset + NLMSG_HDRLEN, sizeof info);
            Change change;
            change.removed = header.nlmsg_type == RTM_DELLINK;
            change.index = info.ifi_index;
            change.flags = info.ifi_flags;
            // The attributes follow, each aligned to 4 bytes.
            qsizetype at = offset + NLMSG_LENGTH(sizeof(ifinfomsg));
            const qsizetype end = offset + header.nlmsg_len;
            while (end - at >= qsizetype(sizeof(rtattr))) {
                rtattr attribute;
                std::memcpy(&attribute, data + at, sizeof attribute);
                if (attribute.rta_len < sizeof attribute || attribute.rta_len > end - at)
                    break;
                if (attribute.rta_type == IFLA_IFNAME) {
                    const char* text = data + at + RTA_LENGTH(0);
                    const qsizetype room = attribute.rta_len - RTA_LENGTH(0);
                    change.name = QString::fromLocal8Bit(text, qstrnlen(text, room));
                }
                at += RTA_ALIGN(attribute.rta_len);
            }
            changes.append(change);
        }
        offset += NLMSG_ALIGN(header.nlmsg_len);
    }
    return changes;
}

CLinkEvents::CLinkEvents(QObject* parent)
    : QObject(parent)
{}

CLinkEvents::~CLinkEvents()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CLinkEvents::Open()
{
    if (m_fd >= 0)
        return true;
    m_fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
    if (m_fd < 0)
        return false;
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = RTMGRP_LINK;
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CLinkEvents::Read);
    return true;
}

void CLinkEvents::Read()
{
    std::array<char, 8192> buffer;
    bool changed = false;
    for (;;) {
        const ssize_t got = ::recv(m_fd, buffer.data(), buffer.size(), 0);
        if (got < 0 && errno == ENOBUFS) {
            // Messages were lost: something changed.
            changed = true;
            continue;
        }
        if (got <= 0)
            break;
        changed = changed || !Parse(buffer.data(), got).isEmpty();
    }
    if (changed)
        Q_EMIT Changed();
}
