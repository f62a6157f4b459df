#include "app/gui/maindlg.h"

#include "app/commandtable.h"
#include "app/gui/aboutdlg.h"
#include "app/gui/messagelistmodel.h"
#include "app/gui/trayhost.h"
#include "app/programend.h"
#include "billing/gui/summarydlg.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "common/username.h"
#include "gui/helpopener.h"
#include "gui/messagedelegate.h"
#include "gui/windowframe.h"
#include "monitor/connectionmonitor.h"
#include "monitor/monitordisplay.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QTreeView>
#include <QWindow>

#include <algorithm>

namespace {

// The dark skin reaches only the window's own widgets: every rule names the window or one of
// its direct children, so message boxes and other windows over it keep the desktop's look.
const QString kSkin = QStringLiteral(
    "#CMainDlg { background: #1e1e1e; }"
    "#CMainDlg > QGroupBox { color: white; border: 1px solid #444; border-radius: 4px; "
    "margin-top: 7px; }"
    "#CMainDlg > QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"
    "#CMainDlg > QGroupBox > QLabel { color: white; }"
    "#CMainDlg > QMenuBar { background: #2a2a2a; color: white; }"
    "#CMainDlg > QMenuBar::item:selected { background: #00a000; }"
    "#CMainDlg > QMenuBar > QMenu { background: #2a2a2a; color: white; }"
    "#CMainDlg > QMenuBar > QMenu::item:selected { background: #00a000; }"
    "#CMainDlg > QToolButton { color: white; background: #2c2c2c; border: 1px solid #3c3c3c; "
    "border-radius: 4px; }"
    "#CMainDlg > QToolButton:hover { border-color: #00c800; }"
    "#CMainDlg > QToolButton:pressed { background: #3a3a3a; }"
    "#CMainDlg > QTreeView { background: rgb(70,70,70); color: rgb(0,230,0); "
    "border: 1px solid #444; }"
    "#CMainDlg > QTreeView > QHeaderView::section { background: #2a2a2a; color: white; "
    "border: none; padding-left: 4px; }");

} // namespace

CMainDlg::CMainDlg(CSettingsStore& store, CProgramEnd& end, CMonitorDisplay& display,
                   QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_store(store)
    , m_end(end)
    , m_placement(store)
    , m_messages(new CMessageListModel(this))
    , m_messageView(new QTreeView(this))
    , m_menuBar(new QMenuBar(this))
{
    setObjectName(QStringLiteral("CMainDlg"));
    setWindowTitle(CConnectionMonitor::kIdleTitle);
    setStyleSheet(kSkin);
    setMouseTracking(true);

    BuildMenuBar();

    auto* info = new QGroupBox(tr("Connection info"), this);
    auto* grid = new QGridLayout(info);
    grid->setContentsMargins(8, 10, 8, 4);
    grid->setVerticalSpacing(1);
    m_duration = AddValue(grid, 0, tr("Duration:"), QStringLiteral("00:00:00"));
    m_bytesIn = AddValue(grid, 1, tr("Bytes in:"), QStringLiteral("0"));
    m_bytesOut = AddValue(grid, 2, tr("Bytes out:"), QStringLiteral("0"));
    m_user = AddValue(grid, 3, tr("User"), QStringLiteral("Admin"));
    m_callValues = {m_duration->text(), m_bytesIn->text(), m_bytesOut->text()};

    auto* mail = new QGroupBox(tr("Email"), this);
    auto* mailGrid = new QGridLayout(mail);
    mailGrid->setContentsMargins(8, 10, 8, 2);
    mailGrid->setVerticalSpacing(1);
    // The count becomes a sentence once mail was checked: it gets a line of its own below
    // the caption, wide enough for the longest.
    mailGrid->addWidget(new QLabel(tr("Email count:")), 0, 0);
    m_mailCount = ValueLabel(QStringLiteral("0"));
    mailGrid->addWidget(m_mailCount, 1, 0);
    m_mailCount->setMinimumWidth(m_mailCount->fontMetrics().horizontalAdvance(
        QCoreApplication::translate("CConnectionMonitor", "You have %1 new email(s)").arg(9999)));

    m_messageView->setModel(m_messages);
    m_messageView->setRootIsDecorated(false);
    m_messageView->setSelectionMode(QAbstractItemView::NoSelection);
    m_messageView->setFocusPolicy(Qt::NoFocus);
    // Long lines wrap into taller rows: the list keeps its size and every line stays whole.
    QFont listFont = m_messageView->font();
    listFont.setPixelSize(11);
    m_messageView->setFont(listFont);
    m_messageView->setUniformRowHeights(false);
    m_messageView->setWordWrap(true);
    m_messageView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_messageView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_messageView->setItemDelegate(new CMessageDelegate(m_messageView));
    m_messageView->header()->setStretchLastSection(true);
    m_messageView->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    // The first lines of the run; whatever comes later goes on top of them.
    AddMessage(tr("System messages will go here!"));
    AddMessage(tr("Welcome to Orvalis!"));

    BuildButtons();
    Arrange(info, mail);

    // Esc puts the window away whichever of its widgets has the keyboard: the menu bar keeps
    // it after one of its menus was closed with Esc, and would swallow the key.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (!child->isWindow())
            child->installEventFilter(this);
    }

    connect(&display, &CMonitorDisplay::MessageAdded, this, &CMainDlg::AddMessage);
    connect(&display, &CMonitorDisplay::TitleChanged, this, &CMainDlg::SetTitle);
    connect(&display, &CMonitorDisplay::CallValuesChanged, this, &CMainDlg::SetCallValues);
    connect(&display, &CMonitorDisplay::MailCountChanged, this, &CMainDlg::SetMailCount);
    connect(&display, &CMonitorDisplay::ShowRequested, this, &CMainDlg::ShowWindow);
    connect(&display, &CMonitorDisplay::HideRequested, this, &CMainDlg::HideWindow);
    CWindowFrame::Apply(this);
}

