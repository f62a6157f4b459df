#pragma once

#include "monitor/warningsoptions.h"
#include "prefs/preferencespage.h"

#include <QWidget>

class CSettingsStore;
class QCheckBox;
class QLineEdit;

// The "Warnings" page: warn or hang up when the cost of the month or of a call passes an
// amount.
class COptWarningsPage : public QWidget, public CPreferencesPage {
    Q_OBJECT
public:
    explicit COptWarningsPage(CSettingsStore& store, QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    QWidget* Check() override;
    void Save() override;

    QLineEdit* AmountEdit(CWarningsOptions::Limit limit) const { return m_amounts[limit]; }
    QCheckBox* LimitBox(CWarningsOptions::Limit limit) const { return m_boxes[limit]; }

private:
    CWarningsOptions Options() const;

    CSettingsStore& m_store;
    std::array<QCheckBox*, CWarningsOptions::kLimitCount> m_boxes{};
    std::array<QLineEdit*, CWarningsOptions::kLimitCount> m_amounts{};
};
