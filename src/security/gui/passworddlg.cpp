#include "security/gui/passworddlg.h"

#include "gui/okcancelbuttons.h"
#include "security/passwordprompt.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

CPasswordDlg::CPasswordDlg(const CSettingsStore& store, QWidget* parent)
    : QDialog(parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("passwordDialog"));
    setWindowTitle(QStringLiteral("Orvalis"));
    setModal(true);

    auto* heading = new QLabel(CPasswordPrompt::Heading(), this);
    heading->setObjectName(QStringLiteral("heading"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);

    QDialogButtonBox* buttons = COkCancelButtons::Create(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPasswordDlg::OnOk);

    auto* form = new QFormLayout;
    form->addRow(CPasswordPrompt::FieldLabel(), m_password);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_password->setFocus();
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
    if (CPasswordPrompt(m_store).Accept(m_password->text()))
        accept();
    else
        m_password->setFocus();
}
