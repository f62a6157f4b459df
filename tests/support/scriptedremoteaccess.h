#pragma once

#include "dialer/remoteaccess.h"

// A dial-up service that records what it is asked and answers as the test sets it.
class CScriptedRemoteAccess : public CRemoteAccess {
public:
    struct DialCall {
        QString entry;
        QString user;
        QString password;
    };

    QStringList entries;
    int enumResult = 0;
    int dialResult = 0;
    QList<DialCall> dials;
    QList<Handle> hangUps;
    QStringList deleted;
    DialNotifier notifier;

    int EnumEntries(QStringList& out) override;
    int CreateEntry() override;
    int EditEntry(const QString& name) override;
    int DeleteEntry(const QString& name) override;
    int Dial(const QString& entry, const QString& user, const QString& password,
             DialNotifier dialNotifier, Handle& outHandle) override;
    int HangUp(Handle handle) override;
    int EnumConnections(QList<CActiveConnection>& out) override;
};
