#pragma once

#include "billing/calloverage.h"
#include "billing/logreader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>

// The record lines of the connection log in file order: what the report window shows and
// pages through. Only where each line lies in the file is kept (eight bytes a line); a
// line is read from the file again, and parsed, when its row is drawn. The file stays
// open while the lines are kept, so a log moved or deleted meanwhile still gives them;
// what is appended to it is not seen.
class CReportLines {
public:
    // Finds every record line of the log at path. A missing or unreadable log gives no
    // lines. When cancel becomes true the read stops with the lines read so far; bytesRead,
    // when given, follows how much of the file has been read.
    // Under a data plan the lines also learn each call's bytes past the allowance.
    static CReportLines Read(const QString& path, const std::atomic<bool>* cancel = nullptr,
                             std::atomic<qint64>* bytesRead = nullptr,
                             const CDataPlan& plan = CDataPlan());

    qsizetype Size() const { return m_lines.size(); }
    // The line at index (0 is the oldest), without its line break; empty when there is no
    // such line or it can no longer be read. The view stays valid until the next call,
    // which must come from the same thread.
    QByteArrayView Line(qsizetype index) const;
    // The price of the bytes past the allowance of the call at index.
    double OverageCost(qsizetype index) const
    {
        return m_overage.Plan().OverageCost(m_overage.OverageBytes(index));
    }

private:
    // A line's place as kept: its offset in the file above its length.
    static constexpr int kLengthBits = 17;
    static_assert(CLogReader::kMaxLineLength < (1 << kLengthBits));

    struct File;

    std::shared_ptr<File> m_file;
    QList<quint64> m_lines; // offset << kLengthBits | length, one per line
    mutable QByteArray m_line;
    CCallOverage m_overage{CDataPlan()};
};
