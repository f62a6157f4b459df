#pragma once

#include "dialer/remoteaccess.h"

#include <QList>

// How one dial through NetworkManager goes on, as the progress steps of the interface: the
// state changes of the dial's device and of its active connection come in, and the steps
// they mean go out, in order, ending with Connected, Disconnected or an error code mapped
// from NetworkManager's reasons. Nothing comes out once the dial has ended. Knows nothing of
// D-Bus: the backend feeds it the states its signals carry.
class CNmDialProgress {
public:
    // Device states (NMDeviceState).
    enum DeviceState : uint {
        DeviceDisconnected = 30,
        DevicePrepare = 40,
        DeviceConfig = 50,
        DeviceNeedAuth = 60,
        DeviceIpConfig = 70,
        DeviceIpCheck = 80,
        DeviceSecondaries = 90,
        DeviceActivated = 100,
        DeviceFailed = 120,
    };
    // Active connection states (NMActiveConnectionState).
    enum ActiveState : uint { ActiveActivating = 1, ActiveActivated = 2, ActiveDeactivated = 4 };

    // One call of the dial's notifier.
    struct Step {
        unsigned state = CRemoteAccess::OpenPort;
        unsigned error = 0;
        bool operator==(const Step&) const = default;
    };

    // The error code of a failed device state change (NetworkManager's device reason) or,
    // when that says nothing, of the active connection's reason.
    static int ErrorForReason(uint deviceReason, uint activeReason);
    // True for the step that ends a dial: Connected, Disconnected or an error.
    static bool IsFinal(const Step& step);

    QList<Step> OnDeviceState(uint newState, uint reason);
    QList<Step> OnActiveState(uint state, uint reason);
    // The dial failed before NetworkManager took it on: error in the last state reached.
    QList<Step> Fail(unsigned error);

    unsigned LastState() const { return m_lastState; }
    bool Ended() const { return m_ended; }

private:
    void Tell(QList<Step>& out, unsigned state, unsigned error);

    unsigned m_lastState = CRemoteAccess::OpenPort;
    uint m_lastDeviceState = 0;
    bool m_failed = false; // the device failed for a reason the connection may tell better
    uint m_failReason = 0;
    bool m_ended = false;
};