CMainDlg::~CMainDlg() = default;

void CMainDlg::BuildMenuBar()
{
    const auto add = [this](QMenu* menu, const QString& text, CCommandTable::Command command) {
        connect(menu->addAction(text), &QAction::triggered, this,
                [this, command] { Q_EMIT CommandChosen(command); });
    };
    QMenu* connection = m_menuBar->addMenu(tr("Connection"));
    add(connection, tr("Connect"), CCommandTable::Connect);
    add(connection, tr("Hangup"), CCommandTable::Hangup);
    connection->addSeparator();
    add(connection, tr("Check email"), CCommandTable::CheckMail);
    add(connection, tr("Check update"), CCommandTable::CheckUpdate);
    connection->addSeparator();
    add(connection, tr("Inet Tools"), CCommandTable::InetTools);
    QMenu* preferences = m_menuBar->addMenu(tr("Preferences"));
    add(preferences, tr("Preferences"), CCommandTable::PreferencesGeneral);
    add(preferences, tr("Data plan"), CCommandTable::PreferencesDataPlan);
    add(preferences, tr("Connections"), CCommandTable::Connections);
    add(preferences, tr("Security"), CCommandTable::Security);
    add(preferences, tr("Timer"), CCommandTable::Timer);
    QMenu* report = m_menuBar->addMenu(tr("Report"));
    add(report, tr("Report"), CCommandTable::Report);
    add(report, tr("Summary"), CCommandTable::Summary);
    add(report, tr("Statistics"), CCommandTable::Statistics);
    QMenu* help = m_menuBar->addMenu(tr("Help"));
    add(help, tr("&Contents"), CCommandTable::Contents);
    add(help, tr("&About"), CCommandTable::About);
    QMenu* view = m_menuBar->addMenu(tr("View"));
    add(view, tr("Hide"), CCommandTable::Hide);
    add(view, tr("Minimize"), CCommandTable::Minimize);
    connect(m_menuBar->addAction(tr("Exit")), &QAction::triggered, this,
            [this] { Q_EMIT CommandChosen(CCommandTable::Exit); });
}

