#include "app/startoptions.h"

CStartOptions CStartOptions::Parse(const QStringList& arguments)
{
    CStartOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        auto value = [&](const QString& name) -> QString {
            if (arg.startsWith(name + u'='))
                return arg.mid(name.size() + 1);
            if (i + 1 < arguments.size())
                return arguments[++i];
            options.error = QStringLiteral("Option %1 needs a value.").arg(name);
            return QString();
        };
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            options.help = true;
        } else if (arg == QLatin1String("--version")) {
            options.version = true;
        } else if (arg == QLatin1String("--backend") ||
                   arg.startsWith(QLatin1String("--backend="))) {
            options.backend = value(QStringLiteral("--backend"));
        } else if (arg == QLatin1String("--command") ||
                   arg.startsWith(QLatin1String("--command="))) {
            options.command = value(QStringLiteral("--command"));
        } else if (arg == QLatin1String("--sim") || arg.startsWith(QLatin1String("--sim="))) {
            if (arg.startsWith(QLatin1String("--sim="))) {
                options.simCommand = arg.mid(6);
            } else {
                // Everything after --sim is the command, so it needs no quoting.
                options.simCommand = arguments.mid(i + 1).join(u' ');
                i = arguments.size();
            }
            if (options.simCommand.trimmed().isEmpty())
                options.error = QStringLiteral("Option --sim needs a command.");
        } else {
            options.error = QStringLiteral("Unknown argument: %1").arg(arg);
        }
        if (!options.error.isEmpty())
            break;
    }
    return options;
}

QString CStartOptions::Usage()
{
    return QStringLiteral(
        "Usage: orvalis [--backend=auto|nm|sim] [--command COMMAND] [--sim COMMAND]\n"
        "\n"
        "Watches dial-up and metered connections from the notification area, logs every call\n"
        "and prices it under your tariff.\n"
        "\n"
        "  --backend=NAME  connection backend: auto (default: NetworkManager when it runs,\n"
        "                  else the simulator), nm (NetworkManager) or sim (the simulator)\n"
        "  --command COMMAND\n"
        "                  run a command in the running Orvalis: a number (32812) or one of\n"
        "                  connect, hangup, check-mail, check-update, inet-tools, preferences,\n"
        "                  connections, security, timer, report, summary, help, about, hide,\n"
        "                  minimize, show, exit\n"
        "  --sim COMMAND   drive the connection simulator and exit; COMMAND is one of\n"
        "                  connect ENTRY, drop, busy N, fail CODE, ok, entries A|B|C,\n"
        "                  rate IN OUT, status\n"
        "  --version       print the version and exit\n"
        "  -h, --help      print this help and exit\n");
}
