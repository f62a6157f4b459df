#pragma once

#include <QString>

#include <functional>

class CCredentialStore;
class CRemoteAccess;
class CSettingsStore;

// What the dialer's windows work with; the program builds these once and passes them in.
struct CDialerParts {
    CSettingsStore& store;
    CRemoteAccess& remote;
    CCredentialStore& credentials;
    // Adds a line to the main window's message list; may be empty.
    std::function<void(const QString&)> addMessage;
    // Whether a busy line may be dialled again on its own; empty: yes.
    std::function<bool()> mayRedial = {};
    // Asked before a dial by hand (the data plan's cap); empty: dial.
    std::function<bool()> mayDialByHand = {};
};
