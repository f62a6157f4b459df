#pragma once

#include <QObject>
#include <QString>

#include <functional>

class CCredentialStore;
class CRemoteAccess;
class CSettingsStore;

// The rules of the credentials window without the window: which entry it is about, what
// it shows, when it closes by itself, and what OK stores.
//
// Open runs the opening steps. They may need the Connections window (no default entry
// yet); the stored credentials arrive later from the credential store. Then either
// FieldsReady (the window shows its fields) or Closed (OK with remembered credentials, or
// cancel) follows.
class CCredentialsFlow : public QObject {
    Q_OBJECT

public:
    enum class Mode { Normal, Edit };
    // Shows the Connections window and calls closed once it has closed.
    using ShowConnections = std::function<void(std::function<void()> closed)>;

    CCredentialsFlow(CSettingsStore& store, CRemoteAccess& remote, CCredentialStore& credentials,
                     ShowConnections showConnections, QObject* parent = nullptr);
    ~CCredentialsFlow() override;

    // editEntry: the entry of Edit mode.
    void Open(Mode mode, const QString& editEntry = QString());
    // The window's OK with what its fields hold. Closed follows, or the window stays open
    // (after a message) when a field is empty.
    void Accept(const QString& user, const QString& password, bool remember);

    const QString& Entry() const { return m_entry; }
    QString Title() const;
    const QString& User() const { return m_user; }
    const QString& Password() const { return m_password; }
    bool Remember() const { return m_remember; }

Q_SIGNALS:
    void FieldsReady();
    void Closed(bool ok);

private:
    void AfterDefaultKnown();
    void Store(const QString& user, const QString& password);

    CSettingsStore& m_store;
    CRemoteAccess& m_remote;
    CCredentialStore& m_credentials;
    ShowConnections m_showConnections;
    Mode m_mode = Mode::Normal;
    QString m_editEntry;
    QString m_entry;
    QString m_user;
    QString m_password;
    bool m_remember = true;
};
