#include "billing/reportlines.h"

#include "billing/logreader.h"
#include "billing/tariff.h"

CReportLines CReportLines::Read(const QString& path, const std::atomic<bool>* cancel,
                                std::atomic<qint64>* bytesRead, const CDataPlan& plan)
{
    CReportLines lines;
    lines.m_overage = CCallOverage(plan);
    CLogReader reader;
    if (!reader.Open(path))
        return lines;
    CLogRecord record;
    qint64 read = 0;
    while (reader.Next(record)) {
        lines.Append(record.line);
        if (plan.Active())
            lines.m_overage.Add(record);
        read += record.line.size() + 1;
        // Looking at the flags once in a thousand lines costs nothing noticeable.
        if ((lines.Size() & 1023) == 0) {
            if (bytesRead)
                bytesRead->store(read, std::memory_order_relaxed);
            if (cancel && cancel->load(std::memory_order_relaxed))
                break;
        }
    }
    if (bytesRead)
        bytesRead->store(read, std::memory_order_relaxed);
    lines.m_overage.Finish();
    // The buffers grew by doubling; what the window keeps is only the lines.
    lines.m_text.squeeze();
    lines.m_ends.squeeze();
    return lines;
}

void CReportLines::Append(QByteArrayView line)
{
    m_text.append(line);
    m_ends.append(m_text.size());
}

QByteArrayView CReportLines::Line(qsizetype index) const
{
    if (index < 0 || index >= m_ends.size())
        return {};
    const qsizetype begin = index == 0 ? 0 : m_ends.at(index - 1);
    return QByteArrayView(m_text.constData() + begin, m_ends.at(index) - begin);
}
