#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>

// Shows a short message as a desktop notification (org.freedesktop.Notifications on the
// given bus), with a "Hang up" button while a call is up. Where no notification server
// takes it (no bus, nobody owns the name, the call fails or times out) the message goes
// to the program's own box instead; a second message while that box is open is dropped,
// not stacked.
class CDesktopNotifier : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";
    static constexpr const char* kInterface = "org.freedesktop.Notifications";
    // The key of the hang-up action.
    static constexpr const char* kHangUpAction = "hangup";
    // How long a notification server gets to answer before the box is shown instead.
    static constexpr int kTimeoutMs = 5000;

    explicit CDesktopNotifier(const QDBusConnection& bus, QObject* parent = nullptr);
    ~CDesktopNotifier() override;

    // A connection that is never up: every message goes to the box.
    static QDBusConnection NoBus();

    // `offerHangUp` adds the "Hang up" button.
    void Show(const QString& summary, const QString& body, bool offerHangUp);
    // The call has ended: notifications that offer to hang up are taken back.
    void CallEnded();

    bool BoxOpen() const { return m_boxOpen; }

Q_SIGNALS:
    // The user chose "Hang up" on one of this object's notifications.
    void HangUpChosen();

private Q_SLOTS:
    void OnActionInvoked(uint id, const QString& actionKey);
    void OnClosed(uint id, uint reason);

private:
    void ShowBox(const QString& summary, const QString& body);

    QDBusConnection m_bus;
    QList<uint> m_offeringHangUp; // notifications shown with the button and not closed
    bool m_boxOpen = false;
};
