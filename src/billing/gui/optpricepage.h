#pragma once

#include "prefs/preferencespage.h"

#include <QWidget>

struct CPriceOptions;
class CSettingsStore;
class QCheckBox;
class QComboBox;
class QLineEdit;

// The "Price" page: the tariff every call is priced with. A change is seen by the next
// summary, report and cost check, since each reads the tariff afresh.
class COptPricePage : public QWidget, public CPreferencesPage {
    Q_OBJECT
public:
    explicit COptPricePage(CSettingsStore& store, QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    QWidget* Check() override;
    void Save() override;

    QLineEdit* PricePerDialEdit() const { return m_pricePerDial; }
    QLineEdit* CostPerMinuteEdit() const { return m_costPerMinute; }
    QLineEdit* CheapCostEdit() const { return m_cheapCost; }
    QComboBox* FromList() const { return m_from; }
    QComboBox* ToList() const { return m_to; }
    QCheckBox* SaturdayBox() const { return m_saturday; }
    QCheckBox* SundayBox() const { return m_sunday; }
    QLineEdit* MinimumEdit() const { return m_minimum; }
    QLineEdit* BlockEdit() const { return m_block; }
    QLineEdit* FreeTimeEdit() const { return m_freeTime; }

private:
    CPriceOptions Options() const;

    CSettingsStore& m_store;
    QLineEdit* m_pricePerDial;
    QLineEdit* m_costPerMinute;
    QLineEdit* m_cheapCost;
    QComboBox* m_from;
    QComboBox* m_to;
    QCheckBox* m_saturday;
    QCheckBox* m_sunday;
    QLineEdit* m_minimum;
    QLineEdit* m_block;
    QLineEdit* m_freeTime;
};
