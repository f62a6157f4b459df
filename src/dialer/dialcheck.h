#pragma once

#include <QObject>
#include <QString>

// A check that the dial window runs instead of a dial: the on-demand mail check and the
// upgrade check. The window shows "Connecting to server...", calls Start a second later and
// shows each text the check finishes with.
//
// Start must not block the window's thread: the work runs on a worker thread or on Qt's
// asynchronous sockets, and Finished is emitted on the thread the check lives on. The
// window deletes the check when it closes, possibly before Finished; a worker still
// running then ends on its own and its result is dropped.
class CDialCheck : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~CDialCheck() override;

    virtual void Start() = 0;

Q_SIGNALS:
    // text: what the window shows now. done: the check is over and the window's button
    // turns from "Cancel" to "OK".
    void Finished(const QString& text, bool done);
    // The check has said all it had to in a box of its own: the window closes.
    void CloseWindow();
};
