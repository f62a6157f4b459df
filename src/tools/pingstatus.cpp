#include "tools/pingstatus.h"

#include <QtGlobal>

#include <netinet/ip_icmp.h>

namespace {
struct SStatusText {
    int code;
    const char* text;
};

constexpr SStatusText kTexts[] = {
    {CPingStatus::kMismatchedReply, QT_TRANSLATE_NOOP("CPingStatus", "Reply did not match")},
    {CPingStatus::kHostNotFound, QT_TRANSLATE_NOOP("CPingStatus", "Host not found")},
    {CPingStatus::kDestNetUnreachable,
     QT_TRANSLATE_NOOP("CPingStatus", "Destination network unreachable")},
    {CPingStatus::kDestHostUnreachable,
     QT_TRANSLATE_NOOP("CPingStatus", "Destination host unreachable")},
    {CPingStatus::kDestProtocolUnreachable,
     QT_TRANSLATE_NOOP("CPingStatus", "Destination protocol unreachable")},
    {CPingStatus::kDestPortUnreachable,
     QT_TRANSLATE_NOOP("CPingStatus", "Destination port unreachable")},
    {CPingStatus::kPacketTooBig, QT_TRANSLATE_NOOP("CPingStatus", "Packet too big")},
    {CPingStatus::kTimedOut, QT_TRANSLATE_NOOP("CPingStatus", "Request timed out")},
    {CPingStatus::kBadRoute, QT_TRANSLATE_NOOP("CPingStatus", "No route to host")},
    {CPingStatus::kTtlExpiredTransit,
     QT_TRANSLATE_NOOP("CPingStatus", "Time to live expired in transit")},
    {CPingStatus::kTtlExpiredReassembly,
     QT_TRANSLATE_NOOP("CPingStatus", "Time to live expired during reassembly")},
    {CPingStatus::kParameterProblem, QT_TRANSLATE_NOOP("CPingStatus", "Parameter problem")},
    {CPingStatus::kSourceQuench, QT_TRANSLATE_NOOP("CPingStatus", "Source quench")},
    {CPingStatus::kGeneralFailure, QT_TRANSLATE_NOOP("CPingStatus", "General failure")},
};
} // namespace

const char* CPingStatus::Text(int code)
{
    for (const SStatusText& entry : kTexts) {
        if (entry.code == code)
            return entry.text;
    }
    return nullptr;
}

int CPingStatus::FromIcmp(int type, int code)
{
    switch (type) {
    case ICMP_DEST_UNREACH:
        switch (code) {
        case ICMP_NET_UNREACH:
        case ICMP_NET_UNKNOWN:
        case ICMP_NET_ANO:
        case ICMP_NET_UNR_TOS:
            return kDestNetUnreachable;
        case ICMP_PROT_UNREACH:
            return kDestProtocolUnreachable;
        case ICMP_PORT_UNREACH:
            return kDestPortUnreachable;
        case ICMP_FRAG_NEEDED:
            return kPacketTooBig;
        case ICMP_SR_FAILED:
            return kBadRoute;
        default:
            return kDestHostUnreachable;
        }
    case ICMP_TIME_EXCEEDED:
        return code == ICMP_EXC_FRAGTIME ? kTtlExpiredReassembly : kTtlExpiredTransit;
    case ICMP_PARAMETERPROB:
        return kParameterProblem;
    case ICMP_SOURCE_QUENCH:
        return kSourceQuench;
    default:
        return kGeneralFailure;
    }
}
