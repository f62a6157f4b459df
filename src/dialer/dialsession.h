#pragma once

#include "dialer/remoteaccess.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class CCredentialStore;
class CSettingsStore;

// The dial of the default connection as the dial window runs it, without the window: a
// second after Start one attempt dials the entry with its stored credentials, progress
// notifications turn into texts, and a busy line is dialled again as the settings say.
// The window shows Text() and the button (Cancel or OK) and forwards the button to HangUp.
//
// Progress may arrive on any thread: it is queued to this object's thread, and dropped
// when this object is gone by then or when it belongs to an earlier attempt.
class CDialSession : public QObject {
    Q_OBJECT

public:
    static constexpr int kFirstDialMs = 1000;
    static constexpr int kRedialMs = 1500;

    CDialSession(CSettingsStore& store, CRemoteAccess& remote, CCredentialStore& credentials,
                 QObject* parent = nullptr);
    ~CDialSession() override;

    // The message of a progress state; empty for a state the table does not know.
    static QString StateMessage(unsigned state);

    // Asked before a busy line is dialled again; when it says no, the busy error stays.
    // Empty: always yes.
    void SetMayRedial(std::function<bool()> mayRedial) { m_mayRedial = std::move(mayRedial); }

    // Reads the entry, shows "Connecting to <entry>..." and starts the first attempt's timer.
    void Start();
    // Ends the current attempt or connection through the service (nothing without a handle).
    void HangUp();
    // One attempt now: what the timer runs.
    void Attempt();
    // A progress step of the current attempt, on this object's thread.
    void OnProgress(unsigned state, unsigned error);

    const QString& Entry() const { return m_entry; }
    const QString& Text() const { return m_text; }
    bool ButtonIsOk() const { return m_buttonOk; }
    int BusyCount() const { return m_busyCount; }
    CRemoteAccess::Handle Handle() const { return m_handle; }
    // The timer of the next attempt: tests check its interval and fire it at once.
    QTimer& AttemptTimer() { return m_timer; }

Q_SIGNALS:
    // Text() or ButtonIsOk() changed.
    void Changed();
    // The dial is over (connected or disconnected): the window closes.
    void CloseRequested();
    // The address to open in the browser now that the line is up.
    void OpenAddress(const QString& url);

private:
    void Dial(const QString& user, const QString& password);
    void ShowError(int code, bool duringProgress);
    void OnBusy();
    void SetText(const QString& text, bool buttonOk);

    CSettingsStore& m_store;
    CRemoteAccess& m_remote;
    CCredentialStore& m_credentials;
    QTimer m_timer;
    QString m_entry;
    QString m_text;
    bool m_buttonOk = false;
    int m_busyCount = 0;
    CRemoteAccess::Handle m_handle = 0;
    // Tells the progress of the current attempt from that of an earlier one.
    int m_attempt = 0;
    std::function<bool()> m_mayRedial;
};
