#include "sound/gui/optsoundpage.h"

#include "common/settingsstore.h"
#include "sound/soundplayer.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString PickFile(QWidget* parent, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}
} // namespace

COptSoundPage::COptSoundPage(CSettingsStore& store, CSoundPlayer& sound, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_sound(sound)
    , m_picker(&PickFile)
{
    auto* note = new QLabel(tr("When a connection is made, Orvalis can beep (available "
                               "on most computers) or play a WAV file (a sound card must "
                               "be installed)."));
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);

    const std::array<QString, 2> titles = {tr("When connection is made"),
                                           tr("When connection is terminated")};
    for (const Group group : {Made, Dropped}) {
        auto* box = new QGroupBox(titles[group]);
        m_actions[group] = new QComboBox;
        m_actions[group]->addItems(
            {tr("Do nothing"), tr("Beep through computer speaker"), tr("Play this file")});
        m_files[group] = new QLineEdit;
        auto* browse = new QPushButton(tr("Browse"));
        auto* play = new QPushButton(tr("Play"));
        connect(browse, &QPushButton::clicked, this, [this, group] { Browse(group); });
        connect(play, &QPushButton::clicked, this, [this, group] { Play(group); });
        auto* grid = new QGridLayout(box);
        grid->addWidget(m_actions[group], 0, 0, 1, 3);
        grid->addWidget(m_files[group], 1, 0);
        grid->addWidget(browse, 1, 1);
        grid->addWidget(play, 1, 2);
        layout->addWidget(box);
    }
    layout->addStretch(1);

    const auto action = [&](const CIntKey& key) {
        const int stored = m_store.Read(key);
        return stored >= 0 && stored <= 2 ? stored : 0;
    };
    m_actions[Made]->setCurrentIndex(action(Keys::ActionWhenConMade));
    m_actions[Dropped]->setCurrentIndex(action(Keys::ActionWhenConDropped));
    m_taken[Made] = m_store.Read(Keys::SoundWhenConMade);
    m_taken[Dropped] = m_store.Read(Keys::SoundWhenConDropped);
    m_files[Made]->setText(m_taken[Made]);
    m_files[Dropped]->setText(m_taken[Dropped]);
}

void COptSoundPage::Save()
{
    m_store.Write(Keys::SoundWhenConMade, m_files[Made]->text());
    m_store.Write(Keys::SoundWhenConDropped, m_files[Dropped]->text());
    m_store.Write(Keys::ActionWhenConMade, m_actions[Made]->currentIndex());
    m_store.Write(Keys::ActionWhenConDropped, m_actions[Dropped]->currentIndex());
}

void COptSoundPage::Browse(Group group)
{
    const QString chosen = m_picker(this, tr("Sound files (*.wav)"));
    if (chosen.isEmpty())
        return;
    m_files[group]->setText(chosen);
    // Both fields are taken as they stand, the other one with whatever was typed there.
    m_taken[Made] = m_files[Made]->text();
    m_taken[Dropped] = m_files[Dropped]->text();
}

void COptSoundPage::Play(Group group)
{
    m_sound.PlayFile(m_taken[group]);
}
