#pragma once

#include "gui/preferencespage.h"

#include <QWidget>

// A page whose feature has not arrived yet: it says what will be there and stores nothing.
class COptPlaceholderPage : public QWidget, public CPreferencesPage {
    Q_OBJECT
public:
    COptPlaceholderPage(const QString& title, const QString& text, QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    QWidget* Check() override { return nullptr; }
    void Save() override {}
};
