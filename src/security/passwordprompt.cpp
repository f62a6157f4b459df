#include "security/passwordprompt.h"

#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "security/passwordhash.h"

#include <QCoreApplication>

CPasswordPrompt::CPasswordPrompt(const CSettingsStore& store)
    : m_store(store)
{}

QString CPasswordPrompt::Heading()
{
    return QCoreApplication::translate("CPasswordPrompt", "Please enter the password.");
}

QString CPasswordPrompt::FieldLabel()
{
    return QCoreApplication::translate("CPasswordPrompt", "Password:");
}

QString CPasswordPrompt::WrongText()
{
    return QCoreApplication::translate("CPasswordPrompt", "Password incorrect. Please try again!");
}

QString CPasswordPrompt::CheckingText()
{
    return QCoreApplication::translate("CPasswordPrompt", "Checking...");
}

bool CPasswordPrompt::Accept(const QString& typed) const
{
    return Conclude(Check(typed)());
}

std::function<bool()> CPasswordPrompt::Check(const QString& typed) const
{
    return [stored = m_store.Read(Keys::SecurityPassword), typed] {
        return CPasswordHash::Matches(stored, typed);
    };
}

bool CPasswordPrompt::Conclude(bool matched)
{
    if (!matched)
        CMessageBox::Inform(WrongText());
    return matched;
}
