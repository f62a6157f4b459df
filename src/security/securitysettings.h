#pragma once

#include <QString>

class CSettingsStore;

// The rules of the Security window: what it shows on opening and what its OK stores.
//
// The stored password is a hash and cannot be shown, so both password fields open empty;
// leaving both empty on OK keeps the current password (and turns one still kept as plain
// text into its hash).
class CSecuritySettings {
public:
    // What the window's controls hold.
    struct Fields {
        bool enabled = false;        // "Enable password protection"
        bool whenStarted = false;    // "Ask password when starting"
        bool whenConfigured = false; // "Ask password when changing configuration only"
        QString password;            // "Password"
        QString confirm;             // "Confirm password"
    };

    explicit CSecuritySettings(CSettingsStore& store);

    static QString EnterPasswordsText(); // "Please enter passwords"
    static QString MismatchText();
    // Protection on with neither "when starting" nor "when changing configuration".
    static QString ChooseWhenText();
    // The note under the fields while a password is stored.
    static QString KeepPasswordNote();

    // The controls as the window opens: the three flags from the file, both fields empty.
    Fields Load() const;
    // True when a non-empty password is stored, so that empty fields keep it.
    bool HasPassword() const;

    // OK: protection on with no choice of when to ask is refused before anything is
    // written (it would protect nothing). Otherwise writes the three flags first, whatever
    // follows; then checks the fields. False (after a message) keeps the window open; true
    // closes it.
    bool Save(const Fields& fields);

private:
    bool WritePassword(const QString& password);
    bool KeepPassword();

    CSettingsStore& m_store;
};
