#include "security/securitysettings.h"

#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "security/passwordhash.h"

#include <QCoreApplication>

CSecuritySettings::CSecuritySettings(CSettingsStore& store)
    : m_store(store)
{}

QString CSecuritySettings::EnterPasswordsText()
{
    return QCoreApplication::translate("CSecuritySettings", "Please enter passwords");
}

QString CSecuritySettings::MismatchText()
{
    return QCoreApplication::translate(
        "CSecuritySettings", "The passwords you typed don't match. Please enter the same password "
                             "in both boxes.");
}

QString CSecuritySettings::ChooseWhenText()
{
    return QCoreApplication::translate("CSecuritySettings",
                                       "Please choose when the password is asked: when starting, "
                                       "or when changing the configuration.");
}

QString CSecuritySettings::KeepPasswordNote()
{
    return QCoreApplication::translate("CSecuritySettings",
                                       "A password is set. Leave both fields empty to keep it.");
}

CSecuritySettings::Fields CSecuritySettings::Load() const
{
    Fields fields;
    fields.enabled = m_store.Read(Keys::SecurityEnabled) == 1;
    fields.whenStarted = m_store.Read(Keys::SecurityWhenStarted) == 1;
    fields.whenConfigured = m_store.Read(Keys::SecurityWhenConfigured) == 1;
    return fields;
}

bool CSecuritySettings::HasPassword() const
{
    return !m_store.Read(Keys::SecurityPassword).isEmpty();
}

bool CSecuritySettings::Save(const Fields& fields)
{
    if (fields.enabled && !fields.whenStarted && !fields.whenConfigured) {
        CMessageBox::Inform(ChooseWhenText());
        return false;
    }
    // The three flags are stored before anything is checked: a window kept open by a
    // message, then cancelled, has already switched protection as its boxes said.
    m_store.Write(Keys::SecurityEnabled, fields.enabled ? 1 : 0);
    m_store.Write(Keys::SecurityWhenStarted, fields.whenStarted ? 1 : 0);
    m_store.Write(Keys::SecurityWhenConfigured, fields.whenConfigured ? 1 : 0);

    if (!fields.enabled)
        return KeepPassword();
    if (fields.password.isEmpty() && fields.confirm.isEmpty()) {
        if (HasPassword())
            return KeepPassword();
        CMessageBox::Inform(EnterPasswordsText());
        return false;
    }
    if (fields.password != fields.confirm) {
        CMessageBox::Inform(MismatchText());
        return false;
    }
    return WritePassword(fields.password);
}

bool CSecuritySettings::KeepPassword()
{
    const QString stored = m_store.Read(Keys::SecurityPassword);
    if (stored.isEmpty() || CPasswordHash::IsHash(stored))
        return true;
    // A password an older version kept as plain text: keep the same password, hashed.
    // Should that write fail, the plain text stays and still opens the lock.
    m_store.Write(Keys::SecurityPassword, CPasswordHash::Make(stored));
    return true;
}

bool CSecuritySettings::WritePassword(const QString& password)
{
    if (m_store.Write(Keys::SecurityPassword, CPasswordHash::Make(password)))
        return true;
    CMessageBox::Error(QCoreApplication::translate("CSecuritySettings",
                                                   "The password could not be saved in %1. The old "
                                                   "password stays in force.")
                           .arg(m_store.Path()));
    return false;
}
