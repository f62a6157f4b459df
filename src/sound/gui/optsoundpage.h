#pragma once

#include "prefs/preferencespage.h"

#include <QWidget>

#include <array>
#include <functional>

class CSettingsStore;
class CSoundPlayer;
class QComboBox;
class QLineEdit;

// The "Sounds" page: what is heard when a connection is made and when it ends.
class COptSoundPage : public QWidget, public CPreferencesPage {
    Q_OBJECT
public:
    // The two groups of the page.
    enum Group { Made, Dropped };

    COptSoundPage(CSettingsStore& store, CSoundPlayer& sound, QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    QWidget* Check() override { return nullptr; }
    void Save() override;

    // Asks for a sound file; returns the chosen path or an empty text on cancel.
    // Replaceable so tests need no real dialog.
    using FilePicker = std::function<QString(QWidget* parent, const QString& filter)>;
    void SetFilePicker(FilePicker picker) { m_picker = std::move(picker); }

    void Browse(Group group);
    // Plays the group's file as the page last took it: the stored name loaded at opening,
    // taken again from both fields whenever a Browse ends with a file. The player never
    // blocks and skips a sound asked for while another plays; a missing file plays the
    // default sound.
    void Play(Group group);

    QComboBox* ActionList(Group group) const { return m_actions[group]; }
    QLineEdit* FileEdit(Group group) const { return m_files[group]; }

private:
    CSettingsStore& m_store;
    CSoundPlayer& m_sound;
    FilePicker m_picker;
    std::array<QComboBox*, 2> m_actions{};
    std::array<QLineEdit*, 2> m_files{};
    std::array<QString, 2> m_taken;
};
