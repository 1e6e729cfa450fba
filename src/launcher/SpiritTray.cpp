#include "launcher/SpiritTray.h"

#include "core/PictureFiles.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QPixmapCache>
#include <QScreen>

#include <malloc.h>

namespace mvx::spirit {

bool DetachedStarter::start(const QString &program, const QStringList &arguments, const QString &folder)
{
    return QProcess::startDetached(program, arguments, folder);
}

bool DetachedStarter::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void PlainMessageBoxes::inform(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok);
    box.exec();
}

bool PlainMessageBoxes::askYesNo(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

SpiritTray::SpiritTray(const LauncherOptions &options)
{
    m_launcher = std::make_unique<SpiritLauncher>(options, m_clock, *this, m_starter, m_boxes);
    m_pictureFolder = options.pictureFolder;
    QIcon trayIcon;
    for (const QString &name : {QStringLiteral("mvx16"), QStringLiteral("mvx32")}) {
        const QString path = skin::FindPicture(options.pictureFolder, {}, name);
        if (!path.isEmpty())
            trayIcon.addFile(path);
    }
    m_icon.setIcon(trayIcon);
    m_icon.setToolTip(QStringLiteral("Morvex精灵"));
    // The menu is popped by hand: a menu handed to the tray host loses its pictures.
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context)
            popMenu({});
    });
    connect(&m_icon, &QSystemTrayIcon::messageClicked, this, [this] { m_launcher->activate(QStringLiteral("btNoteReview")); });
    m_reminder.setInterval(20 * 60 * 1000);
    m_review.setInterval(2 * 60 * 1000);
    m_quit.setInterval(3000);
    for (QTimer *t : {&m_reminder, &m_review, &m_quit})
        t->setTimerType(Qt::VeryCoarseTimer);
    connect(&m_reminder, &QTimer::timeout, this, [this] { m_launcher->reminderTick(); });
    connect(&m_review, &QTimer::timeout, this, [this] { m_launcher->reviewTick(); });
    connect(&m_quit, &QTimer::timeout, this, [this] { m_launcher->quitTick(); });
    m_reminder.start();
    m_review.start();
}

SpiritTray::~SpiritTray() = default;

bool SpiritTray::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SpiritTray::showIcon()
{
    m_icon.show();
}

void SpiritTray::hideIcon()
{
    m_icon.hide();
}

void SpiritTray::showMessage(const QString &title, const QString &text)
{
    m_icon.showMessage(title, text, m_icon.icon());
}

SpiritMenu &SpiritTray::menu()
{
    // Made when first needed and emptied when it closes: an idle launcher holds no
    // menu pictures or fonts.
    if (!m_menu) {
        m_menu = std::make_unique<SpiritMenu>(*m_launcher, m_pictureFolder);
        connect(m_menu.get(), &QMenu::aboutToHide, this, [this] {
            QTimer::singleShot(0, this, [this] {
                // Not while a command's message box runs: its action is still at work.
                if (m_menu && !m_menu->isVisible() && !QApplication::activeModalWidget()) {
                    m_menu->clear();
                    QPixmapCache::clear();
                    malloc_trim(0);
                }
            });
        });
    }
    return *m_menu;
}

void SpiritTray::popMenu(const QPoint &at)
{
    m_launcher->menuOpening();
    menu().rebuild();
    m_menu->popup(at.isNull() ? QCursor::pos() : at); // popup() keeps the menu on screen
    m_menu->activateWindow();
}

void SpiritTray::setQuitTimer(bool running)
{
    if (running)
        m_quit.start();
    else
        m_quit.stop();
}

void SpiritTray::quit()
{
    m_icon.hide();
    QCoreApplication::quit();
}

} // namespace mvx::spirit