void CMainDlg::BuildButtons()
{
    struct Button {
        const char* text;
        CCommandTable::Command command;
        const char* icon; // res/icons/button-ICON.svg
    };
    static const Button buttons[] = {
        {QT_TR_NOOP("Connect"), CCommandTable::Connect, "connect"},
        {QT_TR_NOOP("Hangup"), CCommandTable::Hangup, "hangup"},
        {QT_TR_NOOP("Check mail"), CCommandTable::CheckMail, "check-mail"},
        {QT_TR_NOOP("Help"), CCommandTable::Contents, "help"},
        {QT_TR_NOOP("Timer"), CCommandTable::Timer, "timer"},
        {QT_TR_NOOP("Settings"), CCommandTable::PreferencesGeneral, "settings"},
        {QT_TR_NOOP("Security"), CCommandTable::Security, "security"},
        {QT_TR_NOOP("Summary"), CCommandTable::Summary, "summary"},
    };
    int index = 0;
    for (const Button& button : buttons) {
        auto* tool = new QToolButton(this);
        tool->setObjectName(QLatin1String(button.text));
        tool->setText(tr(button.text));
        tool->setIcon(
            QIcon(QStringLiteral(":/icons/button-%1.svg").arg(QLatin1String(button.icon))));
        tool->setIconSize(QSize(24, 24));
        tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        tool->setFocusPolicy(Qt::NoFocus);
        m_buttons[index] = tool;
        const CCommandTable::Command command = button.command;
        connect(tool, &QToolButton::clicked, this, [this, command] {
            // Only the button says so in the list; the menus check without a line.
            if (command == CCommandTable::CheckMail)
                AddMessage(tr("Checking mail..."));
            Q_EMIT CommandChosen(command);
        });
        ++index;
    }
    // The small button that hides the window.
    auto* hide = new QToolButton(this);
    hide->setObjectName(QStringLiteral("HideButton"));
    hide->setToolTip(tr("Hide"));
    hide->setIcon(m_hideGlyph);
    hide->setIconSize(QSize(10, 10));
    hide->setFocusPolicy(Qt::NoFocus);
    m_hide = hide;
    connect(hide, &QToolButton::clicked, this,
            [this] { Q_EMIT CommandChosen(CCommandTable::Hide); });
}

void CMainDlg::Arrange(QWidget* info, QWidget* mail)
{
    // The places of the design at the default font, moved and widened where the texts need
    // more room (German, a larger font): nothing is cut off, the window grows instead.
    const int menuHeight = std::max(20, m_menuBar->sizeHint().height());
    const int top = CTitleStrip::kHeight + menuHeight + 3;
    const int left =
        std::max({172, info->minimumSizeHint().width(), mail->minimumSizeHint().width()});
    // The two boxes share the column's height as the design has it (96 and 38 px); a box
    // that needs more takes it from the other's spare room first.
    const int mailHeight = std::max(38, mail->minimumSizeHint().height());
    const int column = std::max(96 + 38, info->minimumSizeHint().height() + mailHeight);
    const int infoHeight = column - mailHeight;
    QSize button(84, 52);
    for (const QToolButton* tool : m_buttons)
        button = button.expandedTo(tool->sizeHint());
    // The message list is 172 px wide in the design and may give up some of it.
    const int width = std::max({kWidth, m_menuBar->sizeHint().width(), 6 + left + 6 + 150 + 35,
                                6 + 4 * button.width() + 3 * 4 + 37});
    const int buttonsTop = top + infoHeight + 2 + mailHeight + 6;
    const int height = std::max(kHeight, buttonsTop + 2 * button.height() + 4 + 6);

    setFixedSize(width, height);
    m_menuBar->setGeometry(0, CTitleStrip::kHeight, width, menuHeight);
    info->setGeometry(6, top, left, infoHeight);
    mail->setGeometry(6, top + infoHeight + 2, left, mailHeight);
    m_messageView->setGeometry(6 + left + 6, top + 4, width - 35 - (6 + left + 6),
                               infoHeight + mailHeight - 2);
    m_hide->setGeometry(width - 27, top + 4, 20, 20);
    for (int index = 0; index < kButtonCount; ++index)
        m_buttons[index]->setGeometry(6 + (index % 4) * (button.width() + 4),
                                      buttonsTop + (index / 4) * (button.height() + 4),
                                      button.width(), button.height());
}

