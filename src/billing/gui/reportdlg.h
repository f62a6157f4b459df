#pragma once

#include <QDialog>
#include <QPoint>
#include <QPointer>
#include <QThread>

#include <memory>

class CReportModel;
class CSettingsStore;
class QProgressBar;
class QTableView;

class QTimer;

// The report window: every call of the log, newest first, priced under the tariff of the
// moment it opens. A large log is read on a thread of its own while a progress bar runs;
// the window stays responsive and may be closed meanwhile. With the list focused, Up and
// Down page through the log one record at a time. It opens wide enough for every column,
// is resized by the grip in its corner and opens again at the size it was last left at.
class CReportDlg : public QDialog {
    Q_OBJECT

public:
    // Logs up to this size are read before the window shows, larger ones in the background.
    static constexpr qint64 kBackgroundLoadBytes = 256 * 1024;

    explicit CReportDlg(CSettingsStore& store, QWidget* parent = nullptr);
    ~CReportDlg() override;

    const CReportModel& Model() const { return *m_model; }
    bool Loading() const { return m_load != nullptr; }
    // The thread reading a large log; null when none runs. It deletes itself when done,
    // also after the window has gone.
    QThread* LoadThread() const { return m_thread; }
    // How many whole rows the list shows.
    int VisibleRows() const;
    int RowHeight() const;
    // The width that shows every column without scrolling, at most the screen's.
    int FittingWidth() const;

signals:
    // The log has been read and the rows are in the list.
    void Loaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    struct Load;

    void StartLoad(const QString& path, qint64 size);
    void Show(const std::shared_ptr<Load>& load);
    void ShowProgress();
    void Page(bool down);
    void OpenSummary();

    CSettingsStore& m_store;
    CReportModel* m_model = nullptr;
    QTableView* m_list = nullptr;
    QProgressBar* m_progress = nullptr;
    QTimer* m_progressTimer = nullptr;
    std::shared_ptr<Load> m_load; // shared with the reading thread while it runs
    QPointer<QThread> m_thread;
    QPoint m_dragOffset;
    bool m_dragging = false;
    bool m_sizeRemembered = false;
};
