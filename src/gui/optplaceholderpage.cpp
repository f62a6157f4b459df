#include "gui/optplaceholderpage.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

COptPlaceholderPage::COptPlaceholderPage(const QString& title, const QString& text, QWidget* parent)
    : QWidget(parent)
{
    auto* group = new QGroupBox(title);
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    (new QVBoxLayout(group))->addWidget(label);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);
}
