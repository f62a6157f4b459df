#pragma once

#include "dialer/activeconnection.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The dial-up service as the rest of the program sees it: the phonebook, dialing with
// progress notifications, hang-up, the connections that are up and the texts of error
// codes. Backends derive from it; CRemoteAccessFactory is the one place that picks one.
//
// Operations return 0 on success and an error code otherwise (the Error values below, or
// any other code a backend passes through; GetErrorString gives its text). All operations
// but ReadByteCounters are called on the user-interface thread.
class CRemoteAccess {
public:
    using Handle = RasHandle;

    // Called with (state, error) for each progress step of a dial. A real backend may call
    // it on a thread of its own, so a consumer queues the call to its own thread. The
    // notifier must not destroy the backend.
    using DialNotifier = std::function<void(unsigned state, unsigned error)>;

    // Connection states of a dial, in the dial-up service's own numbering.
    enum State : unsigned {
        OpenPort = 0,
        PortOpened = 1,
        ConnectDevice = 2,
        DeviceConnected = 3,
        AllDevicesConnected = 4,
        Authenticate = 5,
        AuthNotify = 6,
        AuthRetry = 7,
        AuthCallback = 8,
        AuthChangePassword = 9,
        AuthProject = 10,
        AuthLinkSpeed = 11,
        AuthAck = 12,
        ReAuthenticate = 13,
        Authenticated = 14,
        PrepareForCallback = 15,
        WaitForModemReset = 16,
        WaitForCallback = 17,
        Projected = 18,
        StartAuthentication = 19,
        CallbackComplete = 20,
        LogonNetwork = 21,
        SubEntryConnected = 22,
        SubEntryDisconnected = 23,
        // Paused states.
        Interactive = 0x1000,
        RetryAuthentication = 0x1001,
        CallbackSetByCaller = 0x1002,
        PasswordExpired = 0x1003,
        // Final states.
        Connected = 0x2000,
        Disconnected = 0x2001,
    };

    // Error codes every backend maps its failures onto where one fits.
    enum Error : int {
        ErrorNone = 0,
        ErrorInvalidHandle = 6,
        ErrorPortAlreadyOpen = 602,
        ErrorEntryNotFound = 623,
        ErrorCannotWritePhonebook = 624,
        ErrorRemoteDisconnection = 629,
        ErrorUserDisconnection = 631,
        ErrorLineBusy = 676,
        ErrorNoAnswer = 678,
        ErrorNoCarrier = 679,
        ErrorNoDialTone = 680,
        ErrorAuthenticationFailure = 691,
        ErrorHardwareFailure = 692,
        ErrorPppTimeout = 718,
    };

    CRemoteAccess() = default;
    CRemoteAccess(const CRemoteAccess&) = delete;
    CRemoteAccess& operator=(const CRemoteAccess&) = delete;
    virtual ~CRemoteAccess();

    // The phonebook entry names in the service's order.
    virtual int EnumEntries(QStringList& out) = 0;
    // Lets the user add an entry (the service's own way); the caller lists the entries again.
    virtual int CreateEntry() = 0;
    // Lets the user change an entry (the service's own way).
    virtual int EditEntry(const QString& name) = 0;
    virtual int DeleteEntry(const QString& name) = 0;

    // Starts dialing the entry. outHandle is set to 0 first. Returns 0 when dialing has
    // started: outHandle then names the attempt (and the connection once it is up) and the
    // progress arrives later through the notifier, never during this call. Any other
    // result is an error code and nothing was started (ErrorLineBusy: the line is busy).
    virtual int Dial(const QString& entry, const QString& user, const QString& password,
                     DialNotifier notifier, Handle& outHandle) = 0;
    // Ends the connection or the unfinished dial of the handle.
    virtual int HangUp(Handle handle) = 0;
    // The connections that are up now. Called once a second, so it must be cheap.
    virtual int EnumConnections(QList<CActiveConnection>& out) = 0;
    // For a backend that hears of changes: `changed` is called on the user-interface thread
    // whenever EnumConnections may answer differently, so the caller need not ask between
    // calls. Returns false (the default) when the backend cannot tell: the caller asks once
    // a second.
    virtual bool WatchConnections(std::function<void()> changed);

    // The readable text of an error code; false (and an empty text) when the code has none.
    // By default the texts of the Error values.
    virtual bool GetErrorString(int code, QString& text) const;
    static bool StandardErrorString(int code, QString& text);

    // Bytes received and sent so far over the named interface, for a backend that keeps
    // its own counters (the simulator). False: ask the operating system instead.
    // The only operation that is called on another thread: the traffic counter worker calls
    // it, also while the user-interface thread is inside another operation, so it must be
    // thread-safe and must not block for long.
    virtual bool ReadByteCounters(const QString& interfaceName, quint64& received, quint64& sent);
    // True when ReadByteCounters answers at once, as cheaply as EnumConnections: the counters
    // may then be read on the user-interface thread. False by default.
    virtual bool CountersAtOnce() const;
};
