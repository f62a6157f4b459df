#pragma once

// Which stored lines the report shows. After loading it shows every line, newest first;
// the keyboard then pages one record at a time through pages of as many lines as fit in
// the list. The position is how many records the newest shown line lies behind the newest
// line of the log.
class CReportPaging {
public:
    // A fresh window over lineCount stored lines: every line shown, position 0.
    explicit CReportPaging(int lineCount = 0);

    // Asks for a page at position with visibleRows rows. Refused (false, nothing changes)
    // when the position is below 0 or above lineCount - visibleRows, so a log that fits in
    // the list never pages. Otherwise the page is that position's and true is returned.
    bool Request(int position, int visibleRows);
    // Up: one record back towards the newest. Down: one record towards older calls.
    bool Up(int visibleRows) { return Request(m_position - 1, visibleRows); }
    bool Down(int visibleRows) { return Request(m_position + 1, visibleRows); }

    int Position() const { return m_position; }
    // Whether a page was asked for: rows then show the date as stored.
    bool Paged() const { return m_paged; }
    int RowCount() const { return m_rows; }
    // The stored line shown in row (0 is the top row, the newest shown).
    int LineAt(int row) const;

private:
    int m_lineCount = 0;
    int m_rows = 0;
    int m_position = 0;
    bool m_paged = false;
};
