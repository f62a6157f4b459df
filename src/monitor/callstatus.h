#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

// What the running program tells a script that asks how things stand: whether a call is
// up, on which entry and device, since when, and the bytes it has carried so far.
struct CCallStatus {
    bool connected = false;
    QString entry;
    QString device;
    QDateTime start;
    qint64 seconds = 0;
    qint64 sent = 0;
    qint64 received = 0;

    // One line of compact JSON without a line end, for example
    // {"connected":true,"entry":"Home ISP","device":"ppp0","start":"2026-12-07T14:02:11",
    //  "seconds":754,"duration":"00:12:34","sent":7890,"received":123456}
    // A line without a call carries "connected":false, empty texts and zeros.
    QByteArray ToJson() const;
    // The same fields as one object.
    QJsonObject ToObject() const;
};
