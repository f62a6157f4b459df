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
    return QCoreApplication::translate("CPasswordPrompt", "Please enter password !!!");
}

QString CPasswordPrompt::FieldLabel()
{
    return QCoreApplication::translate("CPasswordPrompt", "Password:");
}

QString CPasswordPrompt::WrongText()
{
    return QCoreApplication::translate("CPasswordPrompt", "Password incorrect. Please try again!");
}

bool CPasswordPrompt::Accept(const QString& typed) const
{
    if (CPasswordHash::Matches(m_store.Read(Keys::SecurityPassword), typed))
        return true;
    CMessageBox::Inform(WrongText());
    return false;
}
