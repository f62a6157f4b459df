#pragma once

// For window tests only (needs the widgets): walks the texts a shown window draws (labels,
// buttons, fields, group box titles, menu bar items, list lines) and finds those a user
// cannot read whole: cut off by their widget, or too faint against what they are drawn on.

#include <QColor>
#include <QStringList>

class QWidget;

class CWindowWalker {
public:
    // The least contrast of text on its background the accessibility guidelines ask for.
    static constexpr double kLeastContrast = 4.5;

    // The contrast ratio of two colours (1 to 21), from their relative luminance.
    static double Contrast(const QColor& a, const QColor& b);

    // One line per text of the window (and of its visible children) that does not fit.
    static QStringList Clipped(QWidget* window);
    // One line per text whose colour reaches less than kLeastContrast on the colour
    // painted behind it, as the window draws itself.
    static QStringList Faint(QWidget* window);
};
