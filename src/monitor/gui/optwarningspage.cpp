#include "monitor/gui/optwarningspage.h"

#include "common/messagebox.h"
#include "gui/fieldwidth.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
QGroupBox* Group(const QString& title, const QString& note)
{
    auto* group = new QGroupBox(title);
    auto* grid = new QGridLayout(group);
    auto* label = new QLabel(note);
    label->setWordWrap(true);
    grid->addWidget(label, 0, 0, 1, 2);
    return group;
}
} // namespace

COptWarningsPage::COptWarningsPage(CSettingsStore& store, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
{
    QGroupBox* warnings =
        Group(tr("Warnings"), tr("Orvalis can warn you if the cost reaches the selected amount. "
                                 "When it is reached, a message appears."));
    QGroupBox* hangup =
        Group(tr("Auto hangup"),
              tr("Orvalis can even disconnect from the internet if the cost reaches the "
                 "selected amount. When it is reached, a message appears and the "
                 "connection is closed."));
    const std::array<QString, CWarningsOptions::kLimitCount> texts = {
        tr("Warn when cost per month exceeds"), tr("Warn when cost per call exceeds"),
        tr("Disconnect when cost per month exceeds"), tr("Disconnect when cost per call exceeds")};
    for (int i = 0; i < CWarningsOptions::kLimitCount; ++i) {
        m_boxes[i] = new QCheckBox(texts[i]);
        m_amounts[i] = new QLineEdit;
        CFieldWidth::Fit(m_amounts[i], QStringLiteral("0000000"));
        QGroupBox* group = i < CWarningsOptions::DisconnectMonth ? warnings : hangup;
        auto* grid = static_cast<QGridLayout*>(group->layout());
        const int row = 1 + i % 2;
        grid->addWidget(m_boxes[i], row, 0);
        grid->addWidget(m_amounts[i], row, 1);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warnings);
    layout->addWidget(hangup);
    layout->addStretch(1);

    const CWarningsOptions options = CWarningsOptions::Load(m_store);
    for (int i = 0; i < CWarningsOptions::kLimitCount; ++i) {
        m_boxes[i]->setChecked(options.enabled[i]);
        m_amounts[i]->setText(options.amounts[i]);
    }
}

QWidget* COptWarningsPage::Check()
{
    const std::optional<CWarningsOptions::Refusal> refusal = Options().Refused();
    if (!refusal)
        return nullptr;
    CMessageBox::Inform(refusal->message);
    m_amounts[refusal->limit]->selectAll();
    return m_amounts[refusal->limit];
}

void COptWarningsPage::Save()
{
    Options().Store(m_store);
}

CWarningsOptions COptWarningsPage::Options() const
{
    CWarningsOptions options;
    for (int i = 0; i < CWarningsOptions::kLimitCount; ++i) {
        options.enabled[i] = m_boxes[i]->isChecked();
        options.amounts[i] = m_amounts[i]->text();
    }
    return options;
}
