#pragma once

#include <QString>

#include <optional>

class CSettingsStore;

// What the "Email" page shows and stores, apart from the password (which goes to the
// keyring): the periodic check, the server and how to reach it.
struct CMailOptions {
    // The fields a refusal points at.
    enum Field { Minutes, Port };
    static constexpr int kMinMinutes = 1;
    // The monitor's timer takes a day at most.
    static constexpr int kMaxMinutes = 24 * 60;

    bool checkMail = false;
    // As typed; made numbers only when stored.
    QString minutes;
    bool checkOnConnect = false;
    QString user;
    QString server;
    // 0 none, 1 STARTTLS, 2 TLS.
    int security = 0;
    QString port;

    static CMailOptions Load(const CSettingsStore& store);

    struct Refusal {
        Field field;
        QString message;
    };
    // The first value that cannot be stored, with the message that says so.
    std::optional<Refusal> Refused() const;

    // Writes CMailTime, CheckMail, CheckMailOnCon, MUser, MServer, then the protection and
    // the port. Call only when Refused() found nothing.
    void Store(CSettingsStore& store) const;
};
