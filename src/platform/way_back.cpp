#include "platform/way_back.h"

#include "platform/bundle.h"
#include "platform/log.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>

#include <unistd.h>

namespace {

constexpr int connectTimeout = 1000;  // ms

bool hasDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// One name per user, display, program and bundle: a program started again on another display
// or from another bundle runs on its own.
QString instanceName()
{
    const QByteArray key = QByteArray::number(::getuid()) + '\n' + QGuiApplication::platformName().toUtf8() + '\n' +
                           qgetenv("DISPLAY") + qgetenv("WAYLAND_DISPLAY") + '\n' +
                           QCoreApplication::applicationFilePath().toUtf8() + '\n' + QByteArray::fromStdString(bundlepath());
    return QStringLiteral("vxtools-") + QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
}

// The application's window icon, or a small screen with a prompt where it has none.
QIcon trayIcon()
{
    if (!QApplication::windowIcon().isNull()) return QApplication::windowIcon();
    QPixmap picture(32, 32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.fillRect(4, 22, 14, 4, QColor(0, 255, 0));
    painter.fillRect(20, 8, 4, 18, QColor(0, 255, 0));
    return QIcon(picture);
}

void setupTray(const std::vector<QMenu*>& menus, std::function<void()> show)
{
    auto* tray = new QSystemTrayIcon(trayIcon(), qApp);
    auto* menu = new QMenu;
    QObject::connect(qApp, &QObject::destroyed, menu, [menu] { delete menu; });
    menu->addAction(QString::fromUtf8("Fenster zeigen"), show);
    menu->addSeparator();
    for (QMenu* submenu : menus) menu->addMenu(submenu);
    tray->setContextMenu(menu);
    tray->setToolTip(QApplication::applicationDisplayName());
    QObject::connect(tray, &QSystemTrayIcon::activated, tray, [show](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) show();
    });
    tray->show();
}

void listenForSecondStart(std::function<void()> show)
{
    auto* server = new QLocalServer(qApp);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = instanceName();
    if (!server->listen(name)) {
        QLocalServer::removeServer(name);  // left behind by an instance that did not end cleanly
        if (!server->listen(name)) {
            logline("setupwayback: Cannot listen for a second start: " + server->errorString().toStdString());
            return;
        }
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [server, show] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            logline("setupwayback: Started again, showing the window.");
            show();
        }
    });
}

}  // namespace

bool showrunninginstance()
{
    if (!hasDisplay()) return false;
    QLocalSocket socket;
    socket.connectToServer(instanceName());
    if (!socket.waitForConnected(connectTimeout)) return false;
    socket.disconnectFromServer();
    return true;
}

void setupwayback(const std::vector<QMenu*>& menus, std::function<void()> show)
{
    if (!hasDisplay()) return;
    if (QSystemTrayIcon::isSystemTrayAvailable()) setupTray(menus, show);
    listenForSecondStart(std::move(show));
}
