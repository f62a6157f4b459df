#pragma once

#include "billing/reportlines.h"
#include "billing/reportpaging.h"
#include "billing/tariff.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QLocale>
#include <QStringList>

// The rows of the report window over the stored log lines: newest first, each priced
// under the tariff taken when the window opened. Rows are made when the view asks for
// them (a few hundred are kept) from the lines read again from the file, so a log of any
// size costs eight bytes a line.
class CReportModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit CReportModel(QObject* parent = nullptr);

    // Shows every line, newest first, with the locale's short date.
    void SetLines(CReportLines lines, const CTariff& tariff, const QLocale& locale = QLocale());
    // Pages as CReportPaging says; the rows are rebuilt when the page changes.
    bool Up(int visibleRows);
    bool Down(int visibleRows);
    const CReportPaging& Paging() const { return m_paging; }
    qsizetype LineCount() const { return m_lines.Size(); }

    // The ten column texts of a row.
    QStringList RowTexts(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    bool Show(const CReportPaging& page);

    CReportLines m_lines;
    CTariff m_tariff;
    QLocale m_locale;
    CReportPaging m_paging;
    QStringList m_headings;
    mutable QCache<int, QStringList> m_rows{1024};
};
