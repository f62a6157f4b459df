#include "gui/treepages.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

CTreePages::CTreePages(QDialog& dialog, const QMargins& margins)
    : m_tree(new QTreeWidget)
    , m_stack(new QStackedWidget)
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel))
{
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setFixedWidth(120);

    auto* body = new QHBoxLayout;
    body->addWidget(m_tree);
    body->addWidget(m_stack, 1);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(margins);
    layout->addLayout(body, 1);
    layout->addWidget(m_buttons);

    QObject::connect(m_buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(m_tree, &QTreeWidget::currentItemChanged, m_stack,
                     [this](QTreeWidgetItem* item) {
                         if (item)
                             m_stack->setCurrentIndex(m_tree->indexOfTopLevelItem(item));
                     });
}

void CTreePages::AddPage(const QString& title, QWidget* page)
{
    m_tree->addTopLevelItem(new QTreeWidgetItem(QStringList{title}));
    // At least 120 px, wider when a title needs it (the item's margins and the frame).
    const int needed =
        m_tree->fontMetrics().horizontalAdvance(title) + 2 * m_tree->frameWidth() + 12;
    m_tree->setFixedWidth(std::max(m_tree->width(), needed));
    m_stack->addWidget(page);
}

void CTreePages::ReplacePage(int index, QWidget* page)
{
    QWidget* old = m_stack->widget(index);
    m_stack->insertWidget(index, page);
    m_stack->removeWidget(old);
    delete old;
}

int CTreePages::CurrentPage() const
{
    return m_stack->currentIndex();
}

void CTreePages::SelectPage(int page)
{
    m_tree->setCurrentItem(m_tree->topLevelItem(page));
    m_stack->setCurrentIndex(page);
}

bool CTreePages::ExecOver(QDialog& dialog, QWidget* parent)
{
    dialog.adjustSize();
    if (parent) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(parent->frameGeometry().center());
        dialog.move(frame.topLeft());
    }
    return dialog.exec() == QDialog::Accepted;
}
