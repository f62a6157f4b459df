// Writes keys into a settings file from a separate process, for the store's tests.
//   settingswriter FILE SECTION PREFIX COUNT    writes PREFIX0..PREFIX<COUNT-1> = index
//   settingswriter FILE SECTION KEY forever     rewrites KEY with a long value until killed
#include "common/settingsstore.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 5)
        return 2;
    CSettingsStore store(QString::fromLocal8Bit(argv[1]));
    const QString section = QString::fromLocal8Bit(argv[2]);
    const QString key = QString::fromLocal8Bit(argv[3]);
    if (QByteArray(argv[4]) == "forever") {
        std::printf("ready\n");
        std::fflush(stdout);
        for (int round = 0;; ++round) {
            // Every value is the same digit repeated, so a torn write would show.
            const QString value(3000, QChar(u'0' + round % 10));
            store.WriteString(section, key, value);
        }
    }
    const int count = std::atoi(argv[4]);
    for (int i = 0; i < count; ++i) {
        if (!store.WriteInt(section, key + QString::number(i), i))
            return 1;
    }
    return 0;
}
