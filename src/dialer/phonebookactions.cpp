#include "dialer/phonebookactions.h"

#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "dialer/remoteaccess.h"

#include <algorithm>

CPhonebookActions::CPhonebookActions(CSettingsStore& store, CRemoteAccess& remote)
    : m_store(store)
    , m_remote(remote)
{}

QStringList CPhonebookActions::List() const
{
    QStringList entries;
    if (m_remote.EnumEntries(entries) != 0)
        return {};
    // Each entry goes to the top of the list as it is read.
    std::reverse(entries.begin(), entries.end());
    return entries;
}

bool CPhonebookActions::MayDial(const QString& selected) const
{
    if (!selected.isEmpty())
        return true;
    Tell(tr("Please select entry to dial first. Or create it, using Add..."));
    return false;
}

bool CPhonebookActions::DoubleClicked(const QString& selected)
{
    m_store.Write(Keys::DefaultCon, selected);
    return MayDial(selected);
}

bool CPhonebookActions::Add()
{
    return Opened(m_remote.CreateEntry());
}

bool CPhonebookActions::Edit(const QString& selected)
{
    return Selected(selected) && Opened(m_remote.EditEntry(selected));
}

bool CPhonebookActions::Delete(const QString& selected)
{
    if (selected.isEmpty()) {
        Tell(tr("Please select entry to delete first. Or create it, using Add..."));
        return false;
    }
    const CMessageBox::Answer answer = CMessageBox::Show(
        {tr("You are about to delete entry %1. Are you sure?").arg(selected), tr("Are you sure?"),
         CMessageBox::Icon::Question, CMessageBox::Buttons::YesNo});
    if (answer != CMessageBox::Answer::Yes)
        return false;
    m_remote.DeleteEntry(selected);
    return true;
}

bool CPhonebookActions::SetDefault(const QString& selected)
{
    if (!Selected(selected))
        return false;
    m_store.Write(Keys::DefaultCon, selected);
    return true;
}

bool CPhonebookActions::MayEdit(const QString& selected) const
{
    return Selected(selected);
}

bool CPhonebookActions::Selected(const QString& selected) const
{
    if (!selected.isEmpty())
        return true;
    Tell(tr("Please select entry first. Just single-click on it..."));
    return false;
}

bool CPhonebookActions::Opened(int code) const
{
    if (code == 0)
        return true;
    // A missing editor says what to install; no click goes unanswered.
    QString text;
    if (!m_remote.GetErrorString(code, text) || text.isEmpty())
        text = tr("The connection editor could not be opened (error %1).").arg(code);
    Tell(text);
    return false;
}

void CPhonebookActions::Tell(const QString& text)
{
    CMessageBox::Show({text, QStringLiteral("Orvalis")});
}
