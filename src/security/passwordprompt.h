#pragma once

#include <QString>

#include <functional>

class CSettingsStore;

// What the password prompt does with its OK: the typed text against the stored password.
class CPasswordPrompt {
public:
    explicit CPasswordPrompt(const CSettingsStore& store);

    static QString Heading();      // "Please enter the password."
    static QString FieldLabel();   // "Password:"
    static QString WrongText();    // "Password incorrect. Please try again!"
    static QString CheckingText(); // "Checking..."

    // OK with `typed`: true when it is the stored password (letter case counts), so the
    // prompt closes as accepted. Otherwise says so in a message box and returns false: the
    // prompt stays open with its text, as often as the user likes.
    bool Accept(const QString& typed) const;

    // The slow part of Accept on its own, to run on another thread: whether `typed` is the
    // stored password. Reads the stored password now; the check reads nothing else.
    std::function<bool()> Check(const QString& typed) const;
    // The rest of Accept once the check is done: says so in a box when it failed.
    static bool Conclude(bool matched);

private:
    const CSettingsStore& m_store;
};
