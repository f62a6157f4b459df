#pragma once

#include "dialer/backends/simulator/simulatorfile.h"

#include <QString>

// Applies one command line to the connection simulator's file, so a shell (through
// "orvalis --sim COMMAND") or a test can drive a running program:
//
//   connect ENTRY    a connection of ENTRY comes up, as if dialled elsewhere
//   drop             the connection goes down, as if the remote side hung up
//   busy N           the next N dials find the line busy (N may be left out: 1)
//   fail CODE        every dial fails with error CODE (0: dials work again)
//   ok               dials work again: no busy line, no failure
//   entries A|B|C    the phonebook entries
//   rate IN OUT      bytes per second received and sent from now on
//   status           describes the simulator's state
//
// Command words are read without regard to letter case; ENTRY may be quoted.
class CSimulatorScript {
public:
    explicit CSimulatorScript(const QString& simulatorFile);

    // True when the command was applied; message then says what was done (for "status":
    // the description). False for a bad command or a file that cannot be written;
    // message says why. Nothing is changed by a bad command.
    bool Run(const QString& command, QString& message);

    static QString Usage();

private:
    bool Connect(const QString& argument, QString& message);
    bool Drop(QString& message);
    bool Busy(const QString& argument, QString& message);
    bool Fail(const QString& argument, QString& message);
    bool Ok(QString& message);
    bool Entries(const QString& argument, QString& message);
    bool Rate(const QString& argument, QString& message);
    QString Status() const;
    bool WriteFailed(QString& message) const;

    CSimulatorFile m_file;
};
