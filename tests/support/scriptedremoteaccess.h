#pragma once

#include "dialer/remoteaccess.h"

#include <QList>
#include <QStringList>

#include <functional>

// A dial-up service that records what it is asked and answers as the test sets it: the
// phonebook, dialing (the progress goes through the kept notifier when the test calls it),
// hang-ups and the connections that are up.
class CScriptedRemoteAccess : public CRemoteAccess {
public:
    struct DialCall {
        QString entry;
        QString user;
        QString password;
    };

    // The phonebook, and what listing it returns.
    QStringList entries;
    int enumResult = 0;
    // What Dial returns; 0 starts the dial with the handle 100 + the number of dials.
    int dialResult = 0;
    QList<DialCall> dials;
    DialNotifier notifier;
    // Every handle hung up; a hang-up drops every connection.
    QList<Handle> hangUps;
    QStringList deleted;
    // What creating and editing an entry return (0: the entry is created or edited).
    int createResult = 0;
    int editResult = 0;
    QStringList edited;
    // The connections that are up, and what listing them returns.
    QList<CActiveConnection> connections;
    int connectionsResult = 0;
    // Whether the service tells of changes of its connections, and whom it tells.
    bool tellsChanges = false;
    std::function<void()> changed;

    int EnumEntries(QStringList& out) override;
    int CreateEntry() override;
    int EditEntry(const QString& name) override;
    int DeleteEntry(const QString& name) override;
    int Dial(const QString& entry, const QString& user, const QString& password,
             DialNotifier dialNotifier, Handle& outHandle) override;
    int HangUp(Handle handle) override;
    int EnumConnections(QList<CActiveConnection>& out) override;
    bool WatchConnections(std::function<void()> onChange) override
    {
        changed = std::move(onChange);
        return tellsChanges;
    }
};
