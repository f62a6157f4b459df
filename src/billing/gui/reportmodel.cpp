#include "billing/gui/reportmodel.h"

#include "billing/logreader.h"
#include "billing/reportrow.h"

CReportModel::CReportModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_headings(CReportRow::Headings())
{}

void CReportModel::SetLines(CReportLines lines, const CTariff& tariff, const QLocale& locale)
{
    beginResetModel();
    m_lines = std::move(lines);
    m_tariff = tariff;
    m_locale = locale;
    m_paging = CReportPaging(int(m_lines.Size()));
    m_rows.clear();
    endResetModel();
}

bool CReportModel::Up(int visibleRows)
{
    CReportPaging next = m_paging;
    return next.Up(visibleRows) && Show(next);
}

bool CReportModel::Down(int visibleRows)
{
    CReportPaging next = m_paging;
    return next.Down(visibleRows) && Show(next);
}

bool CReportModel::Show(const CReportPaging& page)
{
    // Every page is built afresh: the rows of the old one go.
    beginResetModel();
    m_paging = page;
    m_rows.clear();
    endResetModel();
    return true;
}

QStringList CReportModel::RowTexts(int row) const
{
    if (row < 0 || row >= m_paging.RowCount())
        return {};
    if (const QStringList* cached = m_rows.object(row))
        return *cached;
    CLogRecord record;
    QStringList texts;
    const qsizetype line = m_paging.LineAt(row);
    if (CLogReader::ParseLine(m_lines.Line(line), record)) {
        texts = CReportRow::Columns(record, m_tariff, m_lines.OverageCost(line),
                                    m_paging.Paged() ? CReportRow::DateForm::Stored
                                                     : CReportRow::DateForm::LocaleShort,
                                    m_locale);
    }
    m_rows.insert(row, new QStringList(texts));
    return texts;
}

int CReportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_paging.RowCount();
}

int CReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : CReportRow::kColumnCount;
}

QVariant CReportModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return RowTexts(index.row()).value(index.column());
}

QVariant CReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_headings.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
