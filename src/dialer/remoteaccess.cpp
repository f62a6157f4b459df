#include "dialer/remoteaccess.h"

CRemoteAccess::~CRemoteAccess() = default;

bool CRemoteAccess::CountersAtOnce() const
{
    return false;
}

bool CRemoteAccess::WatchConnections(std::function<void()> changed)
{
    Q_UNUSED(changed);
    return false;
}

bool CRemoteAccess::GetErrorString(int code, QString& text) const
{
    return StandardErrorString(code, text);
}

bool CRemoteAccess::StandardErrorString(int code, QString& text)
{
    switch (code) {
    case ErrorInvalidHandle:
        text = QStringLiteral("The connection handle is not valid.");
        break;
    case ErrorPortAlreadyOpen:
        text = QStringLiteral("The port is already in use by another connection.");
        break;
    case ErrorEntryNotFound:
        text = QStringLiteral("The phonebook entry of this connection was not found.");
        break;
    case ErrorCannotWritePhonebook:
        text = QStringLiteral("The phonebook could not be written.");
        break;
    case ErrorRemoteDisconnection:
        text = QStringLiteral("The connection was closed by the remote computer.");
        break;
    case ErrorUserDisconnection:
        text = QStringLiteral("The connection was ended by the user.");
        break;
    case ErrorLineBusy:
        text = QStringLiteral("The line is busy.");
        break;
    case ErrorNoAnswer:
        text = QStringLiteral("The remote computer did not answer.");
        break;
    case ErrorNoCarrier:
        text = QStringLiteral("No carrier was detected.");
        break;
    case ErrorNoDialTone:
        text = QStringLiteral("There is no dial tone.");
        break;
    case ErrorAuthenticationFailure:
        text = QStringLiteral("Access was denied: the user name or password was not accepted.");
        break;
    case ErrorHardwareFailure:
        text = QStringLiteral("The modem or port reported a hardware failure.");
        break;
    case ErrorPppTimeout:
        text = QStringLiteral("The remote computer did not respond in time (PPP time-out).");
        break;
    default:
        text.clear();
        return false;
    }
    return true;
}

bool CRemoteAccess::ReadByteCounters(const QString& interfaceName, quint64& received, quint64& sent)
{
    Q_UNUSED(interfaceName);
    Q_UNUSED(received);
    Q_UNUSED(sent);
    return false;
}
