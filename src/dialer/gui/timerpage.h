#pragma once

#include "dialer/scheduleticker.h"
#include "dialer/timerpageoptions.h"

#include <QTimer>
#include <QWidget>

class CSettingsStore;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// One page of the schedule window, for the dial or the hang-up: "at time" with a time field,
// "in" with a number and a unit, Start and Stop (which act at once through the ticker) and
// the status line, refreshed from the ticker twice a second. The fields are stored only by
// Save() (the window's OK).
class CTimerPage : public QWidget {
    Q_OBJECT
public:
    // The texts that tell the two pages apart.
    struct Texts {
        QString atTime;
        QString after;
        QString start;
        QString stop;
        // Shown until the first refresh.
        QString status;
    };

    CTimerPage(CScheduleTicker& ticker, CSettingsStore& store, CScheduleTicker::Sequence sequence,
               const Texts& texts, QWidget* parent = nullptr);

    void Save();

    QRadioButton* AtTimeChoice() const { return m_atTime; }
    QRadioButton* AfterChoice() const { return m_after; }
    QLineEdit* TimeEdit() const { return m_time; }
    QLineEdit* IntervalEdit() const { return m_interval; }
    QComboBox* UnitList() const { return m_unit; }
    QPushButton* StartButton() const { return m_start; }
    QPushButton* StopButton() const { return m_stop; }
    QLabel* StatusLine() const { return m_status; }

private:
    CTimerPageOptions Options() const;
    void RefreshStatus();

    CScheduleTicker& m_ticker;
    CSettingsStore& m_store;
    CScheduleTicker::Sequence m_sequence;
    QRadioButton* m_atTime;
    QRadioButton* m_after;
    QLineEdit* m_time;
    QLineEdit* m_interval;
    QComboBox* m_unit;
    QPushButton* m_start;
    QPushButton* m_stop;
    QLabel* m_status;
    QTimer m_refresh;
};
