#include "app/gui/systemtray.h"

#include <QAction>
#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kWaiting = QStringLiteral("Waiting for connection...");
const QString kConnected = QStringLiteral("Connected - 00:00:05");

// The menu as one line: "text=command" items, "-" separators, "text[...]" popups.
QString Dump(const QMenu* menu)
{
    QStringList parts;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            parts << QStringLiteral("-");
        } else if (action->menu() != nullptr) {
            parts << action->text() + u'[' + Dump(action->menu()) + u']';
        } else {
            parts << action->text() + u'=' + QString::number(action->data().toInt());
        }
    }
    return parts.join(u'|');
}

QAction* Find(const QMenu* menu, const char* text)
{
    for (QAction* action : menu->findChildren<QAction*>()) {
        if (action->text() == QLatin1String(text) && action->menu() == nullptr) {
            return action;
        }
    }
    return nullptr;
}

QList<int> Commands(const QSignalSpy& spy)
{
    QList<int> result;
    for (const QList<QVariant>& args : spy) {
        result << args.at(0).toInt();
    }
    return result;
}

// The tooltip title of a status-notifier item, or an empty text when there is no item.
QString ItemTooltip(const QString& service)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, QStringLiteral("/StatusNotifierItem"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("ToolTip");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::BlockWithGui, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        return QString();
    }
    // (icon name, pixmaps, title, description)
    const auto arg =
        qvariant_cast<QDBusArgument>(reply.arguments().at(0).value<QDBusVariant>().variant());
    QString iconName;
    QString title;
    arg.beginStructure();
    arg >> iconName;
    arg.beginArray();
    arg.endArray();
    arg >> title;
    return title;
}

} // namespace

