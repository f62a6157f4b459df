#pragma once

#include "dialer/gui/dialerparts.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <memory>

class CDialCheck;
class CDialSession;
class QLabel;
class QPushButton;

// The small window that shows a dial's progress (mode Dial), or a server check that runs
// in its place (modes UpgradeCheck and MailCheck). One button: "Cancel" while the work
// runs, "OK" once it is over; it and Escape end the work (a dial is hung up) and close the
// window. One dial window at a time: what a request for another does (wait, take its place
// or bring it to the front) CDialWindowGate decides.
class CDialDlg : public QDialog {
    Q_OBJECT

public:
    enum Mode { UpgradeCheck = 1, MailCheck = 2, Dial = 3 };
    static constexpr int kCheckDelayMs = 1000;

    ~CDialDlg() override;

    // Opens the window on the check (modes 1 and 2); a result after the window closed is
    // dropped.
    static void RunCheck(Mode mode, std::unique_ptr<CDialCheck> check, QWidget* parent);
    // Opens the window dialling the default connection.
    static void RunDial(const CDialerParts& parts, QWidget* parent);
    // The open dial window, if any.
    static CDialDlg* Current();
    // Brings the open dial window to the front; false when there is none.
    static bool BringToFront();

    // The check is done, or the dial has ended: the window only shows the result.
    bool IsOver() const;
    // Closes the window to make room for other work (as its button would); from now on it
    // is no longer Current().
    void GiveWay();

    Mode RunMode() const { return m_mode; }
    QString StatusText() const;
    QString ButtonText() const;
    // Null in the check modes.
    CDialSession* Session() const { return m_session; }
    // The timer that starts the check: tests fire it at once.
    QTimer& CheckTimer() { return m_checkTimer; }

protected:
    void reject() override;

private:
    explicit CDialDlg(Mode mode, QWidget* parent);
    void Present();
    void StartCheck();
    void ShowCheckResult(const QString& text, bool done);
    void ShowSession();
    void OnButton();

    Mode m_mode;
    QLabel* m_status = nullptr;
    QPushButton* m_button = nullptr;
    QTimer m_checkTimer;
    std::unique_ptr<CDialCheck> m_check;
    CDialSession* m_session = nullptr;
    bool m_dialOver = false;
    bool m_checkOver = false;
};
