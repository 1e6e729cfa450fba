// The floor for the launcher's figures: a bare program that shows only a tray icon.
#include <QApplication>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    QSystemTrayIcon icon{QIcon(pixmap)};
    icon.setToolTip(QStringLiteral("floor"));
    icon.show();
    return app.exec();
}
