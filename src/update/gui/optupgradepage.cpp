#include "update/gui/optupgradepage.h"

#include "common/settingsstore.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

COptUpgradePage::COptUpgradePage(CSettingsStore& store, std::function<void()> checkNow,
                                 QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_disable(new QCheckBox(tr("Disable upgrade notification")))
{
    auto* heading = new QLabel(QStringLiteral("<b>Upgrade notification</b>"));
    auto* first =
        new QLabel(tr("Orvalis can periodically ask its web site whether a newer major version is "
                      "available."));
    auto* second = new QLabel(QStringLiteral(
        "When there is one, Orvalis alerts you and links to the page where you can download "
        "it."));
    first->setWordWrap(true);
    second->setWordWrap(true);
    auto* check = new QPushButton(tr("Check for an upgrade now"));
    connect(check, &QPushButton::clicked, this, [checkNow = std::move(checkNow)] {
        if (checkNow)
            checkNow();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(m_disable);
    layout->addWidget(check, 0, Qt::AlignLeft);
    layout->addStretch(1);

    m_disable->setChecked(m_store.Read(Keys::DisableUpgrade) != 0);
}

void COptUpgradePage::Save()
{
    m_store.Write(Keys::DisableUpgrade, m_disable->isChecked() ? 1 : 0);
}
