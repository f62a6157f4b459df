#pragma once

#include "prefs/preferencespage.h"

#include <QWidget>

class CSettingsStore;
class QCheckBox;
class QLineEdit;

// The "General" page of the preferences window: where the log lives, what happens at
// start, and which actions ask first.
class COptGeneralPage : public QWidget, public CPreferencesPage {
    Q_OBJECT
public:
    explicit COptGeneralPage(CSettingsStore& store, QWidget* parent = nullptr);

    // The page protocol of the preferences window. Nothing is refused here: a log folder
    // no folder can have is reported by Apply(), which keeps the log where it is.
    QWidget* Widget() override { return this; }
    QWidget* Check() override { return nullptr; }
    void Save() override { Apply(); }

    // Fills the controls from the settings.
    void Open();
    // Stores the controls' values (the preferences window's OK).
    void Apply();

    // The folder picker; returns the chosen folder or an empty text on cancel.
    // Replaceable so tests need no real dialog.
    using FolderPicker = QString (*)(QWidget* parent, const QString& title, const QString& start);
    void SetFolderPicker(FolderPicker picker) { m_picker = picker; }

    QLineEdit* LogFolderEdit() const { return m_folder; }

private:
    void Browse();

    CSettingsStore& m_store;
    FolderPicker m_picker;
    QLineEdit* m_folder;
    QCheckBox* m_startWithDesktop;
    QCheckBox* m_showMainWindow;
    QCheckBox* m_showSplash;
    QCheckBox* m_showWhenConnected;
    QCheckBox* m_confirmHangup;
    QCheckBox* m_confirmExit;
};
