#include "app/gui/splashwnd.h"

#include <QEventLoop>
#include <QTimer>

CSplashWnd::CSplashWnd()
    : QSplashScreen(QPixmap(QStringLiteral(":/images/splash.svg")))
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
}

void CSplashWnd::ShowFor(int msecs)
{
    show();
    repaint();
    QEventLoop wait;
    QTimer::singleShot(msecs, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    close();
}
