#include "toolhelper.h"

#include "tools/icmppinger.h"
#include "tools/namelookup.h"
#include "tools/pingclick.h"
#include "tools/timequery.h"

#include <QCoreApplication>
#include <QDebug>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

QString IpTool()
{
    QString ip = QStandardPaths::findExecutable(u"ip"_s);
    if (ip.isEmpty())
        ip = QStandardPaths::findExecutable(u"ip"_s, {u"/usr/sbin"_s, u"/sbin"_s});
    return ip;
}

bool DropNetRaw()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned bit = 1u << CAP_NET_RAW;
    data[0].effective &= ~bit;
    data[0].permitted &= ~bit;
    data[0].inheritable &= ~bit;
    return syscall(SYS_capset, &header, data) == 0;
}

bool BindOver(const char* source, const char* target)
{
    if (mount(source, target, nullptr, MS_BIND, nullptr) != 0) {
        std::perror(target);
        return false;
    }
    return true;
}

// This process alone sees `hosts` as /etc/hosts and resolves names from files only.
bool PrivateHosts(const char* hosts)
{
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr)) {
        std::perror("private mounts");
        return false;
    }
    static QTemporaryFile nsswitch;
    if (!nsswitch.open() || nsswitch.write("hosts: files\n") < 0 || !nsswitch.flush())
        return false;
    return BindOver(hosts, "/etc/hosts") &&
           BindOver(QFile::encodeName(nsswitch.fileName()).constData(), "/etc/nsswitch.conf");
}

} // namespace

QString CToolHelper::Unavailable()
{
    if (geteuid() != 0)
        return u"Needs root for private mounts and network namespaces"_s;
    if (IpTool().isEmpty())
        return u"The ip tool (iproute2) is missing"_s;
    return QString();
}

bool CToolHelper::Ip(const QStringList& args)
{
    QProcess ip;
    ip.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ip.start(IpTool(), args);
    return ip.waitForFinished(30000) && ip.exitStatus() == QProcess::NormalExit &&
           ip.exitCode() == 0;
}

std::optional<QStringList> CToolHelper::Run(const QStringList& args, const QString& netns)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (netns.isEmpty())
        child.start(QCoreApplication::applicationFilePath(), QStringList{u"--child"_s} + args);
    else
        child.start(IpTool(), QStringList{u"netns"_s, u"exec"_s, netns,
                                          QCoreApplication::applicationFilePath(), u"--child"_s} +
                                  args);
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        qWarning() << "helper" << args << "failed";
        child.kill();
        child.waitForFinished();
        return std::nullopt;
    }
    return QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

std::optional<int> CToolHelper::RunChild(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--child") != 0)
        return std::nullopt;
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(2);
    if (args.size() >= 2 && args.first() == u"--hosts"_s) {
        if (!PrivateHosts(QFile::encodeName(args.at(1)).constData()))
            return 2;
        args = args.mid(2);
    }
    if (!args.isEmpty() && args.first() == u"--no-raw"_s) {
        if (!DropNetRaw())
            return 3;
        args.removeFirst();
    }
    QStringList kinds;
    const CIcmpPinger::SocketOpener opener = [&kinds](int type) {
        const int fd = CIcmpPinger::SystemOpener()(type);
        if (fd >= 0)
            kinds << (type == SOCK_DGRAM ? u"dgram"_s : u"raw"_s);
        return fd;
    };
    for (const QString& query : std::as_const(args)) {
        const QString what = query.section(u':', 1);
        QString answer;
        if (query.startsWith(u"ping:"_s))
            answer = CPingClick::Run(what, opener);
        else if (query.startsWith(u"ip:"_s))
            answer = CNameLookup::HostToAddress(what);
        else if (query.startsWith(u"host:"_s))
            answer = CNameLookup::AddressToHost(what);
        else if (query.startsWith(u"time:"_s))
            answer = CTimeQuery().Query(what).trimmed();
        else if (query == u"kinds"_s)
            answer = kinds.join(u' ');
        std::printf("%s\n", qPrintable(answer));
    }
    return 0;
}
