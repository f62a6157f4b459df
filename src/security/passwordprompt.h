#pragma once

#include <QString>

class CSettingsStore;

// What the password prompt does with its OK: the typed text against the stored password.
class CPasswordPrompt {
public:
    explicit CPasswordPrompt(const CSettingsStore& store);

    static QString Heading();    // "Please enter password !!!"
    static QString FieldLabel(); // "Password:"
    static QString WrongText();  // "Password incorrect. Please try again!"

    // OK with `typed`: true when it is the stored password (letter case counts), so the
    // prompt closes as accepted. Otherwise says so in a message box and returns false: the
    // prompt stays open with its text, as often as the user likes.
    bool Accept(const QString& typed) const;

private:
    const CSettingsStore& m_store;
};
