#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QAbstractButton;
class QMessageBox;

// Counts a question box down to the moment it closes itself: once a second the seconds
// left show on the box (under the question and on the button it will press), and at 0 the
// box closes with its answer. Lives as a child of the box; a tick can be called by hand.
class CSelfClosingBox : public QObject {
    Q_OBJECT
public:
    // `answer` is the standard button the box gives when the time is up (Yes or No).
    CSelfClosingBox(QMessageBox& box, int seconds, int answer);

    // One second gone: the seconds left shown again, or the box closed at 0.
    void Tick();
    int SecondsLeft() const { return m_left; }
    const QTimer& Timer() const { return m_timer; }

private:
    void ShowLeft();

    QMessageBox& m_box;
    QAbstractButton* m_button;
    QString m_buttonText;
    int m_left;
    int m_answer;
    QTimer m_timer;
};
