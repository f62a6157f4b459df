#pragma once

#include <QString>

// The log-in name of the user running the program.
class CUserName {
public:
    static QString Current();
};
