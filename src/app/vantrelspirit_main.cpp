#include <QApplication>

// The tray launcher; its window and tray icon arrive with its own work.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return 0;
}
