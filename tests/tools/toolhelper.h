#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Runs the tools' blocking calls in a child process of the test executable, where the test
// may change what the process sees: its own hosts file (a private mount namespace over
// /etc/hosts, and the resolver told to read only files, so no query leaves the machine),
// no CAP_NET_RAW, a network namespace of its own.
//
// The child's arguments: [--hosts FILE] [--no-raw] QUERY... with queries
//   ping:HOST  the line of one click on "Ping"
//   ip:NAME    name to address      host:TEXT  address to name
//   time:NAME  the time query's answer (port 37)
//   kinds      the kinds of socket the pings opened ("dgram", "raw"), in order
// and one line of output per query.
class CToolHelper {
public:
    // Why the child cannot do this here (not root, no ip tool), or empty.
    static QString Unavailable();
    // Runs the child inside network namespace `netns` (none: here); its output lines, or
    // nothing when it failed.
    static std::optional<QStringList> Run(const QStringList& args, const QString& netns = {});
    // The ip tool's arguments; false when it failed.
    static bool Ip(const QStringList& args);
    // The child's side; nothing when argv asks for no child.
    static std::optional<int> RunChild(int argc, char** argv);
};
