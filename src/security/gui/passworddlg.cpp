#include "security/gui/passworddlg.h"

#include "gui/okcancelbuttons.h"
#include "gui/windowframe.h"
#include "security/passwordprompt.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <atomic>
#include <memory>

CPasswordDlg::CPasswordDlg(const CSettingsStore& store, QWidget* parent)
    : QDialog(parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("passwordDialog"));
    setWindowTitle(QStringLiteral("Orvalis"));
    setModal(true);

    auto* heading = new QLabel(CPasswordPrompt::Heading(), this);
    heading->setObjectName(QStringLiteral("heading"));
    m_heading = heading;
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);

    QDialogButtonBox* buttons = COkCancelButtons::Create(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPasswordDlg::OnOk);
    m_ok = buttons->button(QDialogButtonBox::Ok);

    auto* form = new QFormLayout;
    form->addRow(CPasswordPrompt::FieldLabel(), m_password);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_password->setFocus();
    CWindowFrame::Apply(this);
}

bool CPasswordDlg::Ask(const CSettingsStore& store, QWidget* parent)
{
    // Held by a guarded pointer: the owner may go away while the prompt is open.
    QPointer<CPasswordDlg> dialog = new CPasswordDlg(store, parent);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    delete dialog.data();
    return accepted;
}

CPasswordGuard CPasswordDlg::Guard(const CSettingsStore& store, QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    return CPasswordGuard(store, [&store, owner] { return Ask(store, owner.data()); });
}

void CPasswordDlg::OnOk()
{
    if (m_checking)
        return;
    // The hash is worked out on a thread of its own, so the prompt keeps drawing and says
    // what it is doing; the answer comes back through the event loop, and not at all once
    // the prompt has gone.
    SetChecking(true);
    auto matched = std::make_shared<std::atomic<bool>>(false);
    QThread* worker = QThread::create([check = CPasswordPrompt(m_store).Check(m_password->text()),
                                       matched] { matched->store(check()); });
    worker->setObjectName(QStringLiteral("password check"));
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [this, matched] {
        SetChecking(false);
        if (CPasswordPrompt::Conclude(matched->load()))
            accept();
        else
            m_password->setFocus();
    });
    worker->start();
}

void CPasswordDlg::SetChecking(bool checking)
{
    m_checking = checking;
    m_heading->setText(checking ? CPasswordPrompt::CheckingText() : CPasswordPrompt::Heading());
    m_password->setEnabled(!checking);
    if (m_ok)
        m_ok->setEnabled(!checking);
}
