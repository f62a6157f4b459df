#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class CRemoteAccess;
class CSettingsStore;

// The rules of the Connections window without the window: the list it shows, and what
// each button does with the selected entry. A button that needs a selection and has none
// shows its message and answers false; the window then does nothing more.
class CPhonebookActions {
    Q_DECLARE_TR_FUNCTIONS(CPhonebookActions)

public:
    CPhonebookActions(CSettingsStore& store, CRemoteAccess& remote);

    // The entries in the service's order reversed; empty when listing fails.
    QStringList List() const;

    // True: the default connection is dialled (the entry dialled is the default, the
    // selection only has to exist).
    bool MayDial(const QString& selected) const;
    // Makes the entry the default, then as MayDial.
    bool DoubleClicked(const QString& selected);
    // Open the service's editor; false (after a message saying why) when it could not be
    // opened. Edit needs a selection.
    bool Add();
    bool Edit(const QString& selected);
    // Asks first; true when the entry was deleted (the list is then filled again).
    bool Delete(const QString& selected);
    bool SetDefault(const QString& selected);
    // True: the credentials window opens in edit mode for the entry.
    bool MayEdit(const QString& selected) const;

private:
    static void Tell(const QString& text);
    bool Selected(const QString& selected) const;
    // True for 0; else tells the text of the service's error code.
    bool Opened(int code) const;

    CSettingsStore& m_store;
    CRemoteAccess& m_remote;
};
