#pragma once

#include "mail/mailaccount.h"
#include "mail/pop3client.h"

#include <QString>

#include <memory>

class CMailResultSlot;

// One mail check: logs into the mailbox, asks for the message count and turns the answer
// into the result text that the windows present.
class CMailCheck {
public:
    static const QString kNoMail;
    static const QString kError;

    struct Outcome {
        QString result;
        // The SHA-256 digest of a server certificate that was not trusted; else empty.
        QByteArray refusedSha256;
    };

    // Runs the check on the calling thread (it blocks): the count in decimal when there is
    // mail, kNoMail when there is none, kError when the mailbox could not be asked, followed
    // by a line with the reason when one is known.
    static Outcome Check(const CMailAccount& account, CPop3Client::Options options = {});
    static QString Run(const CMailAccount& account, CPop3Client::Options options = {});
    // Runs the check on a thread of its own, which ends by itself and delivers the result
    // to the slot. Without a server there is nothing to ask: no check, nothing delivered,
    // and false.
    static bool Start(const CMailAccount& account, std::shared_ptr<CMailResultSlot> slot,
                      CPop3Client::Options options = {});
    // How many checks were started, and how many of them have not ended yet.
    static int Started();
    static int Running();
};
