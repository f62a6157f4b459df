#include "dialer/gui/dialdlg.h"

#include "dialer/dialcheck.h"
#include "dialer/dialsession.h"
#include "dialer/gui/dialwindowgate.h"
#include "gui/windowframe.h"

#include <QDesktopServices>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
// The one dial window of the program.
QPointer<CDialDlg> g_current;
} // namespace

CDialDlg::CDialDlg(Mode mode, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Orvalis"));
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    // The status shows what servers answer: plain text only.
    m_status->setTextFormat(Qt::PlainText);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setMinimumSize(260, 2 * m_status->fontMetrics().lineSpacing());
    m_button = new QPushButton(tr("Cancel"), this);
    m_button->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_button, 0, Qt::AlignHCenter);
    // The window grows and shrinks with its text, so a second line shows whole.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_button, &QPushButton::clicked, this, &CDialDlg::OnButton);
    m_checkTimer.setSingleShot(true);
    g_current = this;
    CWindowFrame::Apply(this);
}

CDialDlg::~CDialDlg()
{
    // The check goes first: its signals must not reach a half-destroyed window.
    m_check.reset();
    // What waited for this window runs now.
    CDialWindowGate::WindowClosed();
}

CDialDlg* CDialDlg::Current()
{
    return g_current;
}

bool CDialDlg::BringToFront()
{
    if (!g_current)
        return false;
    g_current->Present();
    return true;
}

bool CDialDlg::IsOver() const
{
    if (m_session)
        return m_dialOver || m_session->ButtonIsOk();
    return m_checkOver;
}

void CDialDlg::GiveWay()
{
    if (g_current == this)
        g_current = nullptr;
    close();
}

void CDialDlg::Present()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void CDialDlg::RunCheck(Mode mode, std::unique_ptr<CDialCheck> check, QWidget* parent)
{
    if (!check || BringToFront())
        return;
    auto* window = new CDialDlg(mode, parent);
    window->m_check = std::move(check);
    connect(window->m_check.get(), &CDialCheck::Finished, window, &CDialDlg::ShowCheckResult);
    connect(window->m_check.get(), &CDialCheck::CloseWindow, window, &QDialog::close);
    connect(&window->m_checkTimer, &QTimer::timeout, window, &CDialDlg::StartCheck);
    window->m_status->setText(tr("Connecting to server..."));
    window->m_checkTimer.start(kCheckDelayMs);
    window->Present();
}

void CDialDlg::RunDial(const CDialerParts& parts, QWidget* parent)
{
    if (BringToFront())
        return;
    auto* window = new CDialDlg(Dial, parent);
    window->m_session = new CDialSession(parts.store, parts.remote, parts.credentials, window);
    window->m_session->SetMayRedial(parts.mayRedial);
    connect(window->m_session, &CDialSession::Changed, window, &CDialDlg::ShowSession);
    connect(window->m_session, &CDialSession::CloseRequested, window, [window] {
        // Connected or disconnected: the line is left as it is.
        window->m_dialOver = true;
        window->close();
    });
    connect(window->m_session, &CDialSession::OpenAddress, window,
            [](const QString& url) { QDesktopServices::openUrl(QUrl::fromUserInput(url)); });
    window->m_session->Start();
    window->Present();
}

QString CDialDlg::StatusText() const
{
    return m_status->text();
}

QString CDialDlg::ButtonText() const
{
    return m_button->text();
}

void CDialDlg::StartCheck()
{
    if (m_mode == MailCheck) {
        QFont font(QStringLiteral("Verdana"));
        font.setPixelSize(10);
        m_status->setFont(font);
    }
    if (m_check)
        m_check->Start();
}

void CDialDlg::ShowCheckResult(const QString& text, bool done)
{
    m_status->setText(text);
    if (done) {
        m_checkOver = true;
        m_button->setText(tr("OK"));
    }
}

void CDialDlg::ShowSession()
{
    m_status->setText(m_session->Text());
    m_button->setText(m_session->ButtonIsOk() ? tr("OK") : tr("Cancel"));
}

void CDialDlg::OnButton()
{
    reject();
}

void CDialDlg::reject()
{
    // The button and Escape: a dial is hung up whatever it has reached.
    m_checkTimer.stop();
    if (m_session && !m_dialOver)
        m_session->HangUp();
    QDialog::reject();
}
