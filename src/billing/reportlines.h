#pragma once

#include "billing/calloverage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <atomic>

// The raw record lines of the connection log in file order, kept in one buffer: what the
// report window shows and pages through. Lines are parsed again when a row is drawn.
class CReportLines {
public:
    // Reads every record line of the log at path. A missing or unreadable log gives no
    // lines. When cancel becomes true the read stops with the lines read so far; bytesRead,
    // when given, follows how much of the file has been read.
    // Under a data plan the lines also learn each call's bytes past the allowance.
    static CReportLines Read(const QString& path, const std::atomic<bool>* cancel = nullptr,
                             std::atomic<qint64>* bytesRead = nullptr,
                             const CDataPlan& plan = CDataPlan());

    void Append(QByteArrayView line);
    qsizetype Size() const { return m_ends.size(); }
    // The line at index (0 is the oldest), without its line break.
    QByteArrayView Line(qsizetype index) const;
    // The price of the bytes past the allowance of the call at index.
    double OverageCost(qsizetype index) const
    {
        return m_overage.Plan().OverageCost(m_overage.OverageBytes(index));
    }

private:
    QByteArray m_text;
    QList<qsizetype> m_ends; // where each line ends in m_text
    CCallOverage m_overage{CDataPlan()};
};