QLabel* CMainDlg::ValueLabel(const QString& value)
{
    auto* shown = new QLabel(value);
    // Entry names, mail results: never markup.
    shown->setTextFormat(Qt::PlainText);
    shown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return shown;
}

QLabel* CMainDlg::AddValue(QGridLayout* grid, int row, const QString& label, const QString& value)
{
    QLabel* shown = ValueLabel(value);
    grid->addWidget(new QLabel(label), row, 0);
    grid->addWidget(shown, row, 1);
    return shown;
}

void CMainDlg::Open(bool trayAvailable)
{
    m_placement.Load();
    m_quickTitle.Set(CConnectionMonitor::kIdleTitle);
    move(m_placement.Remembered().topLeft());
    // A window that should start hidden lives only in the tray; without a notification
    // area the window is the only way in, so it starts minimized instead.
    m_shownSinceOpen = !m_placement.StartHidden();
    if (m_shownSinceOpen)
        show();
    else if (!trayAvailable)
        showMinimized();
    m_quickTitle.Set(CConnectionMonitor::kIdleTitle);

    const QString user = CUserName::Current();
    m_user->setText(user);
}

void CMainDlg::Exit(CMessageBox::Question ask)
{
    const bool leave = m_end.MayLeave(ask);
    SaveWindowPosition();
    if (!leave)
        return;
    CProgramEnd::TellWaiting(Finish(), ask);
}

QString CMainDlg::Quit()
{
    m_end.StopCounters();
    SaveWindowPosition();
    return Finish();
}

QString CMainDlg::Finish()
{
    const QString note = m_end.Finish();
    m_finished = true;
    hide();
    Q_EMIT Finished();
    return note;
}

void CMainDlg::SaveWindowPosition()
{
    // A window that started hidden and was never shown since counts as minimized, so the
    // next start is hidden too.
    m_placement.Save(geometry(), isMinimized() || !m_shownSinceOpen);
}

bool CMainDlg::OnScreen() const
{
    return !CTrayHost::Headless() && isVisible() && !isMinimized();
}

void CMainDlg::OpenHelp()
{
    CHelpOpener::Open();
}

void CMainDlg::OpenAbout()
{
    if (!m_about) {
        m_about = new CAboutDlg(this);
        m_about->setAttribute(Qt::WA_DeleteOnClose);
    }
    Present(m_about);
}

void CMainDlg::OpenSummary()
{
    if (!m_summary) {
        m_summary = new CSummaryDlg(m_store, this);
        m_summary->setAttribute(Qt::WA_DeleteOnClose);
    }
    Present(m_summary);
}

