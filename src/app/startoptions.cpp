#include "app/startoptions.h"

#include <QCommandLineParser>

CStartOptions CStartOptions::Parse(const QStringList& arguments)
{
    CStartOptions options;

    // Everything after --sim is the simulator's command, so it needs no quoting; only the
    // arguments before it go through the parser.
    QStringList before = arguments;
    const qsizetype sim = arguments.indexOf(QStringLiteral("--sim"));
    if (sim >= 0) {
        before = arguments.first(sim);
        options.simCommand = arguments.sliced(sim + 1).join(u' ');
    }

    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Print this help and exit."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Print the version and exit."));
    const QCommandLineOption backend(QStringLiteral("backend"),
                                     QStringLiteral("The connection backend."),
                                     QStringLiteral("NAME"));
    const QCommandLineOption command(QStringLiteral("command"),
                                     QStringLiteral("A command for the running Orvalis."),
                                     QStringLiteral("COMMAND"));
    const QCommandLineOption simOption(QStringLiteral("sim"),
                                       QStringLiteral("A command for the simulator."),
                                       QStringLiteral("COMMAND"));
    const QCommandLineOption status(QStringLiteral("status"),
                                    QStringLiteral("Print the running Orvalis's call status."));
    parser.addOptions({help, version, backend, command, simOption, status});

    // The parser takes the program's name first.
    if (!parser.parse(QStringList{QStringLiteral("orvalis")} + before)) {
        options.error = parser.errorText();
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.error =
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return options;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.status = parser.isSet(status);
    for (const QCommandLineOption* option : {&backend, &command, &simOption}) {
        if (parser.isSet(*option) && parser.value(*option).isEmpty()) {
            options.error =
                QStringLiteral("Option --%1 needs a value.").arg(option->names().constFirst());
            return options;
        }
    }
    if (parser.isSet(backend))
        options.backend = parser.value(backend);
    options.command = parser.value(command);
    if (sim < 0)
        options.simCommand = parser.value(simOption);
    else if (parser.isSet(simOption))
        options.simCommand = parser.value(simOption) + u' ' + options.simCommand;
    if ((sim >= 0 || parser.isSet(simOption)) && options.simCommand.trimmed().isEmpty())
        options.error = QStringLiteral("Option --sim needs a command.");
    else if (options.status && (!options.command.isEmpty() || !options.simCommand.isEmpty()))
        options.error = QStringLiteral("Option --status goes alone, without --command or --sim.");
    return options;
}

QString CStartOptions::Usage()
{
    return QStringLiteral(
        "Usage: orvalis [--backend=auto|nm|sim] [--command COMMAND] [--sim COMMAND] [--status]\n"
        "\n"
        "Watches dial-up and metered connections from the notification area, logs every call\n"
        "and prices it under your tariff.\n"
        "\n"
        "  --backend=NAME  connection backend: auto (default: NetworkManager when it runs,\n"
        "                  else the simulator), nm (NetworkManager) or sim (the simulator)\n"
        "  --command COMMAND\n"
        "                  run a command in the running Orvalis: a number (32812) or one of\n"
        "                  connect, hangup, check-mail, check-update, inet-tools, preferences,\n"
        "                  dataplan, connections, security, timer, report, summary, statistics,\n"
        "                  help, about, hide, minimize, show, exit\n"
        "  --sim COMMAND   drive the connection simulator and exit; COMMAND is one of\n"
        "                  connect ENTRY, drop, busy N, fail CODE, ok, entries A|B|C,\n"
        "                  rate IN OUT, status (the rest of the line, no quotes needed)\n"
        "  --status        print how the running Orvalis's call stands, as one line of\n"
        "                  JSON: connected, entry, device, start, seconds, duration, sent,\n"
        "                  received; exit code 1 when Orvalis does not run\n"
        "  --version       print the version and exit\n"
        "  -h, --help      print this help and exit\n");
}
