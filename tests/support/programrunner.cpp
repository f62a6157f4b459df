#include "support/programrunner.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>

#include <utility>

CProgramRunner::CProgramRunner(QString executable)
    : m_executable(std::move(executable))
{
    QDir(m_dir.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(FilePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_runtime = FilePath(QStringLiteral("runtime"));
}

CProgramRunner::~CProgramRunner()
{
    KillAll();
}

QString CProgramRunner::FilePath(const QString& relative) const
{
    return m_dir.filePath(relative);
}

QString CProgramRunner::ConfigFile(const QString& name) const
{
    return FilePath(QStringLiteral("config/orvalis/") + name);
}

QProcess* CProgramRunner::Start(const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), FilePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), FilePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), FilePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("TMPDIR"), FilePath(QStringLiteral("tmp")));
    if (m_runtime.isEmpty())
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    else
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->start(m_executable, arguments);
    process->waitForStarted(5000);
    m_processes.push_back(std::move(process));
    return m_processes.back().get();
}

bool CProgramRunner::Sim(const QString& command)
{
    QProcess* process = Start({QStringLiteral("--sim"), command});
    return process->waitForFinished(10000) && process->exitCode() == 0;
}

bool CProgramRunner::Listening() const
{
    return Listening(FilePath(QStringLiteral("runtime/orvalis.sock")));
}

bool CProgramRunner::Listening(const QString& socketFile)
{
    QLocalSocket socket;
    socket.connectToServer(socketFile);
    return socket.waitForConnected(200);
}

QStringList CProgramRunner::ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void CProgramRunner::KillAll()
{
    for (auto& process : m_processes) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    m_processes.clear();
}
