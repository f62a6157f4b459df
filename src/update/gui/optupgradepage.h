#pragma once

#include "prefs/preferencespage.h"

#include <QWidget>

#include <functional>

class CSettingsStore;
class QCheckBox;

// The "Upgrade" page: whether the program asks its web site for a newer version, and a
// button that asks now.
class COptUpgradePage : public QWidget, public CPreferencesPage {
    Q_OBJECT
public:
    COptUpgradePage(CSettingsStore& store, std::function<void()> checkNow,
                    QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    QWidget* Check() override { return nullptr; }
    void Save() override;

    QCheckBox* DisableBox() const { return m_disable; }

private:
    CSettingsStore& m_store;
    QCheckBox* m_disable;
};
