#pragma once

class CSettingsStore;

// Starts the program: one instance per user, the settings, the start-up password, the
// splash, the schedule counters, then the main window until the program ends.
class CMainApp {
public:
    // The process's exit code: 1 when the program stops early (another instance runs, the
    // start-up password was not given), 2 for a bad command line, else 0.
    static int Run(int argc, char** argv);

    // The start-up password question, asked when protection is on and set to ask at start;
    // true when the program may go on.
    static bool CheckStartupPassword(CSettingsStore& store);
};
