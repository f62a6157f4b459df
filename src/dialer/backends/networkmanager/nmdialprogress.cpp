#include "dialer/backends/networkmanager/nmdialprogress.h"

#include "dialer/backends/networkmanager/networkmanageraccess.h"

int CNmDialProgress::ErrorForReason(uint deviceReason, uint activeReason)
{
    switch (deviceReason) {
    case 7: // NO_SECRETS
        return CNetworkManagerAccess::ErrorNoSecrets;
    case 12: // PPP_START_FAILED
        return CNetworkManagerAccess::ErrorPppStartFailed;
    case 13: // PPP_DISCONNECT
        return CNetworkManagerAccess::ErrorPppDisconnected;
    case 14: // PPP_FAILED
        return CNetworkManagerAccess::ErrorPppFailed;
    case 23: // MODEM_BUSY
        return CRemoteAccess::ErrorLineBusy;
    case 24: // MODEM_NO_DIAL_TONE
        return CRemoteAccess::ErrorNoDialTone;
    case 25: // MODEM_NO_CARRIER
        return CRemoteAccess::ErrorNoCarrier;
    case 26: // MODEM_DIAL_TIMEOUT
        return CRemoteAccess::ErrorNoAnswer;
    case 27: // MODEM_DIAL_FAILED
        return CNetworkManagerAccess::ErrorDialFailed;
    case 28: // MODEM_INIT_FAILED
        return CRemoteAccess::ErrorHardwareFailure;
    case 40: // CARRIER
        return CRemoteAccess::ErrorRemoteDisconnection;
    default:
        break;
    }
    switch (activeReason) {
    case 2: // USER_DISCONNECTED
        return CRemoteAccess::ErrorUserDisconnection;
    case 9: // NO_SECRETS
        return CNetworkManagerAccess::ErrorNoSecrets;
    case 10: // LOGIN_FAILED
        return CRemoteAccess::ErrorAuthenticationFailure;
    default:
        return CNetworkManagerAccess::ErrorActivationFailed;
    }
}

bool CNmDialProgress::IsFinal(const Step& step)
{
    return step.state == CRemoteAccess::Connected || step.state == CRemoteAccess::Disconnected ||
           step.error != 0;
}

void CNmDialProgress::Tell(QList<Step>& out, unsigned state, unsigned error)
{
    if (m_ended)
        return;
    const Step step{state, error};
    if (IsFinal(step))
        m_ended = true;
    else
        m_lastState = state;
    out.append(step);
}

QList<CNmDialProgress::Step> CNmDialProgress::OnDeviceState(uint newState, uint reason)
{
    QList<Step> out;
    const uint previous = m_lastDeviceState;
    m_lastDeviceState = newState;
    switch (newState) {
    case DevicePrepare:
        Tell(out, CRemoteAccess::OpenPort, 0);
        Tell(out, CRemoteAccess::PortOpened, 0);
        Tell(out, CRemoteAccess::ConnectDevice, 0);
        break;
    case DeviceConfig:
        Tell(out, CRemoteAccess::DeviceConnected, 0);
        Tell(out, CRemoteAccess::AllDevicesConnected, 0);
        break;
    case DeviceNeedAuth:
        Tell(out, CRemoteAccess::Authenticate, 0);
        break;
    case DeviceIpConfig:
        Tell(out, CRemoteAccess::Authenticated, 0);
        Tell(out, CRemoteAccess::AuthProject, 0);
        break;
    case DeviceIpCheck:
    case DeviceSecondaries:
        if (m_lastState != CRemoteAccess::Projected)
            Tell(out, CRemoteAccess::Projected, 0);
        break;
    case DeviceActivated:
        Tell(out, CRemoteAccess::Connected, 0);
        break;
    case DeviceFailed:
        if (ErrorForReason(reason, 0) != CNetworkManagerAccess::ErrorActivationFailed) {
            Tell(out, m_lastState, static_cast<unsigned>(ErrorForReason(reason, 0)));
        } else {
            // The active connection's reason (a refused login) follows.
            m_failed = true;
            m_failReason = reason;
        }
        break;
    case DeviceDisconnected:
        if (m_failed)
            Tell(out, m_lastState, static_cast<unsigned>(ErrorForReason(m_failReason, 0)));
        else if (previous != 0)
            Tell(out, CRemoteAccess::Disconnected, 0);
        break;
    default:
        break;
    }
    return out;
}

QList<CNmDialProgress::Step> CNmDialProgress::OnActiveState(uint state, uint reason)
{
    // A connection without a device of its own (a VPN) only reports these states; with a
    // device, its states have ended the dial already.
    QList<Step> out;
    if (state == ActiveActivated) {
        Tell(out, CRemoteAccess::Connected, 0);
    } else if (state == ActiveDeactivated) {
        if (m_failed)
            Tell(out, m_lastState, static_cast<unsigned>(ErrorForReason(m_failReason, reason)));
        else if (reason == 0 || reason == 2 || reason == 3)
            Tell(out, CRemoteAccess::Disconnected, 0);
        else
            Tell(out, m_lastState, static_cast<unsigned>(ErrorForReason(0, reason)));
    }
    return out;
}

QList<CNmDialProgress::Step> CNmDialProgress::Fail(unsigned error)
{
    QList<Step> out;
    Tell(out, m_lastState, error);
    return out;
}