void CMainDlg::Present(QDialog* window)
{
    // One window per command: asking again brings the open one to the front.
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void CMainDlg::Minimize()
{
    showMinimized();
    m_quickTitle.Set(CConnectionMonitor::kIdleTitle);
}

QStringList CMainDlg::Messages() const
{
    return m_messages->Lines();
}

QStringList CMainDlg::Values() const
{
    return m_callValues + QStringList{m_user->text(), m_mailCount->text()};
}

void CMainDlg::SetCallValues(const QString& duration, const QString& bytesIn,
                             const QString& bytesOut)
{
    m_callValues = {duration, bytesIn, bytesOut};
    m_valuesStale = true;
    // A window nobody sees (hidden, minimized, offscreen) is not laid out and painted
    // every second: it catches up when it shows.
    if (OnScreen())
        CatchUp();
}

void CMainDlg::SetTitle(const QString& title)
{
    // A hidden window's title is seen nowhere (not even in a task bar): it is set when the
    // window shows.
    m_title = title;
    m_titleStale = !isVisible();
    if (!m_titleStale)
        m_quickTitle.Set(title);
}

void CMainDlg::CatchUp()
{
    if (m_titleStale && isVisible()) {
        m_titleStale = false;
        m_quickTitle.Set(m_title);
    }
    if (!m_valuesStale)
        return;
    m_valuesStale = false;
    m_duration->setText(m_callValues[0]);
    m_bytesIn->setText(m_callValues[1]);
    m_bytesOut->setText(m_callValues[2]);
}

void CMainDlg::SetMailCount(const QString& text)
{
    m_mailCount->setText(text);
}

void CMainDlg::AddMessage(const QString& text)
{
    m_messages->Prepend(text);
}

void CMainDlg::ClearMailCount()
{
    m_mailCount->setText(QStringLiteral("0"));
}

void CMainDlg::ShowWindow()
{
    m_shownSinceOpen = true;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void CMainDlg::HideWindow()
{
    hide();
}

void CMainDlg::closeEvent(QCloseEvent* event)
{
    if (m_finished) {
        event->accept();
        return;
    }
    // Closing only hides the window: the monitor goes on in the background.
    SaveWindowPosition();
    m_end.StopCounters();
    hide();
    event->ignore();
}

bool CMainDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Q_EMIT CommandChosen(CCommandTable::Hide);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CMainDlg::keyPressEvent(QKeyEvent* event)
{
    // Esc tucks the window away into the tray; Enter does nothing. Neither ends the program.
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT CommandChosen(CCommandTable::Hide);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QWidget::keyPressEvent(event);
}

void CMainDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = CTitleStrip::At(event->position().toPoint(), size());
    if (m_pressed == CTitleStrip::Area::Drag) {
        if (QWindow* window = windowHandle())
            window->startSystemMove();
        m_pressed = CTitleStrip::Area::None;
    }
    update();
}

void CMainDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const CTitleStrip::Area pressed = m_pressed;
    m_pressed = CTitleStrip::Area::None;
    update();
    if (pressed == CTitleStrip::Area::None ||
        CTitleStrip::At(event->position().toPoint(), size()) != pressed)
        return;
    if (pressed == CTitleStrip::Area::Hide)
        Q_EMIT CommandChosen(CCommandTable::Hide);
    else if (pressed == CTitleStrip::Area::Minimize)
        Q_EMIT CommandChosen(CCommandTable::Minimize);
    else if (pressed == CTitleStrip::Area::Logo)
        Q_EMIT CommandChosen(CCommandTable::About);
}

void CMainDlg::mouseMoveEvent(QMouseEvent* event)
{
    // Leaving the pressed area puts the normal picture back.
    if (m_pressed != CTitleStrip::Area::None &&
        CTitleStrip::At(event->position().toPoint(), size()) != m_pressed) {
        m_pressed = CTitleStrip::Area::None;
        update();
    }
}

void CMainDlg::showEvent(QShowEvent* event)
{
    CatchUp();
    QWidget::showEvent(event);
}

void CMainDlg::changeEvent(QEvent* event)
{
    // Back from minimized.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        CatchUp();
    QWidget::changeEvent(event);
}

void CMainDlg::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient strip(0, 0, 0, CTitleStrip::kHeight);
    strip.setColorAt(0, QColor(0x40, 0x40, 0x40));
    strip.setColorAt(1, QColor(0x18, 0x18, 0x18));
    painter.fillRect(0, 0, width(), CTitleStrip::kHeight, strip);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 200, 0));
    painter.drawText(QRect(6, 0, 200, CTitleStrip::kHeight), Qt::AlignVCenter,
                     QStringLiteral("Orvalis"));

    const auto glyph = [&](int left, CTitleStrip::Area area, const QIcon& image) {
        const QRect box(left, 1, 18, CTitleStrip::kHeight - 2);
        if (m_pressed == area)
            painter.fillRect(box, QColor(0, 160, 0));
        image.paint(&painter, box.adjusted(4, 1, -4, -1));
    };
    glyph(width() - 40, CTitleStrip::Area::Minimize, m_minimizeGlyph);
    glyph(width() - 20, CTitleStrip::Area::Hide, m_hideGlyph);

    const QRect logo(width() - 29, height() - 34, 26, 26);
    if (m_pressed == CTitleStrip::Area::Logo)
        painter.fillRect(logo.adjusted(-2, -2, 2, 2), QColor(0, 160, 0));
    m_logo.paint(&painter, logo);
    painter.setPen(QColor(0x44, 0x44, 0x44));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
