#include "security/gui/securitydlg.h"

#include "gui/okcancelbuttons.h"
#include "gui/windowframe.h"
#include "security/gui/passworddlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QLineEdit* HiddenField(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    return field;
}
} // namespace

CSecurityDlg::CSecurityDlg(CSettingsStore& store, QWidget* parent)
    : QDialog(parent)
    , m_settings(store)
{
    setObjectName(QStringLiteral("securityDialog"));
    setWindowTitle(tr("Security"));
    setModal(true);

    auto* heading = new QLabel(tr("Security"), this);
    heading->setObjectName(QStringLiteral("heading"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    m_enabled = new QCheckBox(tr("Enable password protection"), this);
    m_enabled->setObjectName(QStringLiteral("enabled"));
    m_whenStarted = new QRadioButton(tr("Ask password when starting"), this);
    m_whenStarted->setObjectName(QStringLiteral("whenStarted"));
    m_whenConfigured = new QRadioButton(tr("Ask password when changing configuration only"), this);
    m_whenConfigured->setObjectName(QStringLiteral("whenConfigured"));
    auto* modes = new QButtonGroup(this);
    modes->addButton(m_whenStarted);
    modes->addButton(m_whenConfigured);

    m_password = HiddenField(QStringLiteral("password"), this);
    m_confirm = HiddenField(QStringLiteral("confirm"), this);
    m_note = new QLabel(CSecuritySettings::KeepPasswordNote(), this);
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setWordWrap(true);

    QDialogButtonBox* buttons = COkCancelButtons::Create(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSecurityDlg::OnOk);

    auto* form = new QFormLayout;
    form->addRow(tr("Password"), m_password);
    form->addRow(tr("Confirm password"), m_confirm);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_enabled);
    layout->addWidget(m_whenStarted);
    layout->addWidget(m_whenConfigured);
    layout->addLayout(form);
    layout->addWidget(m_note);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const CSecuritySettings::Fields fields = m_settings.Load();
    m_enabled->setChecked(fields.enabled);
    m_whenStarted->setChecked(fields.whenStarted);
    m_whenConfigured->setChecked(fields.whenConfigured);
    m_note->setVisible(m_settings.HasPassword());
    connect(m_enabled, &QCheckBox::toggled, this, &CSecurityDlg::FollowCheckBox);
    connect(m_enabled, &QCheckBox::clicked, this, &CSecurityDlg::ChooseWhenToAsk);
    FollowCheckBox();
    CWindowFrame::Apply(this);
}

bool CSecurityDlg::Open(CSettingsStore& store, QWidget* parent)
{
    if (!CPasswordDlg::Guard(store, parent).MayOpenSecurity())
        return false;
    // Held by a guarded pointer: the owner may go away while the window is open.
    QPointer<CSecurityDlg> dialog = new CSecurityDlg(store, parent);
    dialog->exec();
    delete dialog.data();
    return true;
}

void CSecurityDlg::OnOk()
{
    CSecuritySettings::Fields fields;
    fields.enabled = m_enabled->isChecked();
    fields.whenStarted = m_whenStarted->isChecked();
    fields.whenConfigured = m_whenConfigured->isChecked();
    fields.password = m_password->text();
    fields.confirm = m_confirm->text();
    if (m_settings.Save(fields))
        accept();
}

void CSecurityDlg::ChooseWhenToAsk(bool on)
{
    // Protection that asks at no time protects nothing: ticked with neither choice made, it
    // asks when the configuration changes.
    if (on && !m_whenStarted->isChecked() && !m_whenConfigured->isChecked())
        m_whenConfigured->setChecked(true);
}

void CSecurityDlg::FollowCheckBox()
{
    // The mode and the password matter only while protection is on.
    const bool on = m_enabled->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(m_whenStarted), static_cast<QWidget*>(m_whenConfigured),
          static_cast<QWidget*>(m_password), static_cast<QWidget*>(m_confirm)})
        control->setEnabled(on);
}
