#include "cli/cliargs.h"
#include "cli/clicommands.h"
#include "common/apppaths.h"
#include "common/settingsstore.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

// orvalis-cli: the summary, report and call prices of the connection log, without a
// display. See CCliArgs::Usage().
int main(int argc, char** argv)
{
    // The tool runs no event loop worth GLib's: Qt's own dispatcher starts quicker. Not
    // passed on to programs started from here.
    const bool glibChosen = qEnvironmentVariableIsSet("QT_NO_GLIB");
    if (!glibChosen)
        qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    if (!glibChosen)
        qunsetenv("QT_NO_GLIB");
    QFile out;
    QFile err;
    if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly))
        return 1;

    QString error;
    const std::optional<CCliArgs> args = CCliArgs::Parse(app.arguments().mid(1), error);
    if (!args) {
        err.write("orvalis-cli: " + error.toUtf8() + "\nTry 'orvalis-cli --help'.\n");
        return 2;
    }
    const CSettingsStore store(CAppPaths::SettingsFile(QCoreApplication::applicationDirPath()));
    const int code = CCliCommands::Run(*args, store, out, err);
    if (!out.flush() && code == 0) {
        err.write("orvalis-cli: cannot write the output\n");
        return 1;
    }
    return code;
}
