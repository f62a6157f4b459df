#pragma once

#include "dialer/hangupoptions.h"
#include "prefs/preferencespage.h"

#include <QWidget>

#include <array>

class CSettingsStore;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

// The "Connection" page: what to do every few minutes while connected, the web page to
// open after connecting, redialing a dropped line and a busy one.
class COptConnectionPage : public QWidget, public CPreferencesPage {
    Q_OBJECT
public:
    explicit COptConnectionPage(CSettingsStore& store, QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    QWidget* Check() override { return nullptr; }
    void Save() override;

    QComboBox* ActionList() const { return m_action; }
    QLineEdit* IntervalEdit() const { return m_interval; }
    QCheckBox* BrowserBox() const { return m_browser; }
    QLineEdit* UrlEdit() const { return m_url; }
    QCheckBox* RedialBox() const { return m_redial; }
    // The busy-line choice of a CHangupOptions::BusyChoice other than NoChoice.
    QAbstractButton* BusyButton(int choice) const;
    QLineEdit* RedialTimesEdit() const { return m_redialTimes; }

private:
    CHangupOptions Options() const;

    CSettingsStore& m_store;
    QComboBox* m_action;
    QLineEdit* m_interval;
    QCheckBox* m_browser;
    QLineEdit* m_url;
    QCheckBox* m_redial;
    QButtonGroup* m_busy;
    QLineEdit* m_redialTimes;
};
