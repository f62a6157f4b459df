#include "billing/logfilestate.h"

#include <QFile>

#include <sys/stat.h>

CLogFileState CLogFileState::Of(const QString& path)
{
    CLogFileState state;
    state.path = path;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        state.exists = true;
        state.device = info.st_dev;
        state.inode = info.st_ino;
        state.size = info.st_size;
        state.modifiedNsecs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        state.changedNsecs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    }
    return state;
}
