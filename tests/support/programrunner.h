#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// Runs the real program, offscreen, in a folder of its own: its own home, config, cache,
// temporary and runtime folders, so a test never meets the user's session or another test.
// Whatever it started is killed when it goes.
class CProgramRunner {
public:
    explicit CProgramRunner(QString executable);
    ~CProgramRunner();

    bool IsValid() const { return m_dir.isValid(); }
    // A path inside the runner's folder.
    QString FilePath(const QString& relative) const;
    // A file of the program's settings folder (config/orvalis).
    QString ConfigFile(const QString& name) const;
    // XDG_RUNTIME_DIR of the programs started from now on; empty leaves it unset.
    void SetRuntimeDir(const QString& folder) { m_runtime = folder; }

    QProcess* Start(const QStringList& arguments = {});
    // Runs "--sim COMMAND"; true when it ended with 0.
    bool Sim(const QString& command);
    // True when a program answers on the runtime folder's socket.
    bool Listening() const;
    static bool Listening(const QString& socketFile);
    // The lines of a text file (none when it cannot be read).
    static QStringList ReadLines(const QString& path);
    // Kills every program still running.
    void KillAll();

private:
    QString m_executable;
    QTemporaryDir m_dir;
    QString m_runtime;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};
