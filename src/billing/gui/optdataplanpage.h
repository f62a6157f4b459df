#pragma once

#include "billing/cycleusage.h"
#include "prefs/preferencespage.h"

#include <QTimer>
#include <QWidget>

#include <functional>

struct CDataPlanOptions;
class CSettingsStore;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The "Data plan" page: the billing cycle's start day, the allowance of bytes, what counts
// against it, the price past it, when to warn and what to do at the cap. Below them it
// shows how the current cycle stands, asked of `usage` once a second while the page is on
// screen.
class COptDataPlanPage : public QWidget, public CPreferencesPage {
    Q_OBJECT
public:
    COptDataPlanPage(CSettingsStore& store, std::function<CCycleUsage()> usage,
                     QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    QWidget* Check() override;
    void Save() override;

    // Asks for the cycle's figures and shows them.
    void Refresh();
    // The figures as the page shows them; "No data plan set" without an allowance.
    static QString UsageText(const CCycleUsage& usage);

    QSpinBox* StartDayBox() const { return m_startDay; }
    QLineEdit* AllowanceEdit() const { return m_allowance; }
    QComboBox* CountedList() const { return m_counted; }
    QLineEdit* OverageEdit() const { return m_overage; }
    QLineEdit* WarnAtEdit() const { return m_warnAt; }
    QComboBox* AtLimitList() const { return m_atLimit; }
    QLabel* UsageLabel() const { return m_usageLabel; }
    const QTimer& RefreshTimer() const { return m_refresh; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    CDataPlanOptions Options() const;

    CSettingsStore& m_store;
    std::function<CCycleUsage()> m_usage;
    QSpinBox* m_startDay;
    QLineEdit* m_allowance;
    QComboBox* m_counted;
    QLineEdit* m_overage;
    QLineEdit* m_warnAt;
    QComboBox* m_atLimit;
    QLabel* m_usageLabel;
    QTimer m_refresh;
};