class TestSystemTray : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void menus()
    {
        CSystemTray connection;
        connection.Create(kWaiting, 297, 173);
        QCOMPARE(
            Dump(connection.Menu()),
            QStringLiteral(
                "&Show Orvalis=32815|-|Connection[&Connect=32848|&Hangup=32812|"
                "Inet Tools=32852]|-|Check for new mail=32835|Check for Orvalis update=32836|-|"
                "Configuration - General=32838|Configuration - Connection=32839|"
                "Configuration - Email Watch=32840|Configuration - Warnings=32841|"
                "Configuration - Price=32842|Configuration - Data plan=32853|"
                "Configuration - Sounds=32843|"
                "Configuration - Upgrade=32845|-|Configuration - Connections=32834|"
                "Configuration - Security=32846|Configuration - Timer=32847|-|"
                "&Report[&Report=32781|&Summary=32823|S&tatistics=32854]|"
                "&Help[&Contents=32780|&About=32774]|-|&Exit=1052"));
        QCOMPARE(connection.Menu()->defaultAction()->text(), QStringLiteral("&Show Orvalis"));
        QCOMPARE(connection.DefaultCommand(), 32815);
        QCOMPARE(connection.Tooltip(), kWaiting);
        QCOMPARE(connection.Picture(), 297);
        QVERIFY(!connection.IsHidden());
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            QVERIFY(!connection.IsAvailable());
        }

        CSystemTray mail;
        mail.Create(QStringLiteral("Email"), 0, 193);
        QCOMPARE(Dump(mail.Menu()),
                 QStringLiteral("Hide=32820|-|Preferences=32813|-|S&tatistics=32854"));
        QCOMPARE(mail.DefaultCommand(), 32820);
        QCOMPARE(mail.Picture(), 0);
    }

    void choosingAnItemSendsItsCommand()
    {
        CSystemTray tray;
        tray.Create(kWaiting, 297, 173);
        QSignalSpy spy(&tray, &CSystemTray::Command);
        for (const char* text : {"&Exit", "&Connect", "&Summary", "Configuration - Timer"}) {
            QAction* action = Find(tray.Menu(), text);
            QVERIFY2(action != nullptr, text);
            action->trigger();
        }
        QCOMPARE(Commands(spy), (QList<int>{1052, 32848, 32823, 32847}));
    }

    // Offscreen there is no notification area; sni_session.py gives the test a display with a
    // status-notifier watcher, where a single click is all the host ever sends.
    void clickRunsTheDefaultAsTheHostSendsIt()
    {
        const bool sni = !qEnvironmentVariableIsEmpty("ORVALIS_SNI_SESSION");
        QCOMPARE(CTrayHost::Detect(),
                 sni ? CTrayHost::Kind::StatusNotifier : CTrayHost::Kind::None);
        QCOMPARE(CTrayHost::Headless(), !sni);
        CSystemTray connection;
        connection.Create(kWaiting, 297, 173);
        CSystemTray mail;
        mail.Create(QStringLiteral("Email"), 0, 193);
        QCOMPARE(connection.HostKind(), CTrayHost::Detect());
        QSignalSpy fromConnection(&connection, &CSystemTray::Command);
        QSignalSpy fromMail(&mail, &CSystemTray::Command);
        for (auto reason :
             {QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Context, QSystemTrayIcon::Unknown}) {
            connection.OnActivated(reason);
            mail.OnActivated(reason);
        }
        QCOMPARE(fromConnection.count(), 0);
        QCOMPARE(fromMail.count(), 0);

        connection.OnActivated(QSystemTrayIcon::Trigger);
        mail.OnActivated(QSystemTrayIcon::Trigger);
        // An XEmbed tray sends a single click before each double-click: only the second runs.
        QCOMPARE(Commands(fromConnection), sni ? QList<int>{32815} : QList<int>{});
        QCOMPARE(Commands(fromMail), sni ? QList<int>{32820} : QList<int>{});
        fromConnection.clear();
        fromMail.clear();
        connection.OnActivated(QSystemTrayIcon::DoubleClick);
        mail.OnActivated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(Commands(fromConnection), QList<int>{32815});
        QCOMPARE(Commands(fromMail), QList<int>{32820});
    }

    void defaultItemByCommandOrPosition()
    {
        CSystemTray tray;
        tray.Create(kWaiting, 297, 173);
        QSignalSpy spy(&tray, &CSystemTray::Command);
        QVERIFY(tray.SetMenuDefaultItem(1052, false));
        QCOMPARE(tray.Menu()->defaultAction()->text(), QStringLiteral("&Exit"));
        tray.OnActivated(QSystemTrayIcon::DoubleClick);

        // A separator, a popup or a position past either end is no command: nothing runs.
        for (int position : {1, 2, 99, -1}) {
            QVERIFY(tray.SetMenuDefaultItem(position, true));
            QCOMPARE(tray.Menu()->defaultAction(), nullptr);
            tray.OnActivated(QSystemTrayIcon::DoubleClick);
        }
        QVERIFY(tray.SetMenuDefaultItem(4, true));
        tray.ActivateDefault();
        QCOMPARE(Commands(spy), (QList<int>{1052, 32835}));
    }

    void tooltipIsCutAt63Characters()
    {
        CSystemTray tray;
        tray.Create(QString(80, u'x'), 297, 173);
        QCOMPARE(tray.Tooltip(), QString(63, u'x'));
        tray.SetTooltipText(QString(63, u'9'));
        QCOMPARE(tray.Tooltip(), QString(63, u'9'));

        // A character made of two halves is never split.
        const QString mail = QString::fromUtf8("\xF0\x9F\x93\xA7");
        tray.SetTooltipText(QString(62, u'a') + mail + u'b');
        QCOMPARE(tray.Tooltip(), QString(62, u'a'));
        tray.SetTooltipText(QString(61, u'a') + mail + u'b');
        QCOMPARE(tray.Tooltip(), QString(61, u'a') + mail);
    }

    void hideShowAndPictures()
    {
        for (int id : {297, 301, 193, 194}) {
            QVERIFY(!QIcon(CSystemTray::PicturePath(id)).pixmap(22, 22).isNull());
        }
        CSystemTray tray;
        tray.Create(QStringLiteral("Email"), 0, 193);
        tray.HideIcon();
        tray.HideIcon();
        QVERIFY(tray.IsHidden());
        QVERIFY(tray.SetIcon(194));
        QVERIFY(!tray.SetIcon(12345));
        QCOMPARE(tray.Picture(), 194);
        QVERIFY(tray.IsHidden());
        tray.ShowIcon();
        QVERIFY(!tray.IsHidden());

        CSystemTray notCreated;
        QVERIFY(!notCreated.SetIcon(297));
        notCreated.HideIcon();
        QVERIFY(!notCreated.IsHidden());
    }

    // Run by sni_session.py, which gives the test a display and a notifier watcher.
    void registersWithTheNotifierWatcher()
    {
        if (qEnvironmentVariableIsEmpty("ORVALIS_SNI_SESSION")) {
            QSKIP("needs the desktop session of sni_session.py");
        }
        QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                               QStringLiteral("/StatusNotifierWatcher"),
                               QStringLiteral("org.kde.StatusNotifierWatcher"));
        const auto items = [&] {
            return watcher.property("RegisteredStatusNotifierItems").toStringList();
        };
        const qsizetype before = items().size();
        CSystemTray tray;
        tray.Create(kWaiting, 297, 173);
        QVERIFY(tray.IsAvailable());
        QTRY_COMPARE(items().size(), before + 1);
        const QString service = items().last().section(u'/', 0, 0);
        QTRY_COMPARE(ItemTooltip(service), kWaiting);

        tray.SetTooltipText(kConnected);
        QTRY_COMPARE(ItemTooltip(service), kConnected);
        tray.HideIcon();
        QTRY_COMPARE(ItemTooltip(service), QString());
        // Shown again, the item comes back on a connection of its own.
        tray.ShowIcon();
        QTRY_COMPARE(items().size(), before + 2);
        QCOMPARE(ItemTooltip(items().last()), kConnected);
    }
};

QTEST_MAIN(TestSystemTray)
#include "tst_systemtray.moc"
