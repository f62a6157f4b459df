#include "billing/gui/summarydlg.h"

#include "billing/summarytext.h"
#include "billing/totals.h"
#include "common/settingsstore.h"
#include "gui/windowframe.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Only sizes and weights: the colours are the desktop's, light or dark.
const char* const kStyle = R"(
QLabel#title { font-size: 15pt; font-weight: bold; }
QLabel[summaryValue="true"] { font-weight: bold; }
)";
} // namespace

CSummaryDlg::CSummaryDlg(CSettingsStore& store, QWidget* parent)
    : QDialog(parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("summaryDialog"));
    setWindowTitle(tr("Summary"));
    setModal(true);
    setStyleSheet(QString::fromLatin1(kStyle));

    auto* title = new QLabel(tr("Summary"), this);
    title->setObjectName(QStringLiteral("title"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    const QList<QString> labels = CSummaryText::Labels();
    for (int row = 0; row < labels.size(); ++row) {
        auto* value = new QLabel(QStringLiteral("0"), this);
        value->setObjectName(QStringLiteral("value%1").arg(row));
        value->setProperty("summaryValue", true);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(
            new QLabel(QCoreApplication::translate("CSummaryText", qPrintable(labels.at(row))),
                       this),
            row, 0);
        grid->addWidget(value, row, 1);
        m_values.append(value);
    }

    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->addItems({tr("All"), tr("Only this month"), tr("Only today")});
    auto* filterLabel = new QLabel(tr("Filter"), this);
    filterLabel->setBuddy(m_filter);

    auto* hide = new QPushButton(tr("Hide"), this);
    hide->setObjectName(QStringLiteral("hide"));
    hide->setDefault(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(filterLabel);
    bottom->addWidget(m_filter, 1);
    bottom->addSpacing(24);
    bottom->addWidget(hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(16, 12, 16, 12);

    // A stored filter outside the list shows (and from now on stores) "All", which is how
    // the pass treats it anyway.
    const int stored = m_store.Read(Keys::SummaryWhen);
    m_filter->setCurrentIndex(stored >= 0 && stored < m_filter->count() ? stored : 0);

    // Every choice in the list, also of the item already chosen, computes again.
    connect(m_filter, &QComboBox::activated, this, &CSummaryDlg::Recompute);
    connect(hide, &QPushButton::clicked, this, &CSummaryDlg::OnHide);

    Recompute();
    CWindowFrame::Apply(this);
}

QList<QString> CSummaryDlg::ValueTexts() const
{
    QList<QString> texts;
    for (const QLabel* value : m_values)
        texts.append(value->text());
    return texts;
}

void CSummaryDlg::Recompute()
{
    StoreFilter();
    const QList<CSummaryText::Line> lines = CSummaryText::Lines(CTotals::Compute(m_store));
    for (int i = 0; i < lines.size() && i < m_values.size(); ++i)
        m_values.at(i)->setText(lines.at(i).value);
    update();
}

void CSummaryDlg::StoreFilter()
{
    m_store.Write(Keys::SummaryWhen, m_filter->currentIndex());
}

void CSummaryDlg::OnHide()
{
    StoreFilter();
    accept();
}
