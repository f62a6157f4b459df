#pragma once

#include <QString>
#include <QStringList>

// The program's command line.
struct CStartOptions {
    // Which connection backend to use: "auto" picks the best one available.
    QString backend = QStringLiteral("auto");
    // A command for the connection simulator; the program applies it and ends.
    QString simCommand;
    // A command for the running program, by number or name; sent to it, then this start ends.
    QString command;
    // Ask the running program how the call stands and print its one-line answer.
    bool status = false;
    bool help = false;
    bool version = false;
    // Why the command line could not be read; empty when it could.
    QString error;

    // `arguments` without the program name.
    static CStartOptions Parse(const QStringList& arguments);
    static QString Usage();
};
