#include "tools/pingstatus.h"

#include <netinet/ip_icmp.h>

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
