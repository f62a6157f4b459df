#pragma once

#include <QString>

class QLineEdit;

// Sizes short value fields (amounts, minutes, times) by their text rather than in pixels, so
// the widest value they take shows whole in any font.
class CFieldWidth {
public:
    // The field becomes at least wide enough for `widest`; a maximum width it has grows with it.
    static void Fit(QLineEdit* field, const QString& widest);
};
