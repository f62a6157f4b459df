#include "billing/gui/reportdlg.h"

#include "billing/dataplan.h"
#include "billing/gui/reportmodel.h"
#include "billing/gui/summarydlg.h"
#include "billing/reportlines.h"
#include "billing/tariff.h"
#include "common/apppaths.h"
#include "common/settingsstore.h"
#include "gui/windowframe.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSizeGrip>
#include <QStyle>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <atomic>

namespace {

// Only the window's own widgets, by name: message boxes and the summary window opened
// over the report keep their own look.
const char* const kStyle = R"(
CReportDlg { background-color: rgb(50, 50, 50); }
QLabel#reportTitle { color: #ffffff; font-weight: bold; }
QTableView#reportList { background-color: rgb(64, 64, 64); color: #00ff00;
                        selection-background-color: rgb(80, 80, 80);
                        selection-color: #00ff00; border: 1px solid rgb(90, 90, 90); }
QTableView#reportList QHeaderView { background-color: rgb(70, 70, 70); }
QTableView#reportList QHeaderView::section { background-color: rgb(70, 70, 70);
                        color: #e6e6e6; border: 0; padding: 2px 4px; }
QPushButton#reportSummary, QPushButton#reportHide {
                        background-color: #505050; color: #ffffff;
                        border: 1px solid #6a6a6a; padding: 3px 14px; }
QPushButton#reportSummary:hover, QPushButton#reportHide:hover { background-color: #606060; }
QToolButton#reportClose { color: #ffffff; background: transparent; border: 0; }
QProgressBar#reportProgress { color: #ffffff; }
)";

const int kDefaultHeight = 420;

} // namespace

// What the reading thread and the window share: the window may go while the thread reads.
struct CReportDlg::Load {
    std::atomic<bool> cancel{false};
    std::atomic<qint64> bytesRead{0};
    qint64 size = 0;
    CReportLines lines; // written by the thread, read by the window once it has finished
    CTariff tariff;
    CDataPlan plan;
};

CReportDlg::CReportDlg(CSettingsStore& store, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_store(store)
{
    setObjectName(QStringLiteral("reportDialog"));
    setWindowTitle(tr("Report"));
    setModal(true);
    setStyleSheet(QString::fromLatin1(kStyle));

    auto* title = new QLabel(tr("Report"), this);
    title->setObjectName(QStringLiteral("reportTitle"));
    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("reportClose"));
    close->setText(QString(QChar(0x2715)));
    close->setToolTip(tr("Close"));
    close->setFocusPolicy(Qt::NoFocus);
    auto* top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(close);

    m_model = new CReportModel(this);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("reportList"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(false);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->horizontalHeader()->setStretchLastSection(false);
    // Columns fit the rows around the top of the list, not all of a long log: sizing them
    // over every row of 100 000 records would hold the window up for long.
    m_list->horizontalHeader()->setResizeContentsPrecision(200);
    m_list->resizeColumnsToContents(); // the headings, until the rows are in
    m_list->installEventFilter(this);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("reportProgress"));
    m_progress->setRange(0, 1000);
    m_progress->setFormat(tr("Reading the log... %p%"));
    m_progress->hide();
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, &CReportDlg::ShowProgress);

    auto* summary = new QPushButton(tr("Summary"), this);
    summary->setObjectName(QStringLiteral("reportSummary"));
    summary->setAutoDefault(false);
    auto* hide = new QPushButton(tr("&Hide"), this);
    hide->setObjectName(QStringLiteral("reportHide"));
    hide->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_progress, 1);
    bottom->addStretch();
    bottom->addWidget(summary);
    bottom->addWidget(hide);
    // The window has no frame to drag: its size is changed by the grip in the corner.
    auto* grip = new QSizeGrip(this);
    grip->setObjectName(QStringLiteral("reportGrip"));
    bottom->addWidget(grip, 0, Qt::AlignBottom | Qt::AlignRight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(bottom);
    const QSize remembered(m_store.Read(Keys::ReportWidth), m_store.Read(Keys::ReportHeight));
    m_sizeRemembered = remembered.width() > 0 && remembered.height() > 0;
    resize(m_sizeRemembered ? remembered : QSize(FittingWidth(), kDefaultHeight));

    connect(close, &QToolButton::clicked, this, &QDialog::reject);
    connect(hide, &QPushButton::clicked, this, &QDialog::accept);
    connect(summary, &QPushButton::clicked, this, &CReportDlg::OpenSummary);

    const QString path = CAppPaths::LogFile(m_store);
    StartLoad(path, QFileInfo(path).size());
    m_list->setFocus();
    CWindowFrame::Apply(this);
}

