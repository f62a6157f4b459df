#include "support/scriptedremoteaccess.h"

int CScriptedRemoteAccess::EnumEntries(QStringList& out)
{
    out = enumResult == 0 ? entries : QStringList();
    return enumResult;
}

int CScriptedRemoteAccess::CreateEntry()
{
    if (createResult == 0)
        entries.append(QStringLiteral("New entry"));
    return createResult;
}

int CScriptedRemoteAccess::EditEntry(const QString& name)
{
    edited.append(name);
    return editResult;
}

int CScriptedRemoteAccess::DeleteEntry(const QString& name)
{
    deleted.append(name);
    entries.removeAll(name);
    return 0;
}

int CScriptedRemoteAccess::Dial(const QString& entry, const QString& user, const QString& password,
                                DialNotifier dialNotifier, Handle& outHandle)
{
    outHandle = 0;
    dials.append({entry, user, password});
    if (dialResult != 0)
        return dialResult;
    notifier = std::move(dialNotifier);
    outHandle = 100 + dials.size();
    return 0;
}

int CScriptedRemoteAccess::HangUp(Handle handle)
{
    hangUps.append(handle);
    connections.clear();
    return 0;
}

int CScriptedRemoteAccess::EnumConnections(QList<CActiveConnection>& out)
{
    out = connections;
    return connectionsResult;
}
