#pragma once

// The codes a failed ping leaves behind. Errors of the ICMP exchange itself carry the
// numbers that ping statuses have always had on the desktop (11000 and up); failures of
// the local system carry its errno.
class CPingStatus {
public:
    static constexpr int kMismatchedReply = 59; // a reply of the wrong size or content
    static constexpr int kHostNotFound = 11001;
    static constexpr int kDestNetUnreachable = 11002;
    static constexpr int kDestHostUnreachable = 11003;
    static constexpr int kDestProtocolUnreachable = 11004;
    static constexpr int kDestPortUnreachable = 11005;
    static constexpr int kPacketTooBig = 11009;
    static constexpr int kTimedOut = 11010;
    static constexpr int kBadRoute = 11012;
    static constexpr int kTtlExpiredTransit = 11013;
    static constexpr int kTtlExpiredReassembly = 11014;
    static constexpr int kParameterProblem = 11015;
    static constexpr int kSourceQuench = 11016;
    static constexpr int kGeneralFailure = 11050;
    // Neither an ICMP datagram socket nor a raw socket may be opened by this user.
    static constexpr int kNotAllowed = 11051;

    // The status of an ICMP error message (type and code of the message).
    static int FromIcmp(int type, int code);
    // The few words that say what one of the codes above means, untranslated (context
    // "CPingStatus"); nullptr for a system errno.
    static const char* Text(int code);
};
