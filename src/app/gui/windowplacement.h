#pragma once

#include <QRect>

class CSettingsStore;

// Where the main window opens and how its place is remembered. Edges are stored as
// left, top, right, bottom with right and bottom just outside the window.
class CWindowPlacement {
public:
    static QRect DefaultRect() { return QRect(QPoint(126, 133), QPoint(517 - 1, 425 - 1)); }

    explicit CWindowPlacement(CSettingsStore& store);

    // Reads the remembered rectangle (the default when no bottom edge is stored) and
    // whether the window starts minimized.
    void Load();
    QRect Remembered() const { return m_remembered; }
    // True when the window must not show at start: it was minimized when last saved, or the
    // user chose to start in the tray.
    bool StartHidden() const { return m_startHidden; }

    // Saves the window's place. A minimized window keeps the rectangle remembered at
    // opening and is marked minimized; a rectangle with its bottom edge above the screen's
    // top counts as minimized too; a bottom edge of exactly 0 saves nothing.
    void Save(const QRect& window, bool minimized);

private:
    CSettingsStore& m_store;
    QRect m_remembered = DefaultRect();
    bool m_startHidden = false;
};
