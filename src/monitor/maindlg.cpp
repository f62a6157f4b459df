#include "monitor/maindlg.h"

#include "app/settingsstore.h"
#include "common/messagebox.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("OrvalisDUI");
} // namespace

CMainDlg::CMainDlg(CSettingsStore& store, CRemoteAccess* remoteAccess, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_remoteAccess(remoteAccess)
    , m_placement(store)
    , m_messages(new QListWidget)
{
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/orvalis.svg")));
    setObjectName(QStringLiteral("CMainDlg"));
    setStyleSheet(
        QStringLiteral("#CMainDlg { background: #262626; } QLabel { color: white; }"
                       "QGroupBox { color: white; }"
                       "QListWidget { background: rgb(70,70,70); color: rgb(0,200,0); }"));

    auto* menuBar = new QMenuBar(this);
    QAction* exitAction = menuBar->addAction(QStringLiteral("Exit"));
    connect(exitAction, &QAction::triggered, this, &CMainDlg::Exit);

    auto* info = new QGroupBox(QStringLiteral("Connection info"));
    auto* grid = new QGridLayout(info);
    const QList<QPair<QString, QString>> values = {
        {QStringLiteral("Duration :"), QStringLiteral("00:00:00")},
        {QStringLiteral("Bytes in :"), QStringLiteral("0")},
        {QStringLiteral("Bytes out:"), QStringLiteral("0")},
        {QStringLiteral("User"), QStringLiteral("Admin")}};
    for (int row = 0; row < values.size(); ++row) {
        grid->addWidget(new QLabel(values[row].first), row, 0);
        grid->addWidget(new QLabel(values[row].second), row, 1);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(info);
    layout->addWidget(m_messages, 1);

    AddMessage(QStringLiteral("System messages will go here!"));
    AddMessage(QStringLiteral("Welcome to Orvalis!"));
}

CMainDlg::~CMainDlg() = default;

void CMainDlg::Open()
{
    m_placement.Load();
    setWindowTitle(kTitle);
    setGeometry(m_placement.Remembered());
    if (!m_placement.StartHidden())
        show();
    setWindowTitle(kTitle);
}

void CMainDlg::Exit()
{
    const bool confirm =
        m_store.ReadInt(QStringLiteral("Settings"), QStringLiteral("ConfirmExit"), 1) == 1;
    const bool leave =
        !confirm ||
        CMessageBox::Ask(QStringLiteral("You are about to exit Orvalis. Are you sure ?"));
    SaveWindowPosition();
    if (!leave)
        return;
    m_finished = true;
    hide();
    Q_EMIT Finished();
}

void CMainDlg::SaveWindowPosition()
{
    m_placement.Save(geometry(), isMinimized());
}

void CMainDlg::ShowWindow()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void CMainDlg::AddMessage(const QString& text)
{
    m_messages->insertItem(0, text);
}

QStringList CMainDlg::Messages() const
{
    QStringList lines;
    for (int i = 0; i < m_messages->count(); ++i)
        lines.append(m_messages->item(i)->text());
    return lines;
}

void CMainDlg::closeEvent(QCloseEvent* event)
{
    if (m_finished) {
        event->accept();
        return;
    }
    // Closing only hides the window: the monitor goes on in the background.
    SaveWindowPosition();
    hide();
    event->ignore();
}
