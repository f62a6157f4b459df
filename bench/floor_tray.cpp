// The floor of the wake-up benchmark: a minimal Qt program with a tray icon and, unless its
// period is 0, a timer that fires every PERIOD milliseconds and does nothing.
//
//   orvalis-floor-tray [PERIOD]   (default 1000)
#include <QApplication>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int period = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;

    QPixmap picture(22, 22);
    picture.fill(Qt::darkGreen);
    QSystemTrayIcon tray{QIcon(picture)};
    tray.setToolTip(QStringLiteral("floor"));
    tray.show();

    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [] {});
    if (period > 0)
        timer.start(period);
    return QApplication::exec();
}
