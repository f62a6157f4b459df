#pragma once

#include <QSplashScreen>

// The picture shown while the program starts.
class CSplashWnd : public QSplashScreen {
    Q_OBJECT
public:
    CSplashWnd();

    // Shows the picture for `msecs`, painting it but taking no input, then closes it.
    void ShowFor(int msecs);
};
