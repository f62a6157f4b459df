#pragma once

#include <QByteArrayView>

// One line of the connection log as the readers see it.
//
// The views point into the reader's buffer and are valid only during the visit callback;
// copy what must outlive it. Missing tokens read as empty views and give 0 for every
// number parsed from them.
struct CLogRecord {
    QByteArrayView line;      // raw line without its line break
    QByteArrayView startDate; // token 1 as text (dd-mm-yyyy)
    int startDay = 0;
    int startMonth = 0;
    int startYear = 0;
    QByteArrayView startTime; // token 2 as text (hh:mm:ss)
    QByteArrayView endDate;   // token 3 as text
    QByteArrayView endTime;   // token 4 as text
    int startSecs = 0;        // seconds since midnight of token 2
    int endSecs = 0;          // seconds since midnight of token 4
    QByteArrayView user;      // tokens 5 to 9
    QByteArrayView device;
    QByteArrayView isp;
    QByteArrayView uploaded;
    QByteArrayView downloaded;
};
