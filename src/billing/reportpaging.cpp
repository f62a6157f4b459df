#include "billing/reportpaging.h"

#include <algorithm>

CReportPaging::CReportPaging(int lineCount)
    : m_lineCount(std::max(lineCount, 0))
    , m_rows(m_lineCount)
{}

bool CReportPaging::Request(int position, int visibleRows)
{
    if (position < 0 || visibleRows < 1 || position > m_lineCount - visibleRows)
        return false;
    m_position = position;
    m_rows = visibleRows;
    m_paged = true;
    return true;
}

int CReportPaging::LineAt(int row) const
{
    // Rows run from the newest shown line (lineCount - 1 - position) towards older ones.
    return m_lineCount - 1 - m_position - row;
}
