#include "loggen.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

// orvalis-loggen FILE COUNT [SEED]: writes a generated connection log.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = args.size() == 3 || args.size() == 4;
    qint64 count = 0;
    uint seed = 1;
    if (ok)
        count = args.at(2).toLongLong(&ok);
    if (ok && args.size() == 4)
        seed = args.at(3).toUInt(&ok);
    if (!ok || count < 0) {
        std::fprintf(stderr, "usage: orvalis-loggen FILE COUNT [SEED]\n");
        return 2;
    }
    if (!CLogGenerator::Write(args.at(1), count, seed)) {
        std::fprintf(stderr, "orvalis-loggen: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