CReportDlg::~CReportDlg()
{
    // A read still running stops soon and its lines are dropped with the shared state.
    if (m_load)
        m_load->cancel.store(true);
}

void CReportDlg::StartLoad(const QString& path, qint64 size)
{
    auto load = std::make_shared<Load>();
    // Every row is priced under the tariff of this moment.
    load->tariff = CTariff::Load(m_store);
    load->plan = CDataPlan::Load(m_store);
    load->size = size;
    if (size <= kBackgroundLoadBytes) {
        load->lines = CReportLines::Read(path, nullptr, nullptr, load->plan);
        Show(load);
        return;
    }
    m_load = load;
    QThread* thread = QThread::create([load, path] {
        load->lines = CReportLines::Read(path, &load->cancel, &load->bytesRead, load->plan);
    });
    thread->setObjectName(QStringLiteral("report load"));
    // The thread's end reaches the window through its event loop, and not at all when the
    // window has gone by then; the thread object goes either way.
    connect(thread, &QThread::finished, this, [this, load] {
        if (m_load == load)
            Show(load);
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    m_thread = thread;
    m_progress->setValue(0);
    m_progress->show();
    m_progressTimer->start();
    thread->start();
}

void CReportDlg::Show(const std::shared_ptr<Load>& load)
{
    m_load.reset();
    m_progressTimer->stop();
    m_progress->hide();
    m_model->SetLines(std::move(load->lines), load->tariff);
    m_list->resizeColumnsToContents();
    if (!m_sizeRemembered)
        resize(qMax(width(), FittingWidth()), height());
    emit Loaded();
}

void CReportDlg::ShowProgress()
{
    if (!m_load || m_load->size <= 0)
        return;
    const qint64 read = m_load->bytesRead.load(std::memory_order_relaxed);
    m_progress->setValue(int(qMin<qint64>(1000, read * 1000 / m_load->size)));
}

int CReportDlg::FittingWidth() const
{
    const QMargins margins = layout()->contentsMargins();
    int fitting = m_list->horizontalHeader()->length() + 2 * m_list->frameWidth() +
                  m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list) +
                  margins.left() + margins.right();
    if (const QScreen* shown = screen())
        fitting = qMin(fitting, shown->availableGeometry().width());
    return fitting;
}

void CReportDlg::hideEvent(QHideEvent* event)
{
    m_store.Write(Keys::ReportWidth, width());
    m_store.Write(Keys::ReportHeight, height());
    QDialog::hideEvent(event);
}

int CReportDlg::RowHeight() const
{
    return m_list->verticalHeader()->defaultSectionSize();
}

int CReportDlg::VisibleRows() const
{
    return m_list->viewport()->height() / RowHeight();
}

bool CReportDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down)
            Page(key == Qt::Key_Down);
    }
    // The list moves its selection as well.
    return QDialog::eventFilter(watched, event);
}

void CReportDlg::Page(bool down)
{
    const QModelIndex current = m_list->currentIndex();
    const bool changed = down ? m_model->Down(VisibleRows()) : m_model->Up(VisibleRows());
    // The rows were rebuilt: the selection stays on the same line of the list.
    if (changed && current.isValid() && m_model->rowCount() > 0) {
        const int row = qMin(current.row(), m_model->rowCount() - 1);
        m_list->setCurrentIndex(m_model->index(row, current.column()));
    }
}

void CReportDlg::OpenSummary()
{
    auto* summary = new CSummaryDlg(m_store, this);
    summary->setAttribute(Qt::WA_DeleteOnClose);
    summary->open();
}

void CReportDlg::mousePressEvent(QMouseEvent* event)
{
    // The window has no frame of the desktop's: it is moved by dragging its background.
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void CReportDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    m_dragging = false;
    QDialog::mouseMoveEvent(event);
}
